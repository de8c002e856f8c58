"""The main menu from the title bar's menu button: its entries, a new item added to the group
shown, and the tray icon's shorter form (see test_at_hand)."""

import time
import unittest

from mivra_e2e import (MivraSession, _run, data_file, main, needs_display, read_groups, wait_until,
                       window_geometry)

MENU_BUTTON = (279, 15)  # the third title button from the right, in a panel 354 wide


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

            # 新建快捷项目 ▸ (自定义内容, greyed until the editor comes) ▸ 空项目
            for key in ("Down", "Right", "Down", "Return"):
                _run("xdotool", "key", key)
                time.sleep(0.2)  # the menu's own loop reads one key at a time
            saved = wait_until(lambda: len(read_groups(s)[0][1]) == 2, 10)
            self.assertTrue(saved, f"an item added and saved: {read_groups(s)}")
            self.assertEqual(read_groups(s)[0][1][1], {"title": "", "path": "", "ico": "", "parm": "", "count": "0"})
            self.assertEqual(read_groups(s)[1][1], [], "only the group shown")


if __name__ == "__main__":
    main()
