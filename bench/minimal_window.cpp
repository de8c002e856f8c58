// The baseline of the start-up benchmark: the least a Win32 program does to
// put one painted window on the screen. It registers a class, shows the
// window, paints it at once and says so as Mivra does: it sets the event
// named by MIVRA_PAINTED_EVENT + ".group" once its window has nothing left to
// paint, then waits in its message loop.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"MivraBenchMinimalWindow";

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        TextOutW(dc, 10, 10, L"painted", 7);
        EndPaint(hwnd, &ps);
        wchar_t name[128] = {};
        const DWORD n = GetEnvironmentVariableW(L"MIVRA_PAINTED_EVENT", name, 128);
        if (n > 0 && n < 128)
            if (HANDLE painted = OpenEventW(EVENT_MODIFY_STATE, FALSE, (std::wstring(name) + L".group").c_str())) {
                SetEvent(painted);
                CloseHandle(painted);
            }
        return 0;
    }
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
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
