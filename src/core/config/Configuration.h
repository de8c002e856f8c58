#pragma once
// The configuration file: the settings of section "Config" with their write
// policy, the live option store, and the groups of section "Data".
//
// The file is parsed once and kept; it is read again only when it changed on
// disk. Every change is written whole and atomically by the storage.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/Options.h"
#include "config/ProfileFile.h"
#include "data/DataFile.h"
#include "text/AnsiCodePage.h"

namespace mivra {

// What reading the file found. A file that exists but cannot be read (held
// open by a backup or scanning tool, a read error on a removable drive) is
// never taken for a missing or an empty one.
struct StoredFile {
    enum class State { Read, Missing, Unreadable };
    State state = State::Missing;
    std::string bytes;  // when read
};

// Whether an access to the file may wait a moment for another program that
// holds it (a scanner, a backup tool), or must give up at once: the panel's
// place is stored while the user drags it, and no message may wait for that.
enum class Patience { WaitBriefly, DoNotWait };

// Where the file lives. The program's storage replaces the file atomically;
// tests keep it in memory.
class ConfigStorage {
public:
    virtual ~ConfigStorage() = default;
    // The file's bytes, or why there are none.
    virtual StoredFile Read(Patience patience) = 0;
    // Changes whenever the file changes (size and time); 0 when it is missing.
    virtual std::uint64_t Stamp() = 0;
    // Replaces the file with `bytes`; false when it could not.
    virtual bool Write(std::string_view bytes, Patience patience) = 0;
};

// How the program tells the user about background failures (a tray balloon).
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void ShowBalloon(std::wstring_view text) = 0;
};

inline constexpr wchar_t kConfigSection[] = L"Config";
inline constexpr wchar_t kSaveFailedBalloon[] = L"设置保存失败。";
inline constexpr wchar_t kUnreadableBalloon[] =
    L"配置文件正被其他程序占用或无法读取。在能够读取之前，设置和数据都不会写入该文件。";

class Configuration {
public:
    Configuration(const AnsiCodePage& codePage, ConfigStorage& storage, Notifier& notifier);

    // --- Accessors of section "Config" -----------------------------------
    // The system's integer reading of the key as it is in the file now.
    int GetConfigInt(Opt key, int defaultValue);
    // The key's text as it is in the file now, cut to the 255 bytes a
    // profile read returns.
    std::wstring GetConfigStr(Opt key, std::wstring_view defaultValue);
    // Writes the key, or removes it when `value` equals `defaultValue`.
    // Unforced writes do nothing while the configuration is locked. A failed
    // write is reported by a balloon, except while starting up and for the
    // keys the program writes on its own. Returns whether the file holds it.
    bool SetConfig(Opt key, std::wstring_view value, std::wstring_view defaultValue, bool force,
                   Patience patience = Patience::WaitBriefly);
    // Removes the whole section: every option reads its default next start.
    bool ClearConfig();

    // --- The option store -------------------------------------------------
    // Reads every option of the table into the store, with its fallbacks.
    void LoadOptions();
    // The current value of an option in its stored form (see
    // EffectiveValue); the table's default before LoadOptions.
    const std::wstring& Option(Opt option) const { return options_[static_cast<size_t>(option)].text; }
    bool Flag(FlagOpt option) const { return Number(option.id) == 1; }
    int Int(IntOpt option) const { return Number(option.id); }
    const std::wstring& Text(TextOpt option) const { return Option(option.id); }
    // Sets the option in the store at once and stores it; forced, it is
    // written even while the configuration is locked (the lock's own switch).
    void SetOption(Opt option, std::wstring_view value, bool force = false);

    // While set (start-up), failed writes are not reported.
    void SetStartingUp(bool startingUp) { startingUp_ = startingUp; }
    // The main menu's lock: unforced writes and data saves are refused.
    bool IsLocked() const { return Flag(Opt::LockConfig); }

    // Whether the file exists but could not be read the last time it was
    // needed. Then nothing is written to it, reads answer from what was
    // read before (nothing at start), and the user is told once.
    bool Unreadable() const { return unreadable_; }

    // --- Section "Data" ----------------------------------------------------
    // nullopt when the file is missing or cannot be read (see Unreadable).
    std::optional<LoadedData> LoadGroups();
    struct SaveResult {
        bool written = false;  // false: locked, or the write failed
        std::vector<LossyText> lossy;
    };
    // Rewrites section "Data" from `groups`, in one atomic write.
    SaveResult SaveGroups(const std::vector<Group>& groups);

private:
    // The file as last read; read again when it changed on disk, and, with
    // `retry`, when the last read failed.
    ProfileFile& Current(bool retry = false, Patience patience = Patience::WaitBriefly);
    // Current() before a change: false when the file cannot be read, and
    // then nothing may be written.
    bool ReadyToWrite(Patience patience = Patience::WaitBriefly);
    bool Commit(Patience patience = Patience::WaitBriefly);
    bool Write(std::wstring_view key, std::wstring_view value, std::wstring_view defaultValue, bool force,
               bool quiet, Patience patience);
    int Number(Opt option) const { return options_[static_cast<size_t>(option)].number; }
    void Store(const OptionEntry& option, std::wstring value);

    const AnsiCodePage& codePage_;
    ConfigStorage& storage_;
    Notifier& notifier_;
    std::optional<ProfileFile> file_;
    std::uint64_t stamp_ = 0;  // of the file behind file_
    bool missing_ = true;      // file_ stands for no file at all
    bool unreadable_ = false;  // the last read failed: file_ is what was read before
    bool toldUnreadable_ = false;
    struct Value {
        std::wstring text;
        int number = 0;  // flags and integers: the text read as the system reads integers
    };
    std::array<Value, kOptionCount> options_;
    bool startingUp_ = false;
};

}  // namespace mivra
