// The main menu's commands, as the panel carries them out.

#include "app/FileLocations.h"
#include "items/ItemConvert.h"
#include "main/MainPanel.h"
#include "paths/PathNames.h"

namespace mivra::win {
namespace {

// Entries whose windows and services are not part of this build yet.
// LATER: settings, sync and update check.
constexpr MainCommand kNotYetHere[] = {MainCommand::Setup, MainCommand::SyncUpload, MainCommand::SyncDownload,
                                       MainCommand::SyncClear, MainCommand::CheckUpdate};

}  // namespace

void MainPanel::ShowMainMenu(MainMenuForm form) {
    MainMenuState state;
    state.form = form;
    state.searchShown = searchMode_;
    state.commandMode = Config().Flag(Opt::CommandMode);
    state.lockAutoHide = docking_.LockAutoHide();
    state.lockConfig = Config().Flag(Opt::LockConfig);
    state.sortByCount = Config().Flag(Opt::SortByCount);
    state.shutdownAt = tools_.ShutdownAt();
    state.unavailable = kNotYetHere;
    RunMainCommand(static_cast<MainCommand>(TrackPanelMenu(MainMenuEntries(state))));
}

void MainPanel::RunMainCommand(MainCommand command) {
    if (const int function = SystemFunctionIndex(command); function >= 0)
        return AddToCurrentGroup(SystemFunctionItem(function, FileNameOf(host_.ProgramFile())));
    if (const int tool = SystemToolIndex(command); tool >= 0) return AddToCurrentGroup(SystemToolItem(tool));
    switch (command) {
    case MainCommand::CustomItem: return OpenItemEditor(std::nullopt);
    case MainCommand::EmptyItem: return AddToCurrentGroup({});
    case MainCommand::SortByTitle: return SortCurrentGroup(SortMode::ByTitle);
    case MainCommand::SortByPath: return SortCurrentGroup(SortMode::ByPath);
    case MainCommand::ToPortable: return ConvertCurrentGroup(1);
    case MainCommand::ToAbsolute: return ConvertCurrentGroup(2);
    case MainCommand::SwitchMode: return SetCommandMode(!Config().Flag(Opt::CommandMode));
    case MainCommand::LockAutoHide: return docking_.SetLockAutoHide(!docking_.LockAutoHide());
    case MainCommand::LockConfig: return SetLockConfig(!Config().Flag(Opt::LockConfig));
    case MainCommand::OpenMemo: return tools_.Open(ToolMode::Memo);
    case MainCommand::HostsEditor: return tools_.Open(ToolMode::HostsEditor);
    case MainCommand::Shutdown: return tools_.ShutdownCommand();
    case MainCommand::Exit: return Quit();
    default: return;  // LATER: the commands of kNotYetHere
    }
}

void MainPanel::Quit() {
    if (tools_.Close()) host_.ShutDown();
}

void MainPanel::AddToCurrentGroup(const ItemRecord& item) {
    Group* group = CurrentGroup();
    if (!group || searchMode_) return;
    host_.AddItem(group->Items(), item.title, item.path, item.icoPath, item.argument, L"0");
    itemPanel_->ItemsChanged();
    SaveData();
}

void MainPanel::SortCurrentGroup(SortMode mode) {
    Group* group = CurrentGroup();
    if (!group || searchMode_) return;
    if (!SortItems(group->Items(), mode, Config().Flag(Opt::SortByCount))) return;
    itemPanel_->ItemsChanged();
    SaveData();
    host_.ShowBalloon(kSortedBalloon);
}

void MainPanel::ConvertCurrentGroup(int mode) {
    Group* group = CurrentGroup();
    if (!group || searchMode_) return;
    if (ConvertItems(group->Items(), mode, FileLocations::ForExecutable(host_.ProgramFile()).programDir)) {
        itemPanel_->ItemsChanged();
        SaveData();
    }
    host_.ShowBalloon(kConvertedBalloon);
}

void MainPanel::SetCommandMode(bool on) {
    // As the settings window's check box does: the search switch goes with command mode.
    Config().SetOption(Opt::CommandMode, on ? L"1" : L"0");
    Config().SetOption(Opt::DisplaySearchSwitch, on ? L"0" : L"1");
    if (on != searchMode_) SwitchSearch();
    FormResize();
}

void MainPanel::SetLockConfig(bool on) {
    // The lock's own switch is written even while the lock holds.
    Config().SetOption(Opt::LockConfig, on ? L"1" : L"0", true);
    if (on) host_.ShowBalloon(kConfigLockedBalloon);
}

}  // namespace mivra::win
