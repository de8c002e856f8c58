#include "data/GroupTitles.h"

#include <algorithm>
#include <unordered_set>

namespace mivra {

std::wstring CleanGroupTitle(std::wstring_view text) {
    // Removals go first, so that no blank they uncovered stays at either end.
    std::wstring kept;
    kept.reserve(text.size());
    for (const wchar_t c : text)
        if (c >= 0x20 && c != 0x7F && c != L'=') kept.push_back(c);
    size_t first = 0, last = kept.size();
    while (first < last && (kept[first] == L' ' || kept[first] == L'[')) ++first;
    while (last > first && kept[last - 1] == L' ') --last;
    return kept.substr(first, last - first);
}

std::wstring UniqueTitle(const std::vector<std::wstring>& titles, std::wstring_view title, int ownPosition) {
    std::wstring candidate(title);
    // Each clash moves on to the next number and checks every tab again.
    for (long long k = 1;;) {
        bool clash = false;
        for (size_t i = 0; i < titles.size(); ++i) {
            if (static_cast<long long>(i) + 1 == ownPosition) continue;
            if (titles[i] == candidate) {
                clash = true;
                break;
            }
        }
        if (!clash) return candidate;
        ++k;
        candidate = std::to_wstring(k) + L" " + std::wstring(title);
    }
}

std::wstring DefaultGroupTitle(int position) { return std::to_wstring(position) + L"分组"; }

void GiveMissingTitles(std::vector<Group>& groups) {
    if (std::none_of(groups.begin(), groups.end(), [](const Group& g) { return g.title.empty(); })) return;
    std::unordered_set<std::wstring> taken;
    for (const Group& group : groups) taken.insert(group.title);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].title.empty()) continue;
        const std::wstring wanted = DefaultGroupTitle(static_cast<int>(i) + 1);
        std::wstring title = wanted;
        for (long long k = 2; taken.contains(title); ++k) title = std::to_wstring(k) + L" " + wanted;
        taken.insert(title);
        groups[i].title = std::move(title);
    }
}

}  // namespace mivra
