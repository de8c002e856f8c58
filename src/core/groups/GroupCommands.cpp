#include "groups/GroupCommands.h"

#include "data/GroupTitles.h"

namespace mivra {

std::vector<std::wstring> GroupTitles(const std::vector<Group>& groups) {
    std::vector<std::wstring> titles;
    titles.reserve(groups.size());
    for (const Group& group : groups) titles.push_back(group.title);
    return titles;
}

int AddGroup(std::vector<Group>& groups, std::wstring_view title) {
    const int position = static_cast<int>(groups.size()) + 1;
    const std::wstring clean = CleanGroupTitle(title);
    const std::wstring wanted = clean.empty() ? DefaultGroupTitle(position) : clean;
    Group group;
    group.title = UniqueTitle(GroupTitles(groups), wanted, 0);
    groups.push_back(std::move(group));
    return position;
}

bool RenameGroup(std::vector<Group>& groups, int position, std::wstring_view typed) {
    if (position < 1 || position > static_cast<int>(groups.size())) return false;
    const std::wstring clean = CleanGroupTitle(typed);
    if (clean.empty()) return false;
    groups[position - 1].title = UniqueTitle(GroupTitles(groups), clean, position);
    return true;
}

int DefaultGroupPosition(int deletedPosition) { return deletedPosition == 1 ? 2 : 1; }

std::wstring DeleteGroupQuestion(std::wstring_view defaultGroupTitle) {
    return L"选定的分组将被删除，组内项目将会移至默认分组「" + std::wstring(defaultGroupTitle) + L"」。\r\n确定删除选定分组吗？";
}

int DeleteGroup(std::vector<Group>& groups, int position) {
    const int count = static_cast<int>(groups.size());
    if (count < 2 || position < 1 || position > count) return 0;
    std::vector<ItemRecord> moved = std::move(groups[position - 1].Items());
    std::vector<ItemRecord>& target = groups[DefaultGroupPosition(position) - 1].Items();
    target.insert(target.end(), std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    groups.erase(groups.begin() + (position - 1));
    return position == 1 ? 1 : position - 1;
}

void DeleteAllGroups(std::vector<Group>& groups) {
    groups.clear();
    AddGroup(groups, L"");
}

}  // namespace mivra
