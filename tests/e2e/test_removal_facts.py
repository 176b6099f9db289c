"""A removal removes the installation that facts vouch for, and nothing else: the uninstaller's own
place and the installation's record in its installed-programs entry, never settings that are
missing or damaged and fall back to defaults. Another installation, another program's entry of
the same name, and the service another installation still uses are left alone."""

import os
import shutil
import unittest

from wine_harness.box import WineBox
from wine_harness.faults import file_held
from wine_harness.machine import machine_differences, snapshot
from wine_harness.product import CURRENT_VERSION, FAILURE
from wine_harness.silent_setup import SilentSetup

DAMAGED_SETTINGS = {
    "missing": None,
    "empty": "",
    "garbage": "\x00\x7f[[[ not settings ]]] \ufffd\r\nAPPFolderName\r\n=\r\n",
}


def damage_settings(box, windows_path, content):
    path = box.unix_path(windows_path)
    if content is None:
        os.remove(path)
    else:
        with open(path, "w", encoding="utf-8", newline="") as settings:
            settings.write(content)


class RemovalFromFacts(unittest.TestCase):
    def test_damaged_uninstaller_settings_remove_its_own_installation_only(self):
        with WineBox("win7-64") as box:
            # The default folder, and a second installation from a distribution of its own,
            # whose tool takes over the one service.
            default = SilentSetup(box)
            custom = SilentSetup(box, folder_name="CUSTOM", dist="C:\\Dist2")
            clean = snapshot(box)
            self.assertEqual(0, default.install())
            only_default = snapshot(box)
            for damage, content in DAMAGED_SETTINGS.items():
                self.assertEqual(0, custom.install(), damage)
                damage_settings(box, custom.install_dir + "\\Uninstall\\setup.ini", content)
                self.assertEqual(0, custom.remove(), damage)
                self.assertTrue(custom.wait_for_script_to_end(), damage)
                # The default installation keeps everything, the service given back to it.
                self.assertEqual([], machine_differences(only_default, snapshot(box)), damage)

            # Alone, an installation without its settings still removes itself completely.
            damage_settings(box, default.install_dir + "\\Uninstall\\setup.ini", None)
            self.assertEqual(0, default.remove())
            self.assertTrue(default.wait_for_script_to_end())
            self.assertEqual([], machine_differences(clean, snapshot(box)))

    def test_on_windows_xp_what_both_installations_share_stays_with_the_other(self):
        # The Run value and the shortcuts are named after the application, like the service.
        with WineBox("winxp") as box:
            default = SilentSetup(box)
            custom = SilentSetup(box, folder_name="CUSTOM", dist="C:\\Dist2")
            self.assertEqual(0, default.install())
            only_default = snapshot(box)
            self.assertEqual(0, custom.install())
            self.assertEqual(0, custom.remove())
            self.assertTrue(custom.wait_for_script_to_end())
            self.assertEqual([], machine_differences(only_default, snapshot(box)))

    def test_an_install_folder_deleted_by_hand_still_takes_its_service_along(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            clean = snapshot(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            shutil.rmtree(box.unix_path(setup.install_dir))
            # The uninstaller went with the folder: the distribution removes the rest.
            self.assertEqual(0, setup.remove(setup.program))
            self.assertEqual([], machine_differences(clean, snapshot(box)))

    def test_nothing_is_removed_where_nothing_vouches_for_it(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            before = snapshot(box)
            # Nothing installed: nothing to remove, and that is reported.
            self.assertEqual(FAILURE, setup.remove(setup.program))
            self.assertEqual([], machine_differences(before, snapshot(box)))
            # Another program's entry of the same name.
            key = CURRENT_VERSION + "Uninstall\\" + setup.folder_name
            box.wine(["wine", "reg", "add", key, "/v", "UninstallString", "/d",
                      "C:\\Other\\uninstall.exe", "/f"])
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.remove(setup.program))
            self.assertEqual([], machine_differences(before, snapshot(box)))

    def test_a_stale_script_held_open_does_not_orphan_the_uninstaller(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            box.write_text(setup.script, "rem left over from long ago")
            with file_held(box, setup.script):
                self.assertEqual(0, setup.remove())
                # Another name took its place, and did the work.
                next_script = setup.script.replace("KvUninst.bat", "KvUninst1.bat")
                self.assertTrue(box.wait_until(lambda: not box.exists(next_script), timeout=90))
            self.assertFalse(box.exists(setup.install_dir), setup.files())
            self.assertIsNone(setup.uninstall_values())
            with open(box.unix_path(setup.script), encoding="utf-8") as stale:
                self.assertEqual("rem left over from long ago", stale.read())


if __name__ == "__main__":
    unittest.main()
