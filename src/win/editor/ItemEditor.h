#pragma once
// frmEdit: the small borderless dialog in which one item's title, target,
// arguments and icon are written, with the icon's preview. It decides
// nothing about the groups: what its texts become (an edit in place, a new
// item) is its owner's, told through ItemEditorEvents. Enter confirms and
// Escape cancels wherever the focus is, also inside the multi-line boxes.

#include <windows.h>

#include <string>

#include "base/ComposedPaint.h"
#include "base/Gdi.h"
#include "base/Window.h"
#include "data/Group.h"
#include "items/ItemServices.h"
#include "items/ShellServices.h"
#include "shadow/DialogShadow.h"

namespace mivra::win {

class ItemEditorEvents {
public:
    // "确定": the owner takes the four texts (the count means nothing here).
    // False keeps the editor open, the texts as typed.
    virtual bool EditorConfirmed(const ItemRecord& texts) = 0;
    // The editor is done with (confirmed or cancelled) and hidden, kept for the next time.
    virtual void EditorClosed() = 0;

protected:
    ~ItemEditorEvents() = default;
};

// The dialog's controls, by id.
enum class EditorControl : int {
    Title = 101,
    Path,
    Argument,
    IcoPath,  // never visible: it holds the icon path the preview shows
    Convert,
    DefaultIcon,
    BrowseIcon,
    BrowseTarget,
    Ok,
    Cancel,
};

class ItemEditor final : public Window<ItemEditor> {
public:
    static constexpr int kClientWidth = 338, kClientHeight = 385;

    ItemEditor(HINSTANCE instance, ItemServices& items, ShellServices& shell, std::wstring programDir,
               ItemEditorEvents& events);
    ~ItemEditor();

    // Creates the dialog hidden, owned by `owner`. It is kept when closed
    // and opened again: made once, it appears at once.
    bool Create(HWND owner);
    // Fills the boxes from an existing item: the target before the icon path,
    // which the target's change would otherwise replace.
    void Fill(const ItemRecord& item);
    // For a new item: empty boxes, and a web address on the clipboard
    // proposed as its target.
    void StartNew();
    // Shows the dialog in front, centred on its owner's monitor, the focus on the title.
    void Show();
    // Shown and not yet confirmed or cancelled.
    bool IsOpen() const { return open_; }

    // The four texts as they stand.
    ItemRecord Texts() const;
    // Whether anything was typed or chosen since it was filled.
    bool HasTypedChanges() const { return Texts() != filled_; }
    HWND Control(EditorControl control) const { return GetDlgItem(hwnd(), static_cast<int>(control)); }
    // The icon the preview shows (SystemIcons::kNoIcon for none).
    int PreviewIcon() const { return previewIcon_; }

    // The message loop's look at a message before it is dispatched: Enter,
    // Escape and Tab are the dialog's in every control. True when handled.
    bool PreviewMessage(const MSG& msg);
    void Confirm();
    void Cancel();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateControls();
    std::wstring TextOf(EditorControl control) const;
    void SetTextOf(EditorControl control, const std::wstring& text);
    void OnCommand(int id, int notification);
    // Every change of the target: the convert button, the arguments box, and
    // the icon path, which follows the target.
    void TargetChanged();
    // The convert button's caption and state and whether arguments are taken.
    void TargetControlsFollow();
    void IconPathChanged();
    // Shown afresh: it and its boxes painted as one picture, at once.
    void PaintWhole();
    void OnPaint();
    void DrawSurface(HDC dc, const RECT& client);

    HINSTANCE instance_;
    ItemServices& items_;
    ShellServices& shell_;
    std::wstring programDir_;
    ItemEditorEvents& events_;
    UniqueGdiObject font_, textFont_, background_;
    DialogShadow shadow_;
    BackBuffer buffer_;
    ComposedPaint composed_;
    int previewIcon_ = -1;
    ItemRecord filled_;
    bool open_ = false;
    HWND focusBack_ = nullptr;  // the box or button that had the focus when the user switched away
    bool filling_ = false;  // Fill sets the boxes: their changes follow at its end
};

}  // namespace mivra::win
