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

}  // namespace

SystemIcons::SystemIcons(std::wstring programFile, std::wstring programFilesDir)
    : programFile_(std::move(programFile)), programFilesDir_(std::move(programFilesDir)) {}

SystemIcons::~SystemIcons() = default;

int SystemIcons::IndexFor(const std::wstring& path, const std::wstring& argument) {
    if (!IsLocalPath(path)) return WebIndex();
    if (path == programFile_)
        if (const int csidl = SpecialFolderOfKeyword(argument)) return IndexOfSpecialFolder(csidl);
    if (path.empty()) return kNoIcon;
    if (auto it = byPath_.find(path); it != byPath_.end()) return it->second;
    const int index = Exists(path) ? IndexOfPath(path) : kNoIcon;
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
    if (HIMAGELIST list = List(size)) ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

}  // namespace mivra::win
