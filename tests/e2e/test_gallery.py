"""Every position of the group bar and every item view, with the program's own look and with a
skin: the real program is started for each, the places that layout promises are checked, and the
screenshots are kept in the artifacts folder for a person to look at."""

import subprocess
import tempfile
import unittest
import zlib
from pathlib import Path

from mivra_e2e import CONVERT, MivraSession, data_file, encode_text, main, needs_display

W, H = 354, 400
TITLE = 30
NOTEPAD = r"C:\windows\notepad.exe"
REGEDIT = r"C:\windows\regedit.exe"
ITEMS = [("记事本 Notepad", NOTEPAD), ("注册表编辑器", REGEDIT), ("Notes", NOTEPAD)]

HEIGHTS = {0: (68, 52, 36), 1: (62, 46, 30), 2: (88, 72, 56)}  # by caption position, then icon size
ICON_SIZES = (48, 32, 16)


def group_bar_box(view):
    """(left, top, width, height) of the group bar for one row of tabs, or None."""
    if view == 1:
        return (0, TITLE, W, 30)
    if view == 2:
        return (0, H - 29, W, 29)
    if view == 3:
        return (0, TITLE + 5, 86, H - TITLE - 5)
    if view == 4:
        return (W - 86, TITLE + 5, 86, H - TITLE - 5)
    return None


def item_panel_box(view):
    top = TITLE if view == 1 else TITLE + 5
    if view == 1:
        return (0, TITLE + 30, W, H - TITLE - 30)
    if view == 2:
        return (0, top, W, H - top - 29)
    if view == 3:
        return (86, top, W - 86, H - top)
    if view == 4:
        return (0, top, W - 86, H - top)
    return (0, top, W, H - top)


def first_cell(view, icon, text, inner_width):
    h = HEIGHTS[text][icon]
    smallest = h + 80 if text == 1 else h
    if view == 0:
        w = inner_width
    elif view == 1:
        w = inner_width // 2
    else:
        k = inner_width // smallest
        w = max(inner_width // (k or 1), smallest)
    return w, h


def icon_and_caption(view, icon, text, inner_width):
    """The icon box and the caption box of item 1, relative to the item panel."""
    w, h = first_cell(view, icon, text, inner_width)
    size = ICON_SIZES[icon]
    if text == 1:
        return (h - size) // 2, (h - size) // 2, size, (h, 0, w - 5 - h, h)
    if text == 2:
        return (w - size + 1) // 2, 9, size, (4, h - 25, w - 8, 25)
    return (w - size + 1) // 2, (h - size) // 2, size, None


def make_picture(size, draw):
    """A PNG made by ImageMagick: size "WxH", draw a list of -fill/-draw arguments."""
    with tempfile.TemporaryDirectory() as folder:
        target = Path(folder) / "p.png"
        subprocess.run([CONVERT, "-size", size, *draw, str(target)], check=True)
        return target.read_bytes()


def frames(width, height, backgrounds, extra=()):
    """Three frames side by side, each a rounded rectangle of its background colour."""
    draw = ["xc:rgb(40,44,52)"]
    for i, colour in enumerate(backgrounds):
        draw += ["-fill", colour, "-draw", f"roundrectangle {i * width + 1},1 {i * width + width - 2},{height - 2} 4,4"]
    return make_picture(f"{3 * width}x{height}", draw + list(extra))


def dark_skin():
    import base64
    b64 = lambda data: base64.b64encode(data).decode("ascii")
    item = frames(24, 24, ["rgb(30,33,40)", "rgb(58,64,76)", "rgb(74,82,98)"])
    tab = frames(24, 28, ["rgb(40,44,52)", "rgb(58,64,76)", "rgb(33,150,243)"])
    def button(glyph):
        return frames(30, 30, ["rgb(40,44,52)", "rgb(58,64,76)", "rgb(74,82,98)"],
                      [arg for i in range(3) for arg in ("-stroke", "rgb(220,220,220)", "-draw", glyph(i * 30))])
    search = button(lambda x: f"circle {x + 13},13 {x + 13},18")
    menu = button(lambda x: f"line {x + 9},15 {x + 21},15")
    mini = button(lambda x: f"line {x + 9},20 {x + 21},20")
    quit_ = button(lambda x: f"line {x + 10},10 {x + 20},20")
    text = "".join(f"{key}={value}\r" for key, value in [
        ("Name", "夜色"), ("BGColor", "40,44,52"), ("FGColor", "220,220,220"), ("BDColor", "20,20,20"),
        ("Border", "1"), ("TitleBarHeight", "30"), ("TabBDColor", "30,33,40"), ("TabFGColor", "170,175,185"),
        ("TabFGColor2", "255,255,255"), ("ItemFGColor", "230,230,230"), ("picItem", b64(item)),
        ("picSearch", b64(search)), ("picMenu", b64(menu)), ("picMini", b64(mini)), ("picQuit", b64(quit_)),
        ("picTab", b64(tab))])
    return encode_text(text).encode("gbk")


def install_skin(session, skin_bytes):
    """Writes the skin file and the check value the program keeps for a skin it installed."""
    import os
    session.write_file("Mivra.skin", skin_bytes)
    ticks = os.stat(session.path("Mivra.skin")).st_mtime_ns // 100 + 116444736000000000
    return "%08X" % zlib.crc32(str(ticks).encode("ascii"))


def start(test, label, config, skin=None):
    session = MivraSession(f"{test.id()}-{label}")
    check = install_skin(session, skin) if skin else None
    settings = dict(config)
    if check:
        settings["C7S31"] = check
    session.write_file("Mivra.cfg", data_file([("工作", ITEMS), ("游戏", []), ("工具", [])], settings))
    return session


def dark_pixels(shot, box, light):
    x, y, w, h = box
    if light:
        return shot.count(lambda rgb: max(rgb) < 170, (x, y, w, h))
    return shot.count(lambda rgb: min(rgb) > 150, (x, y, w, h))


@needs_display
class Gallery(unittest.TestCase):
    skin = None

    @classmethod
    def setUpClass(cls):
        cls.skin = dark_skin()

    def check_view(self, label, bar, view, icon, text, skin=None):
        config = {"TabBarView": bar, "ItemBarView": view, "ItemBarIcon": icon, "ItemBarText": text}
        with start(self, label, config, skin) as s:
            s.wait_for_window()
            s.move(W - 20, H - 40 if bar != 2 else H - 60)
            panel = item_panel_box(bar)
            ix, iy, size, caption = icon_and_caption(view, icon, text, panel[2])
            icon_box = (panel[0] + ix, panel[1] + iy, size, size)
            background = (30, 33, 40) if skin else (255, 255, 255)
            # Until the data is loaded the title bar's colour fills the panel.
            plain = {background, (40, 44, 52) if skin else (230, 230, 230)}

            box = (panel[0] + caption[0], panel[1] + caption[1], caption[2], caption[3]) if caption else None

            # The icon and the caption may reach the screen in separate repaints: wait for both.
            def ready(img):
                return (img.count(lambda rgb: rgb not in plain, icon_box) > size * size // 8 and
                        (box is None or dark_pixels(img, box, not skin) > 10))
            shot = s.capture_until(ready, label=label)
            self.assertGreater(shot.count(lambda rgb: rgb not in plain, icon_box), size * size // 8,
                               f"{label}: the first item's icon at {icon_box}")
            if caption:
                self.assertGreater(dark_pixels(shot, box, not skin), 10, f"{label}: its caption at {box}")
            bar_box = group_bar_box(bar)
            if bar_box:
                tab = (bar_box[0] + (1 if bar == 4 else 0) + 10, bar_box[1] + 1 + 14)
                selected = shot.pixel(*tab)
                self.assertNotEqual(selected, background, f"{label}: the selected tab at {tab}")
            else:
                self.assertEqual(shot.pixel(W // 2, H - 10), background, f"{label}: no group bar")

    def test_every_group_bar_position(self):
        for skin in (None, self.skin):
            for bar in range(5):
                with self.subTest(bar=bar, skin=bool(skin)):
                    self.check_view(f"bar{bar}{'-skin' if skin else ''}", bar, 2, 1, 1, skin)

    def test_every_item_view(self):
        for view in range(3):
            for icon in range(3):
                for text in range(3):
                    with self.subTest(view=view, icon=icon, text=text):
                        self.check_view(f"view{view}-icon{icon}-text{text}", 1, view, icon, text)


if __name__ == "__main__":
    main()
