"""An install over an earlier installation that fails leaves the earlier one as it was, working:
files, shortcuts, installed-programs entry, marks and the running service."""

import unittest

from wine_harness.box import WineBox
from wine_harness.faults import file_held, hanging_tool, stubborn_window
from wine_harness.machine import machine_differences, read_bytes, snapshot
from wine_harness.product import APP_FILE, APP_NAME, FAILURE
from wine_harness.silent_setup import SilentSetup


class FailedUpgrade(unittest.TestCase):
    def test_a_failed_upgrade_leaves_the_previous_installation_working(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            old_program = read_bytes(box, setup.install_dir + "\\" + APP_FILE)

            # The next version: other files, another version number.
            for name in ("Application\\" + APP_FILE, "Application\\center.gif"):
                with open(box.unix_path(setup.dist + "\\" + name), "ab") as changed:
                    changed.write(b"version 2")
            setup.set_ini("Startup", "Version", "2.00.00")
            installed = snapshot(box)
            new_tool = setup.dist + "\\Application\\REriDezaz.exe"
            faults = [
                ("a file of the installation held open",
                 file_held(box, setup.install_dir + "\\center.gif")),
                ("the application ignores WM_CLOSE", stubborn_window(box, APP_NAME, "ignore")),
                ("the application hangs", stubborn_window(box, APP_NAME, "hang")),
                ("the new service tool never returns", hanging_tool(box, new_tool)),
            ]
            for fault, injected in faults:
                with injected:
                    self.assertEqual(FAILURE, setup.install(), fault)
                self.assertEqual([], machine_differences(installed, snapshot(box)), fault)
                self.assertEqual("RUNNING", setup.service_settles("RUNNING"), fault)
                self.assertEqual(old_program,
                                 read_bytes(box, setup.install_dir + "\\" + APP_FILE), fault)

            # With nothing in the way, the upgrade goes through.
            self.assertEqual(0, setup.install())
            self.assertTrue(read_bytes(box, setup.install_dir + "\\center.gif").endswith(
                b"version 2"))
            self.assertEqual(("REG_SZ", "2.00.00"), setup.uninstall_values()["DisplayVersion"])
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))



if __name__ == "__main__":
    unittest.main()
