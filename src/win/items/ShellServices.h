#pragma once
// What the item menu asks of the system for an item: its target resolved,
// the target's folder opened, the clipboard, and desktop shortcuts. The
// program's are SystemShellServices; tests record instead.

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
