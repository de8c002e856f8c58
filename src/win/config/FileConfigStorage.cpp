#include "config/FileConfigStorage.h"

#include "base/Files.h"

namespace mivra::win {

StoredFile FileConfigStorage::Read(Patience patience) {
    StoredFile stored;
    switch (ReadWholeFilePatiently(path_, stored.bytes, patience == Patience::WaitBriefly)) {
    case ReadOutcome::Read: stored.state = StoredFile::State::Read; break;
    case ReadOutcome::Missing: stored.state = StoredFile::State::Missing; break;
    case ReadOutcome::Unreadable: stored.state = StoredFile::State::Unreadable; break;
    }
    return stored;
}
std::uint64_t FileConfigStorage::Stamp() { return FileStamp(path_); }
bool FileConfigStorage::Write(std::string_view bytes, Patience patience) {
    return WriteFileAtomically(path_, bytes, patience == Patience::WaitBriefly);
}

}  // namespace mivra::win
