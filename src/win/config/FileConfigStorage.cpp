#include "config/FileConfigStorage.h"

#include "base/Files.h"

namespace mivra::win {

std::optional<std::string> FileConfigStorage::Read() { return ReadWholeFile(path_); }
std::uint64_t FileConfigStorage::Stamp() { return FileStamp(path_); }
bool FileConfigStorage::Write(std::string_view bytes) { return WriteFileAtomically(path_, bytes); }

}  // namespace mivra::win
