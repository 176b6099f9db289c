"""How fast setup is next to what an administrator would pick instead: the same payload through
an NSIS installer and a Windows Installer package (see peers.py), all three measured in the same
run on the same machine.

Every time is the median of --runs runs (7 unless told). Each run makes, for each installer, a
fresh copy of the 64-bit Windows 7 prefix and one of the Windows XP prefix, whose Wine server
and desktop are already up and in which the floor program has just been started once (the floor
is the median of all those starts; see boxes.py). In the Windows 7 box the installer installs
silently, shows its wizard's first page (setup and NSIS; the wizard is closed there and changes
nothing), then removes silently; in the XP box it installs silently. After every install and
every removal the box is checked for the whole job (see installers.py), so that no row compares
setup's work with less work. The order of the three installers turns from one run to the next.
Times are measured inside Wine by tests/support/launch.exe, from the start of the program to its
end or to the effect the row names.

Every run draws on a virtual X display (Xvfb) with Wine's X11 driver, as on a user's machine:
there the session's desktop process stays up between programs.

--parts adds what the design's parts cost on their own next to the floor, setup's install over
a running installation, and the two ways of building the window region."""

import argparse
import os
import statistics
import subprocess
import sys
import time
import zipfile

# The Wine harness that the end-to-end tests use too.
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "support"))

from wine_harness.box import windows_path  # noqa: E402
from wine_harness.wizard import XDisplay  # noqa: E402

import boxes  # noqa: E402
import installers  # noqa: E402
import peers  # noqa: E402
from boxes import Boxes, measure  # noqa: E402

BUILD = os.environ["SETUP_BUILD_DIR"]
DIST = os.environ["SETUP_DIST_DIR"]
PEERS = os.path.join(BUILD, "bench-peers")
REGION_BENCH = os.path.join(BUILD, "bench", "region_bench.exe")
DESIGN_COSTS = os.path.join(BUILD, "bench", "design_costs.exe")

INSTALL_7 = "silent install, fresh, Windows 7 (service scheme)"
INSTALL_XP = "silent install, fresh, Windows XP (Run-value scheme)"
REMOVAL = "silent removal, Windows 7, until it has ended and the install folder is gone"
WIZARD = "wizard: start to the first painted frame (NSIS: its welcome page)"
ROWS = [INSTALL_7, INSTALL_XP, REMOVAL, WIZARD]
# Setup's share of the peer's time that each row must stay within.
GOALS = {INSTALL_7: 0.8, INSTALL_XP: 0.8, REMOVAL: 1.0, WIZARD: 1.0}


class Samples:
    """Times per (row, installer), and the peak working sets of the Windows 7 installs."""

    def __init__(self):
        self.times = {}
        self.peaks = {}

    def add(self, row, installer, measured):
        self.times.setdefault((row, installer.name), []).append(measured[0])
        if row == INSTALL_7:
            self.peaks[installer.name] = max(self.peaks.get(installer.name, 0), measured[1])

    def report(self):
        """Every sample, for a reader who wants the spread behind a median (on stderr)."""
        for (row, name), values in self.times.items():
            print("%s, %s: %s" % (row, name, " ".join("%.0f" % value for value in values)),
                  file=sys.stderr)

    def median(self, row, name):
        values = self.times.get((row, name))
        return statistics.median(values) if values else None


def run_windows7(made, installer, samples, measured):
    """Install, wizard (which changes nothing), removal; measured() once the last is timed."""
    with made.box("win7-64") as box:
        installer.put_into(box)
        samples.add(INSTALL_7, installer, measure(box, installer.install_command(box)))
        installers.check_installed(box, installer, service=True)
        if installer.wizard_title:
            samples.add(WIZARD, installer,
                        measure(box, installer.wizard_command(box),
                                accepted=installer.wizard_exit_codes,
                                until_painted=installer.wizard_title))
        samples.add(REMOVAL, installer, measure(box, installer.removal_command(box),
                                                until_gone=installer.install_dir(box)))
        measured()
        installers.check_removed(box, installer, service=True)


def run_windows_xp(made, installer, samples, measured):
    with made.box("winxp") as box:
        installer.put_into(box)
        samples.add(INSTALL_XP, installer, measure(box, installer.install_command(box)))
        measured()
        installers.check_installed(box, installer, service=False)


def compare(made, runs, chosen):
    """Every run: each installer in a Windows 7 box, then each in an XP box, in an order that
    turns from one run to the next."""
    jobs = []
    for run in range(runs):
        turn = chosen[run % len(chosen):] + chosen[:run % len(chosen)]
        jobs += [(run, "win7-64", run_windows7, installer) for installer in turn]
        jobs += [(run, "winxp", run_windows_xp, installer) for installer in turn]
    samples = Samples()
    for at, (run, _, job, installer) in enumerate(jobs):
        if at == 0 or jobs[at - 1][0] != run:
            print("run %d of %d ..." % (run + 1, runs), file=sys.stderr, flush=True)
        following = jobs[at + 1][1] if at + 1 < len(jobs) else None
        job(made, installer, samples,
            lambda: following is not None and made.prefetch(following))
    return samples


# --- what the design's parts cost (--parts) -------------------------------------------------

def median_of(runs, job, *args):
    print("measuring %s ..." % job.__name__, file=sys.stderr, flush=True)
    return statistics.median(job(*args) for _ in range(runs))


def upgrade_with_app_running(made):
    with made.box("win7-64") as box:
        setup = installers.Setup(PEERS)
        setup.put_into(box)
        measure(box, setup.install_command(box))
        app = setup.install_dir(box) + "\\" + peers.APP_FILE
        box.start('"%s"' % app)
        if not box.wait_until(lambda: app_window_exists(box), timeout=30):
            raise RuntimeError("the application's window did not appear")
        return measure(box, setup.install_command(box))[0]


def app_window_exists(box):
    """The application runs and shows its window (winedbg lists the first 14 characters of a
    window title)."""
    windows = box.wine(["winedbg", "--command", "info wnd"], check=False, timeout=30).stdout
    return peers.APP_FILE in installers.running_programs(box) and any(
        line.rstrip().endswith(peers.APP_NAME[:14]) for line in windows.splitlines())


def design_cost(made, job):
    """One of design_costs.exe's jobs, alone in a warm box."""
    with made.box("win7-64") as box:
        return measure(box, '"%s" %s' % (windows_path(DESIGN_COSTS), job))[0]


def service_tool_alone(made):
    """The service tool's "-i" from the distribution, with nothing else around it."""
    with made.box("win7-64") as box:
        box.copy_dist("C:\\Dist")
        return measure(box, '"C:\\Dist\\Application\\%s" -i' % peers.SERVICE_TOOL)[0]


def parts(made, runs):
    """The parts' rows, and the region timings."""
    rows = [
        ("silent install over an installation, application running",
         median_of(runs, upgrade_with_app_running, made)),
        ("a program that loads setup's libraries (window, shell, COM) and ends",
         median_of(runs, design_cost, made, "libraries")),
        ("a program that makes the three shell links through the shell link object",
         median_of(runs, design_cost, made, "links")),
        ('the service tool\'s "-i" alone (a process, and the service\'s own)',
         median_of(runs, service_tool_alone, made)),
    ]
    return rows, region_figures(made, runs)


def region_figures(made, runs):
    with made.box("win7-64") as box:
        result = box.wine(["wine", REGION_BENCH, windows_path(os.path.join(DIST, "setup.exe")),
                           str(runs)], timeout=300)
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


# --- the tables ---------------------------------------------------------------------------

def folder_bytes(folder):
    return sum(os.path.getsize(os.path.join(top, name))
               for top, _, names in os.walk(folder) for name in names)


def zipped_bytes(folder):
    """The folder in a zip archive (deflate), as a distribution is often handed out."""
    path = os.path.join(PEERS, "dist.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for top, _, names in os.walk(folder):
            for name in sorted(names):
                full = os.path.join(top, name)
                archive.write(full, os.path.relpath(full, folder))
    return os.path.getsize(path)


def cell(value, ours, form="%.1f"):
    """A peer's figure and its ratio to setup's."""
    if value is None:
        return "—", "—"
    return form % value, "%.2f" % (value / ours)


def goal_cell(row, ours, peer_values):
    limit = GOALS[row]
    shares = [ours / value for value in peer_values if value is not None]
    met = all(share <= limit for share in shares)
    return "≤ %.1f: %s, %s" % (limit, " / ".join("%.2f" % share for share in shares),
                               "met" if met else "missed")


def print_comparison(samples, floor, floor_count, runs, sizes):
    print()
    print("Times: median of %d runs, milliseconds measured inside Wine; x setup: the peer's "
          "figure divided by setup's; goal: setup's time as a share of each peer's" % runs)
    print()
    print("| measurement | setup | NSIS | x setup | MSI | x setup | goal |")
    print("|---|---:|---:|---:|---:|---:|---|")
    for row in ROWS:
        ours = samples.median(row, "setup")
        nsis = samples.median(row, "NSIS")
        msi = samples.median(row, "MSI")
        print("| %s | %.1f | %s | %s | %s | %s | %s |" % (
            (row, ours) + cell(nsis, ours) + cell(msi, ours) +
            (goal_cell(row, ours, [nsis, msi]),)))
    ours_size, nsis_size, msi_size = (size / 1024 for size in sizes)
    print("| installer as shipped, KB (setup: the whole dist/ folder) | %.1f | %s | %s | %s | %s "
          "| |" % ((ours_size,) + cell(nsis_size, ours_size) + cell(msi_size, ours_size)))
    ours_peak = samples.peaks["setup"]
    print("| peak working set of the Windows 7 install, KB | %d | %s | %s | %s | %s | |" % (
        (ours_peak,) + cell(samples.peaks.get("NSIS"), ours_peak, "%d") +
        cell(samples.peaks.get("MSI"), ours_peak, "%d")))
    print("| floor: start and end a trivial program (median of %d starts, one in every box) "
          "| %.1f | | | | | |" % (floor_count, floor))


def print_parts(rows, region, floor, runs):
    print()
    print("| setup's parts (--parts), median of %d runs | ms | x floor |" % runs)
    print("|---|---:|---:|")
    for name, value in rows:
        print("| %s | %.1f | %.2f |" % (name, value, value / floor))
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
    print("| the whole dist/, in a zip archive | %.1f |" % (zipped_bytes(DIST) / 1024))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=int(os.environ.get("SETUP_BENCH_RUNS", "7")),
                        help="runs per row (default 7)")
    parser.add_argument("--parts", action="store_true",
                        help="also what setup's parts cost alone, and the region timings")
    options = parser.parse_args()
    if options.runs < 1:
        parser.error("--runs must be at least 1")

    built = peers.build_peers(DIST, PEERS)
    for kind in ("win7-64", "winxp"):
        boxes.prepare_pristine(kind)
    store = boxes.store_state()
    chosen = [installers.Setup(PEERS), installers.Nsis(PEERS), installers.Msi(PEERS)]
    sizes = (folder_bytes(DIST), os.path.getsize(built["nsis"]), os.path.getsize(built["msi"]))

    with XDisplay() as display:
        made = Boxes(display)
        try:
            samples = compare(made, options.runs, chosen)
            measured_parts = parts(made, options.runs) if options.parts else None
        finally:
            made.finish()
    if boxes.store_state() != store:
        raise RuntimeError("a box changed the prefixes' shared system libraries")
    floor = made.floor()
    samples.report()
    print_comparison(samples, floor, len(made.floor_samples), options.runs, sizes)
    if measured_parts:
        print_parts(*measured_parts, floor, options.runs)
    started = float(os.environ.get("SETUP_BENCH_STARTED", "0")) or None
    if started:
        print()
        print("run time: %.0f s" % (time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
