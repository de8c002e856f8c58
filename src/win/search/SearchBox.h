#pragma once
// Search: the search box that takes the panel's content area in search
// mode. A query line at the top; under it the results in an item panel of
// their own, driven from the keyboard (up, down, Enter), so that a result is
// chosen and started as an item of a group is. Every change of the query
// lists the results again.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/Unique.h"
#include "base/Window.h"
#include "itempanel/ItemPanel.h"
#include "items/SearchList.h"
#include "panel/PanelContext.h"
#include "search/SearchKeyCache.h"

namespace mivra::win {

// What the search box reports: what its result list reports, and the keys
// that belong to the panel (Escape, Tab).
class SearchBoxEvents : public ItemPanelEvents {
public:
    virtual void PanelKey(UINT virtualKey) = 0;

protected:
    ~SearchBoxEvents() = default;
};

class SearchBox final : public Window<SearchBox> {
public:
    SearchBox(const PanelContext& context, SearchBoxEvents& events);

    bool Create(HWND parent);

    // Puts `text` into the query line with the caret after it; the change
    // lists the results.
    void SetText(std::wstring_view text);
    std::wstring Text() const;
    // Lists the results of the current query again.
    void ReSearch();
    // Lays out the query line and the results and repaints them.
    void ReDraw();
    // One row of results down (mode 1) or up.
    void SetScrollValue(int mode);
    // Gives the query line the keyboard.
    void Focus();
    // The groups changed: their search keys are looked at again on the next search.
    void GroupsChanged() { keys_.GroupsChanged(); }

    HWND QueryWindow() const { return query_; }
    ItemPanel& Results() { return *results_; }
    const SearchList& List() const { return list_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT QueryMessage(HWND query, UINT message, WPARAM wParam, LPARAM lParam);
    // The command item for what was asked, made as any item is (a shortcut
    // followed); a shortcut is not read again on every keystroke.
    std::optional<ItemRecord> CommandItem(const ItemRecord& asked);

    PanelContext context_;
    SearchBoxEvents& events_;
    SearchKeyCache keys_;
    std::optional<ItemRecord> askedCommand_;
    std::optional<ItemRecord> madeCommand_;
    SearchList list_;
    WindowPtr<ItemPanel> results_;
    HWND query_ = nullptr;  // a child: destroyed with the box
    UniqueGdiObject background_;
};

}  // namespace mivra::win
