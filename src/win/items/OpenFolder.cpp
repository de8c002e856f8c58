#include "items/OpenFolder.h"

#include <shellapi.h>
#include <shlobj.h>

#include <optional>

#include "base/ComPtr.h"

namespace mivra::win {

bool OpenFolderOf(const std::wstring& resolvedPath, const OsVersion& os) {
    std::optional<FsRedirectionOff> redirectionOff;
    if (os.IsVistaOrLater()) redirectionOff.emplace();
    if (GetFileAttributesW(resolvedPath.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (EnsureComOnThisThread()) {
        const UniqueIdList item(ILCreateFromPathW(resolvedPath.c_str()));
        if (item && SUCCEEDED(SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0))) return true;
    }
    // Without the shell's folder windows (no desktop shell running), the
    // file manager is asked directly.
    const std::wstring select = L"/select,\"" + resolvedPath + L"\"";
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(nullptr, L"open", L"explorer.exe", select.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace mivra::win
