#pragma once
// Backups of the configuration file: the daily copy, its pruning, and the
// check that a file offered for import is a configuration at all.

#include <string>
#include <string_view>
#include <vector>

#include "text/AnsiCodePage.h"

namespace mivra {

struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "Mivra_Backup_yyyy-MM-dd.rcb": one automatic copy per calendar day.
std::wstring DailyBackupName(const CalendarTime& today);

// Which of the backups (names in name order, so oldest date first) go so
// that at most `maxBackups` stay.
std::vector<std::wstring> BackupsToPrune(const std::vector<std::wstring>& sortedNames, int maxBackups);

// The name under which a configuration whose data could not be read is kept:
// "<base>_Unreadable_yyyy-MM-dd_HHmmss.cfg".
std::wstring UnreadableCopyName(std::wstring_view baseName, const CalendarTime& now);

// A file may replace the configuration only if it reads as one: not empty,
// text (no NUL bytes), and holding a section "Config" or "Data".
bool LooksLikeConfiguration(const AnsiCodePage& codePage, std::string_view bytes);

inline constexpr wchar_t kImportRefusedMessage[] =
    L"所选文件不是有效的 Mivra 备份文件，现有的设置和数据没有改动。";

}  // namespace mivra
