#pragma once
// Groups made up for tests and benchmarks.

#include <functional>
#include <string>
#include <utility>

#include "data/Group.h"

namespace mivra::test {

// Words that item titles are made of, Chinese and English, as users name items.
inline constexpr const wchar_t* kTitleWords[] = {L"记事本",   L"浏览器", L"Visual Studio", L"Photoshop",
                                                 L"音乐播放器", L"Terminal", L"文档",       L"Steam",
                                                 L"微信",     L"Notepad++", L"计算器",     L"Blender"};
inline constexpr int kTitleWordCount = static_cast<int>(std::size(kTitleWords));

// A group of `count` items; `make(i)` makes item i, from 1.
inline Group MakeGroup(std::wstring title, int count, const std::function<ItemRecord(int)>& make) {
    Group group{std::move(title), {}};
    group.Items().reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) group.Items().push_back(make(i));
    return group;
}

// A group of items "item 1", "item 2", ... on "C:\a1.exe", "C:\a2.exe", ..., never started.
inline Group MakeGroup(std::wstring title, int count) {
    return MakeGroup(std::move(title), count, [](int i) {
        return ItemRecord{L"item " + std::to_wstring(i), L"C:\\a" + std::to_wstring(i) + L".exe", L"", L"", L"0"};
    });
}

}  // namespace mivra::test
