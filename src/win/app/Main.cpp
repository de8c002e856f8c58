// The process entry: the one-shot jobs of the command line end here without
// any window; everything else is the panel.

#include <windows.h>

#include "app/App.h"
#include "app/CommandLine.h"
#include "app/CommandLineJobs.h"
#include "app/Messages.h"
#include "app/StartFailure.h"
#include "base/System.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace mivra;
    // DLLs come from the system directory only: a portable program sits in
    // folders anyone may write to, and a DLL of a delay-loaded name put
    // beside it must never be loaded.
    win::LoadDllsFromSystemOnly();
    const std::wstring_view arguments = ArgumentsOf(GetCommandLineW());
    switch (ClassifyCommandLine(arguments)) {
    case CommandLineJob::Run:
        win::RunLaunchJob(arguments);
        return 0;
    case CommandLineJob::EditHosts:
        win::RunEditHostsJob(FileLocations::ForExecutable(win::ExecutablePath()).programDir);
        return 0;
    case CommandLineJob::Normal:
        break;
    }
    return win::RunTellingFailures([instance] { return win::App(instance).Run(); },
                                   [](const std::wstring& text) {
                                       MessageBoxW(nullptr, text.c_str(), win::kAppTitle, MB_ICONERROR);
                                   });
}
