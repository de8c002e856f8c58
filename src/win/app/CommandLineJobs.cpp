#include "app/CommandLineJobs.h"

#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

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

    // ShellExecuteEx may hand the start to shell extensions, which need COM
    // on the calling thread, as its documentation asks of every caller.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (ReadOsVersion().IsVistaOrLater()) {
        FsRedirectionOff redirectionOff;
        Launch(request);
    } else {
        Launch(request);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

void RunEditHostsJob(std::wstring_view programDir) {
    const std::wstring source = CleanPath(std::wstring(programDir) + L"\\hosts");
    const std::wstring systemDir = SystemDirectory();
    if (systemDir.empty() || GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    const std::wstring target = systemDir + L"\\drivers\\etc\\hosts";
    // The copy is made beside the system file first: nothing about that file
    // changes before the copy is ready to take its place.
    const std::wstring staged = target + L".mivra-" + std::to_wstring(GetCurrentProcessId());
    if (!CopyFileW(source.c_str(), staged.c_str(), FALSE)) return;

    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    // Replacing keeps the system file's security settings where it exists.
    const bool replaced = exists ? ReplaceFileW(target.c_str(), staged.c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE
                                 : MoveFileExW(staged.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!replaced) {
        DeleteFileW(staged.c_str());
        if (exists) SetFileAttributesW(target.c_str(), attributes);
        return;
    }
    // The prepared copy holds the user's edits: it goes only once they are in place.
    DeleteFileW(source.c_str());
}

}  // namespace mivra::win
