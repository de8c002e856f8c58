// Start-up to the first painted group: Mivra.exe with 1,000 items in 10
// groups against a minimal program that shows one painted window, both
// started alternately by CreateProcess, each from a fresh copy in a folder of
// its own, and both measured by the same rule:
//   ready  the window that matters is visible (Mivra: its item panel, which
//          is shown once the data is loaded and the group laid out; the
//          minimal program: its only window), polled every millisecond;
//   then   the time is taken when a WM_NULL sent to the top-level window
//          returns, i.e. when the program's thread is back in its message
//          loop after the step that made the window visible (Mivra draws
//          the group into its image within that same step).
// Mivra is also started with the same items on missing files, which shows
// what looking up and drawing the icons of the first group adds. Also the
// peak working set of each process just before it is ended.
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
    static const wchar_t* const kWords[] = {L"记事本", L"浏览器", L"Visual Studio", L"Photoshop", L"音乐播放器",
                                            L"Terminal", L"文档", L"Steam", L"微信", L"Notepad++", L"计算器",
                                            L"Blender"};
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
            group.Items().push_back({std::wstring(kWords[n % 12]) + L" " + std::to_wstring(n), path, path, L"",
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

// The visible top-level window of a class that belongs to a process.
HWND TopWindowOf(DWORD processId, const wchar_t* className) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId) return w;
    }
    return nullptr;
}

struct Ready {
    double shownMs = -1;    // the top-level window was seen visible
    double visibleMs = -1;  // the ready window was seen visible
    double answeredMs = -1;  // WM_NULL returned after that
    bool paintedWhenReady = false;  // the minimal program's event was set by then
    double peakMb = 0;
};

// Starts `exe` in its own folder and waits until `readyClass` (a child of
// the top-level `topClass`, or the top-level window itself when null) is
// visible and the program has answered a message after that.
Ready TimeStart(const fs::path& exe, const wchar_t* topClass, const wchar_t* readyClass) {
    Ready ready;
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    const std::wstring folder = exe.parent_path().wstring();
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    const double start = bench::NowMilliseconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return ready;
    win::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    while (bench::NowMilliseconds() - start < 30000) {
        HWND top = TopWindowOf(pi.dwProcessId, topClass);
        if (top && ready.shownMs < 0 && IsWindowVisible(top)) ready.shownMs = bench::NowMilliseconds() - start;
        HWND watched = top && readyClass ? FindWindowExW(top, nullptr, readyClass, nullptr) : top;
        if (watched && IsWindowVisible(watched)) {
            ready.visibleMs = bench::NowMilliseconds() - start;
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result))
                ready.answeredMs = bench::NowMilliseconds() - start;
            if (HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"Local\\MivraBenchMinimalPainted")) {
                ready.paintedWhenReady = WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
                CloseHandle(event);
            }
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;  // ended early
    }
    // Let the pending paint happen before the memory is read.
    Sleep(200);
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
        ready.peakMb = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    // Wine tidies up after a killed process for a while (its windows, the X
    // side): let that settle so that it does not land on the next start.
    Sleep(300);
    return ready;
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
        std::vector<double> shown, visible, ready, peak;
        void Add(const Ready& r) {
            shown.push_back(r.shownMs);
            visible.push_back(r.visibleMs);
            ready.push_back(r.answeredMs);
            peak.push_back(r.peakMb);
        }
    } mivra, minimal, noIcons;
    const double roundTrip = bench::ServerRoundTripMicroseconds();
    // The minimal program sets it once it has painted: it must be set by the
    // time the program counts as ready.
    win::UniqueHandle painted(CreateEventW(nullptr, TRUE, FALSE, L"Local\\MivraBenchMinimalPainted"));
    int paintedWhenReady = 0;
    for (int i = -2; i < rounds; ++i) {  // two warm-up rounds
        const std::wstring n = std::to_wstring(i + 2);
        const Ready a = TimeStart(FreshCopy(root, L"mivra" + n, mivraExe, &config), L"MivraMainPanel", L"MivraItemPanel");
        ResetEvent(painted.get());
        const Ready b = TimeStart(FreshCopy(root, L"minimal" + n, minimalExe, nullptr), L"MivraBenchMinimalWindow", nullptr);
        const Ready c = TimeStart(FreshCopy(root, L"unplaced" + n, mivraExe, &unplaced), L"MivraMainPanel", L"MivraItemPanel");
        if (a.answeredMs < 0 || b.answeredMs < 0 || c.answeredMs < 0) {
            std::fprintf(stderr, "startup_bench: a start failed or timed out (%.0f, %.0f, %.0f ms)\n", a.answeredMs,
                         b.answeredMs, c.answeredMs);
            return 1;
        }
        if (i < 0) continue;
        paintedWhenReady += b.paintedWhenReady;
        mivra.Add(a);
        minimal.Add(b);
        noIcons.Add(c);
    }

    using bench::Median;
    const auto line = [](const char* name, const Runs& r) {
        std::printf("  %-34s shown %8.2f ms   visible %8.2f ms   ready %8.2f ms\n", name, Median(r.shown),
                    Median(r.visible), Median(r.ready));
    };
    std::printf("start-up to the first painted group, %zu groups with 1,000 items (%zu bytes); medians of %d rounds\n",
                groups.size(), config.size(), rounds);
    std::printf("  (shown: the top-level window is visible; visible: the item panel is; ready: then a message is "
                "answered; a Wine server round trip %.1f us)\n",
                roundTrip);
    line("Mivra.exe", mivra);
    line("minimal window", minimal);
    std::printf("  (the minimal window had painted when found ready in %d of %d rounds)\n", paintedWhenReady, rounds);
    std::printf("  ratio                              %8.3f (target: at most 1.5)\n",
                Median(mivra.ready) / Median(minimal.ready));
    line("Mivra.exe, items on missing files", noIcons);
    const double mp = Median(mivra.peak), np = Median(minimal.peak);
    std::printf("peak working set, medians\n");
    std::printf("  %-34s %8.2f MB\n", "Mivra.exe", mp);
    std::printf("  %-34s %8.2f MB\n", "minimal window", np);
    std::printf("  %-34s %8.2f MB (target: at most 15)\n", "difference", mp - np);
    std::printf("  %-34s %8.2f MB\n", "Mivra.exe, items on missing files", Median(noIcons.peak));

    std::error_code error;
    fs::remove_all(root, error);
    return 0;
}
