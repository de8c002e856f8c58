#include "ProgramRuns.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "BenchClock.h"
#include "GroupMakers.h"
#include "base/WinCodePage.h"
#include "data/DataFile.h"

namespace mivra::bench {
namespace {

const wchar_t* const kExtensions[] = {
    L"txt", L"doc", L"docx", L"xls", L"xlsx", L"ppt", L"pptx", L"pdf", L"rtf", L"csv", L"ini", L"log", L"xml",
    L"json", L"html", L"htm", L"css", L"js", L"py", L"c", L"cpp", L"h", L"java", L"md", L"zip", L"rar", L"7z",
    L"gz", L"tar", L"iso", L"jpg", L"png", L"gif", L"bmp", L"ico", L"svg", L"mp3", L"wav", L"flac", L"ogg",
    L"mp4", L"avi", L"mkv", L"mov", L"bat", L"cmd", L"reg", L"url", L"chm"};

HANDLE MakeEvent(const std::wstring& name) { return CreateEventW(nullptr, TRUE, FALSE, name.c_str()); }

}  // namespace

fs::path Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

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
                const fs::path file =
                    folder / (L"file" + std::to_wstring(n) + L"." + kExtensions[n % std::size(kExtensions)]);
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

std::vector<Group> Unplaced(std::vector<Group> groups) {
    for (Group& group : groups)
        for (ItemRecord& item : group.Items()) item.path = item.icoPath = L"C:\\missing\\" + item.title + L".exe";
    return groups;
}

std::string ConfigBytes(const std::vector<Group>& groups, const std::string& options) {
    std::string bytes = "[Config]\r\n" + options + "[Data]\r\n";
    for (const std::string& line : DataSectionLines(win::SystemCodePage(), groups)) bytes += line + "\r\n";
    return bytes;
}

fs::path FreshCopy(const fs::path& root, const std::wstring& name, const fs::path& exe, const std::string* config) {
    const fs::path dir = root / name;
    fs::create_directories(dir);
    const fs::path copy = dir / exe.filename();
    fs::copy_file(exe, copy, fs::copy_options::overwrite_existing);
    if (config) std::ofstream(dir / L"Mivra.cfg", std::ios::binary) << *config;
    return copy;
}

Signals::Signals(const std::wstring& tag)
    : name_(L"Local\\MivraBench." + std::to_wstring(GetCurrentProcessId()) + L"." + tag) {
    group_.reset(MakeEvent(name_ + L".group"));
    icons_.reset(MakeEvent(name_ + L".icons"));
    shown_.reset(MakeEvent(name_ + L".shown"));
    ticksBlock_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(win::BenchTimerTicks), (name_ + L".ticks").c_str()));
    ticksView_.reset(MapViewOfFile(ticksBlock_.get(), FILE_MAP_WRITE, 0, 0, sizeof(win::BenchTimerTicks)));
    if (!ticksView_) {
        std::fprintf(stderr, "bench: no shared memory for the timer ticks\n");
        ExitProcess(1);
    }
}

void Signals::Reset() {
    for (HANDLE event : {Group(), Icons(), Shown()}) ResetEvent(event);
}

Running Launch(const fs::path& exe, const Signals& signals) {
    Running program;
    SetEnvironmentVariableW(L"MIVRA_BENCH_SIGNALS", signals.Name().c_str());
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    const std::wstring folder = exe.parent_path().wstring();
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    program.exe = exe;
    program.startedMs = NowMilliseconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return program;
    program.process.reset(pi.hProcess);
    program.thread.reset(pi.hThread);
    program.id = pi.dwProcessId;
    return program;
}

double WaitFor(const Running& program, HANDLE event, double since, DWORD timeoutMs) {
    HANDLE both[] = {event, program.process.get()};
    return WaitForMultipleObjects(2, both, FALSE, timeoutMs) == WAIT_OBJECT_0 ? NowMilliseconds() - since : -1.0;
}

HWND WindowOf(DWORD processId, const wchar_t* className) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId) return w;
    }
    return nullptr;
}

FirstCell LookAtFirstCell(DWORD processId) {
    FirstCell seen;
    HWND panel = WindowOf(processId, L"MivraMainPanel");
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

namespace {

std::string ReadHostFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The host process whose command line names `exe` (Wine shows a program's
// Windows path there), or 0 when there is not exactly one.
int HostProcessOf(const fs::path& exe) {
    const std::string wanted = exe.string();
    int found = 0, count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(L"Z:\\proc", error)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::string line = ReadHostFile(entry.path() / L"cmdline");
        if (_strnicmp(line.c_str(), wanted.c_str(), wanted.size()) == 0 &&
            (line.size() == wanted.size() || line[wanted.size()] == '\0')) {
            found = _wtoi(name.c_str());
            ++count;
        }
    }
    return count == 1 ? found : 0;
}

}  // namespace

double CpuMilliseconds(Running& program) {
    if (!program.hostProcess) program.hostProcess = HostProcessOf(program.exe);
    if (!program.hostProcess) return -1;
    // After the command in parentheses: state, then 10 fields, then utime and stime in clock ticks.
    const std::string stat = ReadHostFile(fs::path(L"Z:\\proc") / std::to_wstring(program.hostProcess) / L"stat");
    const size_t end = stat.rfind(')');
    if (end == std::string::npos) return -1;
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 0; i < 11 && fields >> field; ++i) {}
    if (!(fields >> utime >> stime)) return -1;
    constexpr double kMillisecondsPerTick = 10.0;  // the host's USER_HZ
    return (utime + stime) * kMillisecondsPerTick;
}

void EndAsAUserWould(Running& program) {
    if (!program) return;
    struct Search {
        DWORD processId;
    } search{program.id};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == reinterpret_cast<Search*>(context)->processId && GetWindow(window, GW_OWNER) == nullptr)
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (WaitForSingleObject(program.process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(program.process.get(), 0);
        WaitForSingleObject(program.process.get(), 10000);
    }
}

}  // namespace mivra::bench
