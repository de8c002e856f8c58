#include "editor/ItemEditor.h"

#include <utility>

#include "items/IconAtlas.h"
#include "items/ItemEdits.h"
#include "items/ItemEditorRules.h"
#include "items/SystemIcons.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraItemEditor";
constexpr wchar_t kCaption[] = L"Mivra 编辑";
constexpr wchar_t kHint[] =
    L"目标可以指向文件、文件夹、网址。支持相对路径与环境变量。\r\n%rp%: Mivra 所在目录\r\n%rr%: Mivra 所在盘的根目录";
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(90, 90, 90);
constexpr RECT kPreview = {264, 24, 264 + 48, 24 + 48};

struct ControlPlace {
    EditorControl id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    int x, y, width, height;
};

constexpr DWORD kBox = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kMultiLine = WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

// In tab order: the texts first, then the buttons that act on them.
constexpr ControlPlace kControls[] = {
    {EditorControl::Title, L"EDIT", L"", kBox | WS_VISIBLE, 48, 40, 201, 25},
    {EditorControl::Path, L"EDIT", L"", kMultiLine | WS_VISIBLE, 48, 120, 241, 57},
    {EditorControl::BrowseTarget, L"BUTTON", L"...", kButton | WS_VISIBLE, 296, 120, 25, 57},
    {EditorControl::Argument, L"EDIT", L"", kMultiLine | WS_VISIBLE, 48, 192, 273, 57},
    {EditorControl::Ok, L"BUTTON", L"确定", kButton | WS_VISIBLE, 168, 344, 73, 25},
    {EditorControl::Cancel, L"BUTTON", L"取消", kButton | WS_VISIBLE, 248, 344, 73, 25},
    {EditorControl::Convert, L"BUTTON", L"转换", kButton | WS_VISIBLE, 96, 80, 81, 25},
    {EditorControl::DefaultIcon, L"BUTTON", L"默认图标", kButton | WS_VISIBLE, 184, 80, 65, 25},
    {EditorControl::BrowseIcon, L"BUTTON", L"修改图标", kButton | WS_VISIBLE, 256, 80, 65, 25},
    {EditorControl::IcoPath, L"EDIT", L"", ES_AUTOHSCROLL, 48, 80, 25, 25},
};

const ControlPlace& PlaceOf(EditorControl id) {
    for (const ControlPlace& control : kControls)
        if (control.id == id) return control;
    return kControls[0];
}

// The label left of a box: from x 16 to the box, over the box's height.
RECT LabelBeside(EditorControl id) {
    const ControlPlace& box = PlaceOf(id);
    return {16, box.y, box.x, box.y + box.height};
}

}  // namespace

ItemEditor::ItemEditor(HINSTANCE instance, ItemServices& items, ShellServices& shell, std::wstring programDir,
                       ItemEditorEvents& events)
    : instance_(instance), items_(items), shell_(shell), programDir_(std::move(programDir)), events_(events) {}

ItemEditor::~ItemEditor() = default;

bool ItemEditor::Create(HWND owner) {
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassOnce(instance_, wc)) return false;

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
    if (!CreateAs(0, kClassName, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, frame.right - frame.left,
                  frame.bottom - frame.top, owner, instance_))
        return false;

    font_ = CreateUiFont(-12, FW_NORMAL);
    textFont_ = CreateUiFont(-13, FW_NORMAL);
    background_ = CreateBrush(kBackground);
    CreateControls();
    shadow_.Attach(instance_, hwnd());
    // An empty target still sets the convert button and the preview.
    TargetChanged();
    return true;
}

void ItemEditor::CreateControls() {
    for (const ControlPlace& place : kControls) {
        HWND control = CreateWindowExW(0, place.className, place.caption, WS_CHILD | place.style, place.x, place.y,
                                       place.width, place.height, hwnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance_, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
}

void ItemEditor::Fill(const ItemRecord& item) {
    // The four texts as they are (the icon path not made to follow the
    // target), then what follows from them, once.
    filling_ = true;
    for (const auto& [control, text] : {std::pair{EditorControl::Title, &item.title},
                                        {EditorControl::Path, &item.path},
                                        {EditorControl::IcoPath, &item.icoPath},
                                        {EditorControl::Argument, &item.argument}}) {
        HWND box = Control(control);
        // Most items take no arguments: a box left empty is not emptied again
        // (a third of a millisecond for each under Wine), only its undo forgotten.
        if (text->empty() && GetWindowTextLengthW(box) == 0)
            SendMessageW(box, EM_EMPTYUNDOBUFFER, 0, 0);
        else
            SetWindowTextW(box, text->c_str());
    }
    filling_ = false;
    TargetControlsFollow();
    IconPathChanged();
    filled_ = Texts();
}

void ItemEditor::StartNew() {
    Fill({});
    if (const std::wstring text = shell_.ClipboardText(); ProposesTarget(text)) SetTextOf(EditorControl::Path, text);
    // A proposal is not the user's typing: closing it asks nothing.
    filled_ = Texts();
}

void ItemEditor::Show() {
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(GetWindow(hwnd(), GW_OWNER), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    // Shown without the usual redrawing of every box, then painted whole in
    // one go, before the focus puts a caret into the title.
    focusBack_ = nullptr;  // activated while shown: no focus yet, no caret in the way
    SetWindowPos(hwnd(), HWND_TOP, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOREDRAW);
    PaintWhole();
    open_ = true;
    focusBack_ = Control(EditorControl::Title);
    SetForegroundWindow(hwnd());
    SetFocus(focusBack_);
}

std::wstring ItemEditor::TextOf(EditorControl control) const {
    HWND box = Control(control);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ItemEditor::SetTextOf(EditorControl control, const std::wstring& text) {
    SetWindowTextW(Control(control), text.c_str());
    // A multi-line box does not report text set this way as a change.
    if (control == EditorControl::Path) TargetChanged();
    if (control == EditorControl::Argument) IconPathChanged();
}

ItemRecord ItemEditor::Texts() const {
    return {TextOf(EditorControl::Title), TextOf(EditorControl::Path), TextOf(EditorControl::IcoPath),
            TextOf(EditorControl::Argument), L""};
}

bool ItemEditor::PreviewMessage(const MSG& msg) {
    if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_RETURN: Confirm(); return true;
    case VK_ESCAPE: Cancel(); return true;
    case VK_TAB: {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(hwnd(), GetFocus(), back)) SetFocus(next);
        return true;
    }
    default: return false;
    }
}

void ItemEditor::Confirm() {
    if (!open_ || !events_.EditorConfirmed(Texts())) return;
    Cancel();
}

void ItemEditor::Cancel() {
    if (!open_) return;
    open_ = false;
    ShowWindow(hwnd(), SW_HIDE);
    events_.EditorClosed();
}

void ItemEditor::TargetChanged() {
    TargetControlsFollow();
    SetTextOf(EditorControl::IcoPath, TextOf(EditorControl::Path));
}

void ItemEditor::TargetControlsFollow() {
    const std::wstring target = TextOf(EditorControl::Path);
    const ConvertButtonState button = ConvertButtonFor(target, programDir_);
    SetWindowTextW(Control(EditorControl::Convert), std::wstring(button.caption).c_str());
    EnableWindow(Control(EditorControl::Convert), button.enabled);
    // Web addresses and network paths take no arguments; what was typed stays.
    EnableWindow(Control(EditorControl::Argument), IsLocalPath(target));
}

void ItemEditor::IconPathChanged() {
    // The icon the panel will show for these texts, by the panel's own rules.
    const ItemRecord texts{L"", L"", TextOf(EditorControl::IcoPath), TextOf(EditorControl::Argument), L""};
    previewIcon_ = items_.IconIndexOf(texts);
    InvalidateRect(hwnd(), &kPreview, TRUE);
}

void ItemEditor::OnCommand(int id, int notification) {
    if (filling_) return;
    switch (static_cast<EditorControl>(id)) {
    case EditorControl::Path:
        if (notification == EN_CHANGE) TargetChanged();
        return;
    case EditorControl::IcoPath:
    case EditorControl::Argument:  // the system functions' icons go by their keyword
        if (notification == EN_CHANGE) IconPathChanged();
        return;
    case EditorControl::Convert:
        SetTextOf(EditorControl::Path, ConvertTarget(TextOf(EditorControl::Path), programDir_));
        return;
    case EditorControl::DefaultIcon: SetTextOf(EditorControl::IcoPath, TextOf(EditorControl::Path)); return;
    case EditorControl::BrowseTarget:
    case EditorControl::BrowseIcon: {
        const std::wstring chosen = shell_.ChooseFile(hwnd());
        if (chosen.empty()) return;
        SetTextOf(static_cast<EditorControl>(id) == EditorControl::BrowseTarget ? EditorControl::Path
                                                                                 : EditorControl::IcoPath,
                  chosen);
        return;
    }
    case EditorControl::Ok: return Confirm();
    case EditorControl::Cancel: return Cancel();
    default: return;
    }
}

void ItemEditor::PaintWhole() {
    if (composed_.Paint(hwnd(), buffer_, [this](HDC dc, const RECT& whole) { DrawSurface(dc, whole); })) {
        shadow_.DialogPainted();
        return;
    }
    // Shown without redrawing: every box must be told to paint itself.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void ItemEditor::OnPaint() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    PaintScope paint(hwnd());
    BufferedDc buffer(paint.dc(), paint.Area(), buffer_, client);
    DrawSurface(buffer.dc(), client);
}

// The dialog's own picture: background, caption, labels, hint and the preview.
void ItemEditor::DrawSurface(HDC dc, const RECT& client) {
    FillSolid(dc, client, kBackground);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    const HGDIOBJ old = SelectObject(dc, textFont_.get());
    RECT band{0, 0, client.right, 30};
    DrawTextW(dc, kCaption, -1, &band, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    const struct {
        EditorControl box;
        const wchar_t* text;
    } labels[] = {{EditorControl::Title, L"标题"}, {EditorControl::Path, L"目标"}, {EditorControl::Argument, L"参数"}};
    for (const auto& label : labels) {
        RECT at = LabelBeside(label.box);
        DrawTextW(dc, label.text, -1, &at, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    }
    const ControlPlace& argument = PlaceOf(EditorControl::Argument);
    RECT hint{16, argument.y + argument.height + 8, client.right - 16, client.bottom};
    DrawTextW(dc, kHint, -1, &hint, DT_WORDBREAK | DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, old);
    if (previewIcon_ != SystemIcons::kNoIcon)
        items_.Icons().Draw(previewIcon_, IconSize::Large48, dc, kPreview.left, kPreview.top);
}

LRESULT ItemEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DPICHANGED:
        // Scroll bars kept from before would show the old look.
        composed_.LookChanged();
        return Default(message, wParam, lParam);
    case WM_ACTIVATE:
        // As a dialog does: the focus goes back to the control that had it,
        // not to the editor's own window, where typing would go nowhere.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd(), focus)) focusBack_ = focus;
        } else if (focusBack_ && !HIWORD(wParam)) {
            SetFocus(focusBack_);
        }
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        // A disabled box keeps the system's grey, so that it looks disabled.
        if (!IsWindowEnabled(reinterpret_cast<HWND>(lParam))) return Default(message, wParam, lParam);
        [[fallthrough]];
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kText);
        SetBkColor(dc, kBackground);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_LBUTTONDOWN:
        // Dragged by its whole surface, as by a title bar.
        ReleaseCapture();
        SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
    case WM_CLOSE:
        Cancel();
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

}  // namespace mivra::win
