#pragma once
// Configuration storage in memory, with switches to make reads and writes
// fail, and notifiers that record or ignore what the user would be told.

#include <optional>
#include <string>
#include <vector>

#include "config/Configuration.h"

namespace mivra::test {

class MemoryStorage final : public ConfigStorage {
public:
    std::optional<std::string> bytes;
    bool failWrites = false;
    bool failReads = false;  // the file is there but cannot be read
    int writes = 0;
    int reads = 0;

    StoredFile Read(Patience) override {
        ++reads;
        if (!bytes) return {StoredFile::State::Missing, {}};
        if (failReads) return {StoredFile::State::Unreadable, {}};
        return {StoredFile::State::Read, *bytes};
    }
    std::uint64_t Stamp() override { return bytes ? version_ : 0; }
    bool Write(std::string_view newBytes, Patience) override {
        if (failWrites) return false;
        bytes = std::string(newBytes);
        ++writes;
        ++version_;
        return true;
    }
    // A change made by someone else.
    void Replace(std::string newBytes) {
        bytes = std::move(newBytes);
        ++version_;
    }

private:
    std::uint64_t version_ = 1;
};

class RecordingNotifier final : public Notifier {
public:
    std::vector<std::wstring> balloons;
    void ShowBalloon(std::wstring_view text) override { balloons.emplace_back(text); }
};

// For benchmarks: nothing is told.
class QuietNotifier final : public Notifier {
public:
    void ShowBalloon(std::wstring_view) override {}
};

}  // namespace mivra::test
