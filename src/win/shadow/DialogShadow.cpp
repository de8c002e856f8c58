#include "shadow/DialogShadow.h"

#include <commctrl.h>

#include <utility>

#include "base/CommonControls.h"
#include "base/StoppedExceptions.h"

namespace mivra::win {

bool DialogShadow::Attach(HINSTANCE instance, HWND dialog) {
    Detach();
    shadow_ = MakeWindow<ShadowWindow>();
    if (!shadow_->Create(instance, dialog)) {
        shadow_.reset();
        return false;
    }
    EnsureCommonControls();
    dialog_ = dialog;
    SetWindowSubclass(dialog, &DialogShadow::Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
    if (IsWindowVisible(dialog)) {
        shadow_->Show(true);
        RaiseSoon();
    }
    return true;
}

void DialogShadow::Detach() {
    if (dialog_) RemoveWindowSubclass(dialog_, &DialogShadow::Procedure, 1);
    dialog_ = nullptr;
    shadow_.reset();
}

void DialogShadow::OnMessage(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        shadow_->Follow();
        break;
    case WM_WINDOWPOSCHANGED: {
        // Shown after the dialog has painted: showing a layered window first
        // would hold the dialog's own picture up. Not WM_SHOWWINDOW: a dialog
        // shown by SetWindowPos never gets one.
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        if (flags & SWP_SHOWWINDOW) showPending_ = true;
        if (flags & SWP_HIDEWINDOW) {
            showPending_ = false;
            shadow_->Show(false);
        }
        break;
    }
    case WM_PAINT:
        // The dialog's own paint is done: its boxes now, then the shadow and
        // the z-order, which does not stay when set while it is being shown.
        if (!std::exchange(showPending_, false)) break;
        RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RaiseSoon();
        break;
    default:
        if (message == RaiseMessage() && IsWindowVisible(dialog_)) {
            shadow_->Show(true);
            // Dialogs stand above the panel, and their shadows just above them. The
            // shadow goes first: an owner is not made topmost over an owned window that is not.
            SetWindowPos(shadow_->hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOSENDCHANGING | SWP_NOACTIVATE);
            SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOSENDCHANGING);
        }
        break;
    }
}

void DialogShadow::DialogPainted() {
    if (std::exchange(showPending_, false)) RaiseSoon();
}

void DialogShadow::RaiseSoon() { PostMessageW(dialog_, RaiseMessage(), 0, 0); }

UINT DialogShadow::RaiseMessage() {
    static const UINT message = RegisterWindowMessageW(L"MivraDialogShadowRaise");
    return message;
}

LRESULT CALLBACK DialogShadow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &DialogShadow::Procedure, id);
        reinterpret_cast<DialogShadow*>(self)->dialog_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    // After the dialog: a paint is followed, not preceded.
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    try {
        reinterpret_cast<DialogShadow*>(self)->OnMessage(message, lParam);
    } catch (...) {
        NoteStoppedException(L"dialog shadow");
    }
    return result;
}

}  // namespace mivra::win
