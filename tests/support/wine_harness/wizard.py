"""The wizard on a real X display, driven from outside as a user drives it: an X server (our own
Xvfb, or the user's display), a WineBox switched to Wine's X11 driver, mouse clicks through
xdotool, what the windows show read by the probe (tests/support/wizard_probe.cpp), and
screenshots of the whole screen through ImageMagick. Every wait is bounded."""

import json
import os
import select
import subprocess
import threading
import time

from wine_harness.box import LAUNCHER, WineBox, compiled_locales

PROBE = os.path.join(os.path.dirname(LAUNCHER), "wizard_probe.exe") if LAUNCHER else ""

# Control ids of the wizard.
IDOK, IDCANCEL = 1, 2
ACTION, HEADING, DESCRIPTION, PROGRESS, CLOSE, TITLE, LAUNCH = (1000, 1001, 1002, 1003, 1004,
                                                                1005, 1008)

SCREEN = (1024, 768)
FONT_FACE = "WenQuanYi Micro Hei"


class XDisplay:
    """An X display for Wine's windows: our own Xvfb on a display number it picks itself
    (-displayfd), or, with use_existing, the user's $DISPLAY when it answers."""

    def __init__(self, use_existing=False):
        self.process = None
        self.name = None
        if use_existing and os.environ.get("DISPLAY") and self._answers(os.environ["DISPLAY"]):
            self.name = os.environ["DISPLAY"]
        else:
            self._start_xvfb()

    @property
    def own(self):
        return self.process is not None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    @staticmethod
    def _answers(name):
        try:
            result = subprocess.run(["xdotool", "getdisplaygeometry"], timeout=5,
                                    env=dict(os.environ, DISPLAY=name), stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return result.returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 "%dx%dx24" % SCREEN, "-noreset", "-nolisten", "tcp"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 15
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                ready, _, _ = select.select([read_end], [], [], 0.5)
                if ready:
                    chunk = os.read(read_end, 16)
                    if not chunk:
                        break
                    number += chunk
            if not number.strip().isdigit():
                self.close()
                raise RuntimeError("Xvfb did not start")
            self.name = ":" + number.strip().decode()
        finally:
            if write_end is not None:
                os.close(write_end)
            os.close(read_end)

    def close(self):
        if self.process is not None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
            self.process = None

    def _x(self, args, timeout=15):
        return subprocess.run(args, env=dict(os.environ, DISPLAY=self.name), timeout=timeout,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, check=True)

    def click(self, x, y):
        self._x(["xdotool", "mousemove", str(x), str(y), "click", "1"])

    def drag(self, x, y, dx, dy, steps=10):
        """Presses the left button at (x, y), moves by (dx, dy) in small steps, releases."""
        self._x(["xdotool", "mousemove", str(x), str(y), "mousedown", "1"])
        for i in range(1, steps + 1):
            self._x(["xdotool", "mousemove", str(x + dx * i // steps),
                     str(y + dy * i // steps)])
            time.sleep(0.03)  # the pace of a hand, so that the move loop sees each step
        self._x(["xdotool", "mouseup", "1"])

    def move_mouse(self, x, y):
        self._x(["xdotool", "mousemove", str(x), str(y)])

    def key(self, name):
        """Presses and releases one key (an X keysym name: Tab, space, Return, Escape) as the
        keyboard does; it reaches the window that has the focus."""
        self._x(["xdotool", "key", name])

    def screenshot(self, png_path):
        """The whole screen as a PNG file."""
        os.makedirs(os.path.dirname(os.path.abspath(png_path)), exist_ok=True)
        self._x(["import", "-window", "root", png_path], timeout=60)
        return png_path

    def pixels(self):
        """The whole screen as an Image (8-bit RGB)."""
        result = self._x(["import", "-window", "root", "-depth", "8", "rgb:-"], timeout=60)
        width, height = self.geometry()
        return Image(width, height, result.stdout)

    def geometry(self):
        out = self._x(["xdotool", "getdisplaygeometry"]).stdout.split()
        return int(out[0]), int(out[1])


class Image:
    """Raw RGB pixels of the screen."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise ValueError("%d bytes for %dx%d" % (len(data), width, height))
        self.width, self.height, self.data = width, height, data

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def count(self, rect, test):
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if test(self.at(x, y)))


def import_registry(box, keys):
    """Imports {key: {name: value}} in one reg call; a list value is a REG_MULTI_SZ, an int a
    REG_DWORD."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys.items():
        lines.append("[%s]" % key)
        for name, value in values.items():
            if isinstance(value, list):
                data = ("\0".join(value) + "\0\0").encode("utf-16-le")
                lines.append('"%s"=hex(7):%s' % (name, ",".join("%02x" % b for b in data)))
            elif isinstance(value, int):
                lines.append('"%s"=dword:%08x' % (name, value))
            else:
                lines.append('"%s"="%s"' % (name, value))
        lines.append("")
    path = os.path.join(box.prefix, "drive_c", "session.reg")
    with open(path, "w", encoding="utf-16", newline="\r\n") as handle:
        handle.write("\n".join(lines))
    box.wine(["wine", "reg", "import", "C:\\session.reg"])
    os.remove(path)


# The faces the wizard draws its texts with, each linked to the CJK font, as a Windows system with
# East Asian fonts has them linked. Set up in the test prefix only: the program's fonts stay.
CJK_FONT_LINKS = {
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink": {
        face: ["wqy-microhei.ttc," + FONT_FACE]
        for face in ("Arial", "DejaVu Sans", "System", "Tahoma", "MS Shell Dlg",
                     "MS Shell Dlg 2", "Microsoft Sans Serif")
    }
}
X11_DRIVER = {"HKEY_CURRENT_USER\\Software\\Wine\\Drivers": {"Graphics": "x11"}}


class WizardSession:
    """One WineBox on one X display, with the wizard's distribution copied to C:\\Setup."""

    def __init__(self, display, kind="win7-64", lang=None, cjk_font=False, dpi=None):
        self.display = display
        self.box = WineBox(kind, lang=lang)
        self.box.env["DISPLAY"] = display.name
        if lang:
            self.box.env["LOCPATH"] = compiled_locales(lang)
        # Before the first program of the session that shows a window: real windows on this
        # display.
        keys = dict(X11_DRIVER)
        if cjk_font:
            keys.update(CJK_FONT_LINKS)
        if dpi:
            # The display's dots per inch as Windows' display settings keep them (120: the 125%
            # setting).
            keys["HKEY_CURRENT_USER\\Control Panel\\Desktop"] = {"LogPixels": dpi}
        import_registry(self.box, keys)
        self.program = self.box.copy_dist("C:\\Setup")
        self._runs = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        self.box.close()
        for thread, _ in self._runs:
            thread.join(timeout=30)

    # --- programs ---------------------------------------------------------------------------

    def start(self, command_line, timeout=180):
        """Starts a command line through the launcher in the background; the returned function
        waits (bounded) for it and gives its full exit code."""
        outcome = {}

        def run():
            try:
                outcome["code"] = self.box.run(command_line, timeout=timeout)
            except Exception as error:  # reported by the waiting side
                outcome["error"] = error

        thread = threading.Thread(target=run, daemon=True)
        thread.start()
        self._runs.append((thread, outcome))

        def exit_code(wait=60):
            thread.join(timeout=wait)
            if thread.is_alive():
                raise AssertionError("%s still runs after %d s" % (command_line, wait))
            if "error" in outcome:
                raise outcome["error"]
            return outcome["code"]
        return exit_code

    # --- looking at the screen --------------------------------------------------------------

    def look(self):
        """What the probe sees: wizards, message boxes and application windows."""
        result = self.box.wine(["wine", PROBE], timeout=60)
        return json.loads(result.stdout)

    def wait_for(self, condition, what, timeout=60):
        """Polls the probe until condition(seen) is true; returns the last look."""
        deadline = time.monotonic() + timeout
        seen = None
        while time.monotonic() < deadline:
            seen = self.look()
            if condition(seen):
                return seen
            time.sleep(0.2)
        raise AssertionError("waited %d s for %s; last seen: %r" % (timeout, what, seen))

    def wizard(self, seen):
        visible = [w for w in seen["wizards"] if w["visible"]]
        return visible[0] if visible else None

    def wait_for_wizard(self, condition=lambda w: True, what="the wizard", timeout=60):
        seen = self.wait_for(lambda s: self.wizard(s) is not None and condition(self.wizard(s)),
                             what, timeout)
        return self.wizard(seen)

    def wait_until_painted(self, wizard, timeout=30):
        """The skin shows once the title band at the window's top is no longer the plain face
        of an unpainted dialog."""
        left, top = wizard["rect"][0], wizard["rect"][1]
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            image = self.display.pixels()
            band = image.at(left + 400, top + 20)
            heading = image.count((left + 35, top + 55, left + 300, top + 90),
                                  lambda p: p == (255, 255, 255))
            if min(band) > 200 and heading > 20:
                return image
            time.sleep(0.2)
        raise AssertionError("the wizard's skin was not painted in %d s" % timeout)

    def click_control(self, wizard, control_id):
        left, top, right, bottom = wizard["controls"][str(control_id)]["rect"]
        self.display.click((left + right) // 2, (top + bottom) // 2)

    def park_mouse(self):
        """Moves the pointer off the wizard, so no button shows its hover face."""
        width, height = self.display.geometry()
        self.display.move_mouse(width - 1, height - 1)


def save_wizard_png(image, wizard, path, margin=24):
    """Saves the wizard's part of a screen Image (with a margin of the desktop) as a PNG file."""
    left, top, right, bottom = wizard["rect"]
    left, top = max(left - margin, 0), max(top - margin, 0)
    right, bottom = min(right + margin, image.width), min(bottom + margin, image.height)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    subprocess.run(["convert", "-size", "%dx%d" % (image.width, image.height), "-depth", "8",
                    "rgb:-", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                    "+repage", "png:" + path], input=image.data, check=True, timeout=60)
    return path


def shown(wizard, control_id):
    control = wizard["controls"][str(control_id)]
    return control["visible"] and control["enabled"]


def text(wizard, control_id):
    return wizard["controls"][str(control_id)]["text"]

