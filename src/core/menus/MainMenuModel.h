#pragma once
// The main menu as data: its entries in order with their captions, which of
// them show, carry a check mark or are greyed in the state the menu opens in,
// and the items its "new item" entries add. The window side turns the
// entries into a popup menu and the chosen id back into a command.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "menus/MenuEntry.h"

namespace mivra {

// Where the menu opens from: a panel (title bar's menu button, empty space
// in the item panel) or the tray icon, whose form has no item commands.
enum class MainMenuForm { Panel = 0, Tray = 1 };

enum class MainCommand : unsigned {
    None = 0,
    CustomItem,  // "自定义内容": the item editor for a new item
    EmptyItem,
    SortByTitle,
    SortByPath,
    ToPortable,
    ToAbsolute,
    SwitchMode,
    LockAutoHide,
    Setup,
    OpenMemo,
    SyncUpload,
    SyncDownload,
    SyncClear,
    LockConfig,
    Shutdown,
    HostsEditor,
    CheckUpdate,
    Exit,
    SystemFunction = 100,  // + the index of kSystemFunctions
    SystemTool = 200,      // + the index of kSystemTools
};

inline constexpr size_t kSystemFunctionCount = 9;
inline constexpr size_t kSystemToolCount = 7;
// The index of a system function or tool command, or -1 for any other.
int SystemFunctionIndex(MainCommand command);
int SystemToolIndex(MainCommand command);

struct MainMenuState {
    MainMenuForm form = MainMenuForm::Panel;
    bool searchShown = false;
    bool commandMode = false;
    bool lockAutoHide = false;
    bool lockConfig = false;
    bool sortByCount = false;     // then sorting by title or path changes nothing
    std::wstring shutdownAt;      // the armed shutdown's time; empty when none
    std::span<const MainCommand> unavailable;  // shown greyed: not part of this build yet
};

// The entries in order (an entry's id is its MainCommand); a Submenu entry
// opens a submenu that its EndSubmenu closes.
std::vector<MenuEntry> MainMenuEntries(const MainMenuState& state);

// The item a system function entry adds: it starts this program itself
// (`exeName`, the executable's name with its extension) with the function's keyword.
ItemRecord SystemFunctionItem(int index, std::wstring_view exeName);
// The item a system tool entry adds.
ItemRecord SystemToolItem(int index);

inline constexpr std::wstring_view kSortedBalloon = L"排序完成。";
inline constexpr std::wstring_view kConvertedBalloon = L"转换完成。";
inline constexpr std::wstring_view kConfigLockedBalloon = L"锁定配置文件后，所有对设置和数据的更改都不会被保存。";
inline constexpr std::wstring_view kShutdownCancelledBalloon = L"已取消自动关机计划。";

}  // namespace mivra
