#pragma once
// Groups: the item panel of the selected group. It lays the items out in a
// grid of equal cells, keeps a painted image of itself so that hover and
// press repaint one cell only, scrolls by whole rows with a slim thumb, and
// turns the mouse into starts, reorders and moves of the panel.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/LeaveTracker.h"
#include "base/Unique.h"
#include "base/Window.h"
#include "data/Group.h"
#include "itempanel/ThumbWindow.h"
#include "items/SearchList.h"
#include "layout/ItemGrid.h"
#include "layout/PanelDocking.h"
#include "look/Picture.h"
#include "panel/PanelContext.h"

namespace mivra::win {

// What an item panel reports.
class ItemPanelEvents {
public:
    // Item `item` of group `group` (both 1-based) is to start: an item of
    // the shown group, or a search result found in that group.
    virtual void GroupItemChosen(size_t group, size_t item, ShowMode show, std::wstring_view verb) = 0;
    // A search result was started (the search box clears or closes).
    virtual void SearchResultStarted() = 0;
    // The items were reordered by a drag, or a command item was counted: they are to be saved.
    virtual void ItemsChanged() = 0;
    virtual void HideRequested(HideMode mode) = 0;
    // The left button went down on no item: the panel follows the pointer.
    virtual void PanelDragged() = 0;
    // The right button was released on no item: the main menu opens.
    virtual void MainMenuRequested() = 0;
    // The right button was released on item `item` of group `group` (both
    // 1-based; for a search result, the item it stands for): its menu opens.
    virtual void ItemMenuRequested(size_t group, size_t item) = 0;
    // The hover tip of `window`; an empty text removes it.
    virtual void TipChanged(HWND window, const std::wstring& text) = 0;
    // The title caption while an item is hovered; empty: the configured title.
    virtual void CaptionChanged(const std::wstring& caption) = 0;

protected:
    ~ItemPanelEvents() = default;
};

// The keys of the result list.
enum class ListKey { Up, Down, Enter };

class ItemPanel final : public Window<ItemPanel> {
public:
    // The panel of the selected group; with `results`, the search box's
    // result list instead (key mode: fixed rows, a keyboard selection, and
    // a result starts as the item of its own group).
    ItemPanel(const PanelContext& context, ItemPanelEvents& events, SearchList* results = nullptr);

    bool Create(HWND parent);

    // Group `position` (1-based) is shown, or the result list again:
    // hover, press and icons start afresh.
    void ShowGroup(int position = 0);
    // Items shown without an icon because their target was missing are
    // looked up again: those on the screen now, the others when drawn.
    void LookAgainForMissingIcons();
    // Items were added or changed in place; the scroll position stays.
    void ItemsChanged(RedrawMode mode = RedrawMode::KeepScroll);
    // The shown group's items were started from elsewhere: the click timing
    // counts from now, and a sort by count may have reordered them.
    void NoteRun(bool reordered);
    // The keyboard selection in key mode; other panels do nothing.
    void KeyDown(ListKey key);
    bool KeyMode() const { return results_ != nullptr; }
    // Cells drawn before their icon was known wait for it.
    bool IconsPending() const { return !pendingIcons_.empty(); }
    int HotItm() const { return hotItm_; }

    // Recomputes the cells and repaints everything.
    void ReDraw(RedrawMode mode);
    // Repaints one cell.
    void DrawItem(int item, CellState state);
    // Draws the cells from `first` to `last` into the image, not on the screen.
    void DrawCells(int first, int last, CellState state);
    // One row down (mode 1) or up (any other mode).
    void SetScrollValue(int mode);

    const ItemGrid& Grid() const { return grid_; }
    const ScrollThumb& Thumb() const { return thumb_; }
    // The painted image of the panel.
    HDC Canvas() const { return canvas_.dc(); }

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
    // Posts the look-up of the icons not yet known, unless one is on its way.
    void LookUpIconsLater();
    Box CellBox(int item) const;
    int IconOf(int item);

    // kind 0 move, 1 button down, 2 button up; button 1 left, 2 right.
    void ItemMouse(int kind, int button, int x, int y);
    void OnDoubleClick();
    // The item menu of TargetItm (for a result, of the item it stands for).
    void ShowItemMenu();
    void Run(ShowMode show, std::wstring_view verb);
    // A command item of the result list, made up from the query; whether it started.
    bool RunCommandItem(ShowMode show, std::wstring_view verb);
    void OnThumbDragged(int top);

    PanelContext context_;
    ItemPanelEvents& events_;
    SearchList* const results_;
    int group_ = 0;  // the group shown, 1-based; 0 for none and for the result list
    ItemGrid grid_;
    ItemViewOptions options_;  // as read by the last ReDraw, with the cell size
    CellSize cell_;
    ScrollThumb thumb_;
    ThumbWindow thumbWindow_;
    int hotItm_ = 0;
    int pressedItm_ = 0;
    int targetItm_ = 0;
    std::optional<CellState> hotState_;  // what hotItm_ was last drawn in
    std::uint32_t pressTime_ = 0;
    std::uint32_t lastRunTime_ = 0;
    LeaveTracker leave_;
    bool redrawing_ = false;  // ReDraw invalidates once at its end, not per cell
    std::vector<int> icons_;  // per item; unknown until first drawn
    // Items drawn before their icon was known: looked up after the paint.
    std::vector<int> pendingIcons_;
    bool lookUpPosted_ = false;

    // The painted image of the panel.
    MemoryCanvas canvas_;
    int canvasWidth_ = 0, canvasHeight_ = 0;
};

}  // namespace mivra::win
