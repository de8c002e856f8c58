#include "app/CommandLineJobs.h"

#include <windows.h>
#include <shellapi.h>

#include "app/CommandLine.h"
#include "app/FileLocations.h"
#include "base/System.h"
#include "base/WinCodePage.h"

namespace mivra::win {
namespace {

void Launch(const RunRequest& request) {
    std::wstring directory = WorkingDirectoryFor(request.path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The process ends right after this call: let the shell finish its work
    // (DDE, shell extensions) before it returns. No error box of the shell's:
    // it would name neither the item nor Mivra, and the job would wait on it
    // (the panel tells a missing target itself before it hands the start over).
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = request.operation.c_str();
    info.lpFile = request.path.c_str();
    info.lpParameters = request.argument.empty() ? nullptr : request.argument.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = ShowCommandOf(request);
    ShellExecuteExW(&info);
}

}  // namespace

void RunLaunchJob(std::wstring_view arguments) {
    RunRequest request = ReadRunRequest(SystemCodePage(), arguments);
    if (!ShouldLaunch(request)) return;

    // No COM apartment of our own: the shell sets one up for the handlers
    // that need it, and SEE_MASK_NOASYNC keeps it alive until they are done.
    // Initialising COM here would double the cost of every launch.
    if (ReadOsVersion().IsVistaOrLater()) {
        FsRedirectionOff redirectionOff;
        Launch(request);
    } else {
        Launch(request);
    }
}

void RunEditHostsJob(std::wstring_view programDir) {
    std::wstring source = CleanPath(std::wstring(programDir) + L"\\hosts");
    std::wstring target = EnvironmentVariable(L"SystemRoot").value_or(L"") + L"\\System32\\drivers\\etc\\hosts";
    if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) return;

    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    // The prepared copy holds the user's edits: keep it unless it has really
    // replaced the system file, so that a failed copy loses nothing.
    if (CopyFileW(source.c_str(), target.c_str(), FALSE)) DeleteFileW(source.c_str());
}

}  // namespace mivra::win
