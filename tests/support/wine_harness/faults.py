"""Faults injected from outside, as they happen on users' machines: another program that holds a
file of the installation, an application window that ignores WM_CLOSE or hangs, a service tool
that never returns. Each is tests/support/faults.exe, run inside the box."""

import contextlib
import os
import shutil

from wine_harness.box import DIST, windows_path

FAULTS = os.environ.get("SETUP_FAULTS_PROGRAM", "")
MARKER = "C:\\fault-ready"


@contextlib.contextmanager
def running_fault(box, *arguments):
    """Runs faults.exe with arguments until the block ends; it is ready (the file held, the
    window shown) when the block starts."""
    marker = box.unix_path(MARKER)
    if os.path.exists(marker):
        os.remove(marker)
    quoted = " ".join('"%s"' % argument for argument in arguments + (MARKER,))
    process = box.start('"%s" %s' % (windows_path(FAULTS), quoted))
    try:
        if not box.wait_until(lambda: os.path.exists(marker), timeout=30):
            raise AssertionError("faults.exe %s did not get ready" % " ".join(arguments))
        yield
    finally:
        box.wine(["wine", "taskkill", "/F", "/IM", os.path.basename(FAULTS)], check=False)
        process.wait(timeout=30)
        os.remove(marker)


def file_held(box, windows_path_of_file):
    """Another program holds the file open, sharing only reading: it can be neither written,
    renamed nor deleted."""
    return running_fault(box, "hold", windows_path_of_file)


def stubborn_window(box, title, how):
    """A top-level window titled like the application that ignores WM_CLOSE ("ignore") or whose
    thread takes no messages ("hang")."""
    return running_fault(box, "window", title, how)


def put_hanging_tool(box, windows_path_of_tool):
    """Puts a service tool that never returns in place of the one at that path."""
    shutil.copy(FAULTS, box.unix_path(windows_path_of_tool))


def put_real_tool(box, windows_path_of_tool):
    shutil.copy(os.path.join(DIST, "Application", "REriDezaz.exe"),
                box.unix_path(windows_path_of_tool))


@contextlib.contextmanager
def hanging_tool(box, windows_path_of_tool):
    """A service tool that never returns at that path until the block ends, then the real one."""
    put_hanging_tool(box, windows_path_of_tool)
    try:
        yield
    finally:
        put_real_tool(box, windows_path_of_tool)


def tool_processes(setup):
    """How many copies of the service tool run (the service itself is one)."""
    return sum(1 for name in setup.processes() if name.lower() == "reridezaz.exe")
