#include "app/FileLocations.h"

#include <gtest/gtest.h>

#include <map>

namespace mivra {
namespace {

EnvironmentLookup Env(std::map<std::wstring, std::wstring> vars) {
    return [vars = std::move(vars)](std::wstring_view name) -> std::optional<std::wstring> {
        auto it = vars.find(std::wstring(name));
        if (it == vars.end()) return std::nullopt;
        return it->second;
    };
}

TEST(FileLocations, FilesStandBesideTheExecutable) {
    auto l = FileLocations::ForExecutable(L"D:\\Mivra\\Foo.exe");
    EXPECT_EQ(l.programDir, L"D:\\Mivra");
    EXPECT_EQ(l.programFile, L"D:\\Mivra\\Foo.exe");
    EXPECT_EQ(l.configFile, L"D:\\Mivra\\Foo.cfg");
    EXPECT_EQ(l.skinFile, L"D:\\Mivra\\Mivra.skin");
}

TEST(FileLocations, DriveRootAndNetworkShare) {
    auto root = FileLocations::ForExecutable(L"E:\\Mivra.exe");
    EXPECT_EQ(root.programDir, L"E:\\");
    EXPECT_EQ(root.programFile, L"E:\\Mivra.exe");
    EXPECT_EQ(root.configFile, L"E:\\Mivra.cfg");
    EXPECT_EQ(root.skinFile, L"E:\\Mivra.skin");

    auto share = FileLocations::ForExecutable(L"\\\\server\\tools\\my.app.exe");
    EXPECT_EQ(share.configFile, L"\\\\server\\tools\\my.app.cfg");
    EXPECT_EQ(share.skinFile, L"\\\\server\\tools\\Mivra.skin");
}

TEST(FileLocations, RefusesWindowsAndBothProgramFiles) {
    auto env = Env({{L"SystemRoot", L"C:\\Windows"}, {L"ProgramFiles", L"C:\\Program Files (x86)"}});
    auto refused = RefusedDirectories(env);
    EXPECT_EQ(refused, (std::vector<std::wstring>{L"C:\\Windows\\", L"C:\\Program Files\\",
                                                  L"C:\\Program Files (x86)\\"}));
    EXPECT_TRUE(IsInRefusedDirectory(L"C:\\Program Files (x86)\\Mivra\\Mivra.exe", refused));
    EXPECT_TRUE(IsInRefusedDirectory(L"C:\\Program Files\\Mivra\\Mivra.exe", refused));
    EXPECT_TRUE(IsInRefusedDirectory(L"C:\\Windows\\Mivra.exe", refused));
    EXPECT_FALSE(IsInRefusedDirectory(L"D:\\Mivra\\Mivra.exe", refused));
    EXPECT_FALSE(IsInRefusedDirectory(L"C:\\Program Files Portable\\Mivra.exe", refused));
    EXPECT_FALSE(IsInRefusedDirectory(L"C:\\WINDOWS\\Mivra.exe", refused));  // the test is case-sensitive

    EXPECT_EQ(RefusalMessage(env),
              L"请将 Mivra 移至非以下目录运行，否则会出现各种问题，下面将退出 Mivra。\r\n"
              L"C:\\Program Files\\\r\nC:\\Windows\\");
}

TEST(FileLocations, MissingVariablesRefuseNothing) {
    auto refused = RefusedDirectories(Env({{L"SystemRoot", L""}}));
    EXPECT_TRUE(refused.empty());
    EXPECT_FALSE(IsInRefusedDirectory(L"D:\\Mivra\\Mivra.exe", refused));
}

TEST(FileLocations, DoubledBackslashesInVariablesAreCleaned) {
    auto refused = RefusedDirectories(Env({{L"SystemRoot", L"C:\\\\Windows\\"}}));
    EXPECT_EQ(refused, std::vector<std::wstring>{L"C:\\Windows\\"});
}

// Drops and data from processes below the panel's integrity are let in only
// where Explorer itself is below it: when the panel runs elevated.
TEST(FileLocations, OnlyAnElevatedPanelAcceptsDropsFromBelow) {
    EXPECT_TRUE(AcceptsDropsFromBelow(true, true));
    EXPECT_FALSE(AcceptsDropsFromBelow(true, false));
    EXPECT_FALSE(AcceptsDropsFromBelow(false, true)) << "no integrity levels before Vista";
    EXPECT_FALSE(AcceptsDropsFromBelow(false, false));
}

}  // namespace
}  // namespace mivra
