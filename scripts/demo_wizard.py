"""The wizard part of the demonstration: installs the application with the install wizard and
removes it with the removal wizard, clicking through them as a user would, and saves a screenshot
of each state as a PNG file. On your own display when there is one that answers, otherwise on a
virtual one (Xvfb) of its own."""

import os
import subprocess
import time

from wine_harness.box import LAUNCHER
from wine_harness.wizard import ACTION, IDOK, PROBE, XDisplay, WizardSession, shown

APP_FOLDER = "BRONDL"


def build_folder():
    return os.path.dirname(os.path.dirname(os.path.abspath(LAUNCHER)))


def ensure_probe():
    """The probe that reads the wizard's windows; built on demand."""
    if not os.path.exists(PROBE):
        subprocess.run(["cmake", "--build", build_folder(), "--target", "wizard_probe", "--",
                        "--no-print-directory"], check=True, stdout=subprocess.DEVNULL)


class Shots:
    """Saves screenshots: the whole virtual screen, or on the user's own display only the
    wizard's part of it (with a margin), so that nothing else of their desktop is kept."""

    def __init__(self, display, folder):
        self.display = display
        self.folder = folder
        self.paths = []
        os.makedirs(folder, exist_ok=True)

    def area(self, wizard):
        if self.display.own:
            return None
        left, top, right, bottom = wizard["rect"]
        margin = 24
        return (max(left - margin, 0), max(top - margin, 0), right + margin, bottom + margin)

    def save(self, image, name, wizard, label):
        path = os.path.join(self.folder, name)
        args = ["convert", "-size", "%dx%d" % (image.width, image.height), "-depth", "8",
                "rgb:-"]
        area = self.area(wizard)
        if area:
            args += ["-crop", "%dx%d+%d+%d" % (area[2] - area[0], area[3] - area[1], area[0],
                                               area[1]), "+repage"]
        subprocess.run(args + ["png:" + path], input=image.data, check=True, timeout=60)
        self.paths.append(path)
        print("  %-30s %s" % (label, path))


def in_progress_look(image, wizard, ready):
    """While the work runs the progress bar shows and the close button is disabled; neither is
    so in the ready state, and after the work the close button is enabled again."""
    left, top = wizard["rect"][0], wizard["rect"][1]

    def differs(points):
        points = [(left + x, top + y) for x, y in points]
        return sum(1 for p in points if image.at(*p) != ready.at(*p)) >= len(points) // 2
    bar = [(x, y) for x in range(215, 535, 40) for y in (245, 255)]
    close = [(x, y) for x in range(554, 570, 3) for y in (13, 19, 25)]
    return differs(bar) and differs(close)


def run_wizard(session, shots, command_line, kind):
    """Clicks through one wizard; returns its exit code."""
    exit_code = session.start(command_line)
    wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the %s wizard" % kind)
    print("%s wizard: \"%s\"" % (kind, wizard["title"]))
    session.park_mouse()
    ready = session.wait_until_painted(wizard)
    shots.save(ready, "wizard-%s-1-ready.png" % kind, wizard, "ready:")

    session.click_control(wizard, ACTION)
    # The work may take less than a second: look at the screen until it shows the work running.
    deadline = time.monotonic() + 10
    frame = 0
    while time.monotonic() < deadline:
        image = session.display.pixels()
        if in_progress_look(image, wizard, ready):
            shots.save(image, "wizard-%s-2-in-progress.png" % kind, wizard, "in progress:")
            break
        frame += 1
        now = session.wizard(session.look()) if frame % 3 == 0 else wizard
        if now is None or shown(now, IDOK):
            print("  %-30s (the work ended before a screenshot)" % "in progress:")
            break

    wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=180)
    session.park_mouse()
    time.sleep(0.3)  # the last repaint of the finished state
    shots.save(session.display.pixels(), "wizard-%s-3-finished.png" % kind, wizard, "finished:")
    session.click_control(wizard, IDOK)
    return exit_code()


def run():
    ensure_probe()
    out = os.environ.get("SETUP_DEMO_OUT") or os.path.join(build_folder(), "demo-output")
    with XDisplay(use_existing=True) as display:
        where = ("a virtual screen of its own (Xvfb %s, 1024x768)" % display.name
                 if display.own else "your display %s" % display.name)
        print("wizard: shown on %s" % where)
        shots = Shots(display, out)
        with WizardSession(display) as session:
            box = session.box
            code = run_wizard(session, shots, '"%s"' % session.program, "install")
            print("  Finish, \"launch\" left ticked  ->  exit code %s" % code)
            succeeded = code == 0
            seen = session.wait_for(lambda s: s["apps"], "the application's window")
            print("  the application's window appeared: \"%s\"" % seen["apps"][0]["title"])

            folder = box.program_files + "\\" + APP_FOLDER
            uninstaller = folder + "\\Uninstall\\setup.exe"
            code = run_wizard(session, shots, '"%s" delpkg' % uninstaller, "removal")
            print("  Finish  ->  exit code %s" % code)
            gone = box.wait_until(lambda: not box.exists(folder), timeout=60)
            print("  %s %s" % (folder, "removed, with its Uninstall folder" if gone
                               else "is still there"))
            succeeded = succeeded and code == 0 and gone
    print("wizard screenshots (PNG):")
    for path in shots.paths:
        print("  " + path)
    return succeeded
