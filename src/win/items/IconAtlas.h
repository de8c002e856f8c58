#pragma once
// Icons of one size, each drawn once from its image list into a single
// 32-bit bitmap with alpha and copied from there afterwards. Drawing from an
// image list asks the window system several times per icon; a copy from
// this bitmap is one blend. The atlas is one bitmap however many icons it
// holds.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_map>

#include "base/Gdi.h"
#include "base/Unique.h"

namespace mivra::win {

class IconAtlas {
public:
    explicit IconAtlas(int size) : size_(size) {}

    // Draws icon `index` of `list` at (x, y) with its alpha.
    void Draw(HIMAGELIST list, int index, HDC dc, int x, int y);

    int Count() const { return static_cast<int>(slots_.size()); }

private:
    // The slot holding the icon, copied in on first use; -1 when it cannot be.
    int SlotOf(HIMAGELIST list, int index);
    bool Reserve(int slots);

    int size_;
    std::unordered_map<int, int> slots_;  // image-list index -> slot
    int capacity_ = 0;
    MemoryCanvas atlas_;  // size_ wide, one icon below the other
    std::uint32_t* bits_ = nullptr;  // its pixels
};

}  // namespace mivra::win
