"""Start-up of the real setup.exe, seen from outside."""

import unittest

from winebox import WineBox

PERSISTED = ("HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
             "Compatibility Assistant\\Persisted")


class CompatibilityMark(unittest.TestCase):
    def run_from_upper_case_folder(self, box):
        program = box.copy_dist("C:\\DIST", "SETUP.EXE")
        # Silent removal of an application that was never installed: nothing to do, no window.
        box.run('"%s" SilentDel' % program)
        return box.reg_values(PERSISTED) or {}

    def test_windows7_marks_the_lower_case_program_path(self):
        with WineBox("win7-64") as box:
            values = self.run_from_upper_case_folder(box)
            self.assertEqual(("REG_DWORD", "0x1"), values.get("c:\\dist\\setup.exe"))

    def test_windows_xp_marks_nothing(self):
        with WineBox("winxp") as box:
            values = self.run_from_upper_case_folder(box)
            self.assertNotIn("c:\\dist\\setup.exe", values)


if __name__ == "__main__":
    unittest.main()
