#pragma once
// One paint for a window shown afresh and all the children it shows. Every
// window that paints itself costs a trip through the window system: under
// Wine about half a millisecond for each child, so a dialog of ten controls
// would take three times as long to appear as an empty one. Composed, the
// window's own picture and its children's, and theirs (each printed with
// WM_PRINT), go into one bitmap that reaches the screen in one copy; the
// children are then told they are painted. A child class of ours takes part
// by answering WM_PRINTCLIENT.

#include <windows.h>

#include <functional>

#include "base/Gdi.h"
#include "base/ScrollBarPictures.h"

namespace mivra::win {

class ComposedPaint {
public:
    // Draws the window's own picture; client coordinates, the whole client area.
    using PaintOwn = std::function<void(HDC dc, const RECT& client)>;

    // Paints `window` and its visible children, composed in `image` (the
    // window's own back buffer), and leaves nothing of them to paint. False
    // when no bitmap could be made: then nothing was validated and every
    // window paints itself the usual way.
    bool Paint(HWND window, BackBuffer& image, const PaintOwn& paintOwn);

    // The system's look changed: scroll bars are drawn anew.
    void LookChanged() { bars_.Forget(); }

private:
    BackBuffer child_;  // each child is printed here in turn
    ScrollBarPictures bars_;
};

}  // namespace mivra::win
