// The baseline of the start-up and summoning benchmarks: the least a Win32
// program does to put one painted window on the screen and to show it again
// when asked. It registers a class, shows the window, paints it at once and
// says so as Mivra does, through what the benchmark made under the name in
// MIVRA_BENCH_SIGNALS: "<name>.group" once its window has nothing left to
// paint, "<name>.shown" after every paint; a posted WM_HOTKEY hides a shown
// window and shows a hidden one; its loop counts timer ticks into
// "<name>.ticks" as Mivra's does (it has no timers of its own).
#include <windows.h>

#include <string>

#include "app/BenchTimerTicks.h"

namespace {

constexpr wchar_t kClassName[] = L"MivraBenchMinimalWindow";

std::wstring SignalsName() {
    wchar_t name[128] = {};
    const DWORD n = GetEnvironmentVariableW(L"MIVRA_BENCH_SIGNALS", name, 128);
    return n > 0 && n < 128 ? name : L"";
}

void Signal(const wchar_t* which) {
    const std::wstring name = SignalsName();
    if (name.empty()) return;
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + which).c_str())) {
        SetEvent(event);
        CloseHandle(event);
    }
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        TextOutW(dc, 10, 10, L"painted", 7);
        EndPaint(hwnd, &ps);
        Signal(L".group");
        Signal(L".shown");
        return 0;
    }
    case WM_HOTKEY:
        if (IsWindowVisible(hwnd)) {
            ShowWindow(hwnd, SW_HIDE);
        } else {
            ShowWindow(hwnd, SW_SHOW);
            SetForegroundWindow(hwnd);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"Minimal", WS_POPUP, 100, 100, 354, 400, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) return 1;

    mivra::win::BenchTimerTicks* ticks = nullptr;
    HANDLE block = nullptr;
    if (const std::wstring name = SignalsName(); !name.empty())
        block = OpenFileMappingW(FILE_MAP_WRITE, FALSE, (name + L".ticks").c_str());
    if (block) ticks = static_cast<mivra::win::BenchTimerTicks*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
    if (ticks) InterlockedExchange(&ticks->attached, 1);

    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (ticks) ticks->Count(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
