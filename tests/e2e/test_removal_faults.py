"""A removal that fails part-way ends with 1603 and leaves what is needed to run it again: the
installed-programs entry, the uninstaller and its shortcut. Once the cause is gone, a second
removal finishes the job and the machine is as it was before the install."""

import unittest

from wine_harness.box import WineBox
from wine_harness.faults import file_held, hanging_tool, stubborn_window
from wine_harness.machine import machine_differences, snapshot
from wine_harness.product import APP_NAME, FAILURE
from wine_harness.silent_setup import SilentSetup


class FailedRemoval(unittest.TestCase):
    def check_can_run_again(self, setup, fault):
        values = setup.uninstall_values()
        self.assertIsNotNone(values, fault)
        self.assertEqual(("REG_SZ", '"%s" SilentDel' % setup.uninstaller),
                         values["QuietUninstallString"], fault)
        self.assertEqual(["setup.exe", "setup.ini", "setupCHS.dll", "setupCHT.dll",
                          "setupENU.dll", "setupJPN.dll"], setup.files("Uninstall"), fault)
        self.assertIn(setup.start_menu_folder + "\\Uninstall.lnk", setup.shortcuts(), fault)

    def test_a_failed_removal_can_be_run_again_and_then_finishes(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            clean = snapshot(box)
            faults = [
                ("the service tool never returns",
                 hanging_tool(box, setup.install_dir + "\\REriDezaz.exe")),
                ("a file of the installation held open",
                 file_held(box, setup.install_dir + "\\center.gif")),
                ("the application ignores WM_CLOSE", stubborn_window(box, APP_NAME, "ignore")),
                ("the application hangs", stubborn_window(box, APP_NAME, "hang")),
            ]
            for fault, injected in faults:
                self.assertEqual(0, setup.install(), fault)
                with injected:
                    self.assertEqual(FAILURE, setup.remove(), fault)
                self.check_can_run_again(setup, fault)
                # The script of the failed removal deleted itself and nothing else.
                self.assertTrue(setup.wait_for_script_to_end(), fault)
                self.check_can_run_again(setup, fault)

                self.assertEqual(0, setup.remove(), fault)
                self.assertTrue(setup.wait_for_script_to_end(), fault)
                self.assertEqual([], machine_differences(clean, snapshot(box)), fault)


if __name__ == "__main__":
    unittest.main()
