"""What a plain start of Mivra.exe shows, and what closing its panel leaves behind."""

import unittest

from mivra_e2e import MivraSession, main, near, needs_display, wait_until

PANEL_SIZE = (354, 400)
TITLE_HEIGHT = 28
BORDER = (176, 186, 201)
TITLE_STRIP = (236, 240, 246)
TITLE_TEXT = (44, 54, 72)
BACKGROUND = (250, 251, 253)


def painted(img):
    return img.width > TITLE_HEIGHT and img.pixel(0, 0) == BORDER and img.pixel(-2, 2) == TITLE_STRIP


@needs_display
class PlainStart(unittest.TestCase):
    def test_shows_one_borderless_panel(self):
        with MivraSession(self.id()) as s:
            s.wait_for_window()
            self.assertEqual(len(s.windows()), 1, "a plain start shows exactly one panel")
            self.assertEqual(s.window_name(), "Mivra")
            self.assertEqual(s.geometry()[2:], PANEL_SIZE, "no frame around the panel")

            shot = s.capture_until(painted)
            self.assertGreater(s.last_screenshot.stat().st_size, 0, "the screenshot is kept as an artifact")
            w, h = shot.width, shot.height
            edges = [(x, 0) for x in range(w)] + [(x, h - 1) for x in range(w)] + \
                    [(0, y) for y in range(h)] + [(w - 1, y) for y in range(h)]
            off_border = [(x, y, shot.pixel(x, y)) for x, y in edges if shot.pixel(x, y) != BORDER]
            self.assertEqual(off_border[:5], [], "the panel's edge is a 1-pixel border")

            # The title text sits at the left; the rest of the 28-pixel strip is plain.
            strip_right = (120, 1, w - 121, TITLE_HEIGHT - 1)
            self.assertEqual(shot.colours(strip_right), {TITLE_STRIP})
            self.assertEqual(shot.pixel(w // 2, TITLE_HEIGHT - 1), TITLE_STRIP)
            self.assertEqual(shot.pixel(w // 2, TITLE_HEIGHT), BACKGROUND, "the strip is 28 pixels high")

            title_left = (1, 1, 119, TITLE_HEIGHT - 1)
            self.assertGreater(shot.count(near(TITLE_TEXT, 24), title_left), 5, "dark title text at the left")

            body = (1, TITLE_HEIGHT, w - 2, h - TITLE_HEIGHT - 1)
            body_pixels = (w - 2) * (h - TITLE_HEIGHT - 1)
            self.assertGreater(shot.count(lambda rgb: rgb == BACKGROUND, body), body_pixels // 2,
                               "the panel's body shows its background colour")

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
