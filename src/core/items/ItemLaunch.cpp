#include "items/ItemLaunch.h"

#include "app/CommandLine.h"
#include "items/ItemSort.h"
#include "text/Strings.h"

namespace mivra {
namespace {

void RunSystemFunction(std::wstring_view keyword, LaunchActions& actions) {
    struct Question {
        std::wstring_view keyword, question;
        int mode;
    };
    static constexpr Question kExits[] = {
        {L"logoff", L"确定要注销吗？", 0},
        {L"shutdown", L"确定要关机吗？", 1},
        {L"reboot", L"确定要重启吗？", 2},
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
    if (const int csidl = SpecialFolderOfKeyword(keyword)) actions.OpenSpecialFolder(csidl);
}

}  // namespace

int SpecialFolderOfKeyword(std::wstring_view keyword) {
    struct Folder {
        std::wstring_view keyword;
        int csidl;
    };
    static constexpr Folder kFolders[] = {{L"drives", 17}, {L"controls", 3}, {L"bitbucket", 10}};
    for (const Folder& folder : kFolders)
        if (EqualsNoCase(keyword, folder.keyword)) return folder.csidl;
    return 0;
}

bool RunItem(ItemRecord& item, int show, std::wstring_view verb, const LaunchContext& context,
             LaunchActions& actions) {
    const std::wstring target = ResolvePath(item.path, context.programDir, context.environment);
    if (target.empty()) return false;

    if (target != context.programFile || item.argument.empty()) {
        const RunRequest request{verb.empty() ? L"open" : std::wstring(verb), target, item.argument,
                                 std::to_wstring(show)};
        actions.StartProgram(context.programFile, FormatRunArguments(context.codePage, request));
    } else {
        RunSystemFunction(item.argument, actions);
    }
    item.count = std::to_wstring(LaunchCount(item.count) + 1);
    return true;
}

}  // namespace mivra
