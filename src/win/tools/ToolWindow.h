#pragma once
// frmMemo: one window in three roles, chosen when it is made: the memo pad,
// the hosts editor and the timed shutdown's time picker. The memo and the
// hosts editor save when the window goes (its close box, or another tool
// opening); a text the code page cannot hold is asked about first, and the
// user may go back to it.

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Gdi.h"
#include "base/Window.h"
#include "text/AnsiCodePage.h"
#include "tools/TimedShutdown.h"
#include "tools/ToolText.h"

namespace mivra::win {

// What the tool window needs of the program.
class ToolHost {
public:
    virtual const AnsiCodePage& CodePage() = 0;
    // A message box or question (MB_OKCANCEL: IDOK or IDCANCEL).
    virtual int ShowMessage(std::wstring_view text, UINT style) = 0;
    // Starts the program elevated with "--edithosts"; 0, or the system's error.
    virtual unsigned long StartHostsJob() = 0;
    // The time picker's "确定".
    virtual void ShutdownTimeChosen(ClockTime at) = 0;

protected:
    ~ToolHost() = default;
};

class ToolWindow final : public Window<ToolWindow> {
public:
    // The memo reads and writes `written`; the hosts editor reads `read`
    // (the system's file) and writes `written` (the copy beside the program).
    ToolWindow(HINSTANCE instance, ToolHost& host, ToolMode mode, std::wstring read, std::wstring written);

    // Reads the file and shows the window in front; false when the file
    // exists but could not be read or is too large (the user is told), and
    // then there is no window.
    bool Open(HICON icon);
    // Saves what is to be saved and closes the window; false when the user
    // chose to go back to the text (the window stays).
    bool Unload();
    // The memo's text written now without questions (the session ends, or
    // the timed shutdown acts); the window stays.
    void SaveQuietly();

    ToolMode Mode() const { return mode_; }
    HWND TextBox() const { return text_; }
    HWND HourList() const { return hours_; }
    HWND MinuteList() const { return minutes_; }
    HWND OkButton() const { return ok_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class ReadResult { Read, Refused };
    // Unchanged: nothing written; Abandoned: it could not be written and
    // the user let it go; GoBack: the window stays with the text.
    enum class Saved { Unchanged, Written, Abandoned, GoBack };
    ReadResult ReadText();
    void CreateControls();
    void Layout();
    std::wstring CurrentText() const;
    // Writes the text if it changed; with `ask`, questions first.
    Saved SaveText(bool ask);
    void HandOverHosts();
    void OnOk();

    HINSTANCE instance_;
    ToolHost& host_;
    ToolMode mode_;
    std::wstring read_, written_;
    std::wstring shown_;  // the text as the box held it after loading or the last save
    UniqueGdiObject font_;
    HWND text_ = nullptr, hours_ = nullptr, minutes_ = nullptr, colon_ = nullptr, ok_ = nullptr;
};

}  // namespace mivra::win
