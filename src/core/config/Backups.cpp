#include "config/Backups.h"

#include <cstdio>

#include "config/ProfileFile.h"

namespace mivra {
namespace {

std::wstring Digits(int value, int width) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%0*d", width, value);
    return buffer;
}

std::wstring DateText(const CalendarTime& t) {
    return Digits(t.year, 4) + L"-" + Digits(t.month, 2) + L"-" + Digits(t.day, 2);
}

}  // namespace

std::wstring DailyBackupName(const CalendarTime& today) { return L"Mivra_Backup_" + DateText(today) + L".rcb"; }

std::vector<std::wstring> BackupsToPrune(const std::vector<std::wstring>& sortedNames, int maxBackups) {
    if (maxBackups < 0 || sortedNames.size() <= static_cast<size_t>(maxBackups)) return {};
    return {sortedNames.begin(), sortedNames.end() - maxBackups};
}

std::wstring UnreadableCopyName(std::wstring_view baseName, const CalendarTime& now) {
    return std::wstring(baseName) + L"_Unreadable_" + DateText(now) + L"_" + Digits(now.hour, 2) +
           Digits(now.minute, 2) + Digits(now.second, 2) + L".cfg";
}

bool LooksLikeConfiguration(const AnsiCodePage& codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.find('\0') != std::string_view::npos) return false;
    const ProfileFile file(codePage, std::string(bytes));
    return file.HasSection(L"Config") || file.HasSection(L"Data");
}

}  // namespace mivra
