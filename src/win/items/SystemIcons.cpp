#include "items/SystemIcons.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/ComPtr.h"
#include "items/ItemEdits.h"
#include "items/ItemLaunch.h"

namespace mivra::win {
namespace {

int IndexOfPath(const std::wstring& path) {
    SHFILEINFOW info{};
    return SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX) ? info.iIcon
                                                                                  : SystemIcons::kNoIcon;
}

int IndexOfSpecialFolder(int csidl) {
    const UniqueIdList folder = SpecialFolderIdList(csidl);
    if (!folder) return SystemIcons::kNoIcon;
    SHFILEINFOW info{};
    return SHGetFileInfoW(reinterpret_cast<LPCWSTR>(folder.get()), 0, &info, sizeof info,
                          SHGFI_SYSICONINDEX | SHGFI_PIDL)
               ? info.iIcon
               : SystemIcons::kNoIcon;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The extension with its dot, lower case; empty when the name has none.
std::wstring ExtensionOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return L"";
    std::wstring extension = path.substr(dot);
    CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
    return extension;
}

// Files that carry an icon of their own; every other file shows the icon of
// its type, which the shell answers from the extension alone, many times
// faster than by opening the file.
bool HasOwnIcon(const std::wstring& extension) {
    static constexpr const wchar_t* kOwn[] = {L"",     L".exe", L".dll", L".ico", L".cur", L".ani", L".lnk",
                                              L".url", L".website", L".msc", L".cpl", L".scr", L".pif", L".icl",
                                              L".appref-ms"};
    for (const wchar_t* own : kOwn)
        if (extension == own) return true;
    return false;
}

int IndexOfType(const std::wstring& extension) {
    SHFILEINFOW info{};
    return SHGetFileInfoW(extension.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                          SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES)
               ? info.iIcon
               : SystemIcons::kNoIcon;
}

}  // namespace

SystemIcons::SystemIcons(std::wstring programFile, std::wstring programFilesDir)
    : programFile_(std::move(programFile)), programFilesDir_(std::move(programFilesDir)) {}

SystemIcons::~SystemIcons() = default;

int SystemIcons::IndexFor(const std::wstring& path, const std::wstring& argument) {
    if (!IsLocalPath(path)) return WebIndex();
    if (path == programFile_)
        if (const SpecialFolder folder = SpecialFolderOfKeyword(argument); folder != SpecialFolder::None)
            return IndexOfSpecialFolder(static_cast<int>(folder));
    if (path.empty()) return kNoIcon;
    if (auto it = byPath_.find(path); it != byPath_.end()) return it->second;
    if (missing_.contains(path)) return kNoIcon;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        missing_.insert(path);
        return kNoIcon;
    }
    int index = kNoIcon;
    const std::wstring extension = ExtensionOf(path);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || HasOwnIcon(extension)) {
        index = IndexOfPath(path);
    } else {
        auto type = byType_.find(extension);
        if (type == byType_.end()) type = byType_.emplace(extension, IndexOfType(extension)).first;
        index = type->second;
    }
    byPath_.emplace(path, index);
    return index;
}

// Web items show the browser's icon; without the classic browser, the icon
// of whatever program opens web addresses, or else of internet shortcuts.
int SystemIcons::WebIndex() {
    if (webIndex_ != -2) return webIndex_;
    const std::wstring classic = programFilesDir_ + L"\\Internet Explorer\\iexplore.exe";
    if (Exists(classic)) return webIndex_ = IndexOfPath(classic);
    wchar_t browser[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (SUCCEEDED(AssocQueryStringW(ASSOCF_IS_PROTOCOL, ASSOCSTR_EXECUTABLE, L"http", nullptr, browser, &size)) &&
        Exists(browser))
        if (const int index = IndexOfPath(browser); index != kNoIcon) return webIndex_ = index;
    SHFILEINFOW info{};
    webIndex_ = SHGetFileInfoW(L".url", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                               SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES)
                    ? info.iIcon
                    : kNoIcon;
    return webIndex_;
}

HIMAGELIST SystemIcons::List(IconSize size) {
    const int slot = static_cast<int>(size);
    if (!lists_[slot]) {
        static constexpr int kShellSizes[] = {SHIL_EXTRALARGE, SHIL_LARGE, SHIL_SMALL};
        SHGetImageList(kShellSizes[slot], __uuidof(IImageList), reinterpret_cast<void**>(lists_[slot].put()));
    }
    // The interface is the list's handle as well.
    return reinterpret_cast<HIMAGELIST>(lists_[slot].get());
}

void SystemIcons::Draw(int index, IconSize size, HDC dc, int x, int y) {
    if (index == kNoIcon) return;
    atlases_[static_cast<int>(size)].Draw(List(size), index, dc, x, y);
}

}  // namespace mivra::win
