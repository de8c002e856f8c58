"""What a plain start of Mivra.exe shows, and what closing its panel leaves behind."""

import unittest

from mivra_e2e import MivraSession, encode_text, main, near, needs_display, wait_until

PANEL_SIZE = (354, 400)
TITLE_HEIGHT = 30
TITLE_BAND = (230, 230, 230)
TITLE_TEXT = (90, 90, 90)
BACKGROUND = (255, 255, 255)
BUTTON = 30  # each title-bar button is 30 pixels square


def painted(img):
    # The first group is shown once the data has been loaded: its tab is drawn under the title.
    return img.width > TITLE_HEIGHT and img.pixel(img.width // 2, 2) == TITLE_BAND and \
        img.pixel(img.width // 2, TITLE_HEIGHT + 10) == BACKGROUND


@needs_display
class PlainStart(unittest.TestCase):
    def test_shows_one_borderless_panel(self):
        with MivraSession(self.id()) as s:
            s.wait_for_window()
            self.assertEqual(len(s.windows()), 1, "a plain start shows exactly one panel")
            self.assertEqual(s.window_name(), "Mivra")
            self.assertEqual(s.geometry()[2:], PANEL_SIZE, "no frame around the panel")
            s.move(PANEL_SIZE[0] // 2, PANEL_SIZE[1] - 10)

            shot = s.capture_until(painted)
            self.assertGreater(s.last_screenshot.stat().st_size, 0, "the screenshot is kept as an artifact")
            w, h = shot.width, shot.height

            # The title band: logo, dark title text, then plain band up to four buttons at the right.
            self.assertEqual(shot.colours((0, 0, w, 2)), {TITLE_BAND}, "no outline without a skin border")
            self.assertGreater(shot.count(lambda rgb: rgb != TITLE_BAND, (7, 7, 16, 16)), 60, "the logo")
            self.assertGreater(shot.count(near(TITLE_TEXT, 40), (30, 0, 80, TITLE_HEIGHT)), 5, "the title")
            self.assertEqual(shot.colours((120, 0, w - 4 * BUTTON - 120, TITLE_HEIGHT)), {TITLE_BAND})
            for button in range(4):
                left = w - (4 - button) * BUTTON
                glyph = shot.count(lambda rgb: max(rgb) < 200, (left, 0, BUTTON, BUTTON))
                self.assertGreater(glyph, 8, f"button {button} shows its glyph")

            # One empty group: its tab at the top left and the hint in the middle of a white body.
            body = (0, TITLE_HEIGHT + 31, w, h - TITLE_HEIGHT - 31)
            self.assertGreater(shot.count(lambda rgb: rgb == BACKGROUND, body), body[2] * body[3] * 9 // 10)
            hint = (0, h // 2 - 40, w, 100)
            self.assertGreater(shot.count(lambda rgb: max(rgb) < 160, hint), 100, "the empty-group hint")

    def test_a_skin_placed_by_hand_is_removed_and_the_own_look_used(self):
        skin = encode_text("Name=Hand\rBGColor=200,0,0\r").encode("gbk")
        with MivraSession(self.id(), files={"Mivra.skin": skin, "Mivra.cfg": "[Config]\r\nC7S31=0BADF00D\r\n"}) as s:
            s.wait_for_window()
            s.move(PANEL_SIZE[0] // 2, PANEL_SIZE[1] - 10)
            shot = s.capture_until(painted)
            self.assertTrue(painted(shot), "the program's own title band")
            self.assertFalse(s.path("Mivra.skin").exists(), "the refused skin file is deleted")
            self.assertNotIn("C7S31", s.read_config().get("Config", {}))
            self.assertEqual(len(s.windows()), 1, "one panel after starting again")

    def test_the_panel_appears_at_its_stored_place(self):
        with MivraSession(self.id(), files={"Mivra.cfg": "[Config]\r\nSize=3000,2250,6000,7500\r\n"}) as s:
            s.wait_for_window()
            self.assertEqual(s.geometry(), (200, 150, 400, 500), "the stored twips at 15 per pixel")

    def test_configuration_records_version_and_handle(self):
        with MivraSession(self.id()) as s:
            s.wait_for_window()
            wait_until(lambda: "Handle" in s.read_config().get("Config", {}), 10)
            config = s.read_config().get("Config", {})
            self.assertEqual(config.get("Version"), "1.3.6", s.config_text())
            self.assertRegex(config.get("Handle", ""), r"^[1-9]\d*$", s.config_text())

    def test_alt_f4_ends_the_program_and_removes_handle(self):
        with MivraSession(self.id()) as s:
            s.wait_for_window()
            self.assertTrue(wait_until(lambda: "Handle" in s.read_config().get("Config", {}), 10), s.config_text())
            s.close_window()
            self.assertEqual(s.wait_for_exit(20), 0, "Mivra ends when its panel closes")
            self.assertEqual(s.windows(), [])
            config = s.read_config().get("Config", {})
            self.assertNotIn("Handle", config, s.config_text())
            self.assertEqual(config.get("Version"), "1.3.6", "only Handle goes")


if __name__ == "__main__":
    main()
