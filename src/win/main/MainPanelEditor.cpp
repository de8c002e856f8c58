// The item editor, as the panel opens it and takes what it confirms.

#include "app/FileLocations.h"
#include "items/ItemEdits.h"
#include "main/MainPanel.h"

namespace mivra::win {
namespace {

constexpr wchar_t kDropTypedQuestion[] = L"正在编辑的项目还有未保存的修改。要放弃这些修改吗？";
constexpr wchar_t kItemGoneQuestion[] =
    L"正在编辑的项目已不存在（它或它的分组已被删除）。要把它作为新项目添加到当前分组吗？";
constexpr wchar_t kNotAddedMessage[] = L"没有可以添加项目的分组，或者该项目无法保存。";

}  // namespace

void MainPanel::OpenItemEditor(std::optional<ItemPlace> item) {
    ItemRecord* record = item ? GroupItem(item->group, item->item) : nullptr;
    if (item && !record) return;
    if (ItemEditor* open = Editor(); open && open->HasTypedChanges() &&
                                     host_.ShowMessage(kDropTypedQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetForegroundWindow(open->hwnd());
        return;
    }
    if (!editor_) {
        // Made once and kept: opened again, it only fills its boxes.
        auto editor = MakeWindow<ItemEditor>(instance_, host_, host_.Shell(),
                                             FileLocations::ForExecutable(host_.ProgramFile()).programDir,
                                             static_cast<ItemEditorEvents&>(*this));
        if (!editor->Create(shadow_ ? shadow_->hwnd() : hwnd())) return;
        editor_ = std::move(editor);
    }
    editing_ = {};
    if (record) {
        editing_ = SerialOf(*record, serials_);
        editor_->Fill(*record);
    } else {
        editor_->StartNew();
    }
    docking_.SetDialogOpen(true);
    editor_->Show();
}

bool MainPanel::EditorConfirmed(const ItemRecord& texts) {
    if (const std::wstring refusal = RefusalOf(texts); !refusal.empty()) {
        host_.ShowMessage(refusal, MB_OK | MB_ICONWARNING);
        return false;
    }
    auto& groups = host_.Groups();
    if (editing_.value != 0) {
        // The item where it is now: sorted, dragged or moved to another group meanwhile.
        if (const std::optional<ItemPlace> place = FindItem(groups, editing_)) {
            EditItem(groups[place->group - 1].Items(), place->item, texts.title, texts.path, texts.icoPath,
                     texts.argument);
            GroupEdited(place->group);
            return true;
        }
        if (host_.ShowMessage(kItemGoneQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    }
    Group* group = CurrentGroup();
    if (!group || !host_.AddItem(group->Items(), texts.title, texts.path, texts.icoPath, texts.argument, L"0")) {
        host_.ShowMessage(kNotAddedMessage, MB_OK | MB_ICONWARNING);
        return false;
    }
    GroupEdited(static_cast<size_t>(currentTab_));
    return true;
}

void MainPanel::EditorClosed() {
    docking_.SetDialogOpen(false);
    editing_ = {};
}

}  // namespace mivra::win
