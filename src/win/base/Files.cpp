#include "base/Files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "base/Unique.h"

namespace mivra::win {
namespace {

// Virus scanners, indexers and backup tools open files for a moment; these
// failures pass if the operation is tried again a little later.
bool IsTransient(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_USER_MAPPED_FILE;
}

std::atomic<unsigned> retrySleeps{0};

// Tries `operation` again after 20, 40, 60 ... ms while it fails for a
// reason that passes; `attempts` in all.
template <typename Operation>
bool WithRetries(Operation operation, int attempts = 10) {
    for (int attempt = 1;; ++attempt) {
        if (operation()) return true;
        if (attempt == attempts || !IsTransient(GetLastError())) return false;
        ++retrySleeps;
        Sleep(20 * attempt);
    }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    DWORD error = ERROR_SUCCESS;
    std::optional<std::string> bytes;
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size)) {
            error = GetLastError();
        } else if (size.QuadPart > (1ll << 31)) {
            error = ERROR_FILE_TOO_LARGE;
        } else {
            bytes.emplace(static_cast<size_t>(size.QuadPart), '\0');
            size_t done = 0;
            while (done < bytes->size()) {
                DWORD read = 0;
                if (!ReadFile(file.get(), bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &read,
                              nullptr)) {
                    error = GetLastError();
                    bytes.reset();
                    break;
                }
                if (read == 0) break;  // shorter than it said: take what is there
                done += read;
            }
            if (bytes) bytes->resize(done);
        }
    }
    // Closing the file must not hide why it could not be read.
    if (!bytes) SetLastError(error);
    return bytes;
}

unsigned FileRetrySleeps() { return retrySleeps; }

std::optional<std::string> ReadFileStart(const std::wstring& path, size_t limit) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(std::min<size_t>(limit, 1u << 30), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return std::nullopt;
    bytes.resize(read);
    return bytes;
}

ReadOutcome ReadWholeFilePatiently(const std::wstring& path, std::string& bytes, bool wait) {
    std::optional<std::string> read;
    WithRetries([&] { return (read = ReadWholeFile(path)).has_value(); }, wait ? 5 : 1);
    if (read) {
        bytes = std::move(*read);
        return ReadOutcome::Read;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadOutcome::Missing
                                                                           : ReadOutcome::Unreadable;
}

std::uint64_t FileStamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    const std::uint64_t time = (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                               data.ftLastWriteTime.dwLowDateTime;
    const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return (time ^ (size * 0x9E3779B97F4A7C15ull)) | 1;  // never 0 for a file that exists
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, bool wait) {
    const int attempts = wait ? 10 : 1;
    // A file the user made read-only stays as it is (the rename alone would
    // not refuse on every file system).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // The new file takes the old one's attributes (a file the user hid stays
    // hidden): the rename that puts it in place is one step, and no
    // attribute may be set afterwards.
    const DWORD keptAttributes =
        attributes == INVALID_FILE_ATTRIBUTES
            ? FILE_ATTRIBUTE_NORMAL
            : (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)) | FILE_ATTRIBUTE_NORMAL;
    // A name of this process's own: a file left by another process's
    // interrupted write, or still open in it, is never in the way.
    const std::wstring staged = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
    {
        UniqueFile file;
        if (!WithRetries(
                [&] {
                    file.reset(CreateFileW(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, keptAttributes,
                                           nullptr));
                    return static_cast<bool>(file);
                },
                attempts))
            return false;
        // Flushed before the swap: after a power cut the new name must not
        // point at a file whose data never reached the disk.
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(staged.c_str());
            return false;
        }
    }
    if (WithRetries(
            [&] {
                return MoveFileExW(staged.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
                       0;
            },
            attempts))
        return true;
    DeleteFileW(staged.c_str());
    return false;
}

bool CopyFileReplacing(const std::wstring& source, const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return WithRetries([&] { return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0; });
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace mivra::win
