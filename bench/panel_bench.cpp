// Painting the main panel, in this process, with a host that loads prepared
// groups and looks icons up through the shell as the program does:
//   full repaint   ItemPanel::ReDraw(0) and UpdateWindow of the item panel
//   hover          WM_MOUSEMOVE into another cell and UpdateWindow
//   wheel          WM_MOUSEWHEEL (one row down) to the main panel and
//                  UpdateWindow of the item panel, over a 10,000-item group
// for a few item views on a panel of about 1200 x 760. Items point at real
// files of about fifty types, so icons are really looked up and drawn: the
// look-ups that the first paint asks for are run (from the messages the
// panel posts, as in the program) before anything is timed, and a sampled
// icon must be on the panel's image, or no figure is printed.
// The wheel is timed twice: a first pass over rows not seen before, with
// the look-ups the program makes between steps counted and timed apart,
// and a pass with every icon of the group known.
// The full repaint is also timed against a minimal painter in the same run:
// a plain window that draws the same background, cell pictures, icons,
// captions and thumb with plain GDI calls into a memory bitmap and copies it
// to the window on WM_PAINT. The item panel object is reached through its
// window (every window of the program keeps its object in GWLP_USERDATA).
//   panel_bench [rounds] [views]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "FakePanelHost.h"
#include "GroupMakers.h"
#include "MemoryStorage.h"
#include "MessagePump.h"
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
using test::HandleWaitingMessages;

std::wstring ProgramDir() {
    const std::wstring self = win::ExecutablePath();
    return self.substr(0, self.rfind(L'\\'));
}

// Loads prepared groups; icons come from the shell through the resolved icon
// path, as in the program, and the time spent looking them up is counted.
class BenchHost final : public test::FakePanelHost {
public:
    explicit BenchHost(win::SystemIcons& icons) : shellIcons(icons) {}

    win::SystemIcons& shellIcons;
    std::wstring programDir = ProgramDir();
    EnvironmentLookup environment = win::SystemEnvironment();
    int lookups = 0;
    double lookupMicroseconds = 0;

    bool RunItem(ItemRecord&, ShowMode, std::wstring_view) override { return false; }
    int IconIndexOf(const ItemRecord& item) override {
        const double t0 = bench::NowMicroseconds();
        const int index = shellIcons.IndexFor(ResolvePath(item.icoPath, programDir, environment), item.argument);
        lookupMicroseconds += bench::NowMicroseconds() - t0;
        ++lookups;
        return index;
    }
    win::SystemIcons& Icons() override { return shellIcons; }
    std::uint32_t TickCount() override { return GetTickCount(); }
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
    using test::kTitleWords;
    std::vector<Group> groups;
    groups.push_back(test::MakeGroup(L"常用", items, [&](int n) {
        const int i = n - 1;
        const std::wstring& path = paths[i % paths.size()];
        return ItemRecord{std::wstring(kTitleWords[i % test::kTitleWordCount]) + L" " + std::to_wstring(i), path,
                          path, L"", std::to_wstring(i % 50)};
    }));
    for (int g = 1; g < 10; ++g)
        groups.push_back(test::MakeGroup(std::wstring(kTitleWords[g]) + L" " + std::to_wstring(g), 5, [&](int n) {
            return ItemRecord{L"item", paths[n - 1], paths[n - 1], L"", L"0"};
        }));
    return groups;
}

// --- Statistics and pixels ------------------------------------------------------

struct Stats {
    double median, p95, max;
};

Stats Summarise(std::vector<double> values) {
    if (values.empty()) return {0, 0, 0};
    std::sort(values.begin(), values.end());
    const size_t p95 = std::min(values.size() - 1, static_cast<size_t>(std::ceil(values.size() * 0.95)) - 1);
    return {values[values.size() / 2], values[p95], values.back()};
}

// The pixels of a DC's area as 0x00RRGGBB values, row by row.
std::vector<std::uint32_t> PixelsOf(HDC source, const Box& area) {
    win::Dib copy = win::CreateDib(area.width, area.height);
    std::vector<std::uint32_t> pixels;
    if (!copy) return pixels;
    {
        win::BitmapDc dc(static_cast<HBITMAP>(copy.bitmap.get()));
        BitBlt(dc.get(), 0, 0, area.width, area.height, source, area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    for (size_t i = 0; i < static_cast<size_t>(area.width) * area.height; ++i) pixels.push_back(copy.bits[i] & 0xFFFFFF);
    return pixels;
}

// An icon is there when its square holds more than a few colours.
bool IconDrawn(HDC dc, const Point& at, int size) {
    const std::vector<std::uint32_t> pixels = PixelsOf(dc, Box{at.x, at.y, size, size});
    return std::set<std::uint32_t>(pixels.begin(), pixels.end()).size() > 3;
}

// --- The minimal painter ----------------------------------------------------------

// What a full repaint of the item panel draws, drawn the plain way: into a
// memory bitmap with BitBlt, GdiAlphaBlend and DrawTextW, then copied to a
// window of the same size on WM_PAINT. Icons come from one 32-bit bitmap of
// the distinct icons shown, made beforehand (untimed), as any program that
// draws many icons quickly keeps them.
class MinimalPainter {
public:
    struct Cell {
        Box box;
        ItemPlacement place;
        const std::wstring* title;
        int iconSlot;  // -1: none
    };
    struct Steps {
        double background = 0, pictures = 0, icons = 0, captions = 0, thumb = 0, copy = 0;
    };

    MinimalPainter(const win::PanelLook& look, int width, int height) : look_(look), width_(width), height_(height) {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MivraBenchMinimalPainter";
        RegisterClassExW(&wc);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 40, 30, width, height, nullptr,
                                  nullptr, wc.hInstance, this);
        ShowWindow(window_, SW_SHOWNA);
        canvasBitmap_ = win::CreateBitmapFor(win::WindowDc(window_).get(), width, height);
        canvas_ = win::BitmapDc(static_cast<HBITMAP>(canvasBitmap_.get()));
        // A copy of the cell picture of its own: a bitmap is selected into
        // one DC at a time, and the panel's picture has its own.
        picture_ = win::CreateDib(look.item.width(), look.item.height());
        std::copy(look.item.bits(), look.item.bits() + static_cast<size_t>(look.item.width()) * look.item.height(),
                  picture_.bits);
        pictureDc_ = win::BitmapDc(static_cast<HBITMAP>(picture_.bitmap.get()));
        UpdateWindow(window_);
    }
    ~MinimalPainter() { DestroyWindow(window_); }

    // The icons of `indexes` copied once into one bitmap, one below the other.
    void PrepareIcons(win::SystemIcons& icons, const std::vector<int>& indexes, win::IconSize size, int pixels) {
        iconSize_ = pixels;
        icons_ = win::CreateDib(pixels, pixels * static_cast<int>(std::max<size_t>(indexes.size(), 1)));
        std::fill(icons_.bits, icons_.bits + static_cast<size_t>(pixels) * pixels * indexes.size(), 0u);
        iconDc_ = win::BitmapDc(static_cast<HBITMAP>(icons_.bitmap.get()));
        for (size_t i = 0; i < indexes.size(); ++i)
            icons.Draw(indexes[i], size, iconDc_.get(), 0, static_cast<int>(i) * pixels);
        GdiFlush();
    }

    // Draws everything and copies it to the window; the time of each step.
    Steps Paint(const std::vector<Cell>& cells, const ScrollThumb& thumb) {
        Steps steps;
        double t = bench::NowMicroseconds();
        const auto lap = [&t](double& into) {
            const double now = bench::NowMicroseconds();
            into += now - t;
            t = now;
        };
        HDC dc = canvas_.get();
        const RECT all{0, 0, width_, height_};
        win::FillSolid(dc, all, look_.item.PixelAt(5, 5));
        lap(steps.background);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const int pw = look_.item.width(), ph = look_.item.height();
        SetStretchBltMode(dc, COLORONCOLOR);
        // Opaque pictures are copied, the others blended: whichever is cheaper.
        const bool opaque = look_.item.opaque();
        const auto slices = [&](int frame, const Box& cell) {
            for (const Blit& b : ItemSlices(pw, ph, frame, cell)) {
                if (b.target.width <= 0 || b.target.height <= 0 || b.source.width <= 0 || b.source.height <= 0)
                    continue;
                const BOOL drawn =
                    opaque ? StretchBlt(dc, b.target.left, b.target.top, b.target.width, b.target.height,
                                        pictureDc_.get(), b.source.left, b.source.top, b.source.width, b.source.height,
                                        SRCCOPY)
                           : GdiAlphaBlend(dc, b.target.left, b.target.top, b.target.width, b.target.height,
                                           pictureDc_.get(), b.source.left, b.source.top, b.source.width,
                                           b.source.height, blend);
                failures_ += !drawn;
            }
        };
        for (const Cell& cell : cells) slices(0, cell.box);
        lap(steps.pictures);
        for (const Cell& cell : cells)
            if (cell.iconSlot >= 0)
                failures_ += !GdiAlphaBlend(dc, cell.place.icon.x, cell.place.icon.y, iconSize_, iconSize_,
                                            iconDc_.get(), 0, cell.iconSlot * iconSize_, iconSize_, iconSize_, blend);
        lap(steps.icons);
        {
            win::SelectScope font(dc, look_.font.get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, look_.itemFgColor);
            for (const Cell& cell : cells) {
                if (cell.place.align == CaptionAlign::None) continue;
                RECT caption{cell.place.caption.left, cell.place.caption.top, cell.place.caption.right(),
                             cell.place.caption.bottom()};
                const UINT flags = cell.place.align == CaptionAlign::BelowIcon
                                       ? DT_SINGLELINE | DT_CENTER | DT_WORD_ELLIPSIS
                                       : DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
                DrawTextW(dc, cell.title->c_str(), static_cast<int>(cell.title->size()), &caption, flags);
            }
        }
        lap(steps.captions);
        if (thumb.visible) slices(2, Box{width_ - kThumbWidth, thumb.top, kThumbWidth, thumb.height});
        lap(steps.thumb);
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        lap(steps.copy);
        return steps;
    }

    HDC Canvas() const { return canvas_.get(); }
    // Copies and blends the system refused: none, or the picture is not the same.
    int Failures() const { return failures_; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<MinimalPainter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_PAINT && self) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (self->canvas_.get())
                BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                       ps.rcPaint.bottom - ps.rcPaint.top, self->canvas_.get(), ps.rcPaint.left, ps.rcPaint.top,
                       SRCCOPY);
            EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    const win::PanelLook& look_;
    int width_, height_;
    HWND window_ = nullptr;
    win::UniqueGdiObject canvasBitmap_;
    win::BitmapDc canvas_;
    win::Dib picture_;
    win::BitmapDc pictureDc_;
    win::Dib icons_;
    win::BitmapDc iconDc_;
    int iconSize_ = 16;
    int failures_ = 0;
};

// --- One panel ------------------------------------------------------------------

struct View {
    const char* name;
    const char* options;  // lines of section "Config"
    int panelHeight = 760;
};

win::IconSize IconSizeOf(int pixels) {
    return pixels >= 48 ? win::IconSize::Large48 : pixels >= 32 ? win::IconSize::Medium32 : win::IconSize::Small16;
}

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
        HandleWaitingMessages();
    }

    // Creates and shows the panel and lets the start message load and draw
    // the first group; false when it did not start.
    bool Start() {
        look_ = win::PanelLook::BuiltIn();
        panel_ = win::MakeWindow<win::MainPanel>(GetModuleHandleW(nullptr), host_, look_);
        if (!panel_->Create(Box{20, 10, 1200, panelHeight_})) return false;
        ShowWindow(panel_->hwnd(), SW_SHOWNA);
        panel_->FormResize();
        UpdateWindow(panel_->hwnd());
        panel_->StartPing();
        MSG msg;
        while (!panel_->Loaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        items_ = FindWindowExW(panel_->hwnd(), nullptr, L"MivraItemPanel", nullptr);
        itemPanel_ = win::ItemPanel::FromHandle(items_);
        if (!panel_->Loaded() || !items_ || !itemPanel_ || itemPanel_->hwnd() != items_) return false;
        UpdateWindow(items_);
        return true;
    }

    // Runs the icon look-ups the panel has asked for, from the messages it
    // posted, until none is pending, and paints what they drew; the time.
    double LookUpPendingIcons() {
        const double t0 = bench::NowMicroseconds();
        for (int guard = 0; guard < 1000000 && itemPanel_->IconsPending(); ++guard) HandleWaitingMessages();
        UpdateWindow(items_);
        return bench::NowMicroseconds() - t0;
    }

    const ItemGrid& Grid() const { return itemPanel_->Grid(); }
    int VisibleCells() const {
        const ItemGrid& g = Grid();
        return g.Columns() * ((g.innerHeight + g.cellH - 1) / g.cellH);
    }
    int FullyVisibleCells() const { return Grid().Columns() * (Grid().innerHeight / Grid().cellH); }
    BenchHost& Host() { return host_; }
    HDC Canvas() const { return itemPanel_->Canvas(); }

    ItemViewOptions Options() {
        Configuration& config = host_.config;
        return {config.Int(Opt::ItemBarView), config.Int(Opt::ItemBarIcon), config.Int(Opt::ItemBarText), false};
    }
    // Where item `item` (1-based) draws its icon and caption.
    ItemPlacement Place(int item) {
        const ItemGrid& g = Grid();
        const Point at = GetItemPos(g, item);
        return PlaceItem(Options(), ComputeCellSize(Options(), g.innerWidth), Box{at.x, at.y, g.cellW, g.cellH});
    }

    // A full repaint: the time to draw the image and to copy it to the window.
    std::pair<double, double> Repaint() {
        const double t0 = bench::NowMicroseconds();
        itemPanel_->ReDraw(RedrawMode::KeepScroll);
        const double t1 = bench::NowMicroseconds();
        UpdateWindow(items_);
        return {t1 - t0, bench::NowMicroseconds() - t1};
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
    void LeaveCells() { SendMessageW(items_, WM_MOUSELEAVE, 0, 0); }

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
        itemPanel_->ReDraw(RedrawMode::ToTop);
        UpdateWindow(items_);
        LookUpPendingIcons();
    }

    // The cells a full repaint draws, for the minimal painter, with the
    // distinct icons among them in `indexes`.
    std::vector<MinimalPainter::Cell> CellsShown(std::vector<int>& indexes) {
        const ItemGrid& g = Grid();
        const auto& items = host_.groups[0].Items();
        std::vector<MinimalPainter::Cell> cells;
        for (int i = 1; i <= static_cast<int>(items.size()); ++i) {
            const Point at = GetItemPos(g, i);
            if (at.y > g.innerHeight) break;
            const int index = host_.shellIcons.IndexFor(
                ResolvePath(items[i - 1].icoPath, host_.programDir, host_.environment), items[i - 1].argument);
            int slot = -1;
            if (index != win::SystemIcons::kNoIcon) {
                const auto known = std::find(indexes.begin(), indexes.end(), index);
                slot = static_cast<int>(known - indexes.begin());
                if (known == indexes.end()) indexes.push_back(index);
            }
            cells.push_back({Box{at.x, at.y, g.cellW, g.cellH}, Place(i), &items[i - 1].title, slot});
        }
        return cells;
    }
    ScrollThumb Thumb() const { return itemPanel_->Thumb(); }
    const win::PanelLook& Look() const { return look_; }

private:
    BenchHost host_;
    int panelHeight_;
    win::PanelLook look_;
    win::WindowPtr<win::MainPanel> panel_;
    HWND items_ = nullptr;
    win::ItemPanel* itemPanel_ = nullptr;
};

struct WheelPass {
    std::vector<double> step, draw, copy, between;
    int lookups = 0;
    double lookupMicroseconds = 0;
};

// `steps` wheel notches; with `lookUpBetween`, the look-ups each step asked
// for are run before the next, as the message loop runs them.
WheelPass Scroll(PanelRun& run, int steps, bool lookUpBetween) {
    WheelPass pass;
    const int before = run.Host().lookups;
    const double beforeMicroseconds = run.Host().lookupMicroseconds;
    for (int i = 0; i < steps; ++i) {
        const auto [draw, copy] = run.WheelDown();
        pass.draw.push_back(draw);
        pass.copy.push_back(copy);
        pass.step.push_back(draw + copy);
        if (lookUpBetween) pass.between.push_back(run.LookUpPendingIcons());
    }
    pass.lookups = run.Host().lookups - before;
    pass.lookupMicroseconds = run.Host().lookupMicroseconds - beforeMicroseconds;
    return pass;
}

void PrintWheel(const char* label, const WheelPass& pass) {
    const Stats s = Summarise(pass.step), d = Summarise(pass.draw), c = Summarise(pass.copy);
    std::printf("  wheel %-30s median %8.1f us  p95 %8.1f us  max %8.1f us  every step under 16 ms: %s\n", label,
                s.median, s.p95, s.max, s.max < 16000 ? "yes" : "NO");
    std::printf("        %-30s draw median %8.1f / max %8.1f us, copy median %6.1f / max %7.1f us\n", "", d.median,
                d.max, c.median, c.max);
    if (!pass.between.empty()) {
        const Stats b = Summarise(pass.between);
        std::printf("        %-30s between the steps %d icon look-ups, %.0f us of look-up in all; the look-up "
                    "messages and their repaint per step: median %.1f, max %.1f us\n",
                    "", pass.lookups, pass.lookupMicroseconds, b.median, b.max);
    }
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

int Refuse(const char* what) {
    std::fprintf(stderr, "panel_bench: %s: no figures\n", what);
    return 1;
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
        // Ten columns of 120 x 30 in 600 pixels: 200 cells.
        {"16 px icons, caption right", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=1\r\n", 660},
        {"16 px icons, no caption", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=0\r\n"},
        {"16 px icons, caption below", "ItemBarView=2\r\nItemBarIcon=2\r\nItemBarText=2\r\n"},
        {"default (32 px, caption right)", ""},
    };
    const size_t viewCount = std::clamp<size_t>(argc > 2 ? _wtoi(argv[2]) : std::size(views), 1, std::size(views));
    std::printf("item panel painting, 10,000 items on %zu paths (%zu file types and the system programs, "
                "made in %.0f ms); %d rounds, %d wheel steps; times in microseconds\n",
                paths.size(), std::size(kExtensions), filesMs, rounds, wheelSteps);
    std::printf("a Wine server round trip %.1f us\n", bench::ServerRoundTripMicroseconds());
    PrintLookupCost(paths, dir);

    // One set of icons for all views, as one program has: the first view
    // looks them up, the others find them known to the shell's lists.
    win::SystemIcons icons(win::ExecutablePath(), L"C:\\Program Files");
    for (const View& view : std::span(views, viewCount)) {
        PanelRun run(view, MakeGroups(paths, 10000), icons);
        if (!run.Start()) return Refuse("the panel did not start");
        const ItemGrid& g = run.Grid();
        std::printf("view %s: item panel %d x %d, cells %d x %d, %d columns, %d cells visible (%d whole)\n",
                    view.name, g.innerWidth, g.innerHeight, g.cellW, g.cellH, g.Columns(), run.VisibleCells(),
                    run.FullyVisibleCells());

        // The icons of the cells shown are looked up and drawn before anything is timed.
        const double firstLookUps = run.LookUpPendingIcons();
        const ItemPlacement sample = run.Place(7);
        if (run.Host().lookups == 0 || !IconDrawn(run.Canvas(), sample.icon, sample.iconSize))
            return Refuse("the icons of the first screen were not looked up and drawn");
        std::printf("  icons of the first screen: %d look-ups taking %.0f us, %.0f us with their messages and "
                    "repaints\n",
                    run.Host().lookups, run.Host().lookupMicroseconds, firstLookUps);

        run.Repaint();  // warm-up
        std::vector<double> repaint, repaintDraw, repaintCopy;
        for (int i = 0; i < rounds; ++i) {
            const auto [draw, copy] = run.Repaint();
            repaint.push_back(draw + copy);
            repaintDraw.push_back(draw);
            repaintCopy.push_back(copy);
        }
        const Stats r = Summarise(repaint);
        if (!IconDrawn(run.Canvas(), sample.icon, sample.iconSize)) return Refuse("a repaint drew no icon");
        std::printf("  full repaint (ReDraw(0) + UpdateWindow)   median %8.1f us  p95 %8.1f us  (draw median %.1f, "
                    "copy to the window %.1f us)\n",
                    r.median, r.p95, Summarise(repaintDraw).median, Summarise(repaintCopy).median);

        // The same picture drawn the plain way, in the same run.
        std::vector<int> indexes;
        const std::vector<MinimalPainter::Cell> cells = run.CellsShown(indexes);
        MinimalPainter minimal(run.Look(), g.innerWidth, g.innerHeight);
        minimal.PrepareIcons(icons, indexes, IconSizeOf(sample.iconSize), sample.iconSize);
        const ScrollThumb thumb = run.Thumb();
        minimal.Paint(cells, thumb);  // warm-up
        std::vector<double> plain;
        MinimalPainter::Steps sum;
        for (int i = 0; i < rounds; ++i) {
            const MinimalPainter::Steps s = minimal.Paint(cells, thumb);
            plain.push_back(s.background + s.pictures + s.icons + s.captions + s.thumb + s.copy);
            sum.background += s.background / rounds;
            sum.pictures += s.pictures / rounds;
            sum.icons += s.icons / rounds;
            sum.captions += s.captions / rounds;
            sum.thumb += s.thumb / rounds;
            sum.copy += s.copy / rounds;
        }
        // The two pictures must be the same but for the thumb, which the
        // panel keeps in a child window of its own.
        const Box compared{0, 0, g.innerWidth - kThumbWidth, g.innerHeight};
        const std::vector<std::uint32_t> ours = PixelsOf(run.Canvas(), compared), theirs = PixelsOf(minimal.Canvas(), compared);
        size_t differing = 0;
        for (size_t i = 0; i < ours.size() && i < theirs.size(); ++i) differing += ours[i] != theirs[i];
        if (ours.empty() || differing > ours.size() / 100 || minimal.Failures() != 0 ||
            !IconDrawn(minimal.Canvas(), sample.icon, sample.iconSize))
            return Refuse("the minimal painter does not draw what the panel draws");
        const Stats m = Summarise(plain);
        std::printf("  minimal painter, the same picture          median %8.1f us  p95 %8.1f us  (%zu of %zu pixels "
                    "differ)\n",
                    m.median, m.p95, differing, ours.size());
        std::printf("        its steps on average: background %.0f, cell pictures %.0f, icons %.0f, captions %.0f, "
                    "thumb %.0f, copy to the window %.0f us\n",
                    sum.background, sum.pictures, sum.icons, sum.captions, sum.thumb, sum.copy);
        if (run.VisibleCells() == 200)
            std::printf("  full repaint of 200 cells against the minimal painter: ratio %5.2f (target: at most 1.5)\n",
                        r.median / m.median);
        else
            std::printf("  full repaint against the minimal painter: ratio %5.2f\n", r.median / m.median);

        const int whole = std::max(2, run.FullyVisibleCells());
        run.HoverInto(1);  // warm-up
        std::vector<double> hover;
        for (int i = 1; i <= rounds; ++i) hover.push_back(run.HoverInto(1 + (i * 37) % whole));
        run.LeaveCells();
        const Stats h = Summarise(hover);
        std::printf("  hover into another cell + UpdateWindow     median %8.1f us  p95 %8.1f us\n", h.median, h.p95);

        // Rows that come into view ask for their icons as they are first drawn.
        const int steps = std::min(wheelSteps, MaxScroll(g, 10000));
        char label[64];
        std::snprintf(label, sizeof label, "first pass, %d rows", steps);
        const WheelPass first = Scroll(run, steps, true);
        if (first.lookups == 0) return Refuse("the rows scrolled into view looked no icon up");
        PrintWheel(label, first);
        // Then every icon of the group, and the same rows again.
        Scroll(run, MaxScroll(g, 10000) - steps, true);
        run.BackToTop();
        std::snprintf(label, sizeof label, "icons known, %d rows", steps);
        const WheelPass known = Scroll(run, steps, false);
        if (known.lookups != 0) return Refuse("the pass with the icons known looked icons up");
        if (!IconDrawn(run.Canvas(), sample.icon, sample.iconSize)) return Refuse("the scrolled rows showed no icon");
        PrintWheel(label, known);
    }
    std::printf("a Wine server round trip %.1f us; peak working set of this process %d MB\n",
                bench::ServerRoundTripMicroseconds(), WorkingSetMb());

    std::error_code error;
    std::filesystem::remove_all(dir, error);
    return 0;
}
