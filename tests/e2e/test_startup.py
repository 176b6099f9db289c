"""Start-up of the real setup.exe, seen from outside."""

import os
import unittest

from wine_harness.box import WineBox
from wine_harness.product import PERSISTED

MUTEX_RACE = os.environ.get("SETUP_MUTEX_RACE", "")


class CompatibilityMark(unittest.TestCase):
    def run_from_upper_case_folder(self, box):
        program = box.copy_dist("C:\\DIST", "SETUP.EXE")
        # A completed install keeps the mark (a failed run takes its own mark back).
        self.assertEqual(0, box.run('"%s" s' % program))
        return box.reg_values(PERSISTED) or {}

    def test_windows7_marks_the_lower_case_program_path(self):
        with WineBox("win7-64") as box:
            values = self.run_from_upper_case_folder(box)
            self.assertEqual(("REG_DWORD", "0x1"), values.get("c:\\dist\\setup.exe"))

    def test_windows_xp_marks_nothing(self):
        with WineBox("winxp") as box:
            values = self.run_from_upper_case_folder(box)
            self.assertNotIn("c:\\dist\\setup.exe", values)


class SingleInstance(unittest.TestCase):
    def wizard_shown(self, box):
        """winedbg lists the first 14 characters of each window title."""
        windows = box.wine(["winedbg", "--command", "info wnd"], check=False).stdout
        return any(line.rstrip().endswith("Korvane HW RAI") for line in windows.splitlines())

    def test_second_copy_ends_at_once_with_1618_while_the_wizard_runs(self):
        with WineBox("win7-64") as box:
            program = box.copy_dist("C:\Dist")
            first = box.start('"%s"' % program)
            try:
                self.assertTrue(box.wait_until(lambda: self.wizard_shown(box), timeout=60))
                # A copy that waited would meet the launcher's bound.
                self.assertEqual(1618, box.run('"%s"' % program, timeout=30))
                self.assertEqual(1618, box.run('"%s" s' % program, timeout=30))
                self.assertFalse(box.exists(box.program_files + "\\BRONDL"),
                                 "the second copy installed nothing")
                self.assertIsNone(first.poll(), "the first copy still runs")
            finally:
                first.kill()
                first.wait(timeout=30)

    def test_the_copy_that_loses_a_race_at_the_same_instant_ends_too(self):
        """Both copies pass the look for a running one; the one whose mutex turns out to exist
        already ends. The race is made every time: the other copy's mutex is created the moment
        this one calls CreateMutexW."""
        with WineBox("win7-64") as box:
            program = box.copy_dist("C:\\Dist")
            result = box.wine(["wine", MUTEX_RACE, "TESSAR_INSTALL", '"%s" s' % program],
                              check=False, timeout=120)
            self.assertIn("race: made", result.stdout)
            self.assertIn("exit-code: 1618", result.stdout)
            self.assertFalse(box.exists(box.program_files + "\\BRONDL"))


if __name__ == "__main__":
    unittest.main()
