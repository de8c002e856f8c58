// Start-up to the first painted group: Mivra.exe with 1,000 items in 10
// groups against a minimal program that shows one painted window, both
// started by CreateProcess from a fresh copy in a folder of their own, in
// alternating order, and both measured by the same rule:
//   ready  the program says its window has nothing left to paint: Mivra
//          when its panel, group bar and item panel with the first group
//          are painted, the minimal program after its window's WM_PAINT
//          (both set the event "<name>.group" of MIVRA_BENCH_SIGNALS);
//   icons  Mivra: every icon of the cells shown is drawn as well
//          (".icons"); the peak working set is read then.
// Mivra is also started with the same items on missing files, which shows
// what looking up and drawing the icons of the first group adds.
//   startup_bench <Mivra.exe> [rounds]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "ProgramRuns.h"

namespace {

using namespace mivra;
using namespace mivra::bench;

struct Start {
    double readyMs = -1;  // the window painted, as the program said
    double iconsMs = -1;  // every icon shown drawn too (Mivra only)
    double peakMb = 0;    // peak working set once that was so
    bool seenReady = true, seenIcons = true;  // what the screen showed then, where it was looked at
};

// Starts `exe` in its own folder and waits for its events; a start that
// never says it is ready (or ends first) gives readyMs < 0.
Start TimeStart(const fs::path& exe, Signals& signals, bool withIcons, bool look = false) {
    Start start;
    signals.Reset();
    Running program = Launch(exe, signals);
    if (!program) return start;
    start.readyMs = WaitFor(program, signals.Group(), program.startedMs);
    if (start.readyMs >= 0 && look) start.seenReady = LookAtFirstCell(program.id).painted;
    if (start.readyMs >= 0 && withIcons) {
        start.iconsMs = WaitFor(program, signals.Icons(), program.startedMs);
        if (start.iconsMs < 0) start.readyMs = -1;
        if (start.iconsMs >= 0 && look) start.seenIcons = LookAtFirstCell(program.id).icon;
    }
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    if (GetProcessMemoryInfo(program.process.get(), &counters, sizeof counters))
        start.peakMb = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    EndAsAUserWould(program);
    // Wine tidies up after a process for a while (its windows, the X side):
    // let that settle so that it does not land on the next start.
    Sleep(300);
    return start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench <Mivra.exe> [rounds]\n");
        return 2;
    }
    const int rounds = std::max(argc > 2 ? _wtoi(argv[2]) : 15, 10);
    const fs::path mivraExe = argv[1], minimalExe = Beside(L"minimal_window.exe");
    const fs::path root = fs::temp_directory_path() / (L"mivra-startup-bench-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(root / L"files");
    const std::vector<Group> groups = MakeGroups(root / L"files");
    const std::string config = ConfigBytes(groups), unplaced = ConfigBytes(Unplaced(groups));

    struct Runs {
        std::vector<double> ready, icons, peak;
        void Add(const Start& r) {
            ready.push_back(r.readyMs);
            icons.push_back(r.iconsMs);
            peak.push_back(r.peakMb);
        }
    } mivra, minimal, noIcons;
    const double roundTrip = bench::ServerRoundTripMicroseconds();
    Signals signals(L"start");
    for (int i = -2; i < rounds; ++i) {  // two warm-up rounds
        const std::wstring n = std::to_wstring(i + 2);
        // Which program starts first alternates from round to round.
        Start a, b, c;
        const auto startMivra = [&] {
            // The warm-up rounds also look at the screen: the events must mean what they say.
            a = TimeStart(FreshCopy(root, L"mivra" + n, mivraExe, &config), signals, true, i < 0);
            c = TimeStart(FreshCopy(root, L"unplaced" + n, mivraExe, &unplaced), signals, true);
        };
        const auto startMinimal = [&] { b = TimeStart(FreshCopy(root, L"minimal" + n, minimalExe, nullptr), signals, false); };
        if (i % 2 == 0) {
            startMivra();
            startMinimal();
        } else {
            startMinimal();
            startMivra();
        }
        if (a.readyMs < 0 || b.readyMs < 0 || c.readyMs < 0) {
            std::fprintf(stderr, "startup_bench: a start never said it was painted (%.0f, %.0f, %.0f ms): no figures\n",
                         a.readyMs, b.readyMs, c.readyMs);
            return 1;
        }
        if (!a.seenReady || !a.seenIcons) {
            std::fprintf(stderr, "startup_bench: Mivra said it was painted, but the screen showed no %s: no figures\n",
                         a.seenReady ? "icon" : "item cell");
            return 1;
        }
        if (i < 0) continue;
        mivra.Add(a);
        minimal.Add(b);
        noIcons.Add(c);
    }

    using bench::Median;
    std::printf("start-up to the first painted group, %zu groups with 1,000 items (%zu bytes); medians of %d rounds, "
                "the programs started in alternating order\n",
                groups.size(), config.size(), rounds);
    std::printf("  (ready: the program says its windows have nothing left to paint, Mivra's with the first group; "
                "a Wine server round trip %.1f us)\n",
                roundTrip);
    std::printf("  %-34s ready %8.2f ms   icons complete %8.2f ms\n", "Mivra.exe", Median(mivra.ready),
                Median(mivra.icons));
    std::printf("  %-34s ready %8.2f ms\n", "minimal window", Median(minimal.ready));
    std::printf("  %-34s %8.3f (target: at most 1.5)\n", "ratio (ready)", Median(mivra.ready) / Median(minimal.ready));
    std::printf("  %-34s ready %8.2f ms   icons complete %8.2f ms\n", "Mivra.exe, items on missing files",
                Median(noIcons.ready), Median(noIcons.icons));
    const double mp = Median(mivra.peak), np = Median(minimal.peak);
    std::printf("peak working set (Mivra: once every icon shown is drawn), medians\n");
    std::printf("  %-34s %8.2f MB\n", "Mivra.exe", mp);
    std::printf("  %-34s %8.2f MB\n", "minimal window", np);
    std::printf("  %-34s %8.2f MB (target: at most 15)\n", "difference", mp - np);
    std::printf("  %-34s %8.2f MB\n", "Mivra.exe, items on missing files", Median(noIcons.peak));

    std::error_code error;
    fs::remove_all(root, error);
    return 0;
}
