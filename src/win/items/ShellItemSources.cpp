#include "items/ShellItemSources.h"

#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include "base/ComPtr.h"
#include "base/Files.h"
#include "base/System.h"

namespace mivra::win {
namespace {

std::wstring TrimSpaces(std::wstring text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    text.erase(text.find_last_not_of(L' ') + 1);
    text.erase(0, first);
    return text;
}

// The text up to the first null of a buffer an API filled.
std::wstring UpToNull(const std::wstring& buffer) {
    return buffer.substr(0, buffer.find(L'\0'));
}

}  // namespace

std::optional<std::wstring> ShellItemSources::AdvertisedShortcutPath(std::wstring_view shortcut) {
    // The installer reads the shortcut through the shell's link object.
    if (!EnsureComOnThisThread()) return std::nullopt;
    const std::wstring file(shortcut);
    wchar_t product[39] = {};
    wchar_t feature[MAX_FEATURE_CHARS + 1] = {};
    wchar_t component[39] = {};
    if (MsiGetShortcutTargetW(file.c_str(), product, feature, component) != ERROR_SUCCESS) return std::nullopt;

    std::wstring path(1024, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    INSTALLSTATE state = MsiGetComponentPathW(product, component, path.data(), &length);
    if (state == INSTALLSTATE_MOREDATA) {
        path.assign(length + 1, L'\0');
        length = static_cast<DWORD>(path.size());
        state = MsiGetComponentPathW(product, component, path.data(), &length);
    }
    if (state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_SOURCE && state != INSTALLSTATE_DEFAULT)
        return std::nullopt;
    path = TrimSpaces(UpToNull(path));
    if (path.empty()) return std::nullopt;
    return path;
}

std::optional<ShortcutTarget> ShellItemSources::ReadShortcut(std::wstring_view shortcut) {
    if (!EnsureComOnThisThread()) return std::nullopt;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
        return std::nullopt;
    ComPtr<IPersistFile> file = link.As<IPersistFile>();
    const std::wstring name(shortcut);
    if (!file || FAILED(file->Load(name.c_str(), STGM_READ))) return std::nullopt;

    ShortcutTarget target;
    // No flags: the stored target with its environment strings expanded and
    // without resolving it, so a target that has gone away still shows.
    // SLGP_RAWPATH would leave "%ProgramFiles%" unexpanded; SLGP_UNCPRIORITY
    // is documented as unsupported. S_FALSE (a virtual folder) leaves it empty.
    std::wstring path(32768, L'\0');
    if (link->GetPath(path.data(), static_cast<int>(path.size()), nullptr, 0) == S_OK)
        target.path = UpToNull(path);
    // Arguments can be as long as a command line: not cut at INFOTIPSIZE.
    std::wstring arguments(32768, L'\0');
    if (SUCCEEDED(link->GetArguments(arguments.data(), static_cast<int>(arguments.size()))))
        target.arguments = UpToNull(arguments);
    return target;
}

std::optional<std::string> ShellItemSources::ReadFile(std::wstring_view path) {
    return ReadFileStart(std::wstring(path), kMostItemFileBytes);
}

bool ShellItemSources::Exists(std::wstring_view path) {
    return GetFileAttributesW(std::wstring(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> ShellItemSources::Environment(std::wstring_view name) {
    return EnvironmentVariable(name);
}

}  // namespace mivra::win
