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

enum class ReadOutcome { Read, Missing, Unreadable };
// ReadWholeFile that tries again for a moment (about 300 ms at most) while
// another program holds the file, and tells a missing file from one that
// exists but cannot be read.
ReadOutcome ReadWholeFilePatiently(const std::wstring& path, std::string& bytes);

// Size and last-write time folded into one number; 0 when the file is missing.
std::uint64_t FileStamp(const std::wstring& path);

// Writes `bytes` to a file beside `path`, flushes it to the disk and then
// puts it in place of `path` in one step, so that a crash at any moment
// leaves either the old file or the new one. Retries for a short while when
// a scanner or indexer holds the file. False when the file could not be
// replaced (the old one is then untouched).
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);

// CopyFile that also clears a read-only target first; false on failure.
bool CopyFileReplacing(const std::wstring& source, const std::wstring& target);

bool FileExists(const std::wstring& path);

}  // namespace mivra::win
