// Start-up to the first painted group: Mivra.exe with 1,000 items in 10
// groups against a minimal program that shows one painted window, both
// started by CreateProcess from a fresh copy in a folder of their own, in
// alternating order, and both measured by the same rule:
//   ready  the program says its window has nothing left to paint: Mivra
//          when its panel, group bar and item panel with the first group
//          are painted, the minimal program after its window's WM_PAINT
//          (both set the event named by MIVRA_PAINTED_EVENT + ".group");
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
#include <fstream>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GroupMakers.h"
#include "base/Unique.h"
#include "base/WinCodePage.h"
#include "data/DataFile.h"

namespace {

using namespace mivra;
namespace fs = std::filesystem;

const wchar_t* const kExtensions[] = {
    L"txt", L"doc", L"docx", L"xls", L"xlsx", L"ppt", L"pptx", L"pdf", L"rtf", L"csv", L"ini", L"log", L"xml",
    L"json", L"html", L"htm", L"css", L"js", L"py", L"c", L"cpp", L"h", L"java", L"md", L"zip", L"rar", L"7z",
    L"gz", L"tar", L"iso", L"jpg", L"png", L"gif", L"bmp", L"ico", L"svg", L"mp3", L"wav", L"flac", L"ogg",
    L"mp4", L"avi", L"mkv", L"mov", L"bat", L"cmd", L"reg", L"url", L"chm"};

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    return dir.substr(0, dir.rfind(L'\\') + 1) + name;
}

// 1,000 items in 10 groups, pointing at existing files: every fifth a
// system program, the rest documents of many types made under `dir`.
std::vector<Group> MakeGroups(const fs::path& dir) {
    std::vector<std::wstring> programs;
    for (const wchar_t* folder : {L"C:\\windows", L"C:\\windows\\system32"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            if (entry.path().extension() == L".exe") programs.push_back(entry.path().wstring());
    }
    using test::kTitleWords;
    std::vector<Group> groups;
    for (int g = 0; g < 10; ++g) {
        Group group{L"分组" + std::to_wstring(g + 1), {}};
        for (int i = 0; i < 100; ++i) {
            const int n = g * 100 + i;
            std::wstring path;
            if (n % 5 == 4 && !programs.empty()) {
                path = programs[(n / 5) % programs.size()];
            } else {
                // A folder per group, as items come from many places.
                const fs::path folder = dir / std::to_wstring(g);
                fs::create_directories(folder);
                const fs::path file = folder / (L"file" + std::to_wstring(n) + L"." + kExtensions[n % std::size(kExtensions)]);
                std::ofstream(file) << "sample\r\n";
                path = file.wstring();
            }
            group.Items().push_back({std::wstring(kTitleWords[n % 12]) + L" " + std::to_wstring(n), path, path, L"",
                                   std::to_wstring(n % 50)});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

// The same items pointing at files that do not exist: no icon is looked up.
std::vector<Group> Unplaced(std::vector<Group> groups) {
    for (Group& group : groups)
        for (ItemRecord& item : group.Items()) item.path = item.icoPath = L"C:\\missing\\" + item.title + L".exe";
    return groups;
}

std::string ConfigBytes(const std::vector<Group>& groups) {
    std::string bytes = "[Config]\r\n[Data]\r\n";
    for (const std::string& line : DataSectionLines(win::SystemCodePage(), groups)) bytes += line + "\r\n";
    return bytes;
}

// The events the programs set, made here and named to them through the
// environment they inherit.
class PaintedEvents {
public:
    PaintedEvents() {
        const std::wstring name = L"Local\\MivraStartupBench." + std::to_wstring(GetCurrentProcessId());
        group_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L".group").c_str()));
        icons_.reset(CreateEventW(nullptr, TRUE, FALSE, (name + L".icons").c_str()));
        SetEnvironmentVariableW(L"MIVRA_PAINTED_EVENT", name.c_str());
    }
    void Reset() {
        ResetEvent(group_.get());
        ResetEvent(icons_.get());
    }
    HANDLE Group() const { return group_.get(); }
    HANDLE Icons() const { return icons_.get(); }

private:
    win::UniqueHandle group_, icons_;
};

struct Start {
    double readyMs = -1;  // the window painted, as the program said
    double iconsMs = -1;  // every icon shown drawn too (Mivra only)
    double peakMb = 0;    // peak working set once that was so
    bool seenReady = true, seenIcons = true;  // what the screen showed then, where it was looked at
};

// What the screen shows of Mivra's first item cell (the default view: a
// 32-pixel icon 7 pixels into a cell 46 high, the caption to its right):
// whether the cell's face and caption are there, and the icon too.
struct FirstCell {
    bool painted = false, icon = false;
};
FirstCell LookAtFirstCell(DWORD processId) {
    FirstCell seen;
    HWND panel = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"MivraMainPanel", nullptr); w && !panel;
         w = FindWindowExW(nullptr, w, L"MivraMainPanel", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId) panel = w;
    }
    HWND items = panel ? FindWindowExW(panel, nullptr, L"MivraItemPanel", nullptr) : nullptr;
    RECT box{};
    if (!items || !GetWindowRect(items, &box)) return seen;
    constexpr int kWidth = 120, kHeight = 46;
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(screen, box.left + x, box.top + y));
    ReleaseDC(nullptr, screen);
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * kWidth + x]; };
    int light = 0, dark = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 46; x < kWidth; ++x) {
            const COLORREF c = at(x, y);
            light += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
            dark += GetRValue(c) < 120 && GetGValue(c) < 120 && GetBValue(c) < 120;
        }
    seen.painted = light > (kWidth - 46) * kHeight / 2 && dark > 10;
    std::vector<COLORREF> icon;
    for (int y = 7; y < 39; ++y)
        for (int x = 7; x < 39; ++x) icon.push_back(at(x, y));
    std::sort(icon.begin(), icon.end());
    seen.icon = std::unique(icon.begin(), icon.end()) - icon.begin() > 3;
    return seen;
}

// Closes the program's windows, as a user would, so that it removes what it
// put in the shell (its tray icon: a killed program leaves its icon behind,
// and Wine's tray then holds every later start up); killed if it lingers.
void EndAsAUserWould(DWORD processId, HANDLE process) {
    struct Search {
        DWORD processId;
    } search{processId};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == reinterpret_cast<Search*>(context)->processId && GetWindow(window, GW_OWNER) == nullptr)
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
    }
}

// Starts `exe` in its own folder and waits for its events; a start that
// never says it is ready (or ends first) gives readyMs < 0.
Start TimeStart(const fs::path& exe, PaintedEvents& events, bool withIcons, bool look = false) {
    Start start;
    events.Reset();
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    const std::wstring folder = exe.parent_path().wstring();
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    const double t0 = bench::NowMilliseconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return start;
    win::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    const auto waitFor = [&](HANDLE event) {
        HANDLE both[] = {event, pi.hProcess};
        return WaitForMultipleObjects(2, both, FALSE, 30000) == WAIT_OBJECT_0 ? bench::NowMilliseconds() - t0 : -1.0;
    };
    start.readyMs = waitFor(events.Group());
    if (start.readyMs >= 0 && look) start.seenReady = LookAtFirstCell(pi.dwProcessId).painted;
    if (start.readyMs >= 0 && withIcons) {
        start.iconsMs = waitFor(events.Icons());
        if (start.iconsMs < 0) start.readyMs = -1;
        if (start.iconsMs >= 0 && look) start.seenIcons = LookAtFirstCell(pi.dwProcessId).icon;
    }
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
        start.peakMb = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    EndAsAUserWould(pi.dwProcessId, pi.hProcess);
    // Wine tidies up after a process for a while (its windows, the X side):
    // let that settle so that it does not land on the next start.
    Sleep(300);
    return start;
}

// A fresh copy of `exe` in a new folder under `root`, with `config` beside
// it as Mivra.cfg when given.
fs::path FreshCopy(const fs::path& root, const std::wstring& name, const fs::path& exe, const std::string* config) {
    const fs::path dir = root / name;
    fs::create_directories(dir);
    const fs::path copy = dir / exe.filename();
    fs::copy_file(exe, copy, fs::copy_options::overwrite_existing);
    if (config) std::ofstream(dir / L"Mivra.cfg", std::ios::binary) << *config;
    return copy;
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
    PaintedEvents events;
    for (int i = -2; i < rounds; ++i) {  // two warm-up rounds
        const std::wstring n = std::to_wstring(i + 2);
        // Which program starts first alternates from round to round.
        Start a, b, c;
        const auto startMivra = [&] {
            // The warm-up rounds also look at the screen: the events must mean what they say.
            a = TimeStart(FreshCopy(root, L"mivra" + n, mivraExe, &config), events, true, i < 0);
            c = TimeStart(FreshCopy(root, L"unplaced" + n, mivraExe, &unplaced), events, true);
        };
        const auto startMinimal = [&] { b = TimeStart(FreshCopy(root, L"minimal" + n, minimalExe, nullptr), events, false); };
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
