"""Summoning and dismissing the panel from anywhere: the tray icon, docking at the screen's edge,
and the panel's shadow."""

import time
import unittest

from mivra_e2e import MivraSession, _run, main, needs_display, visible_windows, wait_until, window_geometry

def tray_icon_slot(session):
    """The screen point of this program's icon in Wine's tray window (bare X has no taskbar: Wine
    puts the icons in a small white window of its own). Icons line up in the order they were
    added: the last slot that is not blank is the newest icon, ours."""
    trays = visible_windows("^Wine System Tray$")
    if not trays:
        return None
    x, y, w, h = window_geometry(trays[0])
    screen = session.screenshot(window=False)
    found = None
    for left in range(0, w - h + 1, h):
        if screen.count(lambda rgb: max(rgb) < 200, (x + left, y, h, h)) > 10:
            found = (x + left + h // 2, y + h // 2)
    return found


@needs_display
class TrayIcon(unittest.TestCase):
    def test_clicks_on_the_tray_icon_show_the_panel_and_its_menu_ends_the_program(self):
        with MivraSession(self.id(), files={"Mivra.cfg": "[Config]\r\nStartToTray=1\r\n"}) as s:
            slot = wait_until(lambda: tray_icon_slot(s), 20)
            self.assertTrue(slot, "the icon is in the tray")
            self.assertEqual(s.windows(), [], "started to the tray")

            def shown_by_a_click():
                # An icon left by a program that was killed stays until Wine notices: click the newest again.
                _click_on_screen(*(tray_icon_slot(s) or slot))
                return wait_until(lambda: s.windows(), 3)
            self.assertTrue(wait_until(shown_by_a_click, 20), "a left click on the icon shows the panel")
            s.wait_for_window()
            # The shadow comes once the panel is painted.
            self.assertTrue(wait_until(s.shadow, 10), "the shadow rings the panel")

            def menu_from_a_right_click():
                _click_on_screen(*(tray_icon_slot(s) or slot), button=3)
                try:
                    return s.wait_for_popup(3)
                except AssertionError:
                    return None
            menu = wait_until(menu_from_a_right_click, 20)
            self.assertTrue(menu, "a right click on the icon opens the menu")
            mx, my, mw, mh = window_geometry(menu)
            s.screenshot("tray-menu", window=False)
            self.assertLess(mh, 170, "the tray's form leaves the item commands out")
            _click_on_screen(mx + mw // 2, my + mh - 8)  # the last entry: exit
            self.assertEqual(s.wait_for_exit(20), 0, "the menu's exit ends the program")
            self.assertNotIn("Handle", s.read_config().get("Config", {}))


@needs_display
class Docking(unittest.TestCase):
    def test_a_panel_dragged_to_the_left_edge_parks_and_slides_back_when_the_pointer_touches_it(self):
        with MivraSession(self.id()) as s:
            s.wait_for_window()
            x, y, w, h = s.geometry()
            # Drag it by the title band until its left edge is at the screen's.
            s.move(150, 15)
            _run("xdotool", "mousedown", "1")
            for step in range(1, 6):
                _run("xdotool", "mousemove", str(x + 150 - (x + 20) * step // 5), str(y + 15))
                time.sleep(0.05)
            _run("xdotool", "mouseup", "1")
            self.assertTrue(wait_until(lambda: s.geometry()[0] <= 0, 10), f"dragged to the edge: {s.geometry()}")
            top = s.geometry()[1]

            _run("xdotool", "mousemove", "700", str(top + h // 2))
            self.assertTrue(wait_until(lambda: s.geometry()[0] == -w, 10),
                            f"parked beyond the edge when the pointer went away: {s.geometry()}")
            s.screenshot("parked", window=False)
            _run("xdotool", "mousemove", "0", str(top + h // 2))
            self.assertTrue(wait_until(lambda: s.geometry()[0] == 0, 10),
                            f"back when the pointer touches the edge: {s.geometry()}")
            s.screenshot("back", window=False)


@needs_display
class HotKey(unittest.TestCase):
    def test_the_key_combination_hides_the_panel_and_shows_it_from_another_program(self):
        with MivraSession(self.id(), files={"Mivra.cfg": "[Config]\r\nEnableHotKey=1\r\n"}) as s:
            s.wait_for_window()
            s.key("alt+1", activate=True)  # the stored default
            self.assertTrue(wait_until(lambda: not s.windows(), 10), "the hotkey hides a panel on the screen")
            # A hotkey reaches Wine only while one of its windows has the X focus: another copy of the
            # program (a separate instance, and without a hotkey) stands in for the program the user is in.
            with MivraSession(self.id() + "-other") as other:
                other.wait_for_window()
                other.key("alt+1", activate=True)
                self.assertTrue(wait_until(lambda: s.windows(), 10), "the hotkey shows the hidden panel")
                self.assertTrue(other.windows(), "the other program keeps its window")


def _click_on_screen(x, y, button=1):
    _run("xdotool", "mousemove", str(x), str(y), "click", str(button))


if __name__ == "__main__":
    main()
