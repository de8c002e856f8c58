// Summoning the panel and what it costs while it waits, against the minimal
// window program (bench/minimal_window.cpp), both started from fresh copies
// and both told through the signals of MIVRA_BENCH_SIGNALS:
//   hotkey  from a posted WM_HOTKEY to the window painted again after it was
//           hidden, the pointer away from both windows: Mivra's panel (1,000
//           items, 354 x 400, not docked, so it does not slide) until it says
//           its panel, group bar and item panel have nothing left to paint
//           with every icon drawn ("<name>.shown"), the minimal window of the
//           same size after its WM_PAINT;
//   idle    over a quiet period, the CPU time each process used (the Wine
//           process's own accounting, GetProcessTimes) and the timer ticks its
//           message loop handled ("<name>.ticks"): Mivra parked at the left
//           edge with the pointer away, Mivra hidden by the hotkey, and the
//           minimal program shown.
//   summon_bench <Mivra.exe> [rounds] [idle seconds]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "ProgramRuns.h"
#include "app/HotKeyText.h"

namespace {

using namespace mivra;
using namespace mivra::bench;

// The panel's place in twips (15 per pixel): 354 x 400 pixels, as the minimal window,
// which stands at 100, 100: the two do not overlap.
const std::string kFloating = "Size=7500,1500,5310,6000\r\n";
const std::string kAtTheLeftEdge = "Size=0,1500,5310,6000\r\n";

// Why a figure would not measure what it says; caught in wmain, after every
// program started has been ended.
struct Refusal {
    std::string why;
};
[[noreturn]] void Refuse(const std::string& why) { throw Refusal{why}; }

// A program started and waited for until its first window is painted (Mivra:
// with every icon of the first group).
struct Program {
    const char* label;
    Signals signals;
    Running running;
    HWND window = nullptr;

    Program(const char* label, const std::wstring& tag) : label(label), signals(tag) {}
    ~Program() { EndAsAUserWould(running); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    void Start(const fs::path& exe, bool mivra) {
        signals.Reset();
        running = Launch(exe, signals);
        if (!running || WaitFor(running, signals.Group(), running.startedMs) < 0 ||
            (mivra && WaitFor(running, signals.Icons(), running.startedMs) < 0))
            Refuse(std::string(label) + " never said its window was painted");
        window = WindowOf(running.id, mivra ? L"MivraMainPanel" : kMinimalWindowClass);
        if (!window) Refuse("a program's window was not found");
        if (!signals.Ticks().attached) Refuse("a program does not count its timer ticks");
    }
    RECT Rect() const {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    bool Visible() const { return IsWindowVisible(window) != FALSE; }
};

// Waits until `condition` holds, looking every 20 ms, for at most `seconds`.
template <typename Condition>
bool Within(double seconds, Condition condition) {
    const double end = NowMilliseconds() + seconds * 1000;
    while (!condition()) {
        if (NowMilliseconds() > end) return false;
        Sleep(20);
    }
    return true;
}

// One summons: the window hidden by one hotkey message (sent, so it is
// handled when this returns), then timed from the posted one to its paint.
double TimeSummons(Program& program) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(program.window, WM_HOTKEY, kHotKeyId, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    if (program.Visible()) Refuse("the hotkey did not hide " + std::string(program.label));
    program.signals.Reset();
    const double t0 = NowMilliseconds();
    PostMessageW(program.window, WM_HOTKEY, kHotKeyId, 0);
    const double ms = WaitFor(program.running, program.signals.Shown(), t0, 10000);
    if (ms < 0) Refuse(std::string(program.label) + " never said it was painted after the hotkey");
    return ms;
}

void HotKeyToPaintedPanel(const fs::path& root, const fs::path& mivraExe, const std::string& data, int rounds) {
    Program mivra("Mivra.exe", L"hotkey.mivra"), minimal("minimal window", L"hotkey.minimal");
    mivra.Start(FreshCopy(root, L"hotkey-mivra", mivraExe, &data), true);
    minimal.Start(FreshCopy(root, L"hotkey-minimal", Beside(L"minimal_window.exe"), nullptr), false);
    const RECT a = mivra.Rect(), b = minimal.Rect();
    if (a.right - a.left != b.right - b.left || a.bottom - a.top != b.bottom - b.top)
        Refuse("the panel and the minimal window differ in size");
    if (a.left <= 0 || a.top <= 0 || a.right >= GetSystemMetrics(SM_CXSCREEN) || a.bottom >= GetSystemMetrics(SM_CYSCREEN))
        Refuse("the panel is not floating on the screen");
    // The pointer away from both windows, so that neither is told of it when it appears.
    const POINT away{GetSystemMetrics(SM_CXSCREEN) - 20, GetSystemMetrics(SM_CYSCREEN) - 20};
    POINT pointer{};
    if (PtInRect(&a, away) || PtInRect(&b, away) || !SetCursorPos(away.x, away.y) || !GetCursorPos(&pointer) ||
        pointer.x != away.x || pointer.y != away.y)
        Refuse("the pointer could not be put away from both windows");

    std::vector<double> mivraMs, minimalMs;
    for (int i = -3; i < rounds; ++i) {  // three warm-up rounds
        // Which program is summoned first alternates from round to round.
        double x = 0, y = 0;
        if (i % 2 == 0) {
            x = TimeSummons(mivra);
            y = TimeSummons(minimal);
        } else {
            y = TimeSummons(minimal);
            x = TimeSummons(mivra);
        }
        if (i < 0) {
            // The warm-up rounds look at the screen: the signal must mean what it says.
            const FirstCell seen = LookAtFirstCell(mivra.running.id);
            if (!seen.painted || !seen.icon) Refuse("Mivra said it was painted, but the screen showed no item cell");
            if (mivra.Rect().left != a.left || mivra.Rect().top != a.top) Refuse("the panel moved: it slid or was placed");
            continue;
        }
        mivraMs.push_back(x);
        minimalMs.push_back(y);
    }
    const double m = Median(mivraMs), n = Median(minimalMs);
    std::printf("hotkey to the painted panel (undocked, 354 x 400, 1,000 items, pointer away); medians of %d rounds\n", rounds);
    std::printf("  %-34s %8.2f ms   (max %.2f)\n", "Mivra.exe", m, *std::max_element(mivraMs.begin(), mivraMs.end()));
    std::printf("  %-34s %8.2f ms   (max %.2f)\n", "minimal window, hidden to painted", n,
                *std::max_element(minimalMs.begin(), minimalMs.end()));
    std::printf("  %-34s %8.3f (target: at most 1.2)\n", "ratio", m / n);
}

struct Sample {
    double cpuMs;
    LONG ticks;
    std::vector<win::BenchTimerTicks::ById> byId;
};
Sample Take(Program& program) {
    const win::BenchTimerTicks& ticks = program.signals.Ticks();
    Sample s{CpuMilliseconds(program.running), ticks.total, {}};
    if (s.cpuMs < 0) Refuse(std::string("no CPU time is known for ") + program.label);
    for (const auto& slot : ticks.byId)
        if (slot.count) s.byId.push_back(slot);
    return s;
}

void Report(const Program& program, const Sample& before, const Sample& after, double seconds) {
    const LONG ticks = after.ticks - before.ticks;
    std::printf("  %-34s CPU %8.1f ms (%5.3f%%)   timer ticks %5ld = %5.2f/s", program.label,
                after.cpuMs - before.cpuMs, (after.cpuMs - before.cpuMs) / (seconds * 10), ticks, ticks / seconds);
    for (const auto& slot : after.byId) {
        LONG earlier = 0;
        for (const auto& old : before.byId)
            if (old.id == slot.id) earlier = old.count;
        if (slot.count > earlier) std::printf("   id %llu: %ld", static_cast<unsigned long long>(slot.id), slot.count - earlier);
    }
    std::printf("\n");
}

void IdleCost(const fs::path& root, const fs::path& mivraExe, const std::vector<Group>& groups, double seconds) {
    const std::string parkedConfig = ConfigBytes(groups, kAtTheLeftEdge + "AutoHide=1\r\n");
    const std::string hiddenConfig = ConfigBytes(groups, kFloating);
    Program parked("Mivra.exe, parked at the left edge", L"idle.parked"),
        hidden("Mivra.exe, hidden by the hotkey", L"idle.hidden"), minimal("minimal window, shown", L"idle.minimal");
    // The pointer well away from the left edge.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) * 3 / 4, GetSystemMetrics(SM_CYSCREEN) / 2);
    parked.Start(FreshCopy(root, L"idle-parked", mivraExe, &parkedConfig), true);
    hidden.Start(FreshCopy(root, L"idle-hidden", mivraExe, &hiddenConfig), true);
    minimal.Start(FreshCopy(root, L"idle-minimal", Beside(L"minimal_window.exe"), nullptr), false);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(hidden.window, WM_HOTKEY, kHotKeyId, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    const auto isParked = [&] { return parked.Visible() && parked.Rect().right <= 0; };
    if (!Within(10, isParked)) Refuse("the panel at the left edge did not park");
    if (hidden.Visible()) Refuse("the hotkey did not hide the panel");
    // What start-up and the moves left behind has settled.
    Sleep(2000);

    const std::vector<Program*> programs{&parked, &hidden, &minimal};
    std::vector<Sample> before;
    for (Program* p : programs) before.push_back(Take(*p));
    Sleep(static_cast<DWORD>(seconds * 1000));
    std::vector<Sample> after;
    for (Program* p : programs) after.push_back(Take(*p));
    if (!isParked() || hidden.Visible() || !minimal.Visible()) Refuse("a window changed its state while idle");

    std::printf("idle cost over %.0f s, the pointer away, the three programs at once (1,000 items)\n", seconds);
    for (size_t i = 0; i < programs.size(); ++i) Report(*programs[i], before[i], after[i], seconds);
    std::printf("  (targets: hidden, no timer tick; parked, at most 7 ticks a second)\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: summon_bench <Mivra.exe> [rounds] [idle seconds]\n");
        return 2;
    }
    const int rounds = std::max(argc > 2 ? _wtoi(argv[2]) : 30, 10);
    const double seconds = std::max(argc > 3 ? _wtof(argv[3]) : 60.0, 5.0);
    const fs::path mivraExe = argv[1];
    const fs::path root = fs::temp_directory_path() / (L"mivra-summon-bench-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(root / L"files");
    const std::vector<Group> groups = MakeGroups(root / L"files");

    int result = 0;
    try {
        HotKeyToPaintedPanel(root, mivraExe, ConfigBytes(groups, kFloating), rounds);
        IdleCost(root, mivraExe, groups, seconds);
    } catch (const Refusal& refusal) {
        std::fprintf(stderr, "summon_bench: %s: no figures\n", refusal.why.c_str());
        result = 1;
    }
    std::error_code error;
    fs::remove_all(root, error);
    return result;
}
