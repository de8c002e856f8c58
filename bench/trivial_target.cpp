// The launched program of the launch benchmark: it tells the driver that it
// runs, then ends.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\MivraBenchTargetStarted")) {
        SetEvent(started);
        CloseHandle(started);
    }
    return 0;
}
