// How much the "--run" job adds to a launch: Mivra.exe --run-... starting a
// trivial target, against a minimal program that only calls ShellExecuteW on
// the same target. Both are started the same way, alternately, and timed from
// process creation until the target runs and the launcher has ended.
//   launch_bench <Mivra.exe> [rounds]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/CommandLine.h"
#include "base/Unique.h"
#include "base/WinCodePage.h"

namespace {

using mivra::win::UniqueHandle;

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    return dir.substr(0, dir.rfind(L'\\') + 1) + name;
}

// One launch; the time in milliseconds, or a negative number on failure.
double TimeLaunch(std::wstring commandLine, HANDLE targetStarted) {
    ResetEvent(targetStarted);
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    const double start = mivra::bench::NowMilliseconds();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    HANDLE both[] = {pi.hProcess, targetStarted};
    if (WaitForMultipleObjects(2, both, TRUE, 30000) == WAIT_TIMEOUT) return -1;
    return mivra::bench::NowMilliseconds() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: launch_bench <Mivra.exe> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 30;
    const std::wstring target = Beside(L"trivial_target.exe");
    const mivra::RunRequest request{L"open", target, L"", L"1"};
    const std::wstring viaMivra =
        L"\"" + std::wstring(argv[1]) + L"\" " + mivra::FormatRunArguments(mivra::win::SystemCodePage(), request);
    const std::wstring viaMinimal = L"\"" + Beside(L"minimal_launch.exe") + L"\" " + target;

    UniqueHandle targetStarted(CreateEventW(nullptr, TRUE, FALSE, L"Local\\MivraBenchTargetStarted"));
    std::vector<double> mivraTimes, minimalTimes;
    for (int i = -3; i < rounds; ++i) {  // three warm-up rounds
        double a = TimeLaunch(viaMivra, targetStarted.get());
        double b = TimeLaunch(viaMinimal, targetStarted.get());
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "launch_bench: a launch failed or timed out\n");
            return 1;
        }
        if (i >= 0) {
            mivraTimes.push_back(a);
            minimalTimes.push_back(b);
        }
    }
    const double mivra = mivra::bench::Median(mivraTimes), minimal = mivra::bench::Median(minimalTimes);
    std::printf("launch of a trivial target, median of %d rounds under the same conditions\n", rounds);
    std::printf("  Mivra.exe --run-...          %8.2f ms\n", mivra);
    std::printf("  minimal ShellExecuteW program %8.2f ms\n", minimal);
    std::printf("  ratio                         %8.3f (target: at most 1.15)\n", mivra / minimal);
    return 0;
}
