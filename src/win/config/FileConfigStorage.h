#pragma once
// The configuration file on disk, replaced atomically on every write.

#include <string>

#include "config/Configuration.h"

namespace mivra::win {

class FileConfigStorage final : public ConfigStorage {
public:
    explicit FileConfigStorage(std::wstring path) : path_(std::move(path)) {}
    StoredFile Read(Patience patience) override;
    std::uint64_t Stamp() override;
    bool Write(std::string_view bytes, Patience patience) override;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace mivra::win
