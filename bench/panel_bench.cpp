// Painting the main panel, in this process, with a host that loads prepared
// groups and looks icons up through the shell as the program does:
//   full repaint   ItemPanel::ReDraw(0) and UpdateWindow of the item panel
//   hover          WM_MOUSEMOVE into another cell and UpdateWindow
//   wheel          WM_MOUSEWHEEL (one row down) to the main panel and
//                  UpdateWindow of the item panel, over a 10,000-item group
// for a few item views on a panel of about 1200 x 760. Items point at real
// files of about fifty types, so icons are really looked up and drawn. The
// item panel object is reached through its window (every window of the
// program keeps its object in GWLP_USERDATA) to call ReDraw(0) itself.
// Where a repaint goes is shown by replaying its steps one kind at a time,
// and the first look-up of an icon is timed on its own.
//   panel_bench [rounds]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "base/Gdi.h"
#include "base/System.h"
#include "base/WinCodePage.h"
#include "itempanel/ItemPanel.h"
#include "items/SystemIcons.h"
#include "layout/NineSlice.h"
#include "main/MainPanel.h"
#include "main/PanelLook.h"

namespace {

using namespace mivra;

class MemoryStorage final : public ConfigStorage {
public:
    std::optional<std::string> bytes;
    std::optional<std::string> Read() override { return bytes; }
    std::uint64_t Stamp() override { return bytes ? version_ : 0; }
    bool Write(std::string_view newBytes) override {
        bytes = std::string(newBytes);
        ++version_;
        return true;
    }

private:
    std::uint64_t version_ = 1;
};

class Quiet final : public Notifier {
public:
    void ShowBalloon(std::wstring_view) override {}
};

std::wstring ProgramDir() {
    const std::wstring self = win::ExecutablePath();
    return self.substr(0, self.rfind(L'\\'));
}

// Loads prepared groups; icons come from the shell through the resolved icon
// path, as in the program, and the time spent looking them up is counted.
class BenchHost final : public win::PanelHost {
public:
    explicit BenchHost(win::SystemIcons& icons) : icons(icons) {}

    MemoryStorage storage;
    Quiet quiet;
    Configuration config{win::SystemCodePage(), storage, quiet};
    std::vector<Group> stored;
    std::vector<Group> groups;
    win::SystemIcons& icons;
    std::wstring programDir = ProgramDir();
    EnvironmentLookup environment = win::SystemEnvironment();
    int lookups = 0;
    double lookupMicroseconds = 0;

    Configuration& Config() override { return config; }
    const AnsiCodePage& CodePage() override { return win::SystemCodePage(); }
    bool IsLocked() const override { return false; }
    std::vector<Group>& Groups() override { return groups; }
    void SaveData() override {}
    void LoadData() override { groups = stored; }
    int ShowMessage(std::wstring_view, UINT) override { return IDOK; }
    void ShutDown() override {}
    void OnTrayCallback(LPARAM) override {}
    std::wstring_view ProgramFile() override { return L"C:\\Mivra\\Mivra.exe"; }
    bool RunItem(ItemRecord&, int, std::wstring_view) override { return false; }
    void AddItem(std::vector<ItemRecord>&, std::wstring_view, std::wstring_view, std::wstring_view,
                 std::wstring_view, std::wstring_view) override {}
    int IconIndexOf(const ItemRecord& item) override {
        const double t0 = bench::NowMicroseconds();
        const int index = icons.IndexFor(ResolvePath(item.icoPath, programDir, environment), item.argument);
        lookupMicroseconds += bench::NowMicroseconds() - t0;
        ++lookups;
        return index;
    }
    win::SystemIcons& Icons() override { return icons; }
};

// --- The files the items point at ---------------------------------------------

const wchar_t* const kExtensions[] = {
    L"txt", L"doc", L"docx", L"xls", L"xlsx", L"ppt", L"pptx", L"pdf", L"rtf", L"csv", L"ini", L"log", L"xml",
    L"json", L"html", L"htm", L"css", L"js", L"py", L"c", L"cpp", L"h", L"java", L"md", L"zip", L"rar", L"7z",
    L"gz", L"tar", L"iso", L"jpg", L"png", L"gif", L"bmp", L"ico", L"svg", L"mp3", L"wav", L"flac", L"ogg",
    L"mp4", L"avi", L"mkv", L"mov", L"bat", L"cmd", L"reg", L"url", L"chm"};

// The programs of the Windows folder and its system folder.
std::vector<std::wstring> SystemPrograms() {
    std::vector<std::wstring> found;
    for (const wchar_t* dir : {L"C:\\windows\\", L"C:\\windows\\system32\\"}) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((std::wstring(dir) + L"*.exe").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do found.push_back(dir + std::wstring(data.cFileName));
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return found;
}

// `count` paths of existing files: every fifth a system program, the rest
// small documents of many types, each its own file, a hundred to a folder.
std::vector<std::wstring> MakeSampleFiles(const std::wstring& dir, int count) {
    const std::vector<std::wstring> programs = SystemPrograms();
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        if (i % 5 == 4 && !programs.empty()) {
            paths.push_back(programs[(i / 5) % programs.size()]);
            continue;
        }
        const std::wstring folder = dir + L"\\" + std::to_wstring(i / 100);
        if (i % 100 == 0) CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring path =
            folder + L"\\file" + std::to_wstring(i) + L"." + kExtensions[i % std::size(kExtensions)];
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, "sample\r\n", 8, &written, nullptr);
            CloseHandle(file);
        }
        paths.push_back(path);
    }
    return paths;
}

std::vector<Group> MakeGroups(const std::vector<std::wstring>& paths, int items) {
    static const wchar_t* const kWords[] = {L"记事本", L"浏览器", L"Visual Studio", L"Photoshop", L"音乐播放器",
                                            L"Terminal", L"文档", L"Steam", L"微信", L"Notepad++", L"计算器",
                                            L"Blender"};
    std::vector<Group> groups;
    Group big{L"常用", {}};
    for (int i = 0; i < items; ++i) {
        const std::wstring& path = paths[i % paths.size()];
        big.Items().push_back({std::wstring(kWords[i % 12]) + L" " + std::to_wstring(i), path, path, L"",
                             std::to_wstring(i % 50)});
    }
    groups.push_back(std::move(big));
    for (int g = 1; g < 10; ++g) {
        Group small{std::wstring(kWords[g]) + L" " + std::to_wstring(g), {}};
        for (int i = 0; i < 5; ++i) small.Items().push_back({L"item", paths[i], paths[i], L"", L"0"});
        groups.push_back(std::move(small));
    }
    return groups;
}

// --- Statistics ---------------------------------------------------------------

struct Stats {
    double median, p95, max;
};

Stats Summarise(std::vector<double> values) {
    if (values.empty()) return {0, 0, 0};
    std::sort(values.begin(), values.end());
    const size_t p95 = std::min(values.size() - 1, static_cast<size_t>(std::ceil(values.size() * 0.95)) - 1);
    return {values[values.size() / 2], values[p95], values.back()};
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

// --- One panel ------------------------------------------------------------------

struct View {
    const char* name;
    const char* options;  // lines of section "Config"
    int panelHeight = 760;
};

class PanelRun {
public:
    PanelRun(const View& view, std::vector<Group> groups, win::SystemIcons& icons)
        : host_(icons), panelHeight_(view.panelHeight) {
        host_.storage.bytes = std::string("[Config]\r\n") + view.options;
        host_.config.LoadOptions();
        host_.stored = std::move(groups);
    }
    ~PanelRun() {
        if (panel_) panel_->Close();
        Pump();
    }

    // The steps of a start in this process, in microseconds.
    struct StartTimes {
        double look = 0, create = 0, firstPaint = 0, tick = -1;
    };

    // Makes the look, creates and shows the panel and lets the start tick
    // load and draw the first group; tick < 0 on failure.
    StartTimes Start() {
        StartTimes times;
        double t0 = bench::NowMicroseconds();
        look_ = win::PanelLook::BuiltIn();
        double t1 = bench::NowMicroseconds();
        times.look = t1 - t0;
        panel_ = std::make_unique<win::MainPanel>(GetModuleHandleW(nullptr), host_, look_);
        if (!panel_->Create(Box{20, 10, 1200, panelHeight_})) return times;
        t0 = bench::NowMicroseconds();
        times.create = t0 - t1;
        ShowWindow(panel_->hwnd(), SW_SHOWNA);
        panel_->FormResize();
        UpdateWindow(panel_->hwnd());
        times.firstPaint = bench::NowMicroseconds() - t0;
        Pump();
        panel_->StartPing();
        double tick = -1;
        MSG msg;
        // The start tick is the message after which the panel has its data.
        while (tick < 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            t0 = bench::NowMicroseconds();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (panel_->Loaded()) tick = bench::NowMicroseconds() - t0;
        }
        items_ = FindWindowExW(panel_->hwnd(), nullptr, L"MivraItemPanel", nullptr);
        // Every window of the program keeps its object in GWLP_USERDATA.
        itemPanel_ = reinterpret_cast<win::ItemPanel*>(GetWindowLongPtrW(items_, GWLP_USERDATA));
        if (!panel_->Loaded() || !items_ || !itemPanel_ || itemPanel_->hwnd() != items_) return times;
        UpdateWindow(items_);
        times.tick = tick;
        return times;
    }

    const ItemGrid& Grid() const { return itemPanel_->Grid(); }
    // Cells at least partly inside the panel.
    int VisibleCells() const {
        const ItemGrid& g = Grid();
        return g.Columns() * ((g.innerHeight + g.cellH - 1) / g.cellH);
    }
    int FullyVisibleCells() const { return Grid().Columns() * (Grid().innerHeight / Grid().cellH); }
    BenchHost& Host() { return host_; }

    double Repaint() {
        const double t0 = bench::NowMicroseconds();
        itemPanel_->ReDraw(0);
        UpdateWindow(items_);
        return bench::NowMicroseconds() - t0;
    }

    double HoverInto(int cell) {
        const ItemGrid& g = Grid();
        const int x = ((cell - 1) % g.Columns()) * g.cellW + g.cellW / 2;
        const int y = ((cell - 1) / g.Columns()) * g.cellH + g.cellH / 2;
        const double t0 = bench::NowMicroseconds();
        SendMessageW(items_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        UpdateWindow(items_);
        return bench::NowMicroseconds() - t0;
    }

    // One wheel notch down: the time of the message (the image is redrawn)
    // and of the window update (the image is copied), in microseconds.
    std::pair<double, double> WheelDown() {
        const double t0 = bench::NowMicroseconds();
        SendMessageW(panel_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        const double t1 = bench::NowMicroseconds();
        UpdateWindow(items_);
        return {t1 - t0, bench::NowMicroseconds() - t1};
    }
    void BackToTop() {
        itemPanel_->ReDraw(1);
        UpdateWindow(items_);
    }

    // Where a full repaint goes: its steps replayed one kind at a time over
    // the visible cells, on an image of the same size, in microseconds.
    struct Steps {
        double background = 0, pictures = 0, icons = 0, captions = 0, thumb = 0, invalidations = 0;
    };
    Steps ReplayRepaint() {
        const ItemGrid& g = Grid();
        Configuration& config = host_.config;
        const ItemViewOptions options{config.Int(L"ItemBarView"), config.Int(L"ItemBarIcon"),
                                      config.Int(L"ItemBarText"), false};
        const CellSize size = ComputeCellSize(options, g.innerWidth);
        const auto& items = host_.groups[0].Items();
        std::vector<Box> cells;
        for (int i = 1; i <= static_cast<int>(items.size()); ++i) {
            const Point at = GetItemPos(g, i);
            if (at.y >= g.innerHeight) break;
            cells.push_back({at.x, at.y, g.cellW, g.cellH});
        }
        HDC screen = GetDC(items_);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, g.innerWidth, g.innerHeight);
        ReleaseDC(items_, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);

        Steps steps;
        double t = bench::NowMicroseconds();
        const auto lap = [&t](double& into) {
            const double now = bench::NowMicroseconds();
            into += now - t;
            t = now;
        };
        const RECT all{0, 0, g.innerWidth, g.innerHeight};
        win::FillSolid(dc, all, look_.item.PixelAt(5, 5));
        lap(steps.background);
        for (const Box& cell : cells) look_.item.DrawSlices(dc, ItemSlices(look_.item.width(), look_.item.height(), 0, cell));
        lap(steps.pictures);
        const win::IconSize iconSize = size.iconSize >= 48   ? win::IconSize::Large48
                                       : size.iconSize >= 32 ? win::IconSize::Medium32
                                                             : win::IconSize::Small16;
        std::vector<ItemPlacement> places;
        for (const Box& cell : cells) places.push_back(PlaceItem(options, size, cell));
        std::vector<int> indexes;
        for (size_t i = 0; i < cells.size(); ++i)
            indexes.push_back(host_.icons.IndexFor(items[i].icoPath, items[i].argument));
        t = bench::NowMicroseconds();
        for (size_t i = 0; i < cells.size(); ++i)
            host_.icons.Draw(indexes[i], iconSize, dc, places[i].icon.x, places[i].icon.y);
        lap(steps.icons);
        for (size_t i = 0; i < cells.size(); ++i) {
            if (places[i].align == CaptionAlign::None) continue;
            win::SelectScope font(dc, look_.font.get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, look_.itemFgColor);
            RECT caption{places[i].caption.left, places[i].caption.top, places[i].caption.right(),
                         places[i].caption.bottom()};
            const UINT flags = places[i].align == CaptionAlign::BelowIcon
                                   ? DT_SINGLELINE | DT_CENTER | DT_WORD_ELLIPSIS
                                   : DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
            DrawTextW(dc, items[i].title.c_str(), static_cast<int>(items[i].title.size()), &caption, flags);
        }
        lap(steps.captions);
        // The thumb is painted again after every cell of the last column.
        const ScrollThumb thumb = ThumbFor(g, static_cast<int>(items.size()));
        if (thumb.visible && config.Flag(L"DisplayScrollBar"))
            for (const Box& cell : cells)
                if (cell.right() > g.innerWidth - kThumbWidth)
                    look_.item.DrawSlices(dc, ItemSlices(look_.item.width(), look_.item.height(), 2,
                                                         Box{g.innerWidth - kThumbWidth, thumb.top, kThumbWidth,
                                                             thumb.height}));
        lap(steps.thumb);
        for (const Box& cell : cells) {
            const RECT area{cell.left, cell.top, cell.right(), cell.bottom()};
            InvalidateRect(items_, &area, FALSE);
        }
        lap(steps.invalidations);
        ValidateRect(items_, nullptr);

        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return steps;
    }

private:
    BenchHost host_;
    int panelHeight_;
    win::PanelLook look_;
    std::unique_ptr<win::MainPanel> panel_;
    HWND items_ = nullptr;
    win::ItemPanel* itemPanel_ = nullptr;
};

struct WheelPass {
    std::vector<double> step, draw, copy;
    int lookups = 0;
    double lookupMicroseconds = 0;
};

WheelPass Scroll(PanelRun& run, int steps) {
    WheelPass pass;
    const int before = run.Host().lookups;
    const double beforeMicroseconds = run.Host().lookupMicroseconds;
    for (int i = 0; i < steps; ++i) {
        const auto [draw, copy] = run.WheelDown();
        pass.draw.push_back(draw);
        pass.copy.push_back(copy);
        pass.step.push_back(draw + copy);
    }
    pass.lookups = run.Host().lookups - before;
    pass.lookupMicroseconds = run.Host().lookupMicroseconds - beforeMicroseconds;
    return pass;
}

void PrintWheel(const char* label, const WheelPass& pass) {
    const Stats s = Summarise(pass.step), d = Summarise(pass.draw), c = Summarise(pass.copy);
    const bool under = s.max < 16000;
    std::printf("  wheel %-30s median %8.1f us  p95 %8.1f us  max %8.1f us  every step under 16 ms: %s\n", label,
                s.median, s.p95, s.max, under ? "yes" : "NO");
    std::printf("        %-30s draw median %8.1f / max %8.1f us, copy median %6.1f / max %7.1f us\n", "", d.median,
                d.max, c.median, c.max);
    if (pass.lookups > 0)
        std::printf("        %-30s %d icon lookups taking %.0f us in all, %.0f us each\n", "", pass.lookups,
                    pass.lookupMicroseconds, pass.lookupMicroseconds / pass.lookups);
}

int WorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<int>(counters.PeakWorkingSetSize / (1024 * 1024));
}

// The first look-up of an icon (SystemIcons::IndexFor on a new path), for
// documents and for programs, in microseconds.
void PrintLookupCost(const std::vector<std::wstring>& paths, const std::wstring& dir) {
    win::SystemIcons icons(win::ExecutablePath(), L"C:\\Program Files");
    // The first one also has the shell build its image lists.
    const double t0 = bench::NowMicroseconds();
    icons.IndexFor(paths[paths.size() - 501], L"");
    const double firstLookup = bench::NowMicroseconds() - t0;
    std::vector<double> documents, programs;
    for (size_t i = paths.size() - 500; i < paths.size(); ++i) {
        const bool document = paths[i].compare(0, dir.size(), dir) == 0;
        const double t0 = bench::NowMicroseconds();
        icons.IndexFor(paths[i], L"");
        (document ? documents : programs).push_back(bench::NowMicroseconds() - t0);
    }
    const Stats d = Summarise(documents), p = Summarise(programs);
    std::printf("icon look-up of a new path: first in the process %.0f us; then %zu documents median %.0f us "
                "(max %.0f), %zu programs median %.0f us (max %.0f)\n",
                firstLookup, documents.size(), d.median, d.max, programs.size(), p.median, p.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = std::max(argc > 1 ? _wtoi(argv[1]) : 60, 50);
    const int wheelSteps = 200;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"mivra-panel-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    const double f0 = bench::NowMilliseconds();
    const std::vector<std::wstring> paths = MakeSampleFiles(dir, 10000);
    const double filesMs = bench::NowMilliseconds() - f0;

    const View views[] = {
        {"16 px icons, no caption", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=0\r\n"},
        {"16 px icons, caption below", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=2\r\n"},
        {"default (32 px, caption right)", ""},
        // Ten columns of 120 x 30 in 600 pixels: 200 cells.
        {"16 px icons, caption right", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=1\r\n", 660},
    };
    std::printf("item panel painting, 10,000 items on %zu paths (%zu file types and the system programs, "
                "made in %.0f ms); %d rounds, %d wheel steps; times in microseconds\n",
                paths.size(), std::size(kExtensions), filesMs, rounds, wheelSteps);
    std::printf("a Wine server round trip %.1f us\n", bench::ServerRoundTripMicroseconds());
    PrintLookupCost(paths, dir);

    // One set of icons for all views, as one program has: the first view
    // looks them up, the others find them known.
    win::SystemIcons icons(win::ExecutablePath(), L"C:\\Program Files");
    bool first = true;
    for (const View& view : views) {
        PanelRun run(view, MakeGroups(paths, 10000), icons);
        const PanelRun::StartTimes start = run.Start();
        if (start.tick < 0) {
            std::fprintf(stderr, "panel_bench: the panel did not start\n");
            return 1;
        }
        const ItemGrid& g = run.Grid();
        std::printf("view %s: item panel %d x %d, cells %d x %d, %d columns, %d cells visible (%d whole)\n",
                    view.name, g.innerWidth, g.innerHeight, g.cellW, g.cellH, g.Columns(), run.VisibleCells(),
                    run.FullyVisibleCells());
        std::printf("  start: look %.0f, panel created %.0f, first paint %.0f us; start tick (load, select, draw the "
                    "group) %.0f us, of it %d icon lookups %.0f us\n",
                    start.look, start.create, start.firstPaint, start.tick, run.Host().lookups,
                    run.Host().lookupMicroseconds);

        run.Repaint();  // warm-up: every visible icon is known from here on
        std::vector<double> repaint;
        for (int i = 0; i < rounds; ++i) repaint.push_back(run.Repaint());
        const Stats r = Summarise(repaint);
        std::printf("  full repaint (ReDraw(0) + UpdateWindow)   median %8.1f us  p95 %8.1f us\n", r.median, r.p95);
        const PanelRun::Steps replay = run.ReplayRepaint();
        std::printf("        replayed step by step: background %.0f, cell pictures %.0f, icons %.0f, captions %.0f, "
                    "thumb %.0f, invalidations %.0f us\n",
                    replay.background, replay.pictures, replay.icons, replay.captions, replay.thumb,
                    replay.invalidations);

        const int cells = std::max(2, run.FullyVisibleCells());
        run.HoverInto(1);  // warm-up
        std::vector<double> hover;
        for (int i = 1; i <= rounds; ++i) hover.push_back(run.HoverInto(1 + (i * 37) % cells));
        const Stats h = Summarise(hover);
        std::printf("  hover into another cell + UpdateWindow     median %8.1f us  p95 %8.1f us\n", h.median, h.p95);

        const int steps = std::min(wheelSteps, MaxScroll(g, 10000));
        char label[64];
        if (first) {
            // Rows that come into view look their icons up as they are first drawn.
            run.BackToTop();
            std::snprintf(label, sizeof label, "first pass, %d rows", steps);
            PrintWheel(label, Scroll(run, steps));
        }
        run.BackToTop();
        std::snprintf(label, sizeof label, "%s, %d rows", first ? "second pass" : "icons known", steps);
        PrintWheel(label, Scroll(run, steps));
        first = false;
    }
    std::printf("a Wine server round trip %.1f us; peak working set of this process %d MB\n",
                bench::ServerRoundTripMicroseconds(), WorkingSetMb());

    std::error_code error;
    std::filesystem::remove_all(dir, error);
    return 0;
}
