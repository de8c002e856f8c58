#pragma once
// What the benchmarks that start whole programs share: fresh copies of the
// programs in folders of their own, the data they start with, the signals
// they give (src/win/app/BenchSignals.h) and what is seen of them on the
// screen.

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/BenchTimerTicks.h"
#include "base/Unique.h"
#include "data/Group.h"

namespace mivra::bench {

namespace fs = std::filesystem;

// A file beside this benchmark's executable (the baselines are built there).
fs::path Beside(const wchar_t* name);

// 1,000 items in 10 groups pointing at existing files: every fifth a system
// program, the rest documents of many types made under `dir`.
std::vector<Group> MakeGroups(const fs::path& dir);
// The same items pointing at files that do not exist: no icon is looked up.
std::vector<Group> Unplaced(std::vector<Group> groups);
// A Mivra.cfg holding `groups`, with `options` ("Key=value\r\n" lines) in [Config].
std::string ConfigBytes(const std::vector<Group>& groups, const std::string& options = {});

// A fresh copy of `exe` in a new folder under `root`, with `config` beside
// it as Mivra.cfg when given.
fs::path FreshCopy(const fs::path& root, const std::wstring& name, const fs::path& exe, const std::string* config);

// The events and the tick block one program is given, made here under a name
// of their own and named to the program through its environment.
class Signals {
public:
    explicit Signals(const std::wstring& tag);
    // Unset every event.
    void Reset();
    HANDLE Group() const { return group_.get(); }
    HANDLE Icons() const { return icons_.get(); }
    HANDLE Shown() const { return shown_.get(); }
    const win::BenchTimerTicks& Ticks() const { return *static_cast<const win::BenchTimerTicks*>(ticksView_.get()); }
    const std::wstring& Name() const { return name_; }

private:
    std::wstring name_;
    win::UniqueHandle group_, icons_, shown_, ticksBlock_;
    win::UniqueView ticksView_;
};

// A program started from its folder with its signals.
struct Running {
    win::UniqueHandle process, thread;
    DWORD id = 0;
    double startedMs = 0;  // NowMilliseconds() just before CreateProcess
    fs::path exe;
    int hostProcess = 0;  // the host's process id, once CpuMilliseconds found it
    explicit operator bool() const { return static_cast<bool>(process); }
};
Running Launch(const fs::path& exe, const Signals& signals);

// Milliseconds from `since` until `event` is set, or -1 when the program ends
// first or `timeoutMs` passes.
double WaitFor(const Running& program, HANDLE event, double since, DWORD timeoutMs = 30000);

// The top-level window of `className` that the process owns, or nullptr.
HWND WindowOf(DWORD processId, const wchar_t* className);
inline constexpr wchar_t kMinimalWindowClass[] = L"MivraBenchMinimalWindow";

// What the screen shows of Mivra's first item cell (the default view: a
// 32-pixel icon 7 pixels into a cell 46 high, the caption to its right):
// whether the cell's face and caption are there, and the icon too.
struct FirstCell {
    bool painted = false, icon = false;
};
FirstCell LookAtFirstCell(DWORD processId);

// User and kernel time the program has used so far, in milliseconds, as the
// host's kernel accounts for the Wine process (its /proc/<pid>/stat, through
// drive Z:): Wine's GetProcessTimes answers zero for any process but the
// caller. -1 when no host process runs `program`'s executable.
double CpuMilliseconds(Running& program);

// Closes the program's windows, as a user would, so that it removes what it
// put in the shell (its tray icon: a killed program leaves its icon behind,
// and Wine's tray then holds every later start up); killed if it lingers.
void EndAsAUserWould(Running& program);

}  // namespace mivra::bench
