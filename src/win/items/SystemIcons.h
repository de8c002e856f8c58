#pragma once
// Item icons straight from the shell's system image lists. An item keeps only
// an index into those lists: no icon handle per item, so ten thousand items
// cost no more GDI or USER objects than ten. Indexes are looked up lazily,
// when an item is first drawn, and remembered by icon path.

#include <windows.h>
#include <commctrl.h>
#include <commoncontrols.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "base/ComPtr.h"
#include "items/IconAtlas.h"

namespace mivra::win {

enum class IconSize { Large48, Medium32, Small16 };

class SystemIcons {
public:
    static constexpr int kNoIcon = -1;

    // `programFile` marks the system-function items; `programFilesDir` is
    // where the browser of web items is looked for.
    SystemIcons(std::wstring programFile, std::wstring programFilesDir);
    ~SystemIcons();

    // The system-image-list index for an item's resolved icon path and its
    // argument, or kNoIcon (no icon path, or nothing there).
    int IndexFor(const std::wstring& resolvedIconPath, const std::wstring& argument);

    // Paths that had nothing there are looked at again on their next
    // look-up: a drive was plugged in, a program installed.
    void ForgetMissing() { missing_.clear(); }

    // Draws the icon of `index` at (x, y); nothing for kNoIcon.
    void Draw(int index, IconSize size, HDC dc, int x, int y);

private:
    int WebIndex();
    HIMAGELIST List(IconSize size);

    std::wstring programFile_;
    std::wstring programFilesDir_;
    std::unordered_map<std::wstring, int> byPath_;
    std::unordered_set<std::wstring> missing_;  // looked up and not there
    std::unordered_map<std::wstring, int> byType_;  // extension -> index, for plain documents
    int webIndex_ = -2;  // not looked up yet
    ComPtr<IImageList> lists_[3];
    IconAtlas atlases_[3] = {IconAtlas(48), IconAtlas(32), IconAtlas(16)};
};

}  // namespace mivra::win
