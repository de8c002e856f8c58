// The process entry: the one-shot jobs of the command line end here without
// any window; everything else is the panel.

#include <windows.h>

#include "app/App.h"
#include "app/CommandLine.h"
#include "app/CommandLineJobs.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace mivra;
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
    win::App app(instance);
    return app.Run();
}
