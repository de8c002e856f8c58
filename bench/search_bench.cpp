// One search keystroke over 10,000 items in 100 groups: every group searched,
// results collected and sorted by launch count. Ours (titles and initials
// prepared once per group, sorting in O(n log n)) against the literal way
// (titles lower-cased and initials computed per item per keystroke, results
// appended, a selection sort that exchanges whole records), in one run, with
// the result order compared.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "base/WinCodePage.h"
#include "items/ItemSearch.h"
#include "items/ItemSort.h"
#include "items/SearchList.h"

namespace {

using namespace mivra;

std::vector<Group> MakeGroups() {
    static const wchar_t* const kWords[] = {L"记事本", L"浏览器", L"Visual Studio", L"Photoshop", L"音乐播放器",
                                            L"Terminal", L"文档", L"Steam", L"微信", L"QQ音乐", L"计算器",
                                            L"Blender", L"网易云音乐", L"Chrome", L"画图", L"Excel 表格"};
    std::mt19937 random(11);
    std::vector<Group> groups;
    for (int g = 0; g < 100; ++g) {
        Group group{L"分组 " + std::to_wstring(g), {}};
        for (int i = 0; i < 100; ++i)
            group.Items().push_back({std::wstring(kWords[random() % 16]) + L" " + std::to_wstring(random() % 100),
                                   L"C:\\Program Files\\App\\app.exe", L"", L"", std::to_wstring(random() % 50)});
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<ItemRecord> Literal(const AnsiCodePage& gbk, const std::vector<Group>& groups, std::wstring_view keyword) {
    const std::wstring k = LowerCaseText(keyword);
    std::vector<ItemRecord> results;
    for (const Group& group : groups)
        for (const ItemRecord& item : group.Items()) {
            if (item.title.empty()) continue;
            const std::wstring t = LowerCaseText(item.title);
            const std::wstring p = LowerCaseText(PinyinInitials(gbk, item.title));
            if (t.find(k) != std::wstring::npos || p.find(k) != std::wstring::npos) {
                ItemRecord result = item;
                result.title = SearchResultTitle(item, group.title);
                results.push_back(result);
            }
        }
    // The selection sort by exchanges, count first, then title.
    auto before = [](const ItemRecord& a, const ItemRecord& b) {
        const long long ca = LaunchCount(a.count), cb = LaunchCount(b.count);
        return ca != cb ? ca > cb : LowerCaseText(a.title) < LowerCaseText(b.title);
    };
    for (size_t i = 0; i < results.size(); ++i) {
        size_t m = i;
        for (size_t j = i; j < results.size(); ++j)
            if (before(results[j], results[m])) m = j;
        std::swap(results[i], results[m]);
    }
    return results;
}

// What the search box runs on a keystroke (the command item aside).
std::vector<ItemRecord> Ours(const std::vector<Group>& groups, const std::vector<SearchKeys>& keys,
                             std::wstring_view keyword) {
    SearchList list;
    FillSearchList(list, std::nullopt, groups, keys, keyword);
    return std::move(list.items);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 20;
    const win::WinCodePage gbk(936);
    const std::vector<Group> groups = MakeGroups();
    // The keys of a group are made again when its titles changed.
    const double prepareStart = bench::NowMicroseconds();
    std::vector<SearchKeys> keys;
    for (const Group& g : groups) keys.push_back(PrepareSearch(gbk, g.Items()));
    const double prepareMs = (bench::NowMicroseconds() - prepareStart) / 1000;

    std::printf("search keystroke over 10,000 items in 100 groups; medians of %d rounds\n", rounds);
    const double stampStart = bench::NowMicroseconds();
    size_t unchanged = 0;
    for (size_t g = 0; g < groups.size(); ++g) unchanged += keys[g].titlesStamp == TitlesStamp(groups[g].Items());
    const double stampUs = bench::NowMicroseconds() - stampStart;
    std::printf("  preparing the keys of every group %.1f ms; after a save only changed groups are prepared again,\n"
                "  finding them (checking %zu unchanged groups) %.0f us\n", prepareMs, unchanged, stampUs);
    struct Case { const wchar_t* keyword; const char* shown; };
    for (auto [keyword, shown] : {Case{L"y", "y"}, Case{L"yl", "yl"}, Case{L"音乐播放", "yinyue bofang (4 hanzi)"},
                                  Case{L"e", "e"}, Case{L"st", "st"}}) {
        std::vector<double> ours, literal;
        size_t found = 0;
        bool same = true;
        for (int round = 0; round < rounds; ++round) {
            double t0 = bench::NowMicroseconds();
            const auto a = Ours(groups, keys, keyword);
            double t1 = bench::NowMicroseconds();
            const auto b = round < 3 ? Literal(gbk, groups, keyword) : std::vector<ItemRecord>();
            double t2 = bench::NowMicroseconds();
            ours.push_back(t1 - t0);
            if (round < 3) {
                literal.push_back(t2 - t1);
                same = same && a == b;
            }
            found = a.size();
        }
        const double o = bench::Median(ours), l = bench::Median(literal);
        std::printf("  %-24s (%zu chars): %5zu results, ours %8.1f us, literal %10.1f us, %6.1fx faster, order %s\n",
                    shown, wcslen(keyword), found, o, l, l / o, same ? "identical" : "DIFFERENT");
    }
    return 0;
}
