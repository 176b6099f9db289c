"""The benchmark's boxes: fresh copies of the run's pristine prefixes, on the virtual display,
with the Wine server, its background processes and the desktop already up, and the floor program
started once in each just before its measurements.

Three things keep a box cheap enough for many runs on two cores. The pristine prefixes keep
their system libraries (1.2 GB of the 1.3 GB of a 64-bit prefix) in a store beside them and hold
only links to them, so that a box copies 25 MB instead of 1.3 GB; nothing that the benchmark runs
writes into those libraries (the run checks that at its end). The next box warms up while the last one is checked after its
measurements. And a box's server is ended while the next one is being made, and its copy
deleted while a later one is, never while anything is measured."""

import os
import shutil
import statistics
import subprocess
import threading

from wine_harness.box import LAUNCHER, WineBox, windows_path

BUILD = os.environ["SETUP_BUILD_DIR"]
ROOT = os.environ["SETUP_TEST_ROOT"]
NOOP = os.path.join(BUILD, "tests", "noop.exe")

# The system libraries and programs of a prefix: only read by the programs the benchmark runs.
_SHARED_EXTENSIONS = (".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".nls",
                      ".vxd")


def prepare_pristine(kind):
    """Switches the run's pristine prefix of kind to Wine's X11 driver, so that every box draws
    on the virtual display from its first program on, and moves its system libraries into the
    store."""
    pristine = os.path.join(ROOT, "pristine", kind)
    # The prefix's server has ended (prefixes.sh waits for it), so its user registry file is
    # complete and may be changed directly.
    user_registry = os.path.join(pristine, "user.reg")
    with open(user_registry, encoding="utf-8") as handle:
        text = handle.read()
    switched = text.replace('"Graphics"="null"', '"Graphics"="x11"')
    if '"Graphics"="x11"' not in switched:
        raise RuntimeError("no graphics driver setting in " + user_registry)
    with open(user_registry, "w", encoding="utf-8") as handle:
        handle.write(switched)
    store = os.path.join(ROOT, "store", kind)
    windows = os.path.join(pristine, "drive_c", "windows")
    for folder, _, names in os.walk(windows):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.islink(path) or not name.lower().endswith(_SHARED_EXTENSIONS):
                continue
            kept = os.path.join(store, os.path.relpath(path, pristine))
            os.makedirs(os.path.dirname(kept), exist_ok=True)
            os.rename(path, kept)
            os.symlink(kept, path)


def store_state():
    """Size and modification time of every file in the store: the same at the end of a run as
    at its start, or a box wrote into the shared libraries and the run measured nothing sound."""
    state = {}
    for folder, _, names in os.walk(os.path.join(ROOT, "store")):
        for name in names:
            info = os.stat(os.path.join(folder, name))
            state[os.path.join(folder, name)] = (info.st_size, info.st_mtime_ns)
    return state


class Boxes:
    """Makes the boxes of one benchmark run, one after the other, and keeps the floor's samples.

    A box is warmed up (copied, its server and desktop started) while the one before it is
    checked and closed, once that one's measurements are done: prefetch() says so and names the
    next box's kind. Nothing else runs while the floor or a row is measured."""

    def __init__(self, display):
        self.display = display
        self.floor_samples = []
        self._closing = None  # (box, thread ending its server)
        self._warming = None  # (kind, thread, [box or exception])
        self._ended = []  # boxes whose server has ended, to be deleted

    def box(self, kind):
        """The next box, of kind, warm: use it with `with`."""
        if self._warming is None or self._warming[0] != kind:
            self._discard_warming()
            self.prefetch(kind)
        _, thread, result = self._warming
        self._warming = None
        thread.join()
        self._wait_for_close()
        if isinstance(result[0], BaseException):
            raise result[0]
        box = result[0]
        self.floor_samples.append(measure(box, '"%s"' % windows_path(NOOP))[0])
        return _OpenBox(self, box)

    def prefetch(self, kind):
        """Starts warming up the next box, of kind, in the background."""
        result = [None]
        ended, self._ended = self._ended, []

        def warm():
            try:
                for old in ended:
                    shutil.rmtree(old.prefix, ignore_errors=True)
                box = WineBox(kind)
                box.env["DISPLAY"] = self.display.name
                measure(box, '"%s" desktop' % windows_path(NOOP))
                result[0] = box
            except BaseException as error:  # handed over to box()
                result[0] = error

        thread = threading.Thread(target=warm)
        thread.start()
        self._warming = (kind, thread, result)

    def floor(self):
        return statistics.median(self.floor_samples)

    def close_later(self, box):
        """Ends the box's server in the background; the next box to warm up deletes the copy."""
        self._wait_for_close()
        ending = threading.Thread(target=subprocess.run, args=(["wineserver", "-k"],),
                                  kwargs=dict(env=box.env, stdin=subprocess.DEVNULL,
                                              stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL))
        ending.start()
        self._closing = (box, ending)

    def _wait_for_close(self):
        if self._closing is not None:
            box, ending = self._closing
            ending.join()
            self._ended.append(box)
            self._closing = None

    def _discard_warming(self):
        if self._warming is not None:
            _, thread, result = self._warming
            self._warming = None
            thread.join()
            if isinstance(result[0], WineBox):
                result[0].close()

    def finish(self):
        self._discard_warming()
        self._wait_for_close()
        for box in self._ended:
            shutil.rmtree(box.prefix, ignore_errors=True)
        self._ended = []


class _OpenBox:
    def __init__(self, boxes, box):
        self.boxes = boxes
        self.box = box

    def __enter__(self):
        return self.box

    def __exit__(self, *exc):
        self.boxes.close_later(self.box)


def measure(box, command_line, accepted=("0",), **options):
    """Runs command_line through the launcher; returns (milliseconds, peak working set in KB).
    An exit code outside accepted is an error: a failed run measures nothing."""
    args = ["wine", LAUNCHER, "--timeout", "120"]
    for name, value in options.items():
        args += ["--" + name.replace("_", "-"), value]
    args += ["--", command_line]
    result = box.wine(args, check=False, timeout=180)
    fields = dict(line.split(": ", 1) for line in result.stdout.splitlines() if ": " in line)
    if fields.get("exit-code") not in accepted:
        raise RuntimeError("%s ended with %s" % (command_line, fields.get("exit-code")))
    return float(fields["elapsed-ms"]), int(fields["peak-working-set-kb"])
