#include "config/BackupFiles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/Files.h"
#include "base/Unique.h"
#include "paths/PathNames.h"
#include "paths/PortablePath.h"

namespace mivra::win {
namespace {

std::vector<std::wstring> BackupNamesInOrder(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    UniqueFind search(FindFirstFileW((dir + L"\\*.rcb").c_str(), &found));
    if (!search) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    // Name order without regard to case, as a file list shows them: the
    // dated names sort oldest first.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

std::wstring DirectoryOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }


}  // namespace

CalendarTime LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void MakeDailyBackup(const std::wstring& programDir, const std::wstring& configFile, int maxBackups,
                     const CalendarTime& today) {
    if (maxBackups <= 0) return;
    const std::wstring dir = CleanPath(programDir + L"\\Backup");
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring todays = dir + L"\\" + DailyBackupName(today);
    // The first start of the day wins; copy failures are not reported.
    if (!FileExists(todays)) CopyFileW(configFile.c_str(), todays.c_str(), TRUE);

    for (const std::wstring& name : BackupsToPrune(BackupNamesInOrder(dir), maxBackups)) {
        const std::wstring path = dir + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) break;  // in use or not ours: try again at the next start
    }
}

bool ExportConfiguration(const std::wstring& configFile, const std::wstring& target) {
    return CopyFileReplacing(configFile, target);
}

ImportResult ImportConfiguration(const AnsiCodePage& codePage, const std::wstring& source,
                                 const std::wstring& configFile) {
    const std::optional<std::string> bytes = ReadWholeFile(source);
    if (!bytes || !LooksLikeConfiguration(codePage, *bytes)) return ImportResult::NotAConfiguration;
    return WriteFileAtomically(configFile, *bytes) ? ImportResult::Imported : ImportResult::Failed;
}

std::wstring KeepUnreadableCopy(const std::wstring& configFile, const CalendarTime& now) {
    const std::wstring copy = DirectoryOf(configFile) + L"\\" + UnreadableCopyName(BaseNameOf(configFile), now);
    return CopyFileW(configFile.c_str(), copy.c_str(), TRUE) ? copy : std::wstring();
}

}  // namespace mivra::win
