"""How fast setup is, measured against the floor of starting any program under the same Wine.

Every figure is the median of RUNS runs; every run uses a fresh copy of a prefix whose Wine server
is already warm (and in which the floor program has just been started once: the floor is the
median of all those starts), and times are measured inside Wine by tests/support/launch.exe (from the start of
the program to its end, or to the effect named in the row).

Every run draws on a virtual X display (Xvfb) with Wine's X11 driver, as on a user's machine: there
the session's desktop process stays up between programs, while under Wine's null driver it ends
with the last windowed program and the next one pays for starting it again (about 100 ms, most of
it in the first CoInitialize)."""

import os
import statistics
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))

from winebox import LAUNCHER, WineBox  # noqa: E402
from wizard_session import X11_DRIVER, XDisplay, import_registry  # noqa: E402

RUNS = int(os.environ.get("SETUP_BENCH_RUNS", "7"))
BUILD = os.environ["SETUP_BUILD_DIR"]
DIST = os.environ["SETUP_DIST_DIR"]
NOOP = os.path.join(BUILD, "tests", "noop.exe")
REGION_BENCH = os.path.join(BUILD, "bench", "region_bench.exe")
DESIGN_COSTS = os.path.join(BUILD, "bench", "design_costs.exe")
APP_NAME = "Korvane HW RAID Manager"


def windows_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


def measure(box, command_line, **options):
    """Runs command_line through the launcher; returns (milliseconds, peak working set in KB)."""
    args = ["wine", LAUNCHER, "--timeout", "120"]
    for name, value in options.items():
        args += ["--" + name.replace("_", "-"), value]
    args += ["--", command_line]
    result = box.wine(args, check=False, timeout=180)
    fields = dict(line.split(": ", 1) for line in result.stdout.splitlines() if ": " in line)
    if fields.get("exit-code") not in ("0", "1602"):
        raise RuntimeError("%s ended with %s" % (command_line, fields.get("exit-code")))
    return float(fields["elapsed-ms"]), int(fields["peak-working-set-kb"])


DISPLAY = None


# One start of the floor program in every warm box, just before that box's measurement: the floor
# is the median of them all, taken under the same conditions as the rows it divides.
FLOOR_SAMPLES = []


def warm_box(kind):
    """A fresh prefix copy on the virtual display whose server, background processes and
    desktop already run."""
    box = WineBox(kind)
    box.env["DISPLAY"] = DISPLAY.name
    import_registry(box, dict(X11_DRIVER))
    measure(box, '"%s" desktop' % windows_path(NOOP))
    FLOOR_SAMPLES.append(run_floor_in(box)[0])
    return box


def run_floor_in(box):
    return measure(box, '"%s"' % windows_path(NOOP))


def setup_program(box):
    return box.copy_dist("C:\\Dist")


def install(box, program):
    return measure(box, '"%s" s' % program)


def run_fresh_install(kind):
    with warm_box(kind) as box:
        return install(box, setup_program(box))


def run_upgrade_with_app_running():
    with warm_box("win7-64") as box:
        program = setup_program(box)
        install(box, program)
        app = box.program_files + "\\BRONDL\\DIVodeZivar.exe"
        box.start('"%s"' % app)
        if not box.wait_until(lambda: app_window_exists(box), timeout=30):
            raise RuntimeError("the application's window did not appear")
        return install(box, program)


def app_window_exists(box):
    """The application runs and shows its window (winedbg lists the first 14 characters of a
    window title)."""
    windows = box.wine(["winedbg", "--command", "info wnd"], check=False, timeout=30).stdout
    processes = box.wine(["winedbg", "--command", "info proc"], check=False, timeout=30).stdout
    return "DIVodeZivar.exe" in processes and any(
        line.rstrip().endswith(APP_NAME[:14]) for line in windows.splitlines())


def run_silent_removal():
    with warm_box("win7-64") as box:
        install(box, setup_program(box))
        folder = box.program_files + "\\BRONDL"
        elapsed, peak = measure(box, '"%s\\Uninstall\\setup.exe" SilentDel' % folder,
                                until_gone=folder)
        script = box.program_files + "\\KvUninst.bat"
        if not box.wait_until(lambda: not box.exists(script), timeout=30):
            raise RuntimeError("the self-removal script did not delete itself")
        return elapsed, peak


def run_wizard_first_frame():
    """A frame counts once the screen shows it."""
    with warm_box("win7-64") as box:
        program = setup_program(box)
        return measure(box, '"%s"' % program, until_painted=APP_NAME + " - Installation Wizard")


def run_design_cost(job):
    """One of design_costs.exe's jobs, alone in a warm box."""
    with warm_box("win7-64") as box:
        return measure(box, '"%s" %s' % (windows_path(DESIGN_COSTS), job))


def run_service_tool_alone():
    """The service tool's "-i" from the distribution, with nothing else around it."""
    with warm_box("win7-64") as box:
        setup_program(box)
        return measure(box, '"C:\\Dist\\Application\\REriDezaz.exe" -i')


def median_of(run, *args):
    print("measuring %s ..." % run.__name__, file=sys.stderr, flush=True)
    times, peaks = [], []
    for _ in range(RUNS):
        elapsed, peak = run(*args)
        times.append(elapsed)
        peaks.append(peak)
    return statistics.median(times), max(peaks)


def region_figures():
    if not os.path.exists(REGION_BENCH):
        return None
    with WineBox("win7-64") as box:
        result = box.wine(["wine", REGION_BENCH, windows_path(os.path.join(DIST, "setup.exe")),
                           str(RUNS)], timeout=300)
        return dict(line.split(": ", 1) for line in result.stdout.splitlines() if ": " in line)


def bitmap_bytes(program):
    """Bytes of the bitmap resources inside program (wrestool lists each with its size)."""
    listing = subprocess.run(["wrestool", "-l", "--type=2", program], capture_output=True,
                             text=True).stdout
    total = 0
    for line in listing.splitlines():
        for field in line.split():
            if field.startswith("size="):
                total += int(field[5:].rstrip("]"))
    return total


def folder_bytes(folder):
    return sum(os.path.getsize(os.path.join(top, name))
               for top, _, names in os.walk(folder) for name in names)


def main():
    rows = []
    install7, peak7 = median_of(run_fresh_install, "win7-64")
    rows.append(("silent install, fresh, Windows 7 (service scheme)", install7))
    installxp, peakxp = median_of(run_fresh_install, "winxp")
    rows.append(("silent install, fresh, Windows XP (Run-value scheme)", installxp))
    upgrade, _ = median_of(run_upgrade_with_app_running)
    rows.append(("silent install over an installation, application running", upgrade))
    removal, _ = median_of(run_silent_removal)
    rows.append(("silent removal, until the script ended and both folders are gone", removal))
    wizard, _ = median_of(run_wizard_first_frame)
    rows.append(("wizard: process start to the first painted frame", wizard))
    # What the design needs under this Wine, each part alone: the lower bounds of the rows above.
    costs = [
        ("a program that loads setup's libraries (window, shell, COM) and ends",
         median_of(run_design_cost, "libraries")[0]),
        ("a program that makes the three shell links through the shell link object",
         median_of(run_design_cost, "links")[0]),
        ('the service tool\'s "-i" alone (a process, and the service\'s own)',
         median_of(run_service_tool_alone)[0]),
    ]

    floor = statistics.median(FLOOR_SAMPLES)
    rows.insert(0, ("floor: start and end a trivial program (median of %d starts, one in every "
                    "box)" % len(FLOOR_SAMPLES), floor))

    print()
    print("Times: median of %d runs, milliseconds measured inside Wine" % RUNS)
    print()
    print("| measurement | ms | x floor |")
    print("|---|---:|---:|")
    for name, value in rows:
        print("| %s | %.1f | %.2f |" % (name, value, value / floor))

    print()
    print("| what the design needs, each part alone | ms | x floor |")
    print("|---|---:|---:|")
    for name, value in costs:
        print("| %s | %.1f | %.2f |" % (name, value, value / floor))

    region = region_figures()
    if region:
        print()
        print("| window region from the 584x411 skin | ms |")
        print("|---|---:|")
        print("| per-pixel rule (GetPixel) | %s |" % region.get("per-pixel-ms", "?"))
        print("| one read of the bits (GetDIBits) | %s |" % region.get("bits-ms", "?"))
        print("| regions equal | %s |" % region.get("equal", "?"))

    program = os.path.join(DIST, "setup.exe")
    size = os.path.getsize(program)
    print()
    print("| size | KB |")
    print("|---|---:|")
    print("| setup.exe | %.1f |" % (size / 1024))
    print("| setup.exe without its bitmaps | %.1f |" % ((size - bitmap_bytes(program)) / 1024))
    print("| the whole dist/ | %.1f |" % (folder_bytes(DIST) / 1024))
    print("| peak working set of a silent install (Windows 7 / XP) | %d / %d |" % (peak7, peakxp))
    return 0


if __name__ == "__main__":
    with XDisplay() as display:
        DISPLAY = display
        sys.exit(main())
