#include "items/IconAtlas.h"

#include <algorithm>
#include <cstring>

#include "base/Gdi.h"

namespace mivra::win {

bool IconAtlas::Reserve(int slots) {
    if (slots <= capacity_) return true;
    const int capacity = std::max({slots, capacity_ * 2, 16});
    Dib grown = CreateDib(size_, size_ * capacity);
    if (!grown.bitmap) return false;
    if (bits_) {
        GdiFlush();
        std::memcpy(grown.bits, bits_, sizeof(std::uint32_t) * size_ * size_ * capacity_);
    }
    atlas_ = MemoryCanvas(std::move(grown.bitmap));
    bits_ = grown.bits;
    capacity_ = capacity;
    return static_cast<bool>(atlas_);
}

int IconAtlas::SlotOf(HIMAGELIST list, int index) {
    if (auto it = slots_.find(index); it != slots_.end()) return it->second;
    const int slot = static_cast<int>(slots_.size());
    if (!Reserve(slot + 1)) return -1;

    // Drawn once on black and once on white: where they differ the icon is
    // partly transparent. Over black the result is the premultiplied colour.
    Dib black = CreateDib(size_, size_), white = CreateDib(size_, size_);
    if (!black.bitmap || !white.bitmap) return -1;
    const size_t pixels = static_cast<size_t>(size_) * size_;
    std::fill(white.bits, white.bits + pixels, 0x00FFFFFFu);
    for (Dib* surface : {&black, &white}) {
        BitmapDc dc(static_cast<HBITMAP>(surface->bitmap.get()));
        ImageList_Draw(list, index, dc.get(), 0, 0, ILD_TRANSPARENT);
    }
    GdiFlush();
    std::uint32_t* target = bits_ + static_cast<size_t>(slot) * pixels;
    for (size_t i = 0; i < pixels; ++i) {
        const std::uint32_t b = black.bits[i], w = white.bits[i];
        int alpha = 255;
        for (int shift : {0, 8, 16})
            alpha = std::min(alpha, 255 - (static_cast<int>((w >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
        alpha = std::clamp(alpha, 0, 255);
        std::uint32_t colour = b & 0x00FFFFFFu;
        // Keep the premultiplied rule (no channel above alpha) where rounding broke it.
        for (int shift : {0, 8, 16})
            if (static_cast<int>((colour >> shift) & 0xFF) > alpha)
                colour = (colour & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(alpha) << shift);
        target[i] = (static_cast<std::uint32_t>(alpha) << 24) | colour;
    }
    slots_.emplace(index, slot);
    return slot;
}

void IconAtlas::Draw(HIMAGELIST list, int index, HDC dc, int x, int y) {
    if (!list) return;
    const int slot = SlotOf(list, index);
    if (slot < 0) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, size_, size_, atlas_.dc(), 0, slot * size_, size_, size_, blend);
}

}  // namespace mivra::win
