"""Summoning and dismissing the panel from anywhere: the tray icon, and its shadow."""

import unittest

from mivra_e2e import MivraSession, SHADOW, _run, main, needs_display, visible_windows, wait_until, window_geometry

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
            _click_on_screen(*slot)
            s.wait_for_window()
            x, y, w, h = s.geometry()
            self.assertEqual(window_geometry(s.shadow()), (x - SHADOW, y - SHADOW, w + 2 * SHADOW, h + 2 * SHADOW),
                             "the shadow rings the panel")

            _click_on_screen(*slot, button=3)
            menu = s.wait_for_popup()
            mx, my, mw, mh = window_geometry(menu)
            s.screenshot("tray-menu", window=False)
            _click_on_screen(mx + mw // 2, my + mh // 2)  # its one entry until the menus come: exit
            self.assertEqual(s.wait_for_exit(20), 0, "the menu's exit ends the program")
            self.assertNotIn("Handle", s.read_config().get("Config", {}))


def _click_on_screen(x, y, button=1):
    _run("xdotool", "mousemove", str(x), str(y), "click", str(button))


if __name__ == "__main__":
    main()
