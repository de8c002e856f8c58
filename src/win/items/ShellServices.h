#pragma once
// What the item menu and the item editor ask of the system: an item's target
// resolved, the target's folder opened, the clipboard, desktop shortcuts and
// the file dialog. The program's are SystemShellServices; tests record instead.

#include <windows.h>

#include <string>
#include <string_view>

namespace mivra::win {

class ShellServices {
public:
    // The Windows version's major number (6: Vista, where running elevated begins).
    virtual unsigned OsMajor() = 0;
    // A stored path ("%rp%\...", environment variables) as the system sees it.
    virtual std::wstring Resolve(std::wstring_view storedPath) = 0;
    // Opens the folder holding `resolved` with it selected; false when the shell could not.
    virtual bool OpenFolder(const std::wstring& resolved) = 0;
    // Puts `text` on the clipboard as Unicode text; false when the clipboard was not free.
    virtual bool CopyText(std::wstring_view text) = 0;
    // The clipboard's Unicode text; empty when it holds none.
    virtual std::wstring ClipboardText() = 0;
    // The open-file dialog for any existing file, owned by `owner`: the full
    // path chosen, or empty when the user cancelled.
    virtual std::wstring ChooseFile(HWND owner) = 0;
    // Explorer's own context menu for `resolved` at the screen point `at`,
    // owned by `owner`; true when a command was chosen. Nothing shows for a
    // path the shell does not know.
    virtual bool ShowExplorerMenu(HWND owner, const std::wstring& resolved, POINT at) = 0;
    // The user's desktop folder (no trailing backslash); empty when unknown.
    virtual std::wstring DesktopFolder() = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    // Writes a shortcut file to `target`; false when it could not be saved.
    virtual bool SaveShortcut(const std::wstring& file, const std::wstring& target, std::wstring_view arguments,
                              const std::wstring& icon) = 0;

    // The system's hosts file: the system directory's drivers\etc\hosts.
    virtual std::wstring HostsFile() = 0;
    // Starts `file` with `arguments` through the shell with the verb "runas";
    // 0, or the system's error (ERROR_CANCELLED: the user declined).
    virtual unsigned long StartElevated(const std::wstring& file, const std::wstring& arguments) = 0;

protected:
    ~ShellServices() = default;
};

}  // namespace mivra::win
