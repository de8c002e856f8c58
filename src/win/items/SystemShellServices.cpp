#include "items/SystemShellServices.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "base/ComPtr.h"
#include "items/OpenFolder.h"
#include "shell/ShellContextMenu.h"

namespace mivra::win {

std::wstring SystemShellServices::Resolve(std::wstring_view storedPath) {
    return ResolvePath(storedPath, programDir_, environment_);
}

bool SystemShellServices::OpenFolder(const std::wstring& resolved) { return OpenFolderOf(resolved, os_); }

bool SystemShellServices::CopyText(std::wstring_view text) {
    // The memory goes to the clipboard once SetClipboardData takes it.
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* place = GlobalLock(memory)) {
        std::memcpy(place, text.data(), text.size() * sizeof(wchar_t));
        static_cast<wchar_t*>(place)[text.size()] = L'\0';
        GlobalUnlock(memory);
    }
    bool given = false;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        given = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        CloseClipboard();
    }
    if (!given) GlobalFree(memory);
    return given;
}

std::wstring SystemShellServices::ClipboardText() {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Up to the terminator, and never beyond the memory another program put there.
            const size_t most = GlobalSize(data) / sizeof(wchar_t);
            text.assign(chars, std::find(chars, chars + most, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::wstring SystemShellServices::ChooseFile(HWND owner) {
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"请选择任意文件(*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = L"选择文件";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return {};
    file.resize(std::wcslen(file.c_str()));
    return file;
}

bool SystemShellServices::ShowExplorerMenu(HWND owner, const std::wstring& resolved, POINT at) {
    return ShowShellMenuFor(owner, resolved, at);
}

std::wstring SystemShellServices::DesktopFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    std::wstring path(folder);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

bool SystemShellServices::Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemShellServices::SaveShortcut(const std::wstring& file, const std::wstring& target,
                                       std::wstring_view arguments, const std::wstring& icon) {
    if (!EnsureComOnThisThread()) return false;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
        return false;
    const std::wstring args(arguments);
    link->SetPath(target.c_str());
    link->SetArguments(args.c_str());
    if (!icon.empty()) link->SetIconLocation(icon.c_str(), 0);
    ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put())))) return false;
    return SUCCEEDED(persist->Save(file.c_str(), TRUE));
}

std::wstring SystemShellServices::HostsFile() {
    const std::wstring system = SystemDirectory();
    return system.empty() ? std::wstring() : system + L"\\drivers\\etc\\hosts";
}

unsigned long SystemShellServices::StartElevated(const std::wstring& file, const std::wstring& arguments) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The caller tells a failure in its own words.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_HIDE;
    return ShellExecuteExW(&info) ? 0 : GetLastError();
}

}  // namespace mivra::win
