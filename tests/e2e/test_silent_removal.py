"""The silent removal ("SilentDel") of the real setup.exe: the uninstall sequence without any
window, then the self-removal script, seen from outside."""

import contextlib
import os
import shutil
import unittest

from wine_harness.box import WineBox
from wine_harness.machine import snapshot, uninstall_keys
from wine_harness.product import APP_FILE, APP_NAME, FAILURE
from wine_harness.silent_setup import SilentSetup


def read_utf16(path):
    try:
        with open(path, "rb") as handle:
            return handle.read().decode("utf-16-le", "replace")
    except FileNotFoundError:
        return ""


class SlowToolInstallation:
    """An installation whose service tool notes each of its runs in C:\\tool.log (the stand-in
    tool does when asked), and a silent removal of it, started in the background, in which each
    run of the tool takes as long as the test asks."""

    LOG = "C:\\tool.log"

    def __init__(self, box):
        self.box = box
        self.setup = SilentSetup(box)
        box.env["SETUP_ECHO_LOG"] = self.LOG

    def install(self):
        return self.setup.install()

    @contextlib.contextmanager
    def removal_running(self, delay_ms):
        """Starts the silent removal with each tool run taking delay_ms; yields its Popen and
        ends it on the way out if it still runs."""
        self.box.env["SETUP_ECHO_DELAY_MS"] = str(delay_ms)
        removal = self.box.start('"%s" SilentDel' % self.setup.uninstaller)
        try:
            yield removal
        finally:
            if removal.poll() is None:
                removal.kill()

    def tool_runs(self):
        return read_utf16(self.box.unix_path(self.LOG)).splitlines()

    def tool_started(self, switch):
        return self.box.wait_until(
            lambda: any(run.rstrip().endswith(switch) for run in self.tool_runs()), timeout=20)

    def tool_ended(self, switch, timeout=30):
        return self.box.wait_until(lambda: any(
            run.startswith("end") and run.rstrip().endswith(switch) for run in self.tool_runs()),
            timeout=timeout)


class SilentRemoval(unittest.TestCase):
    def check_all_gone(self, setup):
        self.assertFalse(setup.box.exists(setup.install_dir), setup.files())
        self.assertFalse(setup.box.exists(setup.script))
        self.assertIsNone(setup.uninstall_values())
        self.assertNotIn(setup.folder_name, uninstall_keys(setup.box))
        self.assertEqual({}, setup.shortcuts())
        self.assertFalse(setup.box.exists(setup.start_menu_folder))
        self.assertIsNone(setup.run_value())
        self.assertIsNone(setup.service_settles(None))
        self.assertNotIn(APP_FILE, setup.processes())

    def test_windows7_removes_everything_and_then_itself(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertTrue(setup.start_app())

            # From the installed uninstaller, as the installed-programs entry's quiet command.
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.check_all_gone(setup)
            self.assertTrue(setup.reap_started())

            # Again, from the distribution: nothing is left to remove, and that is said.
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.remove(setup.program))
            self.assertEqual(before, snapshot(box))

            # A partial installation: what is left goes.
            self.assertEqual(0, setup.install())
            for name in (APP_FILE, "mingwm10.dll", "center.gif"):
                os.remove(box.unix_path(setup.install_dir + "\\" + name))
            shutil.rmtree(box.unix_path(setup.start_menu_folder))
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.check_all_gone(setup)

    def test_the_script_waits_for_the_uninstaller_to_end(self):
        """The unattended removal starts its self-removal script as soon as the removal is sure
        to run; the script must not touch the uninstaller's folder before it has ended, however
        long the removal takes."""
        with WineBox("win7-64") as box:
            slow = SlowToolInstallation(box)
            setup = slow.setup
            self.assertEqual(0, slow.install())
            with slow.removal_running(delay_ms=2000) as removal:
                self.assertTrue(box.wait_until(lambda: box.exists(setup.script), timeout=20))
                # The tool's first run has begun: the removal is at work, the script waits.
                self.assertTrue(slow.tool_started("-k"))
                self.assertIsNone(removal.poll())
                # setup.exe could not go while it runs anyway; its settings and libraries could.
                for name in ("setup.ini", "setupENU.dll", "setupCHT.dll"):
                    self.assertTrue(box.exists(setup.install_dir + "\\Uninstall\\" + name), name)
                self.assertEqual(0, removal.wait(timeout=60))
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertFalse(box.exists(setup.install_dir), setup.files())

    def test_an_uninstaller_ended_by_force_stays_to_be_run_again(self):
        """A removal cut short (the uninstaller ended by force while the service tool runs)
        must leave the way to remove the application: the early started script then removes
        nothing but itself."""
        with WineBox("win7-64") as box:
            slow = SlowToolInstallation(box)
            setup = slow.setup
            self.assertEqual(0, slow.install())
            with slow.removal_running(delay_ms=5000) as removal:
                self.assertTrue(slow.tool_started("-k"))
                # The script was started at once and waits.
                self.assertTrue(box.exists(setup.script))
                box.wine(["wine", "taskkill", "/F", "/IM", "setup.exe"], check=False)
                removal.wait(timeout=30)
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertTrue(box.exists(setup.uninstaller))
            self.assertIsNotNone(setup.uninstall_values())

            # Run again, to its end, once the tool run that outlived it has ended too (it holds
            # its own file): now everything goes.
            self.assertTrue(slow.tool_ended("-k"))
            box.env["SETUP_ECHO_DELAY_MS"] = "0"
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertFalse(box.exists(setup.install_dir), setup.files())

    def test_a_foreign_file_keeps_its_folder_and_only_that(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            box.write_text(setup.install_dir + "\\notes.txt", "the administrator's own")
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertEqual(["notes.txt"], setup.files())
            self.assertIsNone(setup.uninstall_values())
            self.assertEqual({}, setup.shortcuts())
            self.assertIsNone(setup.service_settles(None))

    def test_windows_xp_removes_the_run_value(self):
        with WineBox("winxp") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertIsNotNone(setup.run_value())
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.check_all_gone(setup)

    def test_an_uninstaller_with_unsafe_names_deletes_nothing(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            # A copy of the uninstaller whose settings would point the removal elsewhere.
            hostile = SilentSetup(box, dist="C:\\Other\\Uninstall")
            for folder_name in ("", "..\\..", "..", "Program Files (x86)\\BRONDL", "C:", "NUL"):
                hostile.set_ini("Customized_Setting", "APPFolderName", folder_name)
                before = snapshot(box)
                self.assertEqual(FAILURE, hostile.remove(hostile.program), folder_name)
                self.assertFalse(box.exists(setup.script))
                self.assertEqual(before, snapshot(box), folder_name)
            # A program name that climbs out of the install folder.
            hostile.set_ini("Customized_Setting", "APPFolderName", "BRONDL")
            hostile.set_ini("Customized_Setting", "APPFileName", "..\\..\\Windows\\notepad.exe")
            before = snapshot(box)
            self.assertEqual(FAILURE, hostile.remove(hostile.program))
            self.assertEqual(before, snapshot(box))
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertEqual(3, len(setup.shortcuts()))
            self.assertIn(APP_NAME, box.listdir(
                "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"))


if __name__ == "__main__":
    unittest.main()
