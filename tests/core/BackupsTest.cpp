#include "config/Backups.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"

namespace mivra {
namespace {

TEST(Backups, NamesCarryTheDate) {
    EXPECT_EQ(DailyBackupName({2026, 3, 7}), L"Mivra_Backup_2026-03-07.rcb");
    EXPECT_EQ(UnreadableCopyName(L"Mivra", {2026, 12, 10, 5, 4, 9}), L"Mivra_Unreadable_2026-12-10_050409.cfg");
}

TEST(Backups, PruningKeepsTheNewest) {
    const std::vector<std::wstring> names = {L"Mivra_Backup_2026-01-01.rcb", L"Mivra_Backup_2026-01-02.rcb",
                                             L"Mivra_Backup_2026-01-03.rcb", L"mine.rcb"};
    EXPECT_EQ(BackupsToPrune(names, 2), (std::vector<std::wstring>{names[0], names[1]}));
    EXPECT_TRUE(BackupsToPrune(names, 4).empty());
    EXPECT_TRUE(BackupsToPrune(names, 7).empty());
    EXPECT_EQ(BackupsToPrune(names, 0).size(), 4u);
}

TEST(Backups, OnlyAConfigurationMayBeImported) {
    const test::IconvCodePage gbk("CP936");
    EXPECT_TRUE(LooksLikeConfiguration(gbk, "[Config]\r\nVersion=1.3.6\r\n"));
    EXPECT_TRUE(LooksLikeConfiguration(gbk, "[data]\r\ng=,\r\n"));
    EXPECT_FALSE(LooksLikeConfiguration(gbk, ""));
    EXPECT_FALSE(LooksLikeConfiguration(gbk, std::string("[Config]\r\n\0\x01\x02", 13)));
    EXPECT_FALSE(LooksLikeConfiguration(gbk, "just some text\r\n"));
    EXPECT_FALSE(LooksLikeConfiguration(gbk, "\x89PNG\r\n\x1a\n"));
}

}  // namespace
}  // namespace mivra
