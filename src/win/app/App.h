#pragma once
// The normal (panel) process: StartUp, the message loop, ShutDown and Restart.
// Each step of StartUp is one named member, called in order from StartUp.

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/FileLocations.h"
#include "app/SingleInstance.h"
#include "app/AppBar.h"
#include "app/FullScreenHide.h"
#include "app/HotKey.h"
#include "app/MouseHook.h"
#include "app/TrayIcon.h"
#include "base/System.h"
#include "base/Window.h"
#include "config/Configuration.h"
#include "config/FileConfigStorage.h"
#include "items/ItemLaunch.h"
#include "items/ShellItemSources.h"
#include "items/SystemShellServices.h"
#include "layout/Geometry.h"
#include "main/PanelHost.h"
#include "main/PanelLook.h"

namespace mivra::win {

class MainPanel;
class SystemIcons;
class SystemLaunchActions;

class App final : public PanelHost {
public:
    // The program at `programFile` (this executable when empty): its files
    // are the ones beside it.
    explicit App(HINSTANCE instance, std::wstring programFile = {});
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts the panel and runs until it has shut down; the process exit code.
    int Run();

    void ShutDown() override;
    void Restart();

    // A message box owned by the main panel, captioned with the application title.
    int ShowMessage(std::wstring_view text, UINT style) override;
    void ShowBalloon(std::wstring_view text) override { tray_.ShowBalloon(text); }

    const FileLocations& Files() const { return files_; }
    const OsVersion& Os() const { return os_; }
    // While set (start-up loads the configuration), option handlers store
    // values but skip their effects, and layout does nothing.
    bool IsLocked() const override { return isLocked_; }

    Configuration& Config() override { return *config_; }
    const AnsiCodePage& CodePage() override;
    std::vector<Group>& Groups() override { return groups_; }
    // Rewrites the groups to the file (nothing while the configuration is locked).
    void SaveData() override;
    void LoadData() override;
    void OnHandOver() override;
    void ExitSystem(ExitMode mode) override;
    ShellServices& Shell() override { return *shell_; }
    void OnPanelDestroyed() override;
    void OnTrayCallback(LPARAM event) override;
    void OnTaskbarCreated() override { tray_.TaskbarCreated(); }
    void OnHotKey(int id) override;
    void OnAppBarCallback(WPARAM notification, LPARAM lParam) override;
    void OnIdleTick() override;
    void OnDisplayChange() override;
    void OnStartSettled() override;
    std::wstring_view ProgramFile() override { return files_.programFile; }
    bool RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb) override;
    bool AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                 std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) override;
    int IconIndexOf(const ItemRecord& item) override;
    SystemIcons& Icons() override { return *icons_; }

private:
    // False when the process is to end without a panel.
    bool StartUp();

    bool RefuseSystemDirectory();
    bool HandOverToRunningInstance();
    void OpenConfiguration();
    bool CreateForms();
    void DiscardForms();
    Box StoredPanelBounds();
    void AcceptDroppedFiles();
    void LoadConfig();
    void StartMouseGestures();
    void RegisterStoredHotKey();
    void ShowPanelAtStart();
    void SetLocked(bool locked);

    HINSTANCE instance_;
    std::wstring programFile_;
    FileLocations files_;
    OsVersion os_;
    std::unique_ptr<FileConfigStorage> storage_;
    TrayIcon tray_;
    MouseHook mouseHook_;
    HotKey hotKey_;
    AppBar appBar_;
    IdleTicks idleTicks_;
    std::unique_ptr<Configuration> config_;
    std::vector<Group> groups_;
    std::unique_ptr<PanelLook> look_;
    std::unique_ptr<SystemIcons> icons_;
    std::unique_ptr<SystemLaunchActions> launcher_;
    std::unique_ptr<LaunchContext> launchContext_;
    std::unique_ptr<SystemShellServices> shell_;
    ShellItemSources sources_;
    std::optional<SingleInstance> running_;
    WindowPtr<MainPanel> main_;
    // Forms that ShutDown has closed. They are freed by the message loop, not
    // by ShutDown, which may run inside one of their own window procedures.
    std::vector<WindowPtr<MainPanel>> retired_;
    std::vector<std::unique_ptr<PanelLook>> retiredLooks_;
    bool isLocked_ = false;
    bool groupsUnread_ = false;  // the file could not be read at start: its groups are not in memory
    bool restarting_ = false;
};

}  // namespace mivra::win
