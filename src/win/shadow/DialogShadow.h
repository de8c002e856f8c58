#pragma once
// The shadow of a dialog (the settings window, the item editor): the dialog's
// messages are watched through a subclass, so that its shadow follows its
// moves and sizes, shows once it has painted, in the topmost band, and hides
// with it. Such a shadow never resizes anything.

#include <windows.h>

#include "base/Window.h"
#include "shadow/ShadowWindow.h"

namespace mivra::win {

class DialogShadow {
public:
    DialogShadow() = default;
    ~DialogShadow() { Detach(); }
    DialogShadow(const DialogShadow&) = delete;
    DialogShadow& operator=(const DialogShadow&) = delete;

    // Gives `dialog` its shadow; false when it could not be made.
    bool Attach(HINSTANCE instance, HWND dialog);
    void Detach();
    HWND Shadow() const { return shadow_ ? shadow_->hwnd() : nullptr; }
    // The dialog has painted itself and its controls whole without a
    // WM_PAINT (composed in one picture): the shadow may now come.
    void DialogPainted();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    void OnMessage(UINT message, LPARAM lParam);
    static UINT RaiseMessage();
    void RaiseSoon();  // posts RaiseMessage: the shadow shown and both ordered with the next messages

    HWND dialog_ = nullptr;
    WindowPtr<ShadowWindow> shadow_;
    bool showPending_ = false;  // the dialog is shown, its shadow waits for its paint
};

}  // namespace mivra::win
