#pragma once
// What the main panel needs from the program around it: the configuration,
// the groups and their file, messages, the item services, and the system
// messages that belong to the application (the panel's window receives them
// and hands each on in one line).

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/Configuration.h"
#include "data/Group.h"
#include "items/ItemServices.h"
#include "items/ShellServices.h"
#include "config/BackupFiles.h"
#include "tools/TimedShutdown.h"

namespace mivra::win {

class PanelHost : public ItemServices {
public:
    virtual ~PanelHost() = default;

    virtual Configuration& Config() = 0;
    virtual const AnsiCodePage& CodePage() = 0;
    // While set (start-up loads the configuration), layout does nothing.
    virtual bool IsLocked() const = 0;
    // The groups in tab order.
    virtual std::vector<Group>& Groups() = 0;
    // Rewrites the groups to the file.
    virtual void SaveData() = 0;
    // Reads the groups from the file (the first tick after start-up).
    virtual void LoadData() = 0;
    virtual int ShowMessage(std::wstring_view text, UINT style) = 0;
    // Tells the user something in a tray balloon.
    virtual void ShowBalloon(std::wstring_view text) = 0;
    // Ends the program.
    virtual void ShutDown() = 0;
    // Logs off, shuts the system down or restarts it (nothing forced).
    virtual void ExitSystem(ExitMode mode) = 0;
    // The local clock: what the timed shutdown compares with.
    virtual LocalTime Clock() { return LocalNow(); }
    // The system services the item menu's commands use.
    virtual ShellServices& Shell() = 0;

    // --- What the system sends to the application through the panel's window.
    // A second start handed its start over: the panel is to be shown.
    virtual void OnHandOver() = 0;
    virtual void OnTrayCallback(LPARAM event) = 0;
    // WM_HOTKEY with this id; a mouse gesture acts as hotkey kHotKeyId.
    virtual void OnHotKey(int id) = 0;
    // The application bar's notification (message 1026).
    virtual void OnAppBarCallback(WPARAM notification, LPARAM lParam) = 0;
    // The idle timer's tick, every 10 minutes.
    virtual void OnIdleTick() = 0;
    virtual void OnDisplayChange() = 0;
    // The first group is on the screen: what start-up left for later.
    virtual void OnStartSettled() = 0;
    // Explorer started again: the tray icon is to be added again.
    virtual void OnTaskbarCreated() = 0;
    // The panel's window is gone.
    virtual void OnPanelDestroyed() = 0;
};

}  // namespace mivra::win
