#pragma once
// Configuration storage in memory, with a switch to make writes fail.

#include <optional>
#include <string>
#include <vector>

#include "config/Configuration.h"

namespace mivra::test {

class MemoryStorage final : public ConfigStorage {
public:
    std::optional<std::string> bytes;
    bool failWrites = false;
    int writes = 0;

    std::optional<std::string> Read() override { return bytes; }
    std::uint64_t Stamp() override { return bytes ? version_ : 0; }
    bool Write(std::string_view newBytes) override {
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

}  // namespace mivra::test
