#pragma once
// The program around a main panel made in a test or a benchmark: the
// configuration in memory (or in a given storage), groups that LoadData
// hands over, starts and additions that are recorded, a clock that the test
// moves, and icons from the shell only when asked for.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "MemoryStorage.h"
#include "base/WinCodePage.h"
#include "items/SystemIcons.h"
#include "main/PanelHost.h"

namespace mivra::test {

class FakePanelHost : public win::PanelHost {
public:
    // The configuration is kept in memory, or in `file` when given.
    explicit FakePanelHost(ConfigStorage* file = nullptr) : backing(file ? *file : storage) {}

    MemoryStorage storage;
    ConfigStorage& backing;
    RecordingNotifier notifier;
    Configuration config{win::SystemCodePage(), backing, notifier};
    std::vector<Group> stored;  // what LoadData finds
    std::vector<Group> groups;
    int saves = 0;
    std::vector<std::wstring> messages;
    int answer = IDOK;  // to every question
    std::vector<int> answers;  // to the next questions, in order, before `answer`
    std::vector<std::wstring> started;  // titles, in order
    std::vector<std::wstring> startedAs;  // "verb show" of each start
    bool startsFail = false;
    std::vector<std::wstring> addedPaths;
    win::SystemIcons icons{L"C:\\Mivra\\Mivra.exe", L"C:\\Program Files"};
    bool realIcons = false;  // look icons up through the shell
    std::uint32_t now = 100000;  // the clock of click timing, moved by the tests

    Configuration& Config() override { return config; }
    const AnsiCodePage& CodePage() override { return win::SystemCodePage(); }
    bool IsLocked() const override { return false; }
    std::vector<Group>& Groups() override { return groups; }
    bool storeGroups = false;  // saves write the groups into the configuration's storage
    void SaveData() override {
        ++saves;
        if (storeGroups) config.SaveGroups(groups);
    }
    void LoadData() override { groups = stored; }
    int ShowMessage(std::wstring_view text, UINT) override;
    void ShowBalloon(std::wstring_view text) override { notifier.ShowBalloon(text); }
    int shutDowns = 0;
    void ShutDown() override { ++shutDowns; }
    std::vector<ExitMode> exits;  // the system never goes in a test
    std::function<void()> onExit;  // runs as the system is asked to go
    void ExitSystem(ExitMode mode) override {
        exits.push_back(mode);
        if (onExit) onExit();
    }
    LocalTime clock{2026, 12, 10, 12, 0, 0};  // the local clock, set by the tests
    LocalTime Clock() override { return clock; }
    // Records what the item menu asks of the system; the desktop is a set of names.
    struct Shell final : win::ShellServices {
        unsigned osMajor = 10;
        std::vector<std::wstring> opened, copied;
        std::wstring desktop = L"C:\\Desktop";
        std::vector<std::wstring> files;  // full paths that exist
        bool saves = true;
        struct Shortcut {
            std::wstring file, target, arguments, icon;
        };
        std::vector<Shortcut> shortcuts;
        unsigned OsMajor() override { return osMajor; }
        std::wstring Resolve(std::wstring_view stored) override;
        bool OpenFolder(const std::wstring& resolved) override {
            opened.push_back(resolved);
            return true;
        }
        bool CopyText(std::wstring_view text) override {
            copied.emplace_back(text);
            return true;
        }
        std::wstring clipboard;
        std::wstring ClipboardText() override { return clipboard; }
        std::vector<std::wstring> chosenFiles;  // what the file dialogs answer, in order; then cancelled
        std::wstring ChooseFile(HWND) override {
            if (chosenFiles.empty()) return {};
            std::wstring file = chosenFiles.front();
            chosenFiles.erase(chosenFiles.begin());
            return file;
        }
        std::vector<std::pair<std::wstring, POINT>> explorerMenus;  // path and point of each
        bool ShowExplorerMenu(HWND, const std::wstring& resolved, POINT at) override {
            explorerMenus.emplace_back(resolved, at);
            return false;
        }
        std::wstring DesktopFolder() override { return desktop; }
        bool Exists(const std::wstring& path) override;
        bool SaveShortcut(const std::wstring& file, const std::wstring& target, std::wstring_view arguments,
                          const std::wstring& icon) override;
        std::wstring hostsFile = L"C:\\windows\\system32\\drivers\\etc\\hosts";
        std::wstring HostsFile() override { return hostsFile; }
        std::vector<std::wstring> elevated;  // "file arguments" of each elevated start
        unsigned long elevationError = 0;
        unsigned long StartElevated(const std::wstring& file, const std::wstring& arguments) override {
            elevated.push_back(file + L" " + arguments);
            return elevationError;
        }
    } shell;
    win::ShellServices& Shell() override { return shell; }
    void OnHandOver() override {}
    void OnTrayCallback(LPARAM) override {}
    void OnTaskbarCreated() override {}
    std::vector<int> hotKeys;
    void OnHotKey(int id) override { hotKeys.push_back(id); }
    void OnAppBarCallback(WPARAM, LPARAM) override {}
    int idleTicks = 0;
    void OnIdleTick() override { ++idleTicks; }
    int displayChanges = 0;
    void OnDisplayChange() override { ++displayChanges; }
    void OnStartSettled() override {}
    void OnPanelDestroyed() override {}
    std::wstring programFile = L"C:\\Mivra\\Mivra.exe";
    std::wstring_view ProgramFile() override { return programFile; }
    // Counts the start; an item without a path starts nothing.
    bool RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb) override;
    bool AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                 std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) override;
    int IconIndexOf(const ItemRecord& item) override;
    win::SystemIcons& Icons() override { return icons; }
    std::uint32_t TickCount() override { return now; }
};

}  // namespace mivra::test
