#include "tools/ToolWindow.h"

#include <algorithm>

#include "base/Files.h"
#include "paths/PathNames.h"

namespace mivra::win {
namespace {

constexpr wchar_t kToolClass[] = L"MivraTool";
// What Enter and Escape send through the dialog keys.
constexpr int kOkId = IDOK;

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND MakeControl(HINSTANCE instance, HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                 int id = 0) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void FillList(HWND list, const std::vector<std::wstring>& entries) {
    for (const std::wstring& entry : entries) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
}

}  // namespace

ToolWindow::ToolWindow(HINSTANCE instance, ToolHost& host, ToolMode mode, std::wstring read, std::wstring written)
    : instance_(instance), host_(host), mode_(mode), read_(std::move(read)), written_(std::move(written)) {}

bool ToolWindow::Open(HICON icon) {
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kToolClass;
    if (!RegisterClassOnce(instance_, wc)) return false;

    const ToolFrame frame = FrameOf(mode_);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left) - frame.width) / 2;
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top) - frame.height) / 2;
    const DWORD style = mode_ == ToolMode::Shutdown ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                                                    : WS_OVERLAPPEDWINDOW;
    if (!CreateAs(0, kToolClass, std::wstring(frame.caption).c_str(), style | WS_CLIPCHILDREN, x, y, frame.width,
                  frame.height, nullptr, instance_))
        return false;
    if (icon) {
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    font_ = CreateUiFont(-13, FW_NORMAL);
    CreateControls();
    if (mode_ != ToolMode::Shutdown && ReadText() == ReadResult::Refused) {
        DestroyWindow(hwnd());
        return false;
    }
    Layout();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    SetFocus(mode_ == ToolMode::Shutdown ? hours_ : text_);
    return true;
}

void ToolWindow::CreateControls() {
    if (mode_ == ToolMode::Shutdown) {
        hours_ = MakeControl(instance_, hwnd(), L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
        colon_ = MakeControl(instance_, hwnd(), L"STATIC", L"：", SS_CENTER);
        minutes_ = MakeControl(instance_, hwnd(), L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
        ok_ = MakeControl(instance_, hwnd(), L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, kOkId);
        FillList(hours_, ShutdownHours());
        FillList(minutes_, ShutdownMinutes());
    } else {
        text_ = MakeControl(instance_, hwnd(), L"EDIT", L"",
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL | WS_VSCROLL);
        // The box holds whatever the file holds, not the 32K an edit box takes by default.
        SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);
    }
    for (HWND control : {text_, hours_, colon_, minutes_, ok_})
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

ToolWindow::ReadResult ToolWindow::ReadText() {
    const std::wstring& file = mode_ == ToolMode::Memo ? written_ : read_;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = GetLastError();
        // A missing file is an empty text; anything else is not.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadResult::Read;
        host_.ShowMessage(UnreadableFileMessage(file), MB_ICONERROR);
        return ReadResult::Refused;
    }
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > kMaxToolFileBytes) {
        host_.ShowMessage(TooLargeFileMessage(file), MB_ICONERROR);
        return ReadResult::Refused;
    }
    std::string bytes;
    const ReadOutcome outcome = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                    ? ReadOutcome::Unreadable
                                    : ReadWholeFilePatiently(file, bytes);
    if (outcome == ReadOutcome::Unreadable) {
        host_.ShowMessage(UnreadableFileMessage(file), MB_ICONERROR);
        return ReadResult::Refused;
    }
    SetWindowTextW(text_, TextForEditBox(host_.CodePage().FromAnsi(bytes)).c_str());
    // What the box really holds is what later counts as unchanged.
    shown_ = CurrentText();
    return ReadResult::Read;
}

void ToolWindow::Layout() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (text_) {
        MoveWindow(text_, 0, 0, client.right, client.bottom, TRUE);
        return;
    }
    // The picker in the middle: hour, colon, minute; the button below.
    const int listWidth = 56, colonWidth = 16, row = 24;
    const int left = std::max(0, static_cast<int>(client.right) - (2 * listWidth + colonWidth)) / 2;
    const int top = std::max(0, static_cast<int>(client.bottom) - (2 * row + 14)) / 2;
    MoveWindow(hours_, left, top, listWidth, 240, TRUE);
    MoveWindow(colon_, left + listWidth, top + 3, colonWidth, row - 4, TRUE);
    MoveWindow(minutes_, left + listWidth + colonWidth, top, listWidth, 240, TRUE);
    MoveWindow(ok_, (client.right - 72) / 2, top + row + 14, 72, row + 2, TRUE);
}

std::wstring ToolWindow::CurrentText() const { return TextOf(text_); }

ToolWindow::Saved ToolWindow::SaveText(bool ask) {
    const std::wstring text = CurrentText();
    if (text == shown_) return Saved::Unchanged;
    const AnsiCodePage& codePage = host_.CodePage();
    if (ask) {
        const std::wstring unsavable = UnsavableCharacters(codePage, text);
        if (!unsavable.empty() &&
            host_.ShowMessage(UnsavableQuestion(FileNameOf(written_), unsavable), MB_OKCANCEL | MB_ICONINFORMATION) !=
                IDOK)
            return Saved::GoBack;
    }
    if (!WriteFileAtomically(written_, codePage.ToAnsi(text))) {
        if (!ask) return Saved::Abandoned;
        return host_.ShowMessage(UnwritableFileMessage(written_), MB_OKCANCEL | MB_ICONERROR) == IDOK
                   ? Saved::Abandoned
                   : Saved::GoBack;
    }
    shown_ = text;
    return Saved::Written;
}

void ToolWindow::HandOverHosts() {
    const unsigned long error = host_.StartHostsJob();
    if (error == ERROR_CANCELLED)
        host_.ShowMessage(kElevationDeclinedMessage, MB_ICONINFORMATION);
    else if (error != 0)
        host_.ShowMessage(HostsJobFailedMessage(error), MB_ICONERROR);
}

bool ToolWindow::Unload() {
    if (!hwnd()) return true;
    if (mode_ != ToolMode::Shutdown) {
        const Saved saved = SaveText(true);
        if (saved == Saved::GoBack) {
            SetForegroundWindow(hwnd());
            SetFocus(text_);
            return false;
        }
        // The system's file is only touched for a change that is ready beside the program.
        if (mode_ == ToolMode::HostsEditor && saved == Saved::Written) HandOverHosts();
    }
    DestroyWindow(hwnd());
    return true;
}

void ToolWindow::SaveQuietly() {
    if (hwnd() && mode_ == ToolMode::Memo) SaveText(false);
}

void ToolWindow::OnOk() {
    const auto at = ParseClockTime(TextOf(hours_), TextOf(minutes_));
    if (!at) return;
    host_.ShutdownTimeChosen(*at);
    Unload();
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFOCUS:
        SetFocus(mode_ == ToolMode::Shutdown ? hours_ : text_);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kOkId && HIWORD(wParam) == BN_CLICKED) OnOk();
        if (LOWORD(wParam) == IDCANCEL) Unload();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    // The session ends: the memo is on the disk before the system goes.
    case WM_QUERYENDSESSION:
        SaveQuietly();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) SaveQuietly();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
