"""The panel with a data file: groups and items on the screen, switching groups, starting an
item, reordering by drag, dropping files, renaming a group, closing through the title bar."""

import subprocess
import time
import unittest

from mivra_e2e import (ROOT, MivraSession, data_file, main, near, needs_display, read_groups,
                       wait_until)

RECORD_ARGS = ROOT / "build/win/tests/win/record_args.exe"

TITLE_BAR = 30         # the title bar's height
TAB_TOP = TITLE_BAR    # the group bar sits right under it (bar at the top)
TAB_W, TAB_H = 70, 28  # one row of cells in a panel 354 wide
ITEMS_TOP = TITLE_BAR + 30
CELL_W, CELL_H = 177, 46  # many columns, medium icons, captions at the right: two columns
ICON = 32

WHITE = (255, 255, 255)
TITLE_BAND = (230, 230, 230)
SELECTED_TAB = (228, 238, 250)
SELECTION = (48, 150, 250)  # selected text in an edit box

NOTEPAD = r"C:\windows\notepad.exe"
REGEDIT = r"C:\windows\regedit.exe"


def fixture(config=None):
    return data_file([
        ("工作", [("A", NOTEPAD), ("B", REGEDIT), ("C", NOTEPAD)]),
        ("游戏", [("记事本", NOTEPAD), ("注册表", REGEDIT)]),
        ("空", []),
    ], config)


def tab_centre(position):
    return ((TAB_W + 1) * (position - 1) + TAB_W // 2, TAB_TOP + 1 + TAB_H // 2)


def tab_face(position):
    """A point of the tab's face left of its caption."""
    return ((TAB_W + 1) * (position - 1) + 10, TAB_TOP + 1 + TAB_H // 2)


def cell_origin(item):
    return (CELL_W * ((item - 1) % 2), ITEMS_TOP + CELL_H * ((item - 1) // 2))


def cell_centre(item):
    x, y = cell_origin(item)
    return x + CELL_H // 2, y + CELL_H // 2


def icon_painted(shot, item):
    """Whether the icon place of an item's cell shows something other than the background."""
    x, y = cell_origin(item)
    left, top = x + (CELL_H - ICON) // 2, y + (CELL_H - ICON) // 2
    # Until the item panel is painted the title bar's colour fills the place.
    return shot.count(lambda rgb: rgb not in (WHITE, TITLE_BAND), (left, top, ICON, ICON)) > ICON * ICON // 8


def loaded(shot):
    return shot.pixel(*tab_face(1)) in (WHITE, SELECTED_TAB) and shot.pixel(5, 5) == TITLE_BAND


def item_titles(session, group):
    return [item["title"] for item in dict(read_groups(session))[group]]


@needs_display
class Panel(unittest.TestCase):
    def test_shows_the_stored_group_and_its_items(self):
        with MivraSession(self.id(), files={"Mivra.cfg": fixture({"ActivatedTab": "2", "CloseToTray": "0"})}) as s:
            s.wait_for_window()
            s.move(300, 380)  # the pointer rests on no tab and no item
            shot = s.capture_until(lambda img: loaded(img) and icon_painted(img, 1), label="group2")
            self.assertEqual(shot.pixel(*tab_face(2)), SELECTED_TAB, "the stored group is selected")
            for position in (1, 3):
                self.assertEqual(shot.pixel(*tab_face(position)), WHITE)
            self.assertEqual([icon_painted(shot, i) for i in (1, 2, 3, 4)], [True, True, False, False],
                             "two cells painted for the two items of the group")

            # A click on a tab selects it; the empty group shows its hint instead of cells.
            s.click(*tab_centre(3))
            shot = s.capture_until(lambda img: img.pixel(*tab_face(3)) == SELECTED_TAB, label="group3")
            self.assertEqual(shot.pixel(*tab_face(2)), WHITE)
            self.assertFalse(icon_painted(shot, 1))
            hint = (0, ITEMS_TOP + 100, shot.width, 120)
            self.assertGreater(shot.count(lambda rgb: max(rgb) < 160, hint), 50, "the empty-group hint")

            # Quit with "close to tray" off ends the program, storing the group.
            s.click(shot.width - 15, 15)
            self.assertEqual(s.wait_for_exit(20), 0)
            config = s.read_config()["Config"]
            self.assertEqual(config.get("ActivatedTab"), "3")
            self.assertNotIn("Handle", config)

    def test_clicking_an_item_starts_it_and_counts(self):
        with MivraSession(self.id(), files={
                "record_args.exe": RECORD_ARGS.read_bytes(),
                "Mivra.cfg": data_file([("G", [("Rec", r"%rp%\record_args.exe", "", "--hello", "4")])])}) as s:
            s.wait_for_window()
            s.capture_until(lambda img: loaded(img) and icon_painted(img, 1))
            s.click(*cell_centre(1))
            self.assertTrue(wait_until(lambda: s.path("record.txt").exists(), 20), "the target was started")
            record = s.path("record.txt").read_bytes().decode("utf-16-le").split("\n")
            self.assertIn("--hello", record[0])
            self.assertEqual(record[1].rstrip("\\").lower(), ("z:" + str(s.folder).replace("/", "\\")).lower(),
                             "started in its own folder")
            self.assertTrue(wait_until(lambda: read_groups(s)[0][1][0]["count"] == "5", 10), s.config_text())

    def test_typing_searches_every_group_and_enter_starts_the_result_in_its_group(self):
        with MivraSession(self.id(), files={
                "record_args.exe": RECORD_ARGS.read_bytes(),
                "Mivra.cfg": data_file([("工作", [("Notepad", NOTEPAD, NOTEPAD, "", "9")]),
                                        ("工具", [("Recorder", r"%rp%\record_args.exe", "", "--found", "4"),
                                                 ("Regedit", REGEDIT, REGEDIT, "", "1")])])}) as s:
            s.wait_for_window()
            s.capture_until(lambda img: loaded(img) and icon_painted(img, 1))
            s.activate()
            s.type_text("re")
            # The query strip, then one row of 30 pixels per result: both "re" items of group 2.
            shot = s.capture_until(lambda img: img.pixel(*tab_face(1)) not in (WHITE, SELECTED_TAB), label="search")
            self.assertNotIn(shot.pixel(*tab_face(1)), (WHITE, SELECTED_TAB), "the group bar gave way to the search box")
            s.key("Return")
            self.assertTrue(wait_until(lambda: s.path("record.txt").exists(), 20), "the first result was started")
            self.assertIn("--found", s.path("record.txt").read_bytes().decode("utf-16-le"))
            self.assertTrue(wait_until(lambda: dict(read_groups(s))["工具"][0]["count"] == "5", 10), s.config_text())
            self.assertEqual(dict(read_groups(s))["工作"][0]["count"], "9")
            # Search mode ends with the start: the group bar is back.
            s.capture_until(lambda img: img.pixel(*tab_face(1)) in (WHITE, SELECTED_TAB), label="after")

    def test_dragging_item_3_onto_item_1(self):
        with MivraSession(self.id(), files={"Mivra.cfg": fixture()}) as s:
            s.wait_for_window()
            s.capture_until(lambda img: loaded(img) and icon_painted(img, 3))
            x0, y0 = cell_centre(3)
            x1, y1 = cell_centre(1)
            s.move(x0, y0)
            subprocess.run(["xdotool", "mousedown", "1"], check=True)
            for step in range(1, 6):
                s.move(x0 + (x1 - x0) * step // 5, y0 + (y1 - y0) * step // 5)
                time.sleep(0.05)
            subprocess.run(["xdotool", "mouseup", "1"], check=True)
            self.assertTrue(wait_until(lambda: item_titles(s, "工作") == ["C", "A", "B"], 10), s.config_text())

    def test_dropping_three_files_adds_three_items(self):
        files = {"Mivra.cfg": fixture({"ActivatedTab": "3"}),
                 "docs/报告.txt": "x", "docs/R&D.doc": "x", "docs/Photos/a.txt": "x"}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.capture_until(loaded)
            docs = s.path("docs")
            s.drop_files([docs / "报告.txt", docs / "R&D.doc", docs / "Photos"], 200, 250)
            self.assertTrue(wait_until(lambda: len(dict(read_groups(s))["空"]) == 3, 10), s.config_text())
            items = dict(read_groups(s))["空"]
            self.assertEqual([i["title"] for i in items], ["报告", "R&&D", "Photos"])
            self.assertEqual([i["count"] for i in items], ["0", "0", "0"])
            s.capture_until(lambda img: icon_painted(img, 3), label="dropped")

    def test_renaming_a_group_in_place(self):
        with MivraSession(self.id(), files={"Mivra.cfg": fixture()}) as s:
            s.wait_for_window()
            s.capture_until(loaded)
            s.click(*tab_centre(2), count=2)
            # The rename box shows the title selected.
            x, y = tab_centre(2)
            s.capture_until(lambda img: img.count(near(SELECTION, 30), (x - TAB_W // 2, y - 10, TAB_W, 20)) > 20,
                            label="rename-box")
            s.key("ctrl+a")
            s.type_text("Games")
            s.key("Return")
            self.assertTrue(wait_until(lambda: [g for g, _ in read_groups(s)] == ["工作", "Games", "空"], 10),
                            s.config_text())
            self.assertEqual(item_titles(s, "Games"), ["记事本", "注册表"])

    def test_group_menu(self):
        with MivraSession(self.id(), files={"Mivra.cfg": fixture()}) as s:
            s.wait_for_window()
            s.capture_until(loaded)
            titles = lambda: [g for g, _ in read_groups(s)]

            # On the empty tab "空": delete asks nothing for an empty group.
            s.click(*tab_centre(3), button=3)
            s.wait_for_popup()
            s.screenshot("menu-on-tab")
            s.key("d")
            self.assertTrue(wait_until(lambda: titles() == ["工作", "游戏"], 10), s.config_text())

            # On empty bar rename and delete are disabled; new group is there.
            s.click(300, TAB_TOP + 15, button=3)
            s.wait_for_popup()
            s.screenshot("menu-on-bar")
            s.key("a")
            self.assertTrue(wait_until(lambda: titles() == ["工作", "游戏", "3分组"], 10), s.config_text())

            # Deleting a group with items asks first, naming the default group.
            s.click(*tab_centre(2), button=3)
            s.wait_for_popup()
            s.key("d")
            question = wait_until(lambda: [w for w in s.windows() if w != s.wid], 10)
            self.assertTrue(question, "a question box")
            s.key("Return", wid=question[0])
            self.assertTrue(wait_until(lambda: titles() == ["工作", "3分组"], 10), s.config_text())
            self.assertEqual(item_titles(s, "工作"), ["A", "B", "C", "记事本", "注册表"])

    def test_quit_hides_the_panel_when_closing_to_tray(self):
        with MivraSession(self.id(), files={"Mivra.cfg": fixture({"CloseToTray": "1"})}) as s:
            s.wait_for_window()
            s.capture_until(loaded)
            x, y, w, h = s.geometry()
            s.click(w - 15, 15)
            self.assertTrue(wait_until(lambda: not s.windows(), 10), "the panel is hidden")
            self.assertTrue(s.running(), "the program goes on in the tray")


if __name__ == "__main__":
    main()
