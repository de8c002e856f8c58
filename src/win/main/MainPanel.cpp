#include "main/MainPanel.h"

#include "app/Messages.h"
#include "base/Gdi.h"

namespace mivra::win {
namespace {

constexpr int kPanelWidth = 354;
constexpr int kPanelHeight = 400;
constexpr int kTitleHeight = 28;

constexpr COLORREF kBackground = RGB(250, 251, 253);
constexpr COLORREF kTitleBackground = RGB(236, 240, 246);
constexpr COLORREF kBorder = RGB(176, 186, 201);
constexpr COLORREF kTitleText = RGB(44, 54, 72);

}  // namespace

RECT DefaultPanelBounds() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - kPanelWidth) * 4 / 10;
    const int top = work.top + (work.bottom - work.top - kPanelHeight) * 4 / 10;
    return {left, top, left + kPanelWidth, top + kPanelHeight};
}

MainPanel::MainPanel(HINSTANCE instance, Events events) : instance_(instance), events_(std::move(events)) {}

MainPanel::~MainPanel() {
    if (hwnd()) DestroyWindow(hwnd());
}

bool MainPanel::Create(const RECT& bounds) {
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kMainPanelClass;
    if (!RegisterClassOnce(instance_, wc)) return false;

    titleFont_ = CreateUiFont(-12, FW_NORMAL);
    return CreateAs(WS_EX_APPWINDOW, kMainPanelClass, kAppTitle, WS_POPUP | WS_CLIPCHILDREN, bounds.left,
                    bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                    instance_) != nullptr;
}

void MainPanel::ShowPanel() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void MainPanel::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}

LRESULT MainPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kShowPanelMessage:
        ShowPanel();
        return 1;
    case kTrayCallbackMessage:
        if (events_.trayCallback) events_.trayCallback(lParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NCDESTROY:
        if (events_.destroyed) events_.destroyed();
        return 0;
    }
    return Default(message, wParam, lParam);
}

void MainPanel::OnPaint() {
    PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    BufferedDc buffer(paint.dc(), client);
    HDC dc = buffer.dc();

    FillSolid(dc, client, kBackground);
    RECT title{client.left, client.top, client.right, client.top + kTitleHeight};
    FillSolid(dc, title, kTitleBackground);
    FrameSolid(dc, client, kBorder);

    SelectScope font(dc, titleFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleText);
    RECT text = title;
    text.left += 10;
    DrawTextW(dc, kAppTitle, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

}  // namespace mivra::win
