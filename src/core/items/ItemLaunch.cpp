#include "items/ItemLaunch.h"

#include "app/CommandLine.h"
#include "items/ItemSort.h"
#include "text/Strings.h"

namespace mivra {
namespace {

// "X:\..." or "X:/...": a path that needs nothing but the disk to be found.
bool IsFullLocalPath(std::wstring_view path) {
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
}

void RunSystemFunction(std::wstring_view keyword, LaunchActions& actions) {
    struct Question {
        std::wstring_view keyword, question;
        ExitMode mode;
    };
    static constexpr Question kExits[] = {
        {L"logoff", L"确定要注销吗？", ExitMode::LogOff},
        {L"shutdown", L"确定要关机吗？", ExitMode::ShutDown},
        {L"reboot", L"确定要重启吗？", ExitMode::Restart},
    };
    if (EqualsNoCase(keyword, L"setting")) return actions.OpenSettings();
    if (EqualsNoCase(keyword, L"emptyrecyclebin")) return actions.EmptyRecycleBin();
    if (EqualsNoCase(keyword, L"screenoff")) return actions.DisplayOff();
    if (EqualsNoCase(keyword, L"lockworkstation")) return actions.LockWorkstation();
    for (const Question& exit : kExits)
        if (EqualsNoCase(keyword, exit.keyword)) {
            if (actions.Confirm(exit.question)) actions.ExitSystem(exit.mode);
            return;
        }
    if (const SpecialFolder folder = SpecialFolderOfKeyword(keyword); folder != SpecialFolder::None)
        actions.OpenSpecialFolder(folder);
}

}  // namespace

SpecialFolder SpecialFolderOfKeyword(std::wstring_view keyword) {
    struct Folder {
        std::wstring_view keyword;
        SpecialFolder folder;
    };
    static constexpr Folder kFolders[] = {{L"drives", SpecialFolder::Computer},
                                          {L"controls", SpecialFolder::ControlPanel},
                                          {L"bitbucket", SpecialFolder::RecycleBin}};
    for (const Folder& folder : kFolders)
        if (EqualsNoCase(keyword, folder.keyword)) return folder.folder;
    return SpecialFolder::None;
}

bool RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb, const LaunchContext& context,
             LaunchActions& actions) {
    const std::wstring target = ResolvePath(item.path, context.programDir, context.environment);
    if (target.empty()) return false;

    if (target != context.programFile || item.argument.empty()) {
        const RunRequest request{verb.empty() ? L"open" : std::wstring(verb), target, item.argument,
                                 std::to_wstring(static_cast<int>(show))};
        const auto kept = [&](const std::wstring& text) {
            return context.codePage.FromAnsi(context.codePage.ToAnsi(text)) == text;
        };
        if (!kept(target) || !kept(item.argument)) {
            actions.TellNotStarted(L"无法启动“" + item.title + L"”：路径或参数中含有系统编码无法表示的字符。\r\n" + target);
            return false;
        }
        // A full local path is looked at first; web addresses, network paths
        // and bare names (found along the search path) are left to the shell.
        if (IsFullLocalPath(target) && !actions.Exists(target)) {
            actions.TellNotStarted(L"找不到“" + item.title + L"”的目标：\r\n" + target);
            return false;
        }
        actions.StartProgram(context.programFile, FormatRunArguments(context.codePage, request));
    } else {
        RunSystemFunction(item.argument, actions);
    }
    item.count = std::to_wstring(LaunchCount(item.count) + 1);
    return true;
}

}  // namespace mivra
