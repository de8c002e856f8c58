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
#include "app/TrayBalloon.h"
#include "base/System.h"
#include "config/Configuration.h"
#include "config/FileConfigStorage.h"

namespace mivra::win {

class MainPanel;

class App {
public:
    explicit App(HINSTANCE instance);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts the panel and runs until it has shut down; the process exit code.
    int Run();

    void ShutDown();
    void Restart();

    // A message box owned by the main panel, captioned with the application title.
    int ShowMessage(std::wstring_view text, UINT style) const;

    const FileLocations& Files() const { return files_; }
    const OsVersion& Os() const { return os_; }
    // While set (start-up loads the configuration), option handlers store
    // values but skip their effects, and layout does nothing.
    bool IsLocked() const { return isLocked_; }

    Configuration& Config() { return *config_; }
    const std::vector<Group>& Groups() const { return groups_; }
    // Rewrites the groups to the file (nothing while the configuration is locked).
    void SaveData();

private:
    // False when the process is to end without a panel.
    bool StartUp();

    bool RefuseSystemDirectory();
    bool HandOverToRunningInstance();
    void OpenConfiguration();
    bool CreateForms();
    void AcceptDroppedFiles();
    void LoadConfig();
    void ShowPanelAtStart();
    void LoadData();

    void OnMainPanelDestroyed();
    void SetLocked(bool locked);

    HINSTANCE instance_;
    FileLocations files_;
    OsVersion os_;
    std::unique_ptr<FileConfigStorage> storage_;
    TrayBalloon balloon_;
    std::unique_ptr<Configuration> config_;
    std::vector<Group> groups_;
    std::optional<SingleInstance> running_;
    std::unique_ptr<MainPanel> main_;
    // Forms that ShutDown has closed. They are freed by the message loop, not
    // by ShutDown, which may run inside one of their own window procedures.
    std::vector<std::unique_ptr<MainPanel>> retired_;
    bool isLocked_ = false;
    bool shuttingDown_ = false;
    bool restarting_ = false;
};

}  // namespace mivra::win
