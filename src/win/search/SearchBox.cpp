#include "search/SearchBox.h"

#include "items/ItemEdits.h"

#include <commctrl.h>

#include "base/LineEdit.h"
#include "base/Gdi.h"
#include "main/PanelLook.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraSearchBox";
constexpr int kQueryStrip = 30;  // the query line's strip above the results

}  // namespace

SearchBox::SearchBox(const PanelContext& context, SearchBoxEvents& events)
    : context_(context), events_(events), results_(MakeWindow<ItemPanel>(context, events, &list_)) {}

bool SearchBox::Create(HWND parent) {
    if (!CreateChild(context_.instance, kClassName, parent, WS_CLIPCHILDREN)) return false;
    query_ = CreateLineEdit<&SearchBox::QueryMessage>(this, hwnd(), context_.instance, context_.look.font.get(),
                                                       WS_VISIBLE);
    if (!query_ || !results_->Create(hwnd())) return false;
    background_ = CreateBrush(context_.look.searchBgColor);
    ShowWindow(results_->hwnd(), SW_SHOWNA);
    return true;
}

void SearchBox::SetText(std::wstring_view text) {
    const std::wstring copy(text);
    if (copy == Text()) ReSearch();  // the same text: no change to list them
    else SetWindowTextW(query_, copy.c_str());  // EN_CHANGE lists the results
    const auto end = static_cast<LPARAM>(copy.size());
    SendMessageW(query_, EM_SETSEL, static_cast<WPARAM>(end), end);
}

std::wstring SearchBox::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(query_)), L'\0');
    if (!text.empty()) GetWindowTextW(query_, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

void SearchBox::ReSearch() {
    const std::wstring text = Text();
    list_.Clear();
    if (!text.empty()) {
        std::optional<ItemRecord> command;
        if (const auto asked = CommandItemFor(text, context_.items.ProgramFile())) command = CommandItem(*asked);
        FillSearchList(list_, command, context_.groups, keys_.For(context_.groups), text);
    }
    results_->ShowGroup();
    results_->ReDraw(RedrawMode::ToTop);
}

std::optional<ItemRecord> SearchBox::CommandItem(const ItemRecord& asked) {
    // A shortcut is read once for each path typed: what is typed after the
    // path (its arguments, the caption made of them) does not change where
    // the shortcut points.
    const bool shortcut = NamesAShortcut(asked.path);
    if (shortcut && madeCommand_ && askedCommand_ && askedCommand_->path == asked.path &&
        askedCommand_->icoPath == asked.icoPath) {
        ItemRecord made = *madeCommand_;
        made.title = asked.title;
        return made;
    }
    std::vector<ItemRecord> added;
    context_.items.AddItem(added, asked.title, asked.path, asked.icoPath, asked.argument, asked.count);
    askedCommand_ = asked;
    madeCommand_ = added.empty() ? std::nullopt : std::optional<ItemRecord>(std::move(added.back()));
    return madeCommand_;
}

void SearchBox::ReDraw() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int textHeight = LineHeight(hwnd(), context_.look.font.get(), 17);
    MoveWindow(query_, 7, (kQueryStrip - textHeight) / 2, client.right - 14, textHeight, TRUE);
    MoveWindow(results_->hwnd(), 0, kQueryStrip, client.right, std::max(0L, client.bottom - kQueryStrip), FALSE);
    results_->ReDraw(RedrawMode::ToTop);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void SearchBox::SetScrollValue(int mode) { results_->SetScrollValue(mode); }

void SearchBox::Focus() { SetFocus(query_); }

LRESULT SearchBox::QueryMessage(HWND query, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DefSubclassProc(query, message, wParam, lParam);
    case WM_KEYDOWN:
        // Up and down move the selection among the results; Escape is the panel's.
        if (wParam == VK_UP || wParam == VK_DOWN) {
            results_->KeyDown(wParam == VK_UP ? ListKey::Up : ListKey::Down);
            return 0;
        }
        if (wParam == VK_ESCAPE || wParam == VK_TAB) {
            events_.PanelKey(static_cast<UINT>(wParam));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r') {
            results_->KeyDown(ListKey::Enter);  // starts the selected result
            return 0;
        }
        if (wParam == 27 || wParam == L'\t') return 0;  // no beep
        break;
    }
    return DefSubclassProc(query, message, wParam, lParam);
}

LRESULT SearchBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == query_ && HIWORD(wParam) == EN_CHANGE) ReSearch();
        return 0;
    case WM_SETFOCUS:
        SetFocus(query_);
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillSolid(reinterpret_cast<HDC>(wParam), client, context_.look.searchBgColor);
        return 1;
    }
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, context_.look.searchFgColor);
        SetBkColor(dc, context_.look.searchBgColor);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
