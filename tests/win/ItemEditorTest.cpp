// The item editor opened from the panel's menus: what it fills, the rules of
// its target box, its keys, and what its confirmation does to the groups.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "GroupMakers.h"
#include "editor/ItemEditor.h"
#include "items/ItemEditorRules.h"
#include "items/SystemIcons.h"
#include "support/PanelFixture.h"
#include "support/WindowPixels.h"

namespace mivra::test {
namespace {

using win::EditorControl;
using win::ItemEditor;

class ItemEditorTest : public PanelTest {
protected:
    ItemEditor& Editor() {
        ItemEditor* editor = panel->Editor();
        EXPECT_TRUE(editor);
        return *editor;
    }
    std::wstring Text(EditorControl control) {
        wchar_t text[512] = L"";
        GetWindowTextW(Editor().Control(control), text, 512);
        return text;
    }
    // Replaces the box's text as typing or pasting does.
    void Type(EditorControl control, const wchar_t* text) {
        HWND box = Editor().Control(control);
        SendMessageW(box, EM_SETSEL, 0, -1);
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    void Press(EditorControl control) { SendMessageW(Editor().Control(control), BM_CLICK, 0, 0); }
    // A key as the message loop hands it over, the focus in `control`.
    bool Key(EditorControl control, WPARAM key) {
        const MSG msg{Editor().Control(control), WM_KEYDOWN, key, 0, 0, {}};
        return panel->PreviewMessage(msg);
    }
    bool Closed() {
        Pump();
        return panel->Editor() == nullptr;
    }
    static ItemRecord Item(const wchar_t* title, const wchar_t* path, const wchar_t* count = L"0") {
        return {title, path, path, L"", count};
    }
};

TEST_F(ItemEditorTest, EditsItsItemWhereverItWentAndKeepsThePanelMeanwhile) {
    Start({Group{L"A", {Item(L"a", L"C:\\a.exe"), Item(L"b", L"C:\\b.exe", L"5"), Item(L"b", L"C:\\b.exe", L"5")}},
           Group{L"B", {}}});
    host.groups[0].Items()[1].icoPath = L"C:\\b.ico";
    host.groups[0].Items()[1].argument = L"-x";
    panel->RunItemCommand(ItemCommand::Edit, 1, 2);
    ASSERT_TRUE(panel->Editor());
    EXPECT_TRUE(IsWindowVisible(Editor().hwnd()));
    EXPECT_EQ(Text(EditorControl::Title), L"b");
    EXPECT_EQ(Text(EditorControl::Path), L"C:\\b.exe");
    EXPECT_EQ(Text(EditorControl::IcoPath), L"C:\\b.ico") << "filled after the target, which resets it";
    EXPECT_EQ(Text(EditorControl::Argument), L"-x");
    RECT client{};
    GetClientRect(Editor().hwnd(), &client);
    EXPECT_EQ(client.right, ItemEditor::kClientWidth);
    EXPECT_EQ(client.bottom, ItemEditor::kClientHeight);

    // Meanwhile the item moves up (the first item deleted) and then to group B.
    panel->RunItemCommand(ItemCommand::Delete, 1, 1);
    panel->RunItemCommand(static_cast<ItemCommand>(static_cast<unsigned>(ItemCommand::MoveTo) + 1), 1, 1);
    ASSERT_EQ(host.groups[1].Items().size(), 1u);
    panel->HidePanel(HideMode::OnRequest);
    EXPECT_TRUE(IsWindowVisible(panel->hwnd())) << "the panel stays while the editor is open";

    Type(EditorControl::Title, L"renamed");
    const int saves = host.saves;
    EXPECT_TRUE(Key(EditorControl::Argument, VK_RETURN)) << "Enter confirms, also in a multi-line box";
    EXPECT_EQ(host.groups[1].Items()[0], (ItemRecord{L"renamed", L"C:\\b.exe", L"C:\\b.ico", L"-x", L"5"}));
    EXPECT_EQ(host.groups[0].Items()[0].title, L"b") << "never its twin";
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_TRUE(Closed());
    EXPECT_FALSE(panel->AutoHideLocked()) << "the user's own lock is untouched";
    panel->HidePanel(HideMode::OnRequest);
    EXPECT_FALSE(IsWindowVisible(panel->hwnd())) << "closed, it no longer keeps the panel";
}

TEST_F(ItemEditorTest, AnItemDeletedMeanwhileIsToldAndNothingElseChanges) {
    Start({Group{L"A", {Item(L"a", L"C:\\a.exe"), Item(L"", L""), Item(L"", L"")}}});
    panel->RunItemCommand(ItemCommand::Edit, 1, 2);
    panel->RunItemCommand(ItemCommand::Delete, 1, 2);
    Type(EditorControl::Title, L"filled");
    const auto before = host.groups[0].Items();
    host.answer = IDNO;
    Press(EditorControl::Ok);
    EXPECT_EQ(host.groups[0].Items(), before) << "the twin blank that took its place is another item";
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find(L"已不存在"), std::wstring::npos);
    ASSERT_TRUE(panel->Editor()) << "kept open with what was typed";
    EXPECT_EQ(Text(EditorControl::Title), L"filled");

    host.answer = IDYES;
    Press(EditorControl::Ok);
    ASSERT_EQ(host.groups[0].Items().size(), 3u) << "added as a new item when the user says so";
    EXPECT_EQ(host.groups[0].Items()[1].title, L"");
    EXPECT_EQ(host.groups[0].Items()[2].title, L"filled");
    EXPECT_TRUE(Closed());
}

TEST_F(ItemEditorTest, TheTargetSetsTheConvertButtonTheArgumentsAndTheIconPath) {
    Start({Group{L"A", {}}});
    panel->RunMainCommand(MainCommand::CustomItem);
    ASSERT_TRUE(panel->Editor());
    const auto convert = [&] {
        return std::make_pair(Text(EditorControl::Convert), IsWindowEnabled(Editor().Control(EditorControl::Convert)) != 0);
    };
    EXPECT_EQ(convert(), std::make_pair(std::wstring(kToPortableCaption), false)) << "an empty target";

    Type(EditorControl::Path, L"C:\\Mivra\\x\\run.exe");  // the fake program lives in C:\Mivra
    EXPECT_EQ(convert(), std::make_pair(std::wstring(kToPortableCaption), true));
    EXPECT_EQ(Text(EditorControl::IcoPath), L"C:\\Mivra\\x\\run.exe") << "the icon path follows the target";
    Press(EditorControl::Convert);
    EXPECT_EQ(Text(EditorControl::Path), L"%rp%\\x\\run.exe");
    EXPECT_EQ(convert(), std::make_pair(std::wstring(kToAbsoluteCaption), true));
    Press(EditorControl::Convert);
    EXPECT_EQ(Text(EditorControl::Path), L"C:\\Mivra\\x\\run.exe");

    host.shell.chosenFiles = {L"D:\\icons\\own.ico"};
    Press(EditorControl::BrowseIcon);
    EXPECT_EQ(Text(EditorControl::IcoPath), L"D:\\icons\\own.ico");
    Press(EditorControl::BrowseTarget);  // cancelled
    EXPECT_EQ(Text(EditorControl::Path), L"C:\\Mivra\\x\\run.exe");
    Press(EditorControl::DefaultIcon);
    EXPECT_EQ(Text(EditorControl::IcoPath), L"C:\\Mivra\\x\\run.exe");

    for (const wchar_t* network : {L"https://example.com/", L"\\\\server\\share\\a.exe"}) {
        Type(EditorControl::Argument, L"kept");
        Type(EditorControl::Path, network);
        EXPECT_FALSE(IsWindowEnabled(Editor().Control(EditorControl::Argument))) << network;
        EXPECT_EQ(Text(EditorControl::Argument), L"kept");
    }
    Type(EditorControl::Path, L"D:\\other.exe");
    EXPECT_TRUE(IsWindowEnabled(Editor().Control(EditorControl::Argument)));
    EXPECT_EQ(convert(), std::make_pair(std::wstring(kToPortableCaption), false)) << "another drive";
}

TEST_F(ItemEditorTest, ANewItemTakesAWebAddressFromTheClipboardAndIsAddedAtTheEnd) {
    Start({Group{L"A", {Item(L"a", L"C:\\a.exe")}}, Group{L"B", {Item(L"b", L"C:\\b.exe")}}});
    panel->SelTab(2);
    host.shell.clipboard = L"not an address";
    panel->RunMainCommand(MainCommand::CustomItem);
    EXPECT_EQ(Text(EditorControl::Path), L"");
    EXPECT_EQ(GetFocus(), Editor().Control(EditorControl::Title));
    EXPECT_TRUE(Key(EditorControl::Title, VK_ESCAPE));
    EXPECT_TRUE(Closed());
    EXPECT_EQ(host.groups[1].Items().size(), 1u) << "Escape changes nothing";

    host.shell.clipboard = L"HTTPS://EXAMPLE.COM/A";
    panel->RunMainCommand(MainCommand::CustomItem);
    EXPECT_EQ(Text(EditorControl::Path), L"HTTPS://EXAMPLE.COM/A");
    EXPECT_TRUE(Key(EditorControl::Title, VK_TAB));
    EXPECT_EQ(GetFocus(), Editor().Control(EditorControl::Path)) << "Tab goes from the title to the target";
    Pump();  // the editor settles on the screen first
    SetForegroundWindow(panel->hwnd());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == panel->hwnd(); }));
    SetForegroundWindow(Editor().hwnd());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Editor().Control(EditorControl::Path); }))
        << "switched back to, the editor gives the focus back to the box that had it";
    Type(EditorControl::Title, L"site");
    Press(EditorControl::Ok);
    ASSERT_EQ(host.groups[1].Items().size(), 2u);
    EXPECT_EQ(host.groups[1].Items()[1],
              (ItemRecord{L"site", L"HTTPS://EXAMPLE.COM/A", L"HTTPS://EXAMPLE.COM/A", L"", L"0"}));
    EXPECT_TRUE(Closed());
}

TEST_F(ItemEditorTest, TextsTheFileCannotCarryAreRefusedAndTypedChangesAreNotDroppedUnasked) {
    Start({Group{L"A", {Item(L"a", L"C:\\a.exe"), Item(L"b", L"C:\\b.exe")}}});
    panel->RunItemCommand(ItemCommand::Edit, 1, 1);
    Type(EditorControl::Argument, L"--name=\"x\",y");
    Press(EditorControl::Ok);
    EXPECT_EQ(host.groups[0].Items()[0].argument, L"");
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find(L"“参数”"), std::wstring::npos);
    ASSERT_TRUE(panel->Editor()) << "still open to mend the text";

    HWND first = Editor().hwnd();
    host.answer = IDNO;
    panel->RunItemCommand(ItemCommand::Edit, 1, 2);
    EXPECT_EQ(panel->Editor()->hwnd(), first) << "the typed changes are kept";
    EXPECT_EQ(Text(EditorControl::Argument), L"--name=\"x\",y");
    host.answer = IDYES;
    panel->RunItemCommand(ItemCommand::Edit, 1, 2);
    EXPECT_EQ(Text(EditorControl::Title), L"b") << "dropped when the user agrees";
    const size_t questions = host.messages.size();
    panel->RunItemCommand(ItemCommand::Edit, 1, 1);
    EXPECT_EQ(host.messages.size(), questions) << "nothing typed: nothing to ask";
    EXPECT_EQ(Text(EditorControl::Title), L"a");
}

TEST_F(ItemEditorTest, ThePreviewShowsTheIconOfAnExistingFileOnly) {
    host.realIcons = true;
    Start({Group{L"A", {}}});
    panel->RunMainCommand(MainCommand::CustomItem);
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    Type(EditorControl::Path, (std::wstring(system) + L"\\notepad.exe").c_str());
    EXPECT_NE(Editor().PreviewIcon(), win::SystemIcons::kNoIcon);
    Type(EditorControl::Path, L"C:\\no\\such\\file.exe");
    EXPECT_EQ(Editor().PreviewIcon(), win::SystemIcons::kNoIcon);
}

// The editor is kept once made: opened again it holds only what it was
// opened for, and appears whole at once, its boxes and buttons included.
TEST_F(ItemEditorTest, OpenedAgainItHoldsOnlyTheNewItemAndAppearsWhole) {
    ItemRecord local = Item(L"a", L"C:\\a.exe");
    local.icoPath = L"C:\\a.ico";
    local.argument = L"-x";
    const std::wstring longTarget = L"C:\\" + std::wstring(300, L'x') + L".exe";
    ItemRecord longer = Item(L"long", longTarget.c_str());
    longer.argument = std::wstring(400, L'y');
    Start({Group{L"A", {local, Item(L"web", L"http://example.com/"), longer}}});
    panel->RunItemCommand(ItemCommand::Edit, 1, 1);
    EXPECT_TRUE(Key(EditorControl::Title, VK_ESCAPE));
    ASSERT_TRUE(Closed());

    panel->RunMainCommand(MainCommand::CustomItem);
    for (EditorControl box : {EditorControl::Title, EditorControl::Path, EditorControl::IcoPath, EditorControl::Argument})
        EXPECT_EQ(Text(box), L"") << "nothing left of the item edited before: box " << static_cast<int>(box);
    EXPECT_TRUE(IsWindowEnabled(Editor().Control(EditorControl::Argument)));
    Type(EditorControl::Argument, L"typed");
    Type(EditorControl::Argument, L"");
    EXPECT_TRUE(Key(EditorControl::Title, VK_ESCAPE));
    ASSERT_TRUE(Closed());

    // Each control as it appeared, frame and scroll bar included, is what it
    // paints when asked to paint itself again.
    const auto expectAppearedWhole = [&](const char* opened) {
        HWND editor = Editor().hwnd();
        EXPECT_FALSE(GetUpdateRect(editor, nullptr, FALSE)) << opened;
        HWND shadow = nullptr;
        for (HWND w = FindWindowExW(nullptr, nullptr, L"MivraShadow", nullptr); w && !shadow;
             w = FindWindowExW(nullptr, w, L"MivraShadow", nullptr))
            if (GetWindow(w, GW_OWNER) == editor) shadow = w;
        EXPECT_TRUE(PumpUntil([&] { return shadow && IsWindowVisible(shadow); })) << opened << ": its shadow comes";
        std::vector<HWND> controls;
        for (HWND child = GetWindow(editor, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE)) << opened << ": a control waits to be painted";
            if (child != GetFocus()) controls.push_back(child);  // the focused one blinks its caret
        }
        std::vector<std::vector<COLORREF>> appeared;
        for (HWND control : controls) appeared.push_back(PixelsOf(control));
        RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (size_t i = 0; i < controls.size(); ++i)
            EXPECT_EQ(appeared[i], PixelsOf(controls[i]))
                << opened << ": control " << GetDlgCtrlID(controls[i]) << " appeared otherwise";
    };
    panel->RunItemCommand(ItemCommand::Edit, 1, 2);
    EXPECT_EQ(Text(EditorControl::Title), L"web");
    EXPECT_FALSE(SendMessageW(Editor().Control(EditorControl::Argument), EM_CANUNDO, 0, 0))
        << "nothing typed for another item can be undone into its empty arguments";
    EXPECT_EQ(Text(EditorControl::IcoPath), L"http://example.com/");
    EXPECT_FALSE(IsWindowEnabled(Editor().Control(EditorControl::Argument)));
    expectAppearedWhole("for a web address");

    // Scroll bars seen before in another state are not shown as they were.
    EXPECT_TRUE(Key(EditorControl::Title, VK_ESCAPE));
    ASSERT_TRUE(Closed());
    panel->RunItemCommand(ItemCommand::Edit, 1, 3);
    EXPECT_TRUE(IsWindowEnabled(Editor().Control(EditorControl::Argument)));
    expectAppearedWhole("for a long target");
}

}  // namespace
}  // namespace mivra::test
