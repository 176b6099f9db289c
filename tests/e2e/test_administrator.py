"""What an administrator's deployment tool meets: the log of every run, help, a strict command
line, the install folder on the command line, no wizard where nobody sees it, no library taken
from the distribution folder, and a distribution without its optional files."""

import codecs
import os
import shutil
import unittest

from wine_harness.box import WineBox
from wine_harness.faults import file_held
from wine_harness.machine import exported_values, machine_differences, snapshot
from wine_harness.product import APP_FILE, APP_NAME, FAILURE, SERVICE, SERVICES
from wine_harness.silent_setup import SilentSetup

BAD_COMMAND_LINE = 1639
NO_SCREEN = 1621
PLANTED = os.environ.get("SETUP_PLANTED_LIBRARY", "")


def read_log(box, windows_path):
    """The log's lines; the file must start with UTF-8's byte-order mark."""
    with open(box.unix_path(windows_path), "rb") as log:
        raw = log.read()
    assert raw.startswith(codecs.BOM_UTF8), raw[:16]
    return raw[len(codecs.BOM_UTF8):].decode("utf-8").splitlines()


def has_line(lines, *parts):
    return any(all(part in line for part in parts) for line in lines)


class RunLog(unittest.TestCase):
    def test_every_run_is_logged_step_by_step_and_appended(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            log = "C:\\Logs\\setup.log"
            os.makedirs(box.unix_path("C:\\Logs"))
            self.assertEqual(0, box.run('"%s" s /log %s' % (setup.program, log)))
            lines = read_log(box, log)
            for expected in [("setup 1.00.00 started", '" s /log'), ("mode: silent install",),
                             ("settings: AppName \"%s\"" % APP_NAME, "APPFolderName \"BRONDL\""),
                             ("install folder: " + setup.install_dir,),
                             ("copied", "\\Application\\" + APP_FILE),
                             ("created the shortcut",),
                             ("the service \"%s\" runs" % SERVICE,),
                             ("install complete",), ("exit code 0",)]:
                self.assertTrue(has_line(lines, *expected), expected)
            # Every line starts with its time.
            self.assertRegex(lines[0], r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  ")

            # A refused install, appended to the same log, says why.
            setup.set_ini("Customized_Setting", "APPFolderName", "..")
            self.assertEqual(FAILURE, box.run('"%s" s /log=%s' % (setup.program, log)))
            lines = read_log(box, log)
            self.assertEqual(2, sum("started" in line for line in lines))
            self.assertTrue(has_line(lines, 'APPFolderName ".." in setup.ini cannot name'))
            self.assertTrue(lines[-1].endswith("exit code 1603"))

            # A removal that fails: the file, the system's error code and its text.
            with file_held(box, setup.install_dir + "\\center.gif"):
                self.assertEqual(FAILURE, box.run('"%s" SilentDel /log %s' % (setup.uninstaller,
                                                                               log)))
            lines = read_log(box, log)
            self.assertTrue(has_line(lines, "Fail to delete the file", "center.gif",
                                     "-- error 32:"), lines[-8:])
            self.assertTrue(lines[-1].endswith("exit code 1603"))

    def test_the_default_log_and_a_log_that_cannot_be_written(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            # Without /log: the user's temporary folder. A folder name outside any code page
            # survives in the log.
            folder = "C:\\Programme \u7ba1\u7406 \u00e9t\u00e9"
            self.assertEqual(0, box.run('"%s" s "/D=%s"' % (setup.program, folder)))
            default = "C:\\users\\%s\\Temp\\KvSetup.log" % box.user_name
            self.assertTrue(has_line(read_log(box, default), "install folder: " + folder))
            # A log that cannot be written stops nothing.
            self.assertEqual(0, box.run('"%s\\Uninstall\\setup.exe" SilentDel /log '
                                        '"C:\\no such folder\\x.log"' % folder))


class CommandLine(unittest.TestCase):
    def test_help_and_bad_switches_end_at_once_and_change_nothing(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            before = snapshot(box)
            cases = [("/?", 0), ("-?", 0), ("/h", 0), ("/help", 0),
                     ("/quiet", BAD_COMMAND_LINE), ("/VERYSILENT", BAD_COMMAND_LINE),
                     ("/SILENT", BAD_COMMAND_LINE), ("--silent", BAD_COMMAND_LINE),
                     ("/q", BAD_COMMAND_LINE), ("S=1", BAD_COMMAND_LINE),
                     ("s SilentDel", BAD_COMMAND_LINE), ("s delpkg", BAD_COMMAND_LINE),
                     ("delpkg /D=C:\\Custom", BAD_COMMAND_LINE), ("s /D=relative", BAD_COMMAND_LINE),
                     ("s /log", BAD_COMMAND_LINE)]
            for arguments, expected in cases:
                # A wizard that opened would keep the launcher waiting until its bound.
                code, output = box.run_with_output('"%s" %s' % (setup.program, arguments),
                                                   timeout=30)
                self.assertEqual(expected, code, arguments)
                self.assertIn("1639  the command line is not understood", output, arguments)
            self.assertEqual([], machine_differences(before, snapshot(box)))


class InstallFolderOption(unittest.TestCase):
    def test_an_install_folder_named_on_the_command_line_is_followed_everywhere(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            clean = snapshot(box)
            # (Wine keeps a link's target in the ANSI code page: a letter it holds.)
            folder = "C:\\Custom Tools\\RAID \u00dcberwachung"
            self.assertEqual(0, box.run('"%s" s "/D=%s"' % (setup.program, folder)))
            self.assertIn(APP_FILE, box.listdir(folder))
            values = setup.uninstall_values()
            self.assertEqual(("REG_SZ", folder), values["InstallLocation"])
            self.assertEqual(("REG_SZ", '"%s\\Uninstall\\setup.exe" delpkg' % folder),
                             values["UninstallString"])
            self.assertEqual((folder + "\\" + APP_FILE, None),
                             setup.shortcuts()[setup.desktop + "\\" + APP_NAME + ".lnk"])
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertIn(folder, exported_values(box, SERVICES + SERVICE)["ImagePath"][1])

            # The same installation elsewhere is refused rather than split in two.
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.install())
            self.assertEqual([], machine_differences(before, snapshot(box)))

            # Its uninstaller finds it by its own place; the folder made above it goes too.
            self.assertEqual(0, box.run('"%s\\Uninstall\\setup.exe" SilentDel' % folder))
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertEqual([], machine_differences(clean, snapshot(box)))


class NoScreen(unittest.TestCase):
    def test_a_wizard_where_nobody_sees_it_ends_at_once(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            before = snapshot(box)
            for arguments in ("", "delpkg"):
                self.assertEqual(NO_SCREEN, box.run('"%s" %s' % (setup.program, arguments),
                                                    timeout=30, window_station="Service-0x0-3e7$"),
                                 arguments)
            self.assertEqual([], machine_differences(before, snapshot(box)))
            log = "C:\\users\\%s\\Temp\\KvSetup.log" % box.user_name
            self.assertTrue(has_line(read_log(box, log), "no one can see a window here"))


class Distribution(unittest.TestCase):
    def test_a_library_planted_beside_setup_is_never_loaded(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            # The shell's helper library, which the system's libraries load by name.
            shutil.copy(PLANTED, box.unix_path(setup.dist + "\\shcore.dll"))
            marker = setup.dist + "\\shcore.dll.loaded"
            self.assertEqual(0, setup.install())
            self.assertEqual(0, setup.remove())
            self.assertFalse(box.exists(marker))

    def test_a_renamed_setup_installs_itself_as_the_uninstaller(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            os.rename(box.unix_path(setup.program), box.unix_path(setup.dist + "\\setup (1).exe"))
            self.assertEqual(0, box.run('"%s\\setup (1).exe" s' % setup.dist))
            self.assertIn("setup.exe", setup.files("Uninstall"))
            self.assertEqual(0, setup.remove())

    def test_without_settings_or_texts_the_silent_modes_still_work(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            setup.remove_from_dist("setup.ini", *["setup%s.dll" % language for language in
                                                  ("ENU", "CHT", "CHS", "JPN", "KOR", "FRA",
                                                   "DEU", "ITA", "RUS", "ESN", "SVE", "NLD",
                                                   "PTB")])
            clean = snapshot(box)
            self.assertEqual(0, setup.install())
            # Every setting took its default.
            self.assertEqual("C:\\Program Files (x86)\\BRONDL", setup.install_dir)
            self.assertEqual(("REG_SZ", APP_NAME), setup.uninstall_values()["DisplayName"])
            self.assertEqual(["setup.exe"], setup.files("Uninstall"))
            self.assertEqual(0, setup.remove())
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertEqual([], machine_differences(clean, snapshot(box)))


if __name__ == "__main__":
    unittest.main()
