// Drops files on a window the way the shell does: a DROPFILES block in
// global memory, posted as WM_DROPFILES. The end-to-end tests use it where no
// desktop is there to drag from.
//   drop_files <window handle, decimal> <path>...

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    HWND target = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[1], nullptr, 10)));
    std::wstring list;
    for (int i = 2; i < argc; ++i) list.append(argv[i]).push_back(L'\0');
    list.push_back(L'\0');

    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory) return 1;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
        GlobalFree(memory);
        return 1;
    }
    return 0;
}
