"""The engine's operations and the service tool, seen from outside: shortcut files read with
lnkinfo, the registry read in both views with Wine's own reg programs, the service read from the
service manager. The operations run through test-programs/engine_probe.exe, one per call."""

import os
import shutil
import unittest

from wine_harness.box import DIST, WineBox, lnk_fields, windows_path
from wine_harness.product import APP_NAME, SERVICE

PROBE = os.path.join(os.path.dirname(DIST), "test-programs", "engine_probe.exe")
UNINSTALL_64 = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
RUN_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"


def probe(box, *arguments):
    """Runs one engine operation; returns its full exit code."""
    quoted = " ".join('"%s"' % a for a in arguments)
    return box.run('"%s" %s' % (windows_path(PROBE), quoted))


def install_application(box, folder):
    """Copies the distribution's Application folder to folder, as an install would."""
    shutil.copytree(os.path.join(DIST, "Application"), box.unix_path(folder))


def service_state(box):
    return box.service_state(SERVICE)


def remove_folder(box, folder):
    """Deletes a folder from inside Windows, where a file in use blocks the removal."""
    box.run('cmd /c rd /s /q "%s"' % folder)
    return not box.exists(folder)


class ApplicationFolder(unittest.TestCase):
    def test_holds_the_programs_and_the_seven_images(self):
        folder = os.path.join(DIST, "Application")
        self.assertEqual(sorted(["DIVodeZivar.exe", "mingwm10.dll", "REriDezaz.exe",
                                 "center.gif", "speed_left.gif", "speed_right.gif", "Company.bmp",
                                 "RaidAPTitle.bmp", "Raidlogo.png", "aboutTitle.bmp"]),
                         sorted(os.listdir(folder)))
        magic = {".gif": b"GIF89a", ".bmp": b"BM", ".png": b"\x89PNG\r\n\x1a\n",
                 ".exe": b"MZ", ".dll": b"MZ"}
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), "rb") as handle:
                start = handle.read(8)
            self.assertTrue(start.startswith(magic[os.path.splitext(name)[1]]), name)


class Shortcuts(unittest.TestCase):
    def test_links_read_back_with_lnkinfo(self):
        with WineBox("win7-64") as box:
            folder = box.program_files + "\\Korvane Dir"
            target = folder + "\\DIVodeZivar.exe"
            uninstaller = folder + "\\Uninstall\\setup.exe"
            self.assertEqual(0, probe(box, "desktop-link", target, APP_NAME))
            self.assertEqual(0, probe(box, "programs-link", APP_NAME, target, APP_NAME))
            self.assertEqual(0, probe(box, "programs-link", APP_NAME, uninstaller, "Uninstall",
                                      "delpkg"))

            desktop = box.unix_path("C:\\users\\%s\\Desktop\\%s.lnk" % (box.user_name, APP_NAME))
            programs = box.unix_path("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
                                     + APP_NAME)
            desktop_link = lnk_fields(desktop)
            self.assertEqual(target, desktop_link["Local path"])
            self.assertNotIn("Command line arguments", desktop_link)
            self.assertEqual([APP_NAME + ".lnk", "Uninstall.lnk"], sorted(os.listdir(programs)))
            self.assertEqual(target, lnk_fields(os.path.join(programs, APP_NAME + ".lnk"))
                             ["Local path"])
            uninstall_link = lnk_fields(os.path.join(programs, "Uninstall.lnk"))
            self.assertEqual(uninstaller, uninstall_link["Local path"])
            self.assertEqual("delpkg", uninstall_link["Command line arguments"])


class Registration(unittest.TestCase):
    def register(self, box):
        box.write_text("C:\\Dist\\setup.ini", "[Startup]\nAppName=%s\n" % APP_NAME)
        return probe(box, "register", "C:\\Dist\\\\")

    def check_only_in_32bit_view(self, kind):
        with WineBox(kind) as box:
            self.assertEqual(0, self.register(box))
            folder = box.program_files + "\\BRONDL"
            values = box.reg_values(
                "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BRONDL",
                view=64)
            self.assertIsNotNone(values)
            self.assertEqual('"%s\\Uninstall\\setup.exe" delpkg' % folder,
                             values["UninstallString"][1])
            self.assertEqual(folder + "\\Uninstall\\setup.exe", values["DisplayIcon"][1])
            self.assertEqual(APP_NAME, values["DisplayName"][1])
            self.assertEqual(("REG_DWORD", "0x1"), values["NoModify"])
            # The 64-bit programs' own place stays empty.
            self.assertIsNone(box.reg_values(UNINSTALL_64 + "BRONDL", view=64))
            self.assertIsNone(box.reg_value(RUN_KEY, APP_NAME, view=64))

            self.assertEqual(0, probe(box, "unregister", "C:\\Dist\\\\"))
            self.assertIsNone(box.reg_values(UNINSTALL_64 + "BRONDL", view=32))

    def test_windows7_64bit_writes_only_the_32bit_view(self):
        self.check_only_in_32bit_view("win7-64")

    def test_windows10_64bit_writes_only_the_32bit_view(self):
        self.check_only_in_32bit_view("win10")

    def test_windows_xp_has_the_run_value(self):
        with WineBox("winxp") as box:
            self.assertEqual(0, self.register(box))
            self.assertEqual('"C:\\Program Files\\BRONDL\\DIVodeZivar.exe" min',
                             box.reg_value(RUN_KEY, APP_NAME))
            self.assertEqual(0, probe(box, "unregister", "C:\\Dist\\\\"))
            self.assertIsNone(box.reg_value(RUN_KEY, APP_NAME))
            self.assertIsNone(box.reg_values(UNINSTALL_64 + "BRONDL"))

    def test_windows7_has_no_run_value(self):
        with WineBox("win32") as box:
            self.assertEqual(0, self.register(box))
            self.assertIsNotNone(box.reg_values(UNINSTALL_64 + "BRONDL"))
            self.assertIsNone(box.reg_value(RUN_KEY, APP_NAME))


class ServiceTool(unittest.TestCase):
    def test_switches_install_stop_and_delete_the_service(self):
        with WineBox("win7-64") as box:
            folder = box.program_files + "\\Korvane Dir"
            tool = '"%s\\REriDezaz.exe"' % folder
            install_application(box, folder)

            self.assertEqual(0, box.run(tool + " -i"))
            self.assertEqual("RUNNING", service_state(box))
            entry = box.reg_values("HKLM\\System\\CurrentControlSet\\Services\\" + SERVICE)
            self.assertEqual("0x2", entry["Start"][1])  # started automatically
            self.assertEqual('"%s\\REriDezaz.exe" -service' % folder, entry["ImagePath"][1])
            # A second install finds it there and running.
            self.assertEqual(0, box.run(tool + " -i"))
            self.assertEqual("RUNNING", service_state(box))

            self.assertEqual(0, box.run(tool + " -k"))
            self.assertEqual("STOPPED", service_state(box))
            self.assertEqual(0, box.run(tool + " -u"))
            self.assertIsNone(service_state(box))
            # Nothing of the install folder is in use any more.
            self.assertTrue(remove_folder(box, folder))

    def test_a_running_service_holds_its_program(self):
        with WineBox("win7-64") as box:
            folder = box.program_files + "\\Korvane Dir"
            install_application(box, folder)
            self.assertEqual(0, box.run('"%s\\REriDezaz.exe" -i' % folder))
            self.assertFalse(remove_folder(box, folder))
            self.assertTrue(box.exists(folder + "\\REriDezaz.exe"))

    def test_stop_and_delete_without_a_service_succeed(self):
        with WineBox("winxp") as box:
            folder = "C:\\Program Files\\Korvane Dir"
            install_application(box, folder)
            self.assertEqual(0, box.run('"%s\\REriDezaz.exe" -k' % folder))
            self.assertEqual(0, box.run('"%s\\REriDezaz.exe" -u' % folder))
            self.assertEqual(2, box.run('"%s\\REriDezaz.exe" -x' % folder))
            self.assertEqual(2, box.run('"%s\\REriDezaz.exe"' % folder))

    def test_engine_installs_then_stops_and_removes_the_service(self):
        with WineBox("win7-64") as box:
            folder = box.program_files + "\\Korvane Dir"
            install_application(box, folder)
            self.assertEqual(0, probe(box, "install-service", folder))
            self.assertEqual("RUNNING", service_state(box))
            self.assertEqual(0, probe(box, "remove-service", folder))
            self.assertIsNone(service_state(box))
            self.assertTrue(remove_folder(box, folder))


if __name__ == "__main__":
    unittest.main()
