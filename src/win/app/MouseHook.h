#pragma once
// The global low-level mouse hook of the two mouse gestures. It runs on a
// thread of its own with its own message loop: a hook on the user-interface
// thread would hold every mouse move of the whole system up whenever that
// thread is busy, and the system removes hooks that answer too late. The
// hook passes every event on at once and only posts the toggle to the panel.

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/MouseGestures.h"

namespace mivra::win {

class MouseHook {
public:
    MouseHook() = default;
    ~MouseHook() { Stop(); }
    MouseHook(const MouseHook&) = delete;
    MouseHook& operator=(const MouseHook&) = delete;

    // Installs the hook, once; a completed gesture posts `message` to `target`.
    // False when the hook could not be installed.
    bool Start(HWND target, UINT message);
    // The options may change while the hook runs; it stays installed.
    void SetOptions(GestureOptions options);
    bool Running() const { return thread_.joinable(); }
    // Removes the hook and ends its thread.
    void Stop();

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready, bool* installed);

    std::thread thread_;
    DWORD threadId_ = 0;
    HWND target_ = nullptr;
    UINT message_ = 0;
    std::atomic<bool> middleButton_{false};
    std::atomic<bool> leftRight_{false};
    GestureTracker tracker_;  // the hook thread's only
};

}  // namespace mivra::win
