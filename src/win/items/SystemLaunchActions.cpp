#include "items/SystemLaunchActions.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/Messages.h"
#include "base/ComPtr.h"
#include "base/Unique.h"

namespace mivra::win {
namespace {

// Log off, shut down and restart need the shutdown privilege on our token.
void EnableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

void SystemLaunchActions::StartProgram(const std::wstring& programFile, const std::wstring& arguments) {
    // The result is not examined: the second instance does the real start.
    ShellExecuteW(nullptr, L"open", programFile.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

void SystemLaunchActions::OpenSettings() {
    if (openSettings_) openSettings_();
}

void SystemLaunchActions::EmptyRecycleBin() {
    // All drives, with the shell's own confirmation, progress and sound.
    SHEmptyRecycleBinW(nullptr, nullptr, 0);
}

void SystemLaunchActions::DisplayOff() { SendMessageW(owner_, WM_SYSCOMMAND, SC_MONITORPOWER, 2); }

void SystemLaunchActions::LockWorkstation() { ::LockWorkStation(); }

bool SystemLaunchActions::Confirm(std::wstring_view question) {
    return MessageBoxW(owner_, std::wstring(question).c_str(), kAppTitle, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

void SystemLaunchActions::ExitSystem(ExitMode mode) {
    EnableShutdownPrivilege();
    // Nothing forced.
    ExitWindowsEx(mode == ExitMode::LogOff ? EWX_LOGOFF : mode == ExitMode::ShutDown ? EWX_SHUTDOWN : EWX_REBOOT, 0);
}

void SystemLaunchActions::OpenSpecialFolder(SpecialFolder special) {
    EnsureComOnThisThread();
    const UniqueIdList folder = SpecialFolderIdList(static_cast<int>(special));
    if (!folder) return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_IDLIST;
    info.lpVerb = L"open";
    info.lpIDList = folder.get();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}

bool SystemLaunchActions::Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace mivra::win
