#pragma once
// Groups: the item panel of the selected group. It lays the items out in a
// grid of equal cells, keeps a painted image of itself so that hover and
// press repaint one cell only, scrolls by whole rows with a slim thumb, and
// turns the mouse into starts, reorders and moves of the panel.

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/Unique.h"
#include "base/Window.h"
#include "data/Group.h"
#include "itempanel/ThumbWindow.h"
#include "items/SearchList.h"
#include "layout/ItemGrid.h"
#include "look/Picture.h"

namespace mivra::win {

class MainPanel;

class ItemPanel final : public Window<ItemPanel> {
public:
    // The panel of the selected group; with `results`, the search box's
    // result list instead (key mode: fixed rows, a keyboard selection, and
    // a result starts as the item of its own group).
    explicit ItemPanel(MainPanel& owner, SearchList* results = nullptr);
    ~ItemPanel();

    bool Create(HWND parent);

    // Another group is shown: hover, press and icons start afresh.
    void ShowGroup();
    // Items shown without an icon because their target was missing are
    // looked up again: those on the screen now, the others when drawn.
    void LookAgainForMissingIcons();
    // Items were added or changed in place; the scroll position stays.
    void ItemsChanged();
    // The shown group's items were started from elsewhere: the click timing
    // counts from now, and a sort by count may have reordered them.
    void NoteRun(bool reordered);
    // Up (38), down (40) and Enter (13) in key mode; other keys and other
    // panels do nothing.
    void KeyDown(int code);
    bool KeyMode() const { return results_ != nullptr; }
    // Cells drawn before their icon was known wait for it.
    bool IconsPending() const { return !pendingIcons_.empty(); }
    int HotItm() const { return hotItm_; }

    // Recomputes the cells and repaints everything; mode 1 also scrolls
    // back to the top.
    void ReDraw(int mode);
    // Repaints one cell: state 0 normal, 1 hover, 2 pressed.
    void DrawItem(int item, int state);
    // Draws the cells from `first` to `last` into the image, not on the screen.
    void DrawCells(int first, int last, int state);
    // One row down (mode 1) or up (any other mode).
    void SetScrollValue(int mode);

    const ItemGrid& Grid() const { return grid_; }
    const ScrollThumb& Thumb() const { return thumb_; }
    // The painted image of the panel.
    HDC Canvas() const { return canvasDc_.get(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::vector<ItemRecord>* Items();
    int Count();
    ItemViewOptions Options();
    void EnsureCanvas(int width, int height);
    void PlaceThumb();
    // Moves the painted image by the rows just scrolled and paints the rows
    // that came into view.
    void ShiftCanvas(int oldScrollRow);
    void LookUpPendingIcons();
    Box CellBox(int item) const;
    int IconOf(int item);

    // kind 0 move, 1 button down, 2 button up; button 1 left, 2 right.
    void ItemMouse(int kind, int button, int x, int y);
    void OnDoubleClick();
    void Run(int show, std::wstring_view verb);
    void OnThumbDragged(int top);
    void TrackLeave();

    MainPanel& owner_;
    SearchList* const results_;
    ItemGrid grid_;
    ItemViewOptions options_;  // as read by the last ReDraw, with the cell size
    CellSize cell_;
    ScrollThumb thumb_;
    ThumbWindow thumbWindow_;
    int hotItm_ = 0;
    int pressedItm_ = 0;
    int targetItm_ = 0;
    int hotState_ = -1;  // the state hotItm_ was last drawn in
    std::uint32_t pressTime_ = 0;
    std::uint32_t lastRunTime_ = 0;
    bool trackingLeave_ = false;
    bool redrawing_ = false;  // ReDraw invalidates once at its end, not per cell
    std::vector<int> icons_;  // per item; unknown until first drawn
    // Items drawn before their icon was known: looked up after the paint.
    std::vector<int> pendingIcons_;
    bool lookUpPosted_ = false;

    // The painted image of the panel (the bitmap outlives the DC it is selected in).
    UniqueGdiObject canvasBitmap_;
    BitmapDc canvasDc_;
    int canvasWidth_ = 0, canvasHeight_ = 0;
};

}  // namespace mivra::win
