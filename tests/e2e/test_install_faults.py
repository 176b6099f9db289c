"""A first install that fails leaves nothing behind. Each fault is injected from outside, and the
machine is compared before and after as an administrator would compare it: every path below C:\\,
the installed-programs entries, the Run values, the compatibility marks and the service."""

import contextlib
import os
import unittest

from wine_harness.box import WineBox
from wine_harness.faults import hanging_tool, put_real_tool, tool_processes
from wine_harness.machine import machine_differences, snapshot
from wine_harness.product import CURRENT_VERSION, FAILURE
from wine_harness.silent_setup import SilentSetup


@contextlib.contextmanager
def tool_missing(box, windows_path):
    os.remove(box.unix_path(windows_path))
    try:
        yield
    finally:
        put_real_tool(box, windows_path)


@contextlib.contextmanager
def file_in_place_of_folder(box, windows_path):
    box.write_text(windows_path, "not a folder")
    try:
        yield
    finally:
        os.remove(box.unix_path(windows_path))


@contextlib.contextmanager
def foreign_entry(box, key_name):
    """Another program's installed-programs entry, of the name this install's entry would have."""
    key = CURRENT_VERSION + "Uninstall\\" + key_name
    box.wine(["wine", "reg", "add", key, "/v", "DisplayName", "/d", "Another Product", "/f"])
    try:
        yield
    finally:
        box.wine(["wine", "reg", "delete", key, "/f"])


class FailedFirstInstall(unittest.TestCase):
    def test_a_failed_first_install_leaves_nothing_behind(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            tool = setup.dist + "\\Application\\REriDezaz.exe"
            faults = [
                ("the service tool missing from the distribution", tool_missing(box, tool)),
                ("a file where the install folder should be",
                 file_in_place_of_folder(box, setup.install_dir)),
                ("another program's installed-programs entry of the same name",
                 foreign_entry(box, setup.folder_name)),
                ("a service tool that never returns", hanging_tool(box, tool)),
            ]
            for fault, injected in faults:
                with injected:
                    before = snapshot(box)
                    self.assertEqual(FAILURE, setup.install(), fault)
                    self.assertEqual([], machine_differences(before, snapshot(box)), fault)
                    # Setup ends what it started: no copy of the tool outlives it.
                    self.assertEqual(0, tool_processes(setup), fault)


if __name__ == "__main__":
    unittest.main()
