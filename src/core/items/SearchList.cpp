#include "items/SearchList.h"

#include <array>

#include "items/ItemSort.h"

namespace mivra {
namespace {

constexpr wchar_t kConsole[] = L"%SystemRoot%\\system32\\cmd.exe";
constexpr wchar_t kAskForCommand[] = L"请输入命令";

struct WebSearch {
    wchar_t letter;  // after ":", either case
    const wchar_t* title;
    const wchar_t* queryAddress;
};
constexpr std::array<WebSearch, 2> kWebSearches = {{
    {L'b', L"百度搜索", L"https://www.baidu.com/s?wd="},
    {L'g', L"谷歌搜索", L"https://www.google.com/search?q="},
}};

struct Keyword {
    const wchar_t* keyword;
    const wchar_t* title;
};
// Looked for in this order: "rebootshutdown" gives the shut-down.
constexpr std::array<Keyword, 5> kKeywords = {{
    {L"setting", L"进入设置"},
    {L"shutdown", L"关机"},
    {L"reboot", L"重启"},
    {L"logoff", L"注销"},
    {L"screenoff", L"关闭显示器"},
}};

ItemRecord CommandItem(std::wstring title, std::wstring path, std::wstring icoPath, std::wstring argument) {
    return {std::move(title), std::move(path), std::move(icoPath), std::move(argument), L"0"};
}

}  // namespace

std::optional<ItemRecord> CommandItemFor(std::wstring_view text, std::wstring_view programFile) {
    const std::wstring program(programFile);
    if (text.empty()) return std::nullopt;
    if (text.front() == L'<') {
        if (text.size() == 1) return CommandItem(kAskForCommand, program, program, L"");
        const std::wstring_view rest = text.substr(1);
        const size_t space = rest.find(L' ');
        const std::wstring_view command = rest.substr(0, space);
        const std::wstring_view argument = space == std::wstring_view::npos ? std::wstring_view() : rest.substr(space + 1);
        return CommandItem(L"运行 " + std::wstring(rest), std::wstring(command), program, std::wstring(argument));
    }
    if (text.front() == L'>') {
        if (text.size() == 1) return CommandItem(kAskForCommand, kConsole, kConsole, L"");
        const std::wstring rest(text.substr(1));
        return CommandItem(rest, kConsole, kConsole, L"/k " + rest);
    }
    if (text.front() == L':') {
        if (text.size() < 2) return std::nullopt;
        for (const WebSearch& engine : kWebSearches) {
            if ((text[1] | 0x20) != engine.letter) continue;
            if (text.size() == 2) return CommandItem(engine.title, L"", program, L"");
            const std::wstring query(text.substr(2));
            return CommandItem(std::wstring(engine.title) + L" " + query, engine.queryAddress + query, program, L"");
        }
        return std::nullopt;
    }
    if (text.size() <= 2) return std::nullopt;
    for (const Keyword& keyword : kKeywords)
        if (text.find(keyword.keyword) != std::wstring_view::npos)
            return CommandItem(keyword.title, program, program, keyword.keyword);
    return std::nullopt;
}

void FillSearchList(SearchList& list, const std::optional<ItemRecord>& command, const std::vector<Group>& groups,
                    const std::vector<SearchKeys>& keys, std::wstring_view keyword) {
    list.Clear();
    // The results as origins first: sorting them needs only their counts and
    // lower-cased titles, which the prepared keys hold.
    std::vector<ItemOrigin> found;
    if (command) found.push_back({});
    for (size_t g = 0; g < groups.size() && g < keys.size(); ++g)
        for (const size_t number : SearchItems(keyword, keys[g])) {
            if (number > groups[g].Items().size()) break;  // keys of an older state of the group
            found.push_back({g + 1, number});
        }

    // "Title [Group]" lower-cased is the lower-cased title, " [", the
    // lower-cased group title and "]": all of them side by side in one buffer.
    std::vector<std::wstring> groupTitles(groups.size());
    const std::wstring commandTitle = command ? LowerCaseText(command->title) : std::wstring();
    size_t total = 0;
    for (const ItemOrigin& origin : found)
        if (!origin.IsEmpty()) {
            std::wstring& groupTitle = groupTitles[origin.group - 1];
            if (groupTitle.empty()) groupTitle = L" [" + LowerCaseText(groups[origin.group - 1].title) + L"]";
            total += keys[origin.group - 1].titles[origin.item - 1].size() + groupTitle.size();
        }
    std::wstring buffer;
    buffer.reserve(total);
    std::vector<CountKey> sortKeys;
    sortKeys.reserve(found.size());
    for (const ItemOrigin& origin : found) {
        if (origin.IsEmpty()) {
            sortKeys.push_back({LaunchCount(command->count), commandTitle});
            continue;
        }
        const size_t start = buffer.size();
        buffer += keys[origin.group - 1].titles[origin.item - 1];
        buffer += groupTitles[origin.group - 1];
        const ItemRecord& item = groups[origin.group - 1].Items()[origin.item - 1];
        sortKeys.push_back({LaunchCount(item.count), std::wstring_view(buffer).substr(start)});
    }

    list.items.reserve(found.size());
    list.origins.reserve(found.size());
    for (const size_t from : OrderByCount(sortKeys)) {
        const ItemOrigin origin = found[from];
        if (origin.IsEmpty()) {
            list.AddItem2(*command, {});
            continue;
        }
        const Group& group = groups[origin.group - 1];
        const ItemRecord& item = group.Items()[origin.item - 1];
        list.AddItem2({SearchResultTitle(item, group.title), item.path, item.icoPath, item.argument, item.count},
                      origin);
    }
}

void SortByLaunchCount(SearchList& list) {
    const std::vector<size_t> order = SortOrder(list.items, SortMode::ByCount);
    ApplyOrder(list.items, order);
    ApplyOrder(list.origins, order);
}

}  // namespace mivra
