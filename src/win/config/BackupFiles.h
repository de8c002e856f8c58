#pragma once
// The file operations on backups of the configuration file: the daily copy,
// export, import and keeping a copy of a file whose data could not be read.

#include <string>

#include "config/Backups.h"
#include "text/AnsiCodePage.h"

namespace mivra::win {

CalendarTime LocalNow();

// Copies the configuration into programDir\Backup once per calendar day and
// prunes the oldest ".rcb" files beyond `maxBackups` (0: no backup). A file
// that cannot be deleted stops the pruning for this start.
void MakeDailyBackup(const std::wstring& programDir, const std::wstring& configFile, int maxBackups,
                     const CalendarTime& today);

// Copies the configuration to `target`, replacing it.
bool ExportConfiguration(const std::wstring& configFile, const std::wstring& target);

enum class ImportResult { Imported, NotAConfiguration, Failed };
// Puts `source` in place of the configuration, atomically, but only when it
// reads as a configuration; otherwise the current file stays.
ImportResult ImportConfiguration(const AnsiCodePage& codePage, const std::wstring& source,
                                 const std::wstring& configFile);

// Copies the configuration beside itself under a dated name; the copy's
// path, or empty when it could not be made.
std::wstring KeepUnreadableCopy(const std::wstring& configFile, const CalendarTime& now);

}  // namespace mivra::win
