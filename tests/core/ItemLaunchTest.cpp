#include "items/ItemLaunch.h"

#include <gtest/gtest.h>

#include <set>

#include "IconvCodePage.h"
#include "app/CommandLine.h"
#include "menus/MainMenuModel.h"

namespace mivra {
namespace {

const test::IconvCodePage gbk("CP936");

class RecordingActions final : public LaunchActions {
public:
    std::vector<std::wstring> done;
    bool answer = true;
    std::wstring startedProgram, startedArguments;

    void StartProgram(const std::wstring& program, const std::wstring& arguments) override {
        startedProgram = program;
        startedArguments = arguments;
        done.push_back(L"start");
    }
    void OpenSettings() override { done.push_back(L"settings"); }
    void EmptyRecycleBin() override { done.push_back(L"empty recycle bin"); }
    void DisplayOff() override { done.push_back(L"display off"); }
    void LockWorkstation() override { done.push_back(L"lock"); }
    bool Confirm(std::wstring_view question) override {
        done.push_back(L"ask " + std::wstring(question));
        return answer;
    }
    void ExitSystem(ExitMode mode) override { done.push_back(L"exit " + std::to_wstring(static_cast<int>(mode))); }
    void OpenSpecialFolder(SpecialFolder folder) override {
        done.push_back(L"folder " + std::to_wstring(static_cast<int>(folder)));
    }
    std::set<std::wstring> existing = {L"C:\\Windows\\notepad.exe", L"D:\\Mivra\\Mivra.exe"};
    bool Exists(const std::wstring& path) override { return existing.contains(path); }
    void TellNotStarted(std::wstring_view text) override { done.push_back(L"tell " + std::wstring(text)); }
};

class ItemLaunch : public ::testing::Test {
protected:
    LaunchContext context{gbk, L"D:\\Mivra\\Mivra.exe", L"D:\\Mivra",
                          [](std::wstring_view name) -> std::optional<std::wstring> {
                              if (name == L"windir" || name == L"SystemRoot") return std::wstring(L"C:\\Windows");
                              return std::nullopt;
                          }};
    RecordingActions actions;

    ItemRecord SystemItem(std::wstring_view keyword) {
        return {L"f", L"%rp%\\Mivra.exe", L"%rp%\\Mivra.exe", std::wstring(keyword), L"4"};
    }
};

TEST_F(ItemLaunch, OrdinaryTargetsGoThroughTheSecondInstance) {
    ItemRecord item{L"记事本", L"%windir%\\notepad.exe", L"", L"-x \"a b\"", L"9"};
    EXPECT_TRUE(RunItem(item, ShowMode::Minimized, L"runas", context, actions));
    EXPECT_EQ(actions.startedProgram, L"D:\\Mivra\\Mivra.exe");
    EXPECT_EQ(ReadRunRequest(gbk, actions.startedArguments),
              (RunRequest{L"runas", L"C:\\Windows\\notepad.exe", L"-x \"a b\"", L"6"}));
    EXPECT_EQ(item.count, L"10");

    // The program itself with no keyword is an ordinary target too.
    ItemRecord self{L"me", L"%rp%\\Mivra.exe", L"", L"", L"0"};
    EXPECT_TRUE(RunItem(self, ShowMode::Normal, L"", context, actions));
    EXPECT_EQ(ReadRunRequest(gbk, actions.startedArguments),
              (RunRequest{L"open", L"D:\\Mivra\\Mivra.exe", L"", L"1"}));
}

// What cannot be started is told, not handed to the shell, and not counted:
// a full local path that names nothing, and a path or arguments that the
// code page would turn into another file's name on the way to the second
// instance (a fullwidth letter, which 1252 has no form of).
TEST_F(ItemLaunch, WhatCannotBeStartedIsToldAndNotCounted) {
    const test::IconvCodePage latin("CP1252");
    struct Case {
        const AnsiCodePage& codePage;
        ItemRecord item;
        std::wstring told;  // empty: started
    };
    const Case cases[] = {
        {gbk, {L"丢失", L"E:\\gone\\a.exe", L"", L"", L"2"}, L"tell 找不到“丢失”的目标：\r\nE:\\gone\\a.exe"},
        {gbk, {L"web", L"https://example.com/", L"", L"", L"2"}, L""},
        {gbk, {L"share", L"\\\\server\\share\\a.exe", L"", L"", L"2"}, L""},
        {gbk, {L"bare", L"calc", L"", L"", L"2"}, L""},
        {gbk, {L"全角", L"%windir%\\notepad.exe", L"", L"ｃ:\\x", L"2"}, L""},
        {latin, {L"w", L"%windir%\\notepad.exe", L"", L"ｃ:\\x", L"2"},
         L"tell 无法启动“w”：路径或参数中含有系统编码无法表示的字符。\r\nC:\\Windows\\notepad.exe"},
        {latin, {L"w", L"C:\\Ｗindows\\notepad.exe", L"", L"", L"2"},
         L"tell 无法启动“w”：路径或参数中含有系统编码无法表示的字符。\r\nC:\\Ｗindows\\notepad.exe"},
    };
    for (const Case& c : cases) {
        RecordingActions recorded;
        recorded.existing.insert(L"C:\\Ｗindows\\notepad.exe");
        const LaunchContext in{c.codePage, context.programFile, context.programDir, context.environment};
        ItemRecord item = c.item;
        EXPECT_EQ(RunItem(item, ShowMode::Normal, L"open", in, recorded), c.told.empty()) << item.path;
        EXPECT_EQ(recorded.done, c.told.empty() ? std::vector<std::wstring>{L"start"} : std::vector<std::wstring>{c.told})
            << item.path;
        EXPECT_EQ(item.count, c.told.empty() ? L"3" : L"2") << item.path;
    }
}

// A system tool the main menu adds that this edition of Windows lacks (the
// group policy editor on Home editions) is told like any missing target.
TEST_F(ItemLaunch, AMissingSystemToolIsTold) {
    ItemRecord tool = SystemToolItem(3);
    EXPECT_FALSE(RunItem(tool, ShowMode::Normal, L"open", context, actions));
    EXPECT_EQ(actions.done, std::vector<std::wstring>{L"tell 找不到“组策略\u3000”的目标：\r\nC:\\Windows\\system32\\gpedit.msc"});
}

TEST_F(ItemLaunch, EmptyPathStartsNothingAndKeepsTheCount) {
    ItemRecord blank{L"", L"", L"", L"", L"3"};
    EXPECT_FALSE(RunItem(blank, ShowMode::Normal, L"open", context, actions));
    EXPECT_TRUE(actions.done.empty());
    EXPECT_EQ(blank.count, L"3");
}

TEST_F(ItemLaunch, SystemFunctionsByKeyword) {
    struct Case { std::wstring_view keyword; bool answer; std::vector<std::wstring> done; };
    const Case cases[] = {
        {L"setting", true, {L"settings"}},
        {L"EmptyRecycleBin", true, {L"empty recycle bin"}},
        {L"screenoff", true, {L"display off"}},
        {L"lockworkstation", true, {L"lock"}},
        {L"LOGOFF", true, {L"ask 确定要注销吗？", L"exit 0"}},
        {L"logoff", false, {L"ask 确定要注销吗？"}},
        {L"shutdown", true, {L"ask 确定要关机吗？", L"exit 1"}},
        {L"reboot", false, {L"ask 确定要重启吗？"}},
        {L"reboot", true, {L"ask 确定要重启吗？", L"exit 2"}},
        {L"drives", true, {L"folder 17"}},
        {L"controls", true, {L"folder 3"}},
        {L"bitbucket", true, {L"folder 10"}},
        {L"nosuchthing", true, {}},
    };
    for (const Case& c : cases) {
        RecordingActions recorded;
        recorded.answer = c.answer;
        ItemRecord item = SystemItem(c.keyword);
        EXPECT_TRUE(RunItem(item, ShowMode::Normal, L"open", context, recorded));
        EXPECT_EQ(recorded.done, c.done) << std::wstring(c.keyword);
        EXPECT_EQ(item.count, L"5") << "every branch counts, a cancelled question too";
    }
}

}  // namespace
}  // namespace mivra
