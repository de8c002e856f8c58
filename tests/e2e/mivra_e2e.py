"""Runs the real Mivra.exe under Wine on an X server and looks at it as a user would.

    with MivraSession(self.id(), files={"Mivra.cfg": b"..."}) as s:
        s.wait_for_window()
        shot = s.capture_until(lambda img: img.pixel(0, 0) == BORDER)
        s.key("alt+F4")
        self.assertEqual(s.wait_for_exit(), 0)
        cfg = s.read_config()

Each session runs its own copy of the exe in a temporary folder, so its
configuration and its running-instance mark belong to it alone. Python
standard library only; xdotool, ImageMagick's import and /usr/bin/convert do
the X side.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(os.environ.get("MIVRA_ROOT") or Path(__file__).resolve().parents[2])
EXE = Path(os.environ.get("MIVRA_EXE_UNIX") or ROOT / "build/win/Mivra.exe")
ARTIFACTS = Path(os.environ.get("MIVRA_E2E_ARTIFACTS") or ROOT / "build/win/e2e-artifacts")
WINE_RUN = ROOT / "scripts/wine-run"
# Host tool that drops files onto an X window by X drag and drop (built from xdnd_drop.c).
XDND_DROP = Path(os.environ.get("MIVRA_XDND_DROP") or ROOT / "build/win/tests/e2e/xdnd_drop")
# /usr/local/bin/convert is a wrapper that only knows a few calls.
CONVERT = "/usr/bin/convert"

PANEL_CAPTION_PATTERN = "^Mivra$"
SHADOW = 6  # the panel's shadow reaches this far beyond it

needs_display = unittest.skipUnless(
    os.environ.get("DISPLAY"), "DISPLAY is not set: run through scripts/test.sh, which starts Xvfb and Wine")


def wait_until(predicate, timeout=20.0, interval=0.1):
    """Polls predicate until it returns something true; returns that, or the last falsy value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def _run(*args, check=True, timeout=30):
    # xdotool complains on stderr about the focus without a window manager; keep that out of the log.
    # The timeout guards against xdotool's --sync, which waits for ever if nothing changes.
    result = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError(f"{' '.join(map(str, args))} failed ({result.returncode}): {result.stderr.strip()}")
    return result


def visible_windows(pattern=PANEL_CAPTION_PATTERN):
    """X ids of the visible windows whose name matches pattern, on the whole display."""
    result = _run("xdotool", "search", "--onlyvisible", "--name", pattern, check=False)
    return [int(w) for w in result.stdout.split()]


def window_pid(wid):
    """The Unix process id Wine sets in _NET_WM_PID, or None."""
    result = _run("xdotool", "getwindowpid", str(wid), check=False)
    return int(result.stdout) if result.returncode == 0 and result.stdout.strip().isdigit() else None


def window_geometry(wid):
    """(x, y, width, height) of a window, relative to the root."""
    out = _run("xdotool", "getwindowgeometry", "--shell", str(wid)).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


class Image:
    """RGB pixels of a screenshot, or of a part of one."""

    def __init__(self, width, height, data):
        self.width, self.height, self._data = width, height, data

    @classmethod
    def from_png(cls, path):
        ppm = subprocess.run([CONVERT, str(path), "-depth", "8", "ppm:-"], stdin=subprocess.DEVNULL,
                             capture_output=True, check=True).stdout
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        if not match:
            raise RuntimeError(f"convert gave no 8-bit PPM for {path}")
        return cls(int(match[1]), int(match[2]), ppm[match.end():])

    def pixel(self, x, y):
        """(r, g, b) at x, y; negative values count from the right or bottom edge."""
        x, y = x % self.width, y % self.height
        at = 3 * (y * self.width + x)
        return tuple(self._data[at:at + 3])

    def crop(self, x, y, width, height):
        """The part of the image at x, y (clipped to the image)."""
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + width, self.width), min(y + height, self.height)
        rows = b"".join(self._data[3 * (r * self.width + x0):3 * (r * self.width + x1)] for r in range(y0, y1))
        return Image(max(x1 - x0, 0), max(y1 - y0, 0), rows)

    def pixels(self, box=None):
        """Yields (x, y, (r, g, b)) for each pixel in box = (x, y, width, height), or in the whole image."""
        bx, by, bw, bh = box or (0, 0, self.width, self.height)
        for y in range(max(by, 0), min(by + bh, self.height)):
            for x in range(max(bx, 0), min(bx + bw, self.width)):
                yield x, y, self.pixel(x, y)

    def count(self, predicate, box=None):
        """How many pixels in box satisfy predicate((r, g, b))."""
        return sum(1 for _, _, rgb in self.pixels(box) if predicate(rgb))

    def colours(self, box=None):
        """The set of distinct colours in box."""
        return {rgb for _, _, rgb in self.pixels(box)}


def near(colour, tolerance):
    """A predicate: a pixel within tolerance of colour in every channel (anti-aliased text)."""
    return lambda rgb: all(abs(a - b) <= tolerance for a, b in zip(rgb, colour))


class MivraSession:
    """One run of Mivra.exe from a fresh folder of its own.

    name       names the screenshots in the artifacts folder (pass the test's self.id()).
    args       command-line arguments for Mivra.exe.
    files      {relative name: bytes or str} placed beside the exe before the start (str is written as GBK).
    """

    def __init__(self, name, args=(), files=None, exe=EXE):
        # Run as a script, a test's id starts with __main__: name it after the file instead.
        if name.startswith("__main__."):
            name = Path(sys.argv[0]).stem + name[len("__main__"):]
        self.name = re.sub(r"[^\w.-]+", "_", name)
        self.args = list(args)
        self.exe_source = Path(exe)
        self.folder = Path(tempfile.mkdtemp(prefix="mivra-e2e-"))
        self.exe = self.folder / "Mivra.exe"
        self.process = None
        self.wid = None
        self._windows_before = set()
        self._log = None
        self.last_screenshot = None
        shutil.copy2(self.exe_source, self.exe)
        for rel, content in (files or {}).items():
            self.write_file(rel, content)

    # --- life cycle ---

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None and exc_type is not unittest.SkipTest:
            self._record_failure()
        self.close()
        return False

    def _record_failure(self):
        # What the screen and the X window tree looked like when a test failed.
        try:
            self.screenshot("failure", window=False)
            state = "running" if self.running() else f"ended with {self.process.returncode}"
            tree = _run("xwininfo", "-root", "-tree", check=False).stdout
            (ARTIFACTS / f"{self.name}-failure.txt").write_text(
                f"process {self.process.pid}: {state}\npanel window: {self.wid}\n"
                f"windows before the start: {sorted(self._windows_before)}\n\n{tree}")
            if self._log:
                self._log.flush()
                shutil.copyfile(self.folder / "wine-output.log", ARTIFACTS / f"{self.name}-failure-wine.log")
        except Exception:
            pass

    def start(self):
        """Starts Mivra.exe under Wine with the session folder as working directory."""
        if not os.environ.get("DISPLAY"):
            raise unittest.SkipTest("DISPLAY is not set: run through scripts/test.sh")
        self._windows_before = set(visible_windows())
        # Nothing may inherit the test's pipes: a Wine child holding them keeps ctest waiting.
        self._log = open(self.folder / "wine-output.log", "wb")
        # Wine's own diagnostics stay on: they tell when Wine, not Mivra, failed to start.
        env = dict(os.environ, WINEDEBUG="-all,err+winediag")
        self.process = subprocess.Popen([str(WINE_RUN), str(self.exe), *self.args], cwd=self.folder, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_for_exit(self, timeout=20.0):
        """The exit code, or None if the process still runs after timeout seconds."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        """Kills what is left of this session's process (only it: the Wine server is shared) and cleans up."""
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                pass
        if self._log:
            self._log.close()
        if not os.environ.get("MIVRA_E2E_KEEP"):
            shutil.rmtree(self.folder, ignore_errors=True)

    # --- windows ---

    def new_windows(self, pattern=PANEL_CAPTION_PATTERN):
        """Visible windows matching pattern that were not there before the start (from any process)."""
        return [w for w in visible_windows(pattern) if w not in self._windows_before]

    def windows(self, pattern=PANEL_CAPTION_PATTERN):
        """Visible windows matching pattern that belong to this session's process.

        Wine sets _NET_WM_PID to the Unix pid, which is the pid of wine-run (it execs Wine);
        a new window without that property is taken as ours."""
        pid = self.process.pid
        return [w for w in self.new_windows(pattern) if window_pid(w) in (pid, None)]

    def wait_for_window(self, pattern=PANEL_CAPTION_PATTERN, timeout=30.0):
        """This session's window matching pattern (the panel by default); becomes self.wid for the panel."""
        found = wait_until(lambda: self.windows(pattern) or not self.running(), timeout)
        for _ in range(2):
            if found or not self._lost_the_desktop():
                break
            # Wine closes its desktop a moment after the last program on it ends; a start in that
            # moment finds no desktop and ends at once. Start again.
            self._log.close()
            self.start()
            found = wait_until(lambda: self.windows(pattern) or not self.running(), timeout)
        if not isinstance(found, list) or not found:
            state = "still runs" if self.running() else f"ended with {self.process.returncode}"
            raise AssertionError(f"no visible window matching {pattern!r} within {timeout} s (Mivra {state})")
        if pattern == PANEL_CAPTION_PATTERN:
            self.wid = found[0]
        return found[0]

    def shadow(self):
        """The panel's shadow: the window of this program that rings the panel 6 pixels wide."""
        x, y, w, h = self.geometry()
        ring = (x - SHADOW, y - SHADOW, w + 2 * SHADOW, h + 2 * SHADOW)
        for wid in self.program_windows():
            if wid != self.wid and window_geometry(wid) == ring:
                return wid
        return None

    def program_windows(self):
        """Visible X windows of this program: Wine names every one after the executable."""
        ids = _run("xdotool", "search", "--onlyvisible", "--classname", self.exe.name.lower(),
                   check=False).stdout.split()
        return [int(w) for w in ids]

    def wait_for_popup(self, timeout=10.0):
        """A visible window of this program besides the panel and its shadow (a popup menu, a
        question box)."""
        def found():
            shadow = self.shadow() if self.wid else None
            return [w for w in self.program_windows() if w not in (self.wid, shadow)]

        popups = wait_until(found, timeout)
        if not popups:
            raise AssertionError(f"no popup window of Mivra within {timeout} s")
        return popups[0]

    def _lost_the_desktop(self):
        """Whether Wine, not Mivra, ended the start: Mivra itself always ends with 0."""
        if self.running() or not self._log:
            return False
        self._log.flush()
        return (self.process.returncode != 0 or
                b"explorer process failed to start" in (self.folder / "wine-output.log").read_bytes())

    def geometry(self, wid=None):
        """(x, y, width, height) of the panel (or of wid) on the screen."""
        return window_geometry(wid or self.wid)

    def window_name(self, wid=None):
        return _run("xdotool", "getwindowname", str(wid or self.wid)).stdout.rstrip("\n")

    # --- input ---

    def focus(self, wid=None):
        """Gives the window the X focus, so that XTEST keys reach it (there is no window manager).

        This does not make it Wine's foreground window: see activate()."""
        _run("xdotool", "windowfocus", "--sync", str(wid or self.wid), check=False)

    def activate(self, x=None, y=None, wid=None):
        """Makes the window Wine's foreground window by clicking it (by default on the first group's
        tab, which selects it: a press on empty space would start moving the panel). Wine hands every
        key to its foreground window, and all Wine processes on the server share one, whatever X
        display they are on."""
        if x is None or y is None:
            x, y = 35, 45
        self.click(x, y, wid=wid)
        # Keys are routed to the foreground window when Wine reads them: let Mivra handle the click first.
        time.sleep(0.3)

    def key(self, *keys, activate=False, sent=False, wid=None):
        """Presses key combinations such as "alt+F4" or "Return" with the window (the panel by
        default) focused; activate=True clicks it first (see activate()).

        By default through XTEST, as a keyboard would; sent=True posts the events to the window
        itself instead (XSendEvent)."""
        wid = wid or self.wid
        if activate:
            self.activate(wid=wid)
        self.focus(wid)
        if sent:
            _run("xdotool", "key", "--window", str(wid), *keys)
        else:
            _run("xdotool", "key", *keys)

    def type_text(self, text, wid=None):
        self.focus(wid)
        _run("xdotool", "type", "--delay", "20", text)

    def move(self, x, y, wid=None):
        """Moves the pointer to x, y relative to the window's top-left corner."""
        left, top = self.geometry(wid)[:2]
        where = _run("xdotool", "getmouselocation", "--shell").stdout
        here = dict(line.split("=", 1) for line in where.split() if "=" in line)
        if (int(here.get("X", -1)), int(here.get("Y", -1))) == (left + x, top + y):
            return  # --sync would wait for a motion that never comes
        _run("xdotool", "mousemove", "--window", str(wid or self.wid), "--sync", str(x), str(y))

    def click(self, x, y, button=1, count=1, wid=None):
        """Clicks at x, y relative to the window; button 3 is the right button, count 2 a double click."""
        self.move(x, y, wid)
        _run("xdotool", "click", "--repeat", str(count), "--delay", "80", str(button))

    def drop_files(self, paths, x, y):
        """Drops Unix paths onto the panel at x, y relative to it, as a file manager would (X drag
        and drop): Wine hands the program a WM_DROPFILES made in its own process."""
        if not (XDND_DROP.is_file() and os.access(XDND_DROP, os.X_OK)):
            raise RuntimeError(f"{XDND_DROP} is missing: build it with scripts/build.sh win "
                               "(it needs a host C compiler and libx11-dev, see scripts/setup.sh)")
        _run(XDND_DROP, str(self.wid), str(x), str(y), *map(str, paths))

    def close_window(self, wid=None):
        """Closes the window as a user would: clicks it, then alt+F4."""
        self.key("alt+F4", activate=True, wid=wid)

    # --- what is seen ---

    def screenshot(self, label=None, window=True):
        """Saves the whole screen as <artifacts>/<test name>[-label].png (a later shot with the same
        label replaces it); returns the pixels of the panel (window-relative) or, with window=False,
        of the screen."""
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / (f"{self.name}-{label}.png" if label else f"{self.name}.png")
        _run("import", "-silent", "-window", "root", str(path))
        self.last_screenshot = path
        screen = Image.from_png(path)
        if not window:
            return screen
        x, y, w, h = self.geometry()
        return screen.crop(x, y, w, h)

    def capture_until(self, predicate, timeout=10.0, label=None):
        """Screenshots of the panel until predicate(image) holds (e.g. it has been painted);
        returns the last one either way, so the caller's assertions tell what is wrong."""
        shot = None

        def good():
            nonlocal shot
            shot = self.screenshot(label)
            return predicate(shot)

        wait_until(good, timeout, interval=0.2)
        return shot

    def pixel(self, x, y):
        """(r, g, b) at x, y relative to the panel, from a fresh screenshot."""
        return self.screenshot("pixel").pixel(x, y)

    # --- files ---

    def path(self, rel):
        return self.folder / rel

    def write_file(self, rel, content, encoding="gbk"):
        target = self.folder / rel
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(content if isinstance(content, bytes) else content.encode(encoding))

    def read_file(self, rel, encoding="gbk"):
        """The text of a file in the session folder, or None if it does not exist."""
        target = self.folder / rel
        return target.read_bytes().decode(encoding) if target.exists() else None

    def config_text(self):
        """Mivra.cfg as text (it is written in the ANSI code page, 936 here)."""
        return self.read_file("Mivra.cfg")

    def read_config(self):
        """Mivra.cfg as {section: {key: value}}, in file order; {} if there is none."""
        sections, current = {}, None
        for raw in (self.config_text() or "").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif current is not None and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                current[key.strip()] = value.strip()
        return sections


# --- the data file ---

def encode_text(text):
    """The record coder: GBK bytes, base64, every ASCII letter's case swapped."""
    import base64
    return base64.b64encode(text.encode("gbk")).decode("ascii").swapcase()


def decode_text(encoded):
    import base64
    raw = encoded.swapcase()
    raw = raw.split("=")[0]
    raw += "=" * (-len(raw) % 4)
    return base64.b64decode(raw).decode("gbk")


def item_record(title, path, ico_path=None, argument="", count="0"):
    ico_path = path if ico_path is None else ico_path
    return encode_text(f'Title:"{title}",Path:"{path}",IcoPath:"{ico_path}",Parm:"{argument}",Count:"{count}",')


def data_file(groups, config=None):
    """A configuration file: [Config] with the given keys, then one [Data] line per group.
    groups is [(title, [(title, path[, ico_path, argument, count]), ...]), ...]."""
    lines = ["[Config]"] + [f"{k}={v}" for k, v in (config or {}).items()] + ["[Data]"]
    for title, items in groups:
        records = "".join(item_record(*item) + "," for item in items)
        lines.append(f"{title}={records or ','}")
    return "\r\n".join(lines) + "\r\n"


def read_groups(session):
    """[(group title, [{title, path, ico, parm, count}, ...])] from the session's data file."""
    groups = []
    in_data = False
    for raw in (session.config_text() or "").splitlines():
        line = raw.strip()
        if line.startswith("["):
            in_data = line == "[Data]"
            continue
        if not in_data or "=" not in line:
            continue
        title, value = line.split("=", 1)
        items = []
        for part in value.split(",")[:-1]:
            if not part:
                continue
            text = decode_text(part)
            fields = dict(re.findall(r'(\w+):"([^"]*)",', text))
            items.append({"title": fields.get("Title", ""), "path": fields.get("Path", ""),
                          "ico": fields.get("IcoPath", ""), "parm": fields.get("Parm", ""),
                          "count": fields.get("Count", "")})
        groups.append((title, items))
    return groups


SKIP_RETURN_CODE = 77  # ctest reports the test as skipped (SKIP_RETURN_CODE)


def main():
    """Entry point of a test file: unittest.main(), or a skip ctest can see when there is no display."""
    if not os.environ.get("DISPLAY"):
        print("skipped: DISPLAY is not set; run the end-to-end tests through scripts/test.sh, "
              "which starts Xvfb and the Wine server first")
        raise SystemExit(SKIP_RETURN_CODE)
    result = unittest.main(verbosity=2, exit=False).result
    if not result.wasSuccessful():
        raise SystemExit(1)
    # Nothing ran but skips: ctest shows the file as skipped, not as passed.
    if result.skipped and len(result.skipped) == result.testsRun:
        raise SystemExit(SKIP_RETURN_CODE)
    raise SystemExit(0)
