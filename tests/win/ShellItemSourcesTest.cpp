// Shortcuts, files and environment read through the real shell under Wine:
// shortcuts are made here with the shell's own link object and read back.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "base/ComPtr.h"
#include "base/Unique.h"
#include "items/ShellItemSources.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

win::ComPtr<IShellLinkW> NewLink() {
    win::ComPtr<IShellLinkW> link;
    EXPECT_TRUE(win::EnsureComOnThisThread());
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                              reinterpret_cast<void**>(link.put())));
    return link;
}

void Save(const win::ComPtr<IShellLinkW>& link, const std::filesystem::path& file) {
    win::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
    ASSERT_TRUE(persist);
    ASSERT_HRESULT_SUCCEEDED(persist->Save(file.c_str(), TRUE));
}

void MakeShortcut(const std::filesystem::path& file, const std::wstring& target, const std::wstring& arguments) {
    win::ComPtr<IShellLinkW> link = NewLink();
    ASSERT_TRUE(link);
    ASSERT_HRESULT_SUCCEEDED(link->SetPath(target.c_str()));
    ASSERT_HRESULT_SUCCEEDED(link->SetArguments(arguments.c_str()));
    Save(link, file);
}

TEST(ShellItemSources, ReadsTheTargetAndArgumentsOfShortcuts) {
    ScratchDir scratch(L"mivra-item-sources");
    std::filesystem::create_directories(scratch / L"工具箱");
    std::filesystem::create_directories(scratch / L"My Tools");
    struct Case {
        const wchar_t* name;
        std::filesystem::path target;
        std::wstring arguments;
        bool removeTarget;
    };
    const Case cases[] = {
        {L"plain.lnk", scratch / L"tool.exe", L"--open \"C:\\My Files\\报告 2026.txt\" -x", false},
        {L"chinese.lnk", scratch / L"工具箱" / L"程序.exe", L"", false},
        {L"spaces.lnk", scratch / L"My Tools" / L"run me.cmd", L"a  b", false},
        {L"gone.lnk", scratch / L"removed.exe", L"/q", true},
        // Longer than the 1,023 characters of a tip buffer.
        {L"long.lnk", scratch / L"long.exe", L"--list " + std::wstring(3000, L'a') + L" end", false},
    };
    for (const Case& c : cases) {
        WriteBytes(c.target, "MZ");
        MakeShortcut(scratch / c.name, c.target.wstring(), c.arguments);
        if (c.removeTarget) std::filesystem::remove(c.target);
    }
    win::ShellItemSources sources;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = sources.ReadShortcut((scratch / c.name).wstring());
        ASSERT_TRUE(read);
        EXPECT_TRUE(_wcsicmp(read->path.c_str(), c.target.c_str()) == 0) << read->path;
        EXPECT_EQ(read->arguments, c.arguments);
        EXPECT_FALSE(sources.AdvertisedShortcutPath((scratch / c.name).wstring()));
    }
}

TEST(ShellItemSources, AShortcutWithoutAFileTargetHasAnEmptyPath) {
    ScratchDir scratch(L"mivra-item-sources");
    // "Computer", not the desktop: the desktop's id list reads back as its folder path.
    const win::UniqueIdList computer = win::SpecialFolderIdList(CSIDL_DRIVES);
    ASSERT_TRUE(computer);
    win::ComPtr<IShellLinkW> link = NewLink();
    ASSERT_TRUE(link);
    ASSERT_HRESULT_SUCCEEDED(link->SetIDList(computer.get()));
    Save(link, scratch / L"computer.lnk");

    const auto read = win::ShellItemSources().ReadShortcut((scratch / L"computer.lnk").wstring());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->path, L"");
}

TEST(ShellItemSources, WhatIsNotAShortcutCannotBeRead) {
    ScratchDir scratch(L"mivra-item-sources");
    WriteBytes(scratch / L"text.lnk", "not a shortcut at all");
    WriteBytes(scratch / L"empty.lnk", "");
    win::ShellItemSources sources;
    for (const wchar_t* name : {L"text.lnk", L"empty.lnk", L"missing.lnk"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(sources.ReadShortcut((scratch / name).wstring()));
        EXPECT_FALSE(sources.AdvertisedShortcutPath((scratch / name).wstring()));
    }
}

TEST(ShellItemSources, ReadsFilesAndSeesFilesAndFolders) {
    ScratchDir scratch(L"mivra-item-sources");
    std::filesystem::create_directories(scratch / L"文件夹");
    const std::string bytes("a\0b\r\n\xff", 6);
    WriteBytes(scratch / L"文件夹" / L"数据.bin", bytes);
    WriteBytes(scratch / L"empty.txt", "");
    // A large file of an internet shortcut's name: only its start is read.
    const std::string large(kMostItemFileBytes * 3, 'u');
    WriteBytes(scratch / L"large.url", large);
    struct Case {
        std::filesystem::path path;
        bool exists;
        std::optional<std::string> contents;
    };
    const Case cases[] = {
        {scratch / L"文件夹" / L"数据.bin", true, bytes},
        {scratch / L"empty.txt", true, std::string()},
        {scratch / L"large.url", true, large.substr(0, kMostItemFileBytes)},
        {scratch / L"文件夹", true, std::nullopt},
        {scratch.path(), true, std::nullopt},
        {scratch / L"missing.txt", false, std::nullopt},
        {scratch / L"missing" / L"file.txt", false, std::nullopt},
    };
    win::ShellItemSources sources;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        EXPECT_EQ(sources.Exists(c.path.wstring()), c.exists);
        EXPECT_EQ(sources.ReadFile(c.path.wstring()), c.contents);
    }
}

TEST(ShellItemSources, ReadsEnvironmentVariables) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"MIVRA_ITEM(x86)", L"D:\\程序 (x86)"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"MIVRA_ITEM_EMPTY", L""));
    SetEnvironmentVariableW(L"MIVRA_ITEM_UNSET", nullptr);
    struct Case {
        const wchar_t* name;
        std::optional<std::wstring> value;
    };
    const Case cases[] = {
        {L"MIVRA_ITEM(x86)", L"D:\\程序 (x86)"},
        {L"mivra_item(X86)", L"D:\\程序 (x86)"},
        {L"MIVRA_ITEM_EMPTY", L""},
        {L"MIVRA_ITEM_UNSET", std::nullopt},
    };
    win::ShellItemSources sources;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sources.Environment(c.name), c.value);
    }
}

}  // namespace
}  // namespace mivra::test
