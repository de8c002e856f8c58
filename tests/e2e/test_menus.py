"""The main menu from the title bar's menu button: its entries, a new item added to the group
shown, and the tray icon's shorter form (see test_at_hand)."""

import time
import unittest
from pathlib import Path

from mivra_e2e import (MivraSession, _run, data_file, main, needs_display, read_groups, wait_until,
                       window_geometry)

RECORD_ARGS = Path(__file__).resolve().parents[2] / "build/win/tests/win/record_args.exe"
MENU_BUTTON = (279, 15)  # the third title button from the right, in a panel 354 wide
FIRST_CELL = (88, 83)    # the centre of the first item's cell (two columns of 177 under the tabs)


@needs_display
class MainMenu(unittest.TestCase):
    def test_the_menu_button_opens_the_menu_and_a_new_empty_item_lands_in_the_group_shown(self):
        files = {"Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe")]), ("空", [])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*MENU_BUTTON)
            menu = s.wait_for_popup()
            x, y, w, h = window_geometry(menu)
            self.assertGreater(h, 170, "the panel's form holds the item commands too")
            s.screenshot("main-menu", window=False)

            # 新建快捷项目 ▸ 自定义内容 ▸ 空项目
            for key in ("Down", "Right", "Down", "Return"):
                _run("xdotool", "key", key)
                time.sleep(0.2)  # the menu's own loop reads one key at a time
            saved = wait_until(lambda: len(read_groups(s)[0][1]) == 2, 10)
            self.assertTrue(saved, f"an item added and saved: {read_groups(s)}")
            self.assertEqual(read_groups(s)[0][1][1], {"title": "", "path": "", "ico": "", "parm": "", "count": "0"})
            self.assertEqual(read_groups(s)[1][1], [], "only the group shown")


@needs_display
class ItemMenu(unittest.TestCase):
    def test_a_right_click_on_an_item_opens_its_menu_and_delete_takes_it_away(self):
        files = {"Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe"),
                                                   ("网页", "https://example.com/")])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*FIRST_CELL, button=3)
            menu = s.wait_for_popup()
            s.screenshot("item-menu", window=False)
            self.assertGreater(window_geometry(menu)[3], 200, "a local target gets every entry")
            _run("xdotool", "key", "d")  # 删除(&D)
            self.assertTrue(wait_until(lambda: [i["title"] for i in read_groups(s)[0][1]] == ["网页"], 10),
                            f"deleted and saved: {read_groups(s)}")

    def test_move_to_puts_the_item_at_the_end_of_the_other_group(self):
        files = {"Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe"), ("b", r"C:\b.exe")]),
                                         ("其他", [("c", r"C:\c.exe")])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*FIRST_CELL, button=3)
            s.wait_for_popup()
            # 管理员权限运行, 最小化运行, 打开文件位置, 资源管理器菜单, 移动到 ▸ 工具 (its own, greyed), 其他
            for key in ("Down",) * 5 + ("Right", "Down", "Return"):
                _run("xdotool", "key", key)
                time.sleep(0.2)  # the menu's own loop reads one key at a time
            moved = lambda: [[i["title"] for i in items] for _, items in read_groups(s)] == [["b"], ["c", "记事本"]]
            self.assertTrue(wait_until(moved, 10), f"moved and saved: {read_groups(s)}")
            self.assertEqual(read_groups(s)[1][1][1]["path"], r"C:\windows\notepad.exe")

    def test_explorers_own_menu_opens_for_the_items_target_and_escape_closes_it(self):
        files = {"Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe")])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*FIRST_CELL, button=3)
            item_menu = window_geometry(s.wait_for_popup())
            _run("xdotool", "key", "x")  # 资源管理器菜单(&X)
            shell_menu = wait_until(lambda: [w for w in s.program_windows()
                                             if w not in (s.wid, s.shadow())
                                             and window_geometry(w) != item_menu], 10)
            self.assertTrue(shell_menu, "the shell's menu stands where the item menu was")
            s.screenshot("explorer-menu", window=False)
            _run("xdotool", "key", "Escape")
            self.assertTrue(wait_until(lambda: not [w for w in s.program_windows() if w not in (s.wid, s.shadow())], 10),
                            "closed, nothing chosen")
            self.assertEqual(read_groups(s)[0][1][0]["title"], "记事本")

@needs_display
class ItemEditor(unittest.TestCase):
    def test_the_item_menu_opens_the_editor_and_enter_in_it_saves_what_was_typed(self):
        files = {"Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe")])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*FIRST_CELL, button=3)
            s.wait_for_popup()
            _run("xdotool", "key", "e")  # 编辑(&E)
            editor = s.wait_for_window("^Mivra 编辑$")
            self.assertEqual(window_geometry(editor)[2:], (338, 385))
            # The title box has the focus: its text is replaced by typing.
            s.key("End", "BackSpace", "BackSpace", "BackSpace", wid=editor)
            s.type_text("Notes", wid=editor)
            s.screenshot("item-editor", window=False)
            s.key("Return", wid=editor)
            self.assertTrue(wait_until(lambda: read_groups(s)[0][1][0]["title"] == "Notes", 10),
                            f"edited and saved: {read_groups(s)}")
            self.assertEqual(read_groups(s)[0][1][0]["path"], r"C:\windows\notepad.exe")
            self.assertTrue(wait_until(lambda: not s.windows("^Mivra 编辑$"), 10), "closed after confirming")

    def test_a_new_item_written_in_the_editor_from_the_main_menu_is_added_and_starts(self):
        files = {"record_args.exe": RECORD_ARGS.read_bytes(),
                 "Mivra.cfg": data_file([("工具", [("记事本", r"C:\windows\notepad.exe")])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.click(*MENU_BUTTON)
            s.wait_for_popup()
            for key in ("Down", "Right", "Return"):  # 新建快捷项目 ▸ 自定义内容
                _run("xdotool", "key", key)
                time.sleep(0.2)
            editor = s.wait_for_window("^Mivra 编辑$")
            s.type_text("Rec", wid=editor)
            s.click(100, 140, wid=editor)  # into the target box
            s.type_text(r"%rp%\record_args.exe", wid=editor)
            s.screenshot("new-item-editor", window=False)
            s.key("Return", wid=editor)
            added = lambda: [i["title"] for i in read_groups(s)[0][1]] == ["记事本", "Rec"]
            self.assertTrue(wait_until(added, 10), f"added at the end and saved: {read_groups(s)}")
            self.assertEqual(read_groups(s)[0][1][1]["path"], r"%rp%\record_args.exe")
            self.assertEqual(read_groups(s)[0][1][1]["count"], "0")
            self.assertTrue(wait_until(lambda: not s.windows("^Mivra 编辑$"), 10))
            s.click(FIRST_CELL[0] + 177, FIRST_CELL[1])  # the second cell
            self.assertTrue(wait_until(lambda: s.path("record.txt").exists(), 20), "the new item started")


if __name__ == "__main__":
    main()
