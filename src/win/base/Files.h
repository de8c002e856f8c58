#pragma once
// Whole-file reads and atomic whole-file writes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mivra::win {

// The file's bytes; nullopt when it is missing or cannot be read (then
// GetLastError tells why).
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// At most the first `limit` bytes of the file; nullopt when it cannot be read.
std::optional<std::string> ReadFileStart(const std::wstring& path, size_t limit);

enum class ReadOutcome { Read, Missing, Unreadable };
// ReadWholeFile that tells a missing file from one that exists but cannot be
// read, and with `wait` tries again for a moment (about 300 ms at most)
// while another program holds the file.
ReadOutcome ReadWholeFilePatiently(const std::wstring& path, std::string& bytes, bool wait = true);

// Size and last-write time folded into one number; 0 when the file is missing.
std::uint64_t FileStamp(const std::wstring& path);

// Writes `bytes` to a file beside `path`, flushes it to the disk and then
// puts it in place of `path` in one step, so that a crash at any moment
// leaves either the old file or the new one. With `wait`, retries for a
// short while when a scanner or indexer holds the file. False when the file
// could not be replaced (the old one is then untouched).
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, bool wait = true);

// How many times this process has slept to try a file again (a diagnostic
// for tests: the user-interface thread must not sleep for a quick write).
unsigned FileRetrySleeps();

// CopyFile that also clears a read-only target first; false on failure.
bool CopyFileReplacing(const std::wstring& source, const std::wstring& target);

bool FileExists(const std::wstring& path);

}  // namespace mivra::win
