"""Install folder names from setup.ini: names that mean something to the command interpreter or
lie outside the OEM code page install and remove cleanly; names that are no single folder name,
or too long, are refused before anything changes."""

import unittest

from wine_harness.box import WineBox
from wine_harness.machine import snapshot, uninstall_keys
from wine_harness.product import APP_FILE, FAILURE
from wine_harness.silent_setup import SilentSetup

# Blanks, a percent sign that would start a variable, an ampersand that would start a command,
# accented letters (in the OEM code page), Chinese (not in it: written by the short name).
# (A name holding a defined variable such as %PATH% installs and removes too, but the service
# manager expands variables in the service's program path, so that service cannot start.)
USABLE_NAMES = ["RAID Tool 100% A&B", "%NoSuchVariable% ^! (x)", "Caf\u00e9 \u00dcber",
                "\u9663\u5217 \u7ba1\u7406"]


class FolderNames(unittest.TestCase):
    def test_unusual_names_install_and_remove_cleanly(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            for name in USABLE_NAMES:
                setup.set_ini("Customized_Setting", "APPFolderName", name)
                setup.folder_name = name
                self.assertEqual(0, setup.install(), name)
                self.assertIn(APP_FILE, setup.files(), name)
                self.assertEqual(6, len(setup.files("Uninstall")), name)
                self.assertEqual(("REG_SZ", '"%s" delpkg' % setup.uninstaller),
                                 setup.uninstall_values()["UninstallString"], name)
                self.assertEqual(3, len(setup.shortcuts()), name)
                self.assertEqual("RUNNING", setup.service_settles("RUNNING"), name)

                self.assertEqual(0, setup.remove(), name)
                self.assertTrue(setup.wait_for_script_to_end(), name)
                self.assertFalse(box.exists(setup.install_dir), setup.files())
                self.assertIsNone(setup.uninstall_values(), name)
                self.assertEqual({}, setup.shortcuts(), name)
                self.assertIsNone(setup.service_settles(None), name)
            # Nothing else below the programs folder was touched on the way.
            self.assertEqual(["Common Files", "Internet Explorer", "Windows Media Player",
                              "Windows NT"], box.listdir(box.program_files))

    def test_names_that_are_no_single_folder_name_are_refused(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            # An installation that a wrong name must not harm.
            self.assertEqual(0, setup.install())
            refused = ["", "..\\..", "..", "a\\b", "CON", "x" * 300]
            for name in refused:
                setup.set_ini("Customized_Setting", "APPFolderName", name)
                before = snapshot(box)
                self.assertEqual(FAILURE, setup.install(), name)
                self.assertEqual(before, snapshot(box), name)
                self.assertEqual(FAILURE, setup.remove(setup.program), name)
                self.assertFalse(box.exists(setup.script), name)
                self.assertEqual(before, snapshot(box), name)

            # A folder that fits, with files below it that would not.
            setup.set_ini("Customized_Setting", "APPFolderName", "y" * 220)
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.install())
            self.assertEqual(before, snapshot(box))
            self.assertEqual(["BRONDL"], [k for k in uninstall_keys(box) if k == "BRONDL"])
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))


if __name__ == "__main__":
    unittest.main()
