#include "app/MouseHook.h"

#include "base/Unique.h"

namespace mivra::win {
namespace {

// The hook procedure has no context of its own: the hook of this thread.
thread_local MouseHook* hookOfThisThread = nullptr;

MouseEvent EventOf(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN: return MouseEvent::LeftDown;
    case WM_LBUTTONUP: return MouseEvent::LeftUp;
    case WM_RBUTTONDOWN: return MouseEvent::RightDown;
    case WM_RBUTTONUP: return MouseEvent::RightUp;
    case WM_MBUTTONDOWN: return MouseEvent::MiddleDown;
    case WM_MBUTTONUP: return MouseEvent::MiddleUp;
    default: return MouseEvent::Other;
    }
}

}  // namespace

bool MouseHook::Start(HWND target, UINT message) {
    if (Running()) return true;
    target_ = target;
    message_ = message;
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    bool installed = false;
    thread_ = std::thread(&MouseHook::Run, this, ready.get(), &installed);
    WaitForSingleObject(ready.get(), INFINITE);
    if (!installed) {
        thread_.join();
        return false;
    }
    return true;
}

void MouseHook::SetOptions(GestureOptions options) {
    middleButton_ = options.middleButton;
    leftRight_ = options.leftRight;
}

void MouseHook::Stop() {
    if (!Running()) return;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    threadId_ = 0;
}

void MouseHook::Run(HANDLE ready, bool* installed) {
    threadId_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts the quit
    hookOfThisThread = this;
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, &MouseHook::Procedure, GetModuleHandleW(nullptr), 0);
    *installed = hook != nullptr;
    SetEvent(ready);
    if (!hook) return;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
    hookOfThisThread = nullptr;
}

LRESULT CALLBACK MouseHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    MouseHook* self = hookOfThisThread;
    if (code == HC_ACTION && self) {
        const GestureOptions options{self->middleButton_.load(), self->leftRight_.load()};
        if (self->tracker_.Toggles(EventOf(wParam), options)) PostMessageW(self->target_, self->message_, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace mivra::win
