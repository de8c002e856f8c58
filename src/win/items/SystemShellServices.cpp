#include "items/SystemShellServices.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "base/ComPtr.h"
#include "items/OpenFolder.h"

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
