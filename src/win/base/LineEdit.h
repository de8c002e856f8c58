#pragma once
// A one-line EDIT control inside one of Mivra's windows whose messages go
// first to a member of that window (the rename box, the search query). The
// member returns the result and calls DefSubclassProc for what it leaves to
// the control; exceptions stop there and are noted, as in every window of
// the program.

#include <windows.h>
#include <commctrl.h>

#include "base/CommonControls.h"
#include "base/StoppedExceptions.h"

namespace mivra::win {

namespace detail {

template <typename Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK LineEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR owner) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, &LineEditProcedure<Owner, Handler>, id);
        return DefSubclassProc(edit, message, wParam, lParam);
    }
    try {
        return (reinterpret_cast<Owner*>(owner)->*Handler)(edit, message, wParam, lParam);
    } catch (...) {
        NoteStoppedException(L"EDIT");
        return DefSubclassProc(edit, message, wParam, lParam);
    }
}

template <typename Member>
struct MemberOwner;
template <typename Owner>
struct MemberOwner<LRESULT (Owner::*)(HWND, UINT, WPARAM, LPARAM)> {
    using Type = Owner;
};

}  // namespace detail

// Creates the control (scrolling sideways, in `font`, with `style` added) as
// a child of `parent`; null when it cannot be made.
template <auto Handler>
HWND CreateLineEdit(typename detail::MemberOwner<decltype(Handler)>::Type* owner, HWND parent, HINSTANCE instance,
                    HGDIOBJ font, DWORD style = 0) {
    using Owner = typename detail::MemberOwner<decltype(Handler)>::Type;
    EnsureCommonControls();
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | style, 0, 0, 0, 0, parent, nullptr,
                                instance, nullptr);
    if (!edit) return nullptr;
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowSubclass(edit, &detail::LineEditProcedure<Owner, Handler>, 1, reinterpret_cast<DWORD_PTR>(owner));
    return edit;
}

}  // namespace mivra::win
