// The commands on groups, and the panel's stored rectangle.

#include <gtest/gtest.h>

#include "groups/GroupCommands.h"
#include "layout/PanelBounds.h"

namespace mivra {
namespace {

std::vector<Group> Groups(std::initializer_list<std::pair<const wchar_t*, int>> shape) {
    std::vector<Group> groups;
    for (const auto& [title, count] : shape) {
        Group group{title, {}};
        for (int i = 1; i <= count; ++i)
            group.Items().push_back({std::wstring(title) + std::to_wstring(i), L"p", L"i", L"a", std::to_wstring(i)});
        groups.push_back(group);
    }
    return groups;
}

TEST(GroupCommandsTest, NewGroupsAreNamedByPositionAndMadeUnique) {
    auto groups = Groups({{L"A", 0}, {L"B", 0}});
    EXPECT_EQ(AddGroup(groups, L""), 3);
    EXPECT_EQ(groups[2].title, L"3分组");
    groups[0].title = L"4分组";
    AddGroup(groups, L"");
    EXPECT_EQ(groups[3].title, L"2 4分组");
    AddGroup(groups, L"B");
    EXPECT_EQ(groups[4].title, L"2 B");
}

TEST(GroupCommandsTest, RenameKeepsTheOldNameForEmptyText) {
    auto groups = Groups({{L"A", 0}, {L"B", 0}});
    EXPECT_FALSE(RenameGroup(groups, 1, L"   "));
    EXPECT_FALSE(RenameGroup(groups, 1, L"=="));
    EXPECT_EQ(groups[0].title, L"A");
    EXPECT_TRUE(RenameGroup(groups, 1, L"B"));
    EXPECT_EQ(groups[0].title, L"2 B");
    EXPECT_TRUE(RenameGroup(groups, 2, L"B"));
    EXPECT_EQ(groups[1].title, L"B") << "a group does not clash with itself";
    EXPECT_FALSE(RenameGroup(groups, 3, L"x"));
}

TEST(GroupCommandsTest, DeletingMovesTheItemsToTheDefaultGroup) {
    struct Case {
        int deleted;
        int target;  // position (after the deletion) that holds the moved items
        int selected;
    };
    for (const Case c : {Case{1, 1, 1}, Case{2, 1, 1}, Case{3, 1, 2}}) {
        auto groups = Groups({{L"A", 2}, {L"B", 1}, {L"C", 3}});
        const Group deleted = groups[c.deleted - 1];
        const Group target = groups[DefaultGroupPosition(c.deleted) - 1];
        EXPECT_EQ(DeleteGroup(groups, c.deleted), c.selected) << c.deleted;
        ASSERT_EQ(groups.size(), 2u);
        const Group& now = groups[c.target - 1];
        EXPECT_EQ(now.title, target.title);
        ASSERT_EQ(now.Items().size(), target.Items().size() + deleted.Items().size());
        // The moved items follow the group's own, unchanged (counts too).
        for (size_t i = 0; i < deleted.Items().size(); ++i)
            EXPECT_EQ(now.Items()[target.Items().size() + i], deleted.Items()[i]);
    }
    auto single = Groups({{L"A", 1}});
    EXPECT_EQ(DeleteGroup(single, 1), 0) << "the last group stays";
    EXPECT_EQ(single.size(), 1u);
}

TEST(GroupCommandsTest, QuestionsAndDeleteAll) {
    EXPECT_EQ(DeleteGroupQuestion(L"工作"), L"选定的分组将被删除，组内项目将会移至默认分组「工作」。\r\n确定删除选定分组吗？");
    auto groups = Groups({{L"A", 2}, {L"B", 1}});
    DeleteAllGroups(groups);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].title, L"1分组");
    EXPECT_TRUE(groups[0].Items().empty());
}

TEST(PanelBoundsTest, StoredRectanglesInTwips) {
    EXPECT_EQ(ParseStoredBounds(L"1500,3000,5310,6000", 15, 15), (Box{100, 200, 354, 400}));
    EXPECT_EQ(ParseStoredBounds(L"1507.5, 2992.4 ,5310,6000,99", 15, 15), (Box{101, 199, 354, 400}));
    EXPECT_EQ(ParseStoredBounds(L"-3000,0,5310,6000", 15, 15), (Box{-200, 0, 354, 400}));
    for (const wchar_t* bad : {L"", L"1,2,3", L"1,2,3,x", L"1,2,0,5", L"a,b,c,d", L"1,,3,4", L"1e400,0,10,10"})
        EXPECT_FALSE(ParseStoredBounds(bad, 15, 15)) << bad;
    EXPECT_EQ(FormatStoredBounds(Box{100, -20, 354, 400}, 15, 15), L"1500,-300,5310,6000");
    EXPECT_EQ(DefaultBounds(1024, 768), (Box{268, 147, 354, 400}));
}

}  // namespace
}  // namespace mivra
