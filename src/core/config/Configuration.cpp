#include "config/Configuration.h"

#include <utility>

namespace mivra {
namespace {

// A profile read returns at most 255 bytes of a value; the cut never splits
// a character.
std::wstring CutTo255Bytes(const AnsiCodePage& codePage, std::wstring value) {
    if (value.size() <= 127) return value;  // at most two bytes a character
    size_t bytes = 0, keep = 0;
    for (; keep < value.size(); ++keep) {
        bytes += codePage.ToAnsi(std::wstring_view(&value[keep], 1)).size();
        if (bytes > 255) break;
    }
    value.resize(keep);
    return value;
}

}  // namespace

Configuration::Configuration(const AnsiCodePage& codePage, ConfigStorage& storage, Notifier& notifier)
    : codePage_(codePage), storage_(storage), notifier_(notifier) {
    for (const OptionEntry& option : AllOptions()) Store(option, EffectiveValue(option, std::nullopt));
}

void Configuration::Store(const OptionEntry& option, std::wstring value) {
    Value& slot = options_[static_cast<size_t>(option.id)];
    const bool numeric = option.kind == OptionKind::Flag || option.kind == OptionKind::Integer;
    slot.number = numeric ? ProfileIntOf(value) : 0;
    slot.text = std::move(value);
}

ProfileFile& Configuration::Current(bool retry, Patience patience) {
    const std::uint64_t stamp = storage_.Stamp();
    if (file_ && stamp == stamp_ && (!unreadable_ || !retry)) return *file_;
    StoredFile stored = storage_.Read(patience);
    if (stored.state == StoredFile::State::Unreadable) {
        // Keep what was read before; never take the file for an empty one.
        if (!file_) file_.emplace(codePage_, std::string());
        stamp_ = stamp;
        unreadable_ = true;
        if (!std::exchange(toldUnreadable_, true)) notifier_.ShowBalloon(kUnreadableBalloon);
        return *file_;
    }
    file_.emplace(codePage_, std::move(stored.bytes));
    stamp_ = stamp;
    missing_ = stored.state == StoredFile::State::Missing;
    unreadable_ = false;
    return *file_;
}

bool Configuration::ReadyToWrite(Patience patience) {
    Current(true, patience);
    return !unreadable_;
}

bool Configuration::Commit(Patience patience) {
    if (storage_.Write(file_->Bytes(), patience)) {
        stamp_ = storage_.Stamp();
        missing_ = false;
        return true;
    }
    // Memory must not run ahead of the disk: read the file again next time.
    file_.reset();
    return false;
}

int Configuration::GetConfigInt(Opt key, int defaultValue) {
    return Current().GetInt(kConfigSection, EntryOf(key).key, defaultValue);
}

std::wstring Configuration::GetConfigStr(Opt key, std::wstring_view defaultValue) {
    return CutTo255Bytes(codePage_,
                         Current().Get(kConfigSection, EntryOf(key).key).value_or(std::wstring(defaultValue)));
}

bool Configuration::SetConfig(Opt key, std::wstring_view value, std::wstring_view defaultValue, bool force,
                              Patience patience) {
    return Write(EntryOf(key).key, value, defaultValue, force, IsQuietKey(key), patience);
}

bool Configuration::ClearConfig() { return Write({}, {}, {}, false, false, Patience::WaitBriefly); }

// An empty key removes the whole section.
bool Configuration::Write(std::wstring_view key, std::wstring_view value, std::wstring_view defaultValue,
                          bool force, bool quiet, Patience patience) {
    if (!force && IsLocked()) return false;
    // A file that cannot be read is not written over (the user was told).
    if (!ReadyToWrite(patience)) return false;
    ProfileFile& file = *file_;
    const std::uint64_t before = file.Revision();
    if (key.empty())
        file.DeleteSection(kConfigSection);
    else if (value == defaultValue)
        file.DeleteKey(kConfigSection, key);
    else
        file.Set(kConfigSection, key, value);
    // Writing the value that is already there changes nothing on disk.
    const bool stored = file.Revision() == before || Commit(patience);
    if (!stored && !startingUp_ && !quiet) notifier_.ShowBalloon(kSaveFailedBalloon);
    return stored;
}

void Configuration::LoadOptions() {
    ProfileFile& file = Current();
    for (const OptionEntry& option : AllOptions()) {
        if (!option.loadedAtStart) continue;
        std::optional<std::wstring> stored = file.Get(kConfigSection, option.key);
        if (stored && (option.kind == OptionKind::Flag || option.kind == OptionKind::Integer))
            stored = std::to_wstring(file.GetInt(kConfigSection, option.key, ProfileIntOf(option.defaultValue)));
        Store(option, EffectiveValue(option, stored));
    }
}

void Configuration::SetOption(Opt option, std::wstring_view value, bool force) {
    const OptionEntry& entry = EntryOf(option);
    Store(entry, std::wstring(value));
    SetConfig(option, value, entry.defaultValue, force);
}

std::optional<LoadedData> Configuration::LoadGroups() {
    // The file as already read for the settings: no second read of it.
    const ProfileFile& file = Current(true);
    if (missing_ || unreadable_) return std::nullopt;
    return LoadData(codePage_, file.Bytes());
}

Configuration::SaveResult Configuration::SaveGroups(const std::vector<Group>& groups) {
    SaveResult result;
    if (IsLocked() || !ReadyToWrite()) return result;
    ProfileFile& file = *file_;
    // Every group was loaded, wherever its line stood, and goes into the
    // section now: a line left elsewhere would come back as a second group.
    file.RemoveGroupLinesOutside(kDataSection);
    // The section is most of the file: it is written straight into the new file.
    file.ReplaceSection(kDataSection, groups.empty(), [&](std::string& out, std::string_view lineBreak) {
        AppendDataSection(codePage_, groups, lineBreak, out, &result.lossy);
    });
    result.written = Commit();
    return result;
}

}  // namespace mivra
