"""The silent install ("s") of the real setup.exe, seen from outside as an administrator would:
the files, the registry in the view a 32-bit program writes, the shortcuts read with lnkinfo, the
service manager, the running application, the full exit code."""

import os
import shutil
import unittest

from wine_harness.box import WineBox
from wine_harness.machine import read_bytes, snapshot
from wine_harness.product import APP_FILE, APP_NAME, FAILURE
from wine_harness.silent_setup import SilentSetup

IMAGES = ["center.gif", "speed_left.gif", "speed_right.gif", "Company.bmp", "RaidAPTitle.bmp",
          "Raidlogo.png", "aboutTitle.bmp"]
UNINSTALLER_FILES = ["setup.exe", "setup.ini", "setupCHS.dll", "setupCHT.dll", "setupENU.dll",
                     "setupJPN.dll"]


class SilentInstall(unittest.TestCase):
    def check_installed(self, setup, service):
        """The complete installation: files, uninstaller, registration, shortcuts."""
        expected = sorted(IMAGES + [APP_FILE, "mingwm10.dll", "Uninstall"] +
                          (["REriDezaz.exe"] if service else []))
        self.assertEqual(sorted(expected), setup.files())
        self.assertEqual(UNINSTALLER_FILES, setup.files("Uninstall"))
        copies = [("setup.exe", "Uninstall\\setup.exe"), ("setup.ini", "Uninstall\\setup.ini"),
                  ("setupJPN.dll", "Uninstall\\setupJPN.dll"),
                  ("Application\\" + APP_FILE, APP_FILE),
                  ("Application\\mingwm10.dll", "mingwm10.dll"),
                  ("Application\\Raidlogo.png", "Raidlogo.png")]
        for source, target in copies:
            self.assertEqual(read_bytes(setup.box, setup.dist + "\\" + source),
                             read_bytes(setup.box, setup.install_dir + "\\" + target), target)

        values = setup.uninstall_values()
        uninstaller = setup.uninstaller
        self.assertEqual(("REG_SZ", '"%s" delpkg' % uninstaller), values["UninstallString"])
        self.assertEqual(("REG_SZ", '"%s" SilentDel' % uninstaller), values["QuietUninstallString"])
        self.assertEqual(("REG_SZ", APP_NAME), values["DisplayName"])
        self.assertEqual(("REG_SZ", uninstaller), values["DisplayIcon"])
        self.assertEqual(("REG_SZ", "Korvane Technology Corp."), values["Publisher"])
        self.assertEqual(("REG_SZ", "1.00.00"), values["DisplayVersion"])
        self.assertEqual(("REG_SZ", setup.install_dir), values["InstallLocation"])

        app = setup.install_dir + "\\" + APP_FILE
        self.assertEqual({
            setup.desktop + "\\" + APP_NAME + ".lnk": (app, None),
            setup.start_menu_folder + "\\" + APP_NAME + ".lnk": (app, None),
            setup.start_menu_folder + "\\Uninstall.lnk": (uninstaller, "delpkg"),
        }, setup.shortcuts())
        self.assertEqual(["%s.lnk" % APP_NAME, "Uninstall.lnk"],
                         setup.box.listdir(setup.start_menu_folder))

    def test_windows7_64bit(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files (x86)\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=True)
            # A 32-bit program's entries live in the 32-bit view only.
            self.assertIsNone(setup.uninstall_values(view=64))
            self.assertIsNone(setup.run_value())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertEqual(("REG_DWORD", "0x1"), setup.compatibility_marks().get(
                setup.install_dir + "\\" + APP_FILE))
            # Not asked to start the application: it does not run.
            self.assertNotIn(APP_FILE, setup.processes())

            # Asked to, the install starts it; the running application is then upgraded over.
            # Its path has blanks: a program at C:\Program.exe would be started instead were the
            # path not quoted.
            planted = "C:\\Program.exe"
            shutil.copy(os.environ["SETUP_ECHO_PROGRAM"], box.unix_path(planted))
            box.env["SETUP_ECHO_LOG"] = "C:\\planted.log"
            setup.set_ini("Customized_Setting", "LaunchAPInSilentMode", "1")
            self.assertEqual(0, setup.install())
            self.assertTrue(box.wait_until(setup.app_window_shown, timeout=20))
            # (The echo program notes its starts there, and so does the service tool.)
            started = box.unix_path("C:\\planted.log")
            runs = open(started, "rb").read().decode("utf-16-le") if os.path.exists(started) else ""
            self.assertNotIn("\t" + planted + "\t", runs, "C:\\Program.exe was started")
            os.remove(box.unix_path(planted))
            del box.env["SETUP_ECHO_LOG"]

            setup.set_ini("Customized_Setting", "LaunchAPInSilentMode", "0")
            with open(box.unix_path(setup.dist + "\\Application\\center.gif"), "ab") as image:
                image.write(b"new version")
            self.assertEqual(0, setup.install())
            self.assertFalse(setup.app_window_shown(), "the old application was closed")
            self.check_installed(setup, service=True)
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertTrue(read_bytes(box, setup.install_dir + "\\center.gif").endswith(
                b"new version"))

    def test_windows_xp(self):
        with WineBox("winxp") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=False)
            self.assertEqual('"C:\\Program Files\\BRONDL\\%s" min' % APP_FILE, setup.run_value())
            self.assertIsNone(setup.service_settles(None))
            self.assertEqual({}, setup.compatibility_marks())

    def test_windows7_32bit(self):
        with WineBox("win32") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=True)
            self.assertIsNone(box.reg_values("HKLM\\SOFTWARE\\Wow6432Node"))
            self.assertIsNone(setup.run_value())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))

    def test_incomplete_distributions(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            # Without its program the application cannot run: refused, nothing changed.
            setup.remove_from_dist("Application\\" + APP_FILE)
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.install())
            self.assertEqual(before, snapshot(box))
            self.assertIsNone(setup.service_settles(None))

            # The images are optional.
            box.copy_dist(setup.dist)
            setup.remove_from_dist(*["Application\\" + image for image in IMAGES])
            self.assertEqual(0, setup.install())
            self.assertEqual([APP_FILE, "REriDezaz.exe", "Uninstall", "mingwm10.dll"],
                             setup.files())
            self.assertEqual(UNINSTALLER_FILES, setup.files("Uninstall"))
            self.assertEqual(3, len(setup.shortcuts()))
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))


if __name__ == "__main__":
    unittest.main()
