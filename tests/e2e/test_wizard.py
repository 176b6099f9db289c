"""A user installs the application with the wizard on a real X display, leaves "launch" ticked,
clicks Finish, and later removes it with the removal wizard as the Start menu's "Uninstall"
shortcut starts it. Driven from outside with mouse clicks; checked by what the screen shows and
what is left on the machine."""

import os
import struct
import unittest

from wine_harness.box import DIST
from wine_harness.product import APP_NAME
from wine_harness.wizard import (ACTION, HEADING, IDCANCEL, IDOK, LAUNCH, XDisplay, WizardSession,
                                 shown, text)

SKIN = os.path.join(os.path.dirname(DIST), "res", "skin", "background.bmp")
WIDTH, HEIGHT = 584, 411


def read_skin():
    """The background bitmap as {(x, y): (r, g, b)} (24-bit, bottom-up BMP)."""
    with open(SKIN, "rb") as handle:
        data = handle.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    pixels = {}
    for row in range(height):
        y = height - 1 - row
        base = offset + row * stride
        for x in range(width):
            b, g, r = data[base + 3 * x:base + 3 * x + 3]
            pixels[(x, y)] = (r, g, b)
    return width, height, pixels


def is_dark_red(p):
    return 60 <= p[0] <= 110 and p[1] < 30 and p[2] < 30


def is_white(p):
    return p == (255, 255, 255)


class InstallAndRemoval(unittest.TestCase):
    def check_ready_screen(self, wizard, underneath, screen):
        """The skinned window as the user sees it: size, place, shape, skin, title, heading."""
        left, top, right, bottom = wizard["rect"]
        self.assertEqual((WIDTH, HEIGHT), (right - left, bottom - top))
        self.assertEqual((1024 // 2 - WIDTH // 2, 768 // 2 - HEIGHT // 2), (left, top), "centred")

        width, height, skin = read_skin()
        self.assertEqual((WIDTH, HEIGHT), (width, height))
        cut = {xy for xy, colour in skin.items() if colour == (255, 0, 255)}
        self.assertEqual(71, len(cut))
        # Near the four corners, a pixel shows what is underneath exactly where the skin is cut.
        for (x, y) in [(x, y) for y in list(range(10)) + list(range(HEIGHT - 10, HEIGHT))
                       for x in list(range(16)) + list(range(WIDTH - 16, WIDTH))]:
            through = screen.at(left + x, top + y) == underneath.at(left + x, top + y)
            self.assertEqual((x, y) in cut, through, "corner pixel %d,%d" % (x, y))
        # The skin is painted 1:1 where no control covers it (the drive-stack panel).
        for y in range(118, 358, 7):
            for x in range(14, 186, 5):
                self.assertEqual(skin[(x, y)], screen.at(left + x, top + y), "skin %d,%d" % (x, y))

        def region(x0, y0, x1, y1):
            return (left + x0, top + y0, left + x1, top + y1)
        title, heading = region(14, 7, 538, 22), region(35, 55, 549, 90)
        self.assertGreater(screen.count(title, is_dark_red), 60, "dark-red title")
        self.assertEqual(0, screen.count(heading, is_dark_red))
        self.assertGreater(screen.count(heading, is_white), 60, "white heading")
        self.assertEqual(0, screen.count(region(200, 110, 560, 165), is_white))

    def check_installed(self, box):
        folder = box.program_files + "\\BRONDL"
        for name in os.listdir(os.path.join(DIST, "Application")):
            self.assertTrue(box.exists(folder + "\\" + name), name)
        for name in ("setup.exe", "setup.ini", "setupENU.dll", "setupCHT.dll", "setupCHS.dll",
                     "setupJPN.dll"):
            self.assertTrue(box.exists(folder + "\\Uninstall\\" + name), name)
        key = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BRONDL"
        self.assertEqual(APP_NAME, box.reg_value(key, "DisplayName"))
        self.assertIn("Uninstall\\setup.exe", box.reg_value(key, "UninstallString") or "")
        self.assertIsNotNone(box.reg_values(
            "HKLM\\SYSTEM\\CurrentControlSet\\Services\\KorvaneRaidMonitor"), "service")
        self.assertTrue(box.exists(self.desktop_link(box)))
        self.assertEqual([APP_NAME + ".lnk", "Uninstall.lnk"],
                         box.listdir(self.start_menu_folder(box)))

    def check_removed(self, box):
        folder = box.program_files + "\\BRONDL"
        gone = box.wait_until(lambda: not box.exists(folder), timeout=60)
        self.assertTrue(gone, "the install folder is left: %r" % (
            box.exists(folder) and box.listdir(folder)))
        self.assertIsNone(box.reg_values(
            "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BRONDL"))
        self.assertIsNone(box.reg_values(
            "HKLM\\SYSTEM\\CurrentControlSet\\Services\\KorvaneRaidMonitor"))
        self.assertFalse(box.exists(self.desktop_link(box)))
        self.assertFalse(box.exists(self.start_menu_folder(box)))

    @staticmethod
    def desktop_link(box):
        return "C:\\users\\%s\\Desktop\\%s.lnk" % (box.user_name, APP_NAME)

    @staticmethod
    def start_menu_folder(box):
        return "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\" + APP_NAME

    def test_user_installs_then_removes_through_the_wizards(self):
        with XDisplay() as display, WizardSession(display) as session:
            box = session.box
            underneath = display.pixels()

            # Install: the wizard, Install, wait for Finish, leave "launch" ticked, Finish.
            exit_code = session.start('"%s"' % session.program)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the install wizard")
            self.assertEqual(APP_NAME + " - Installation Wizard", wizard["title"])
            self.assertEqual("The wizard is ready to begin the installation.",
                             text(wizard, HEADING))
            self.assertEqual([0, 0, WIDTH, HEIGHT], wizard["region"])
            session.park_mouse()
            self.check_ready_screen(wizard, underneath, session.wait_until_painted(wizard))

            session.click_control(wizard, ACTION)
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual("The installation wizard has completed the installation "
                             "successfully.", text(wizard, HEADING))
            self.assertTrue(shown(wizard, LAUNCH))
            self.assertEqual([], session.look()["boxes"], "no failure was shown")
            session.click_control(wizard, IDOK)
            self.assertEqual(0, exit_code())
            seen = session.wait_for(lambda s: s["apps"], "the application's window")
            self.assertEqual(APP_NAME, seen["apps"][0]["title"])
            self.check_installed(box)

            # The removal wizard left with Cancel: the uninstaller stays for later. (A wrongly
            # started self-removal script deletes it within a second or two.)
            uninstaller = box.program_files + "\\BRONDL\\Uninstall\\setup.exe"
            exit_code = session.start('"%s" delpkg' % uninstaller)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the removal wizard")
            session.click_control(wizard, IDCANCEL)
            self.assertEqual(1602, exit_code())
            self.assertFalse(box.wait_until(lambda: not box.exists(uninstaller), timeout=5))
            self.check_installed(box)

            # Removal, started as the Start menu's "Uninstall" shortcut starts it.
            exit_code = session.start('"%s" delpkg' % uninstaller)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the removal wizard")
            self.assertEqual(APP_NAME + " - Uninstallation Wizard", wizard["title"])
            self.assertEqual("Remove all installed features.", text(wizard, HEADING))
            session.click_control(wizard, ACTION)
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual("The removal wizard has completed the removal successfully.",
                             text(wizard, HEADING))
            self.assertFalse(wizard["controls"][str(LAUNCH)]["visible"])
            session.click_control(wizard, IDOK)
            self.assertEqual(0, exit_code())
            self.check_removed(box)
            self.assertEqual([], session.look()["apps"], "the application was closed")


if __name__ == "__main__":
    unittest.main()
