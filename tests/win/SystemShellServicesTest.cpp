// What the item menu and the editor ask of the real system: a desktop
// shortcut written into a Desktop of the test's own, Unicode text through
// the clipboard, and the system's hosts file.

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "base/ComPtr.h"
#include "base/System.h"
#include "items/SystemShellServices.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

win::SystemShellServices Services() {
    return win::SystemShellServices(L"C:\\Mivra", [](std::wstring_view) { return std::optional<std::wstring>(); },
                                    win::ReadOsVersion());
}

TEST(SystemShellServices, AShortcutOnADesktopOfItsOwnPointsAtTheTarget) {
    ScratchDir desktop(L"mivra-desktop");
    auto shell = Services();
    const std::wstring file = (desktop / L"Tom & Jerry (2).lnk").wstring();
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring target = std::wstring(system) + L"\\notepad.exe";
    ASSERT_TRUE(shell.SaveShortcut(file, target, L"-a \"b c\"", target));
    EXPECT_TRUE(shell.Exists(file));

    ASSERT_TRUE(win::EnsureComOnThisThread());
    win::ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(link.put()))));
    ASSERT_TRUE(SUCCEEDED(link.As<IPersistFile>()->Load(file.c_str(), STGM_READ)));
    wchar_t read[MAX_PATH] = L"";
    link->GetArguments(read, MAX_PATH);
    EXPECT_STREQ(read, L"-a \"b c\"");
    link->GetPath(read, MAX_PATH, nullptr, 0);
    EXPECT_EQ(_wcsicmp(read, target.c_str()), 0) << read;

    EXPECT_FALSE(shell.SaveShortcut((desktop / L"no such folder" / L"x.lnk").wstring(), target, L"", L""))
        << "a failure is answered, not hidden";
}

TEST(SystemShellServices, UnicodeTextGoesThroughTheClipboardAndTheHostsFileIsTheSystems) {
    auto shell = Services();
    const std::wstring text = L"C:\\路径\\\U0001F600 报告.txt";
    ASSERT_TRUE(shell.CopyText(text));
    EXPECT_EQ(shell.ClipboardText(), text);

    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(shell.HostsFile(), std::wstring(system) + L"\\drivers\\etc\\hosts");
}

}  // namespace
}  // namespace mivra::test
