#pragma once
// ShellServices of the running program.

#include "base/System.h"
#include "items/ShellServices.h"
#include "paths/PortablePath.h"

namespace mivra::win {

class SystemShellServices final : public ShellServices {
public:
    SystemShellServices(std::wstring programDir, EnvironmentLookup environment, const OsVersion& os)
        : programDir_(std::move(programDir)), environment_(std::move(environment)), os_(os) {}

    unsigned OsMajor() override { return os_.major; }
    std::wstring Resolve(std::wstring_view storedPath) override;
    bool OpenFolder(const std::wstring& resolved) override;
    bool CopyText(std::wstring_view text) override;
    std::wstring ClipboardText() override;
    std::wstring ChooseFile(HWND owner) override;
    bool ShowExplorerMenu(HWND owner, const std::wstring& resolved, POINT at) override;
    std::wstring DesktopFolder() override;
    bool Exists(const std::wstring& path) override;
    bool SaveShortcut(const std::wstring& file, const std::wstring& target, std::wstring_view arguments,
                      const std::wstring& icon) override;
    std::wstring HostsFile() override;
    unsigned long StartElevated(const std::wstring& file, const std::wstring& arguments) override;

private:
    std::wstring programDir_;
    EnvironmentLookup environment_;
    OsVersion os_;
};

}  // namespace mivra::win
