#include "config/Configuration.h"

#include "config/Options.h"

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
    for (const OptionSpec& option : AllOptions())
        options_[std::wstring(option.key)] = EffectiveValue(option, std::nullopt);
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

std::wstring Configuration::GetConfigInt(std::wstring_view key, int defaultValue) {
    return std::to_wstring(Current().GetInt(kConfigSection, key, defaultValue));
}

std::wstring Configuration::GetConfigStr(std::wstring_view key, std::wstring_view defaultValue) {
    return CutTo255Bytes(codePage_, Current().Get(kConfigSection, key).value_or(std::wstring(defaultValue)));
}

bool Configuration::SetConfig(std::wstring_view key, std::wstring_view value, std::wstring_view defaultValue,
                              bool force, Patience patience) {
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
    if (!stored && !startingUp_ && !IsQuietKey(key)) notifier_.ShowBalloon(kSaveFailedBalloon);
    return stored;
}

void Configuration::LoadOptions() {
    ProfileFile& file = Current();
    for (const OptionSpec& option : AllOptions()) {
        if (!option.loadedAtStart) continue;
        std::optional<std::wstring> stored = file.Get(kConfigSection, option.key);
        if (stored && (option.kind == OptionKind::Flag || option.kind == OptionKind::Integer))
            stored = std::to_wstring(file.GetInt(kConfigSection, option.key, ProfileIntOf(option.defaultValue)));
        options_[std::wstring(option.key)] = EffectiveValue(option, stored);
    }
}

std::wstring Configuration::Option(std::wstring_view key) const {
    const OptionSpec* option = FindOption(key);
    if (!option) return {};
    auto it = options_.find(option->key);
    return it == options_.end() ? std::wstring() : it->second;
}

int Configuration::Int(std::wstring_view key) const { return ProfileIntOf(Option(key)); }

void Configuration::SetOption(std::wstring_view key, std::wstring_view value) {
    const OptionSpec* option = FindOption(key);
    if (!option) return;
    options_[std::wstring(option->key)] = std::wstring(value);
    SetConfig(option->key, value, option->defaultValue, false);
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
