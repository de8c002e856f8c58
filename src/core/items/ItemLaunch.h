#pragma once
// Starting an item. An ordinary target is handed to a short-lived second
// instance of the program ("--run-..."); an item whose path is the program
// itself with a keyword as argument is a system function, carried out here
// through the actions seam. Every start that got as far as a target counts.

#include <string>
#include <string_view>

#include "data/Group.h"
#include "paths/PortablePath.h"
#include "text/AnsiCodePage.h"

namespace mivra {

// How a started program's window shows; the values are the system's show
// commands, which the second instance receives as decimal text.
enum class ShowMode : int { Normal = 1, Minimized = 6 };

// What the log off, shut down and restart functions ask of the system.
enum class ExitMode : int { LogOff = 0, ShutDown = 1, Restart = 2 };

// The folders the system functions open; the values are the system's
// folder numbers (CSIDL).
enum class SpecialFolder : int { None = 0, ControlPanel = 3, RecycleBin = 10, Computer = 17 };

// What starting items does to the system. The program does it for real;
// tests record it (no test may log off, lock or blank the screen).
class LaunchActions {
public:
    virtual ~LaunchActions() = default;
    // Starts `programFile` with `arguments` (verb "open", shown normally).
    virtual void StartProgram(const std::wstring& programFile, const std::wstring& arguments) = 0;
    virtual void OpenSettings() = 0;
    virtual void EmptyRecycleBin() = 0;
    virtual void DisplayOff() = 0;
    virtual void LockWorkstation() = 0;
    // An OK/Cancel question; true for OK.
    virtual bool Confirm(std::wstring_view question) = 0;
    // Nothing forced.
    virtual void ExitSystem(ExitMode mode) = 0;
    virtual void OpenSpecialFolder(SpecialFolder folder) = 0;
    // Whether a file or folder of that full path is there.
    virtual bool Exists(const std::wstring& path) = 0;
    // Tells the user why an item was not started (a tray balloon).
    virtual void TellNotStarted(std::wstring_view text) = 0;
};

struct LaunchContext {
    const AnsiCodePage& codePage;
    std::wstring programFile;
    std::wstring programDir;
    EnvironmentLookup environment;
};

// The special folder a system-function keyword opens ("drives", "controls",
// "bitbucket"); None for any other keyword.
SpecialFolder SpecialFolderOfKeyword(std::wstring_view keyword);

// Starts `item` with the show mode and verb ("open",
// "runas"). Returns false when nothing was started, and then nothing must be
// saved: its path resolves to nothing, or (the user is told) a full local
// path names nothing that is there, or the path or arguments hold what the
// code page cannot carry to the second instance, which would then start
// another file. Otherwise the item's count has grown by one, also when a
// question was answered Cancel or the keyword is unknown.
bool RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb, const LaunchContext& context,
             LaunchActions& actions);

}  // namespace mivra
