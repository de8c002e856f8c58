// The baseline of the launch benchmark: the least a program can do to start
// a target through the shell. Its whole command line after the name is the
// target's path.
#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

#include "app/CommandLine.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring path(mivra::ArgumentsOf(GetCommandLineW()));
    // As a correct caller of the shell must: COM on the thread first.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
