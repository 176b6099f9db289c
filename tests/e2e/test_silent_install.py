"""The silent install ("s") of the real setup.exe, seen from outside as an administrator would:
the files, the registry in the view a 32-bit program writes, the shortcuts read with lnkinfo, the
service manager, the running application, the full exit code.

The helpers here (SilentSetup and friends) also serve the other silent modules and the
demonstration."""

import hashlib
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from winebox import WineBox, lnk_fields

APP_NAME = "Korvane HW RAID Manager"
APP_FILE = "DIVodeZivar.exe"
SERVICE = "KorvaneRaidMonitor"
CURRENT_VERSION = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
SERVICES = "HKLM\\System\\CurrentControlSet\\Services\\"
PERSISTED = ("HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
             "Compatibility Assistant\\Persisted")
IMAGES = ["center.gif", "speed_left.gif", "speed_right.gif", "Company.bmp", "RaidAPTitle.bmp",
          "Raidlogo.png", "aboutTitle.bmp"]
UNINSTALLER_FILES = ["setup.exe", "setup.ini", "setupCHS.dll", "setupCHT.dll", "setupENU.dll",
                     "setupJPN.dll"]
FAILURE = 1603


class SilentSetup:
    """One WineBox with a distribution copied to C:\\Dist, and what an administrator can see of
    the installation from outside."""

    def __init__(self, box, folder_name="BRONDL", dist="C:\\Dist"):
        self.box = box
        self.dist = dist
        self.program = box.copy_dist(dist)
        self.folder_name = folder_name
        self.started = []
        if folder_name != "BRONDL":
            self.set_ini("Customized_Setting", "APPFolderName", folder_name)

    # --- the distribution -------------------------------------------------------------------

    def set_ini(self, section, key, value):
        """Sets one key of the distribution's setup.ini (written in UTF-16, which the profile
        functions read whatever the code page)."""
        path = self.box.unix_path(self.dist + "\\setup.ini")
        with open(path, "rb") as handle:
            raw = handle.read()
        text = raw.decode("utf-16") if raw[:2] == b"\xff\xfe" else raw.decode("utf-8")
        lines, section_at, done = text.replace("\r\n", "\n").split("\n"), None, False
        for at, line in enumerate(lines):
            if line.strip().lower() == "[%s]" % section.lower():
                section_at = at
            elif section_at is not None and line.split("=")[0].strip().lower() == key.lower():
                lines[at] = "%s=%s" % (key, value)
                done = True
                break
        if not done:
            lines.insert(section_at + 1, "%s=%s" % (key, value))
        with open(path, "wb") as handle:
            handle.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))

    def remove_from_dist(self, *relative):
        for name in relative:
            os.remove(self.box.unix_path(self.dist + "\\" + name))

    # --- running setup ----------------------------------------------------------------------

    def install(self):
        return self.box.run('"%s" s' % self.program)

    def remove(self, uninstaller=None):
        """Silent removal through the installed uninstaller (or another copy of setup)."""
        return self.box.run('"%s" SilentDel' % (uninstaller or self.uninstaller))

    def wait_for_script_to_end(self, timeout=90):
        """The self-removal script runs detached after setup ended: wait until it deleted
        itself."""
        return self.box.wait_until(lambda: not self.box.exists(self.script), timeout=timeout)

    # --- where things are -------------------------------------------------------------------

    @property
    def install_dir(self):
        return self.box.program_files + "\\" + self.folder_name

    @property
    def uninstaller(self):
        return self.install_dir + "\\Uninstall\\setup.exe"

    @property
    def script(self):
        return self.box.program_files + "\\KvUninst.bat"

    @property
    def desktop(self):
        return "C:\\users\\%s\\Desktop" % self.box.user_name

    @property
    def start_menu_folder(self):
        return "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\" + APP_NAME

    @property
    def uninstall_key(self):
        return CURRENT_VERSION + "Uninstall\\" + self.folder_name

    # --- what is there ----------------------------------------------------------------------

    def files(self, relative=""):
        folder = self.install_dir + ("\\" + relative if relative else "")
        return self.box.listdir(folder) if self.box.exists(folder) else None

    def uninstall_values(self, view=32):
        if view == 32:
            return exported_values(self.box, self.uninstall_key)
        return self.box.reg_values(self.uninstall_key, view)

    def run_value(self):
        return self.box.reg_value(CURRENT_VERSION + "Run", APP_NAME)

    def compatibility_marks(self):
        return self.box.reg_values(PERSISTED) or {}

    def shortcuts(self):
        """{link path: (target, arguments)} of the application's three links that exist."""
        links = [self.desktop + "\\" + APP_NAME + ".lnk",
                 self.start_menu_folder + "\\" + APP_NAME + ".lnk",
                 self.start_menu_folder + "\\Uninstall.lnk"]
        found = {}
        for link in links:
            if self.box.exists(link):
                fields = lnk_fields(self.box.unix_path(link))
                found[link] = (fields.get("Local path"), fields.get("Command line arguments"))
        return found

    def service_state(self):
        return self.box.service_state(SERVICE)

    def service_settles(self, expected, timeout=10):
        """The service's state once it has become expected, or its last state after timeout:
        the service manager finishes a start or a deletion shortly after the tool ended."""
        states = []
        self.box.wait_until(lambda: states.append(self.service_state()) or states[-1] == expected,
                            timeout=timeout, step=0.2)
        return states[-1]

    def processes(self):
        """Names of the running Windows programs."""
        result = self.box.wine(["winedbg", "--command", "info proc"], check=False)
        names = []
        for line in result.stdout.splitlines():
            if "'" in line:
                names.append(line.split("'")[1])
        return names

    def app_window_shown(self):
        """Whether a top-level window with the application's title exists (winedbg shows the
        first 14 characters of a title) and the application's program runs."""
        result = self.box.wine(["winedbg", "--command", "info wnd"], check=False)
        titled = any(line.startswith(" ") and line.rstrip().endswith(APP_NAME[:14])
                     for line in result.stdout.splitlines())
        return titled and APP_FILE in self.processes()

    def start_app(self):
        self.started.append(self.box.start('"%s\\%s"' % (self.install_dir, APP_FILE)))
        return self.box.wait_until(self.app_window_shown, timeout=20)

    def reap_started(self, timeout=20):
        """Waits for the programs that start_app started to end; true when all did."""
        try:
            for process in self.started:
                process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return False
        self.started = []
        return True


def export_registry(box, key):
    """The text of an exported .reg file of key and its subkeys in the 32-bit view (UTF-16, which
    keeps every character; reg query prints in the console's code page), or None when there is no
    such key."""
    handle, path = tempfile.mkstemp(suffix=".reg", dir=os.path.dirname(box.prefix))
    os.close(handle)
    try:
        result = box.wine(["wine", "reg", "export", key, "Z:" + path.replace("/", "\\"), "/y"],
                          check=False)
        if result.returncode != 0:
            return None
        with open(path, "rb") as exported:
            return exported.read().decode("utf-16")
    finally:
        os.remove(path)


def exported_values(box, key):
    """A key's values in the 32-bit view as {name: (type, data)}, or None when there is no such
    key. Lists (REG_MULTI_SZ) come as tuples of their strings."""
    text = export_registry(box, key)
    if text is None:
        return None
    values = {}
    sections = 0
    # A long value goes on over several lines, each but the last ending in a backslash. The key's
    # own values come in its section, the first; its subkeys' follow.
    for line in re.sub(r"\\\r?\n\s*", "", text).splitlines():
        if line.startswith("["):
            sections += 1
            if sections > 1:
                break
            continue
        match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not match:
            continue
        name, data = unescape(match.group(1)), match.group(2)
        if data.startswith('"'):
            values[name] = ("REG_SZ", unescape(data[1:-1]))
        elif data.startswith("dword:"):
            values[name] = ("REG_DWORD", hex(int(data[6:], 16)))
        elif data.startswith("hex(2):"):
            raw = bytes(int(b, 16) for b in data[7:].split(",") if b)
            values[name] = ("REG_EXPAND_SZ", raw.decode("utf-16-le").rstrip("\0"))
        elif data.startswith("hex(7):"):
            raw = bytes(int(b, 16) for b in data[7:].split(",") if b)
            items = raw.decode("utf-16-le").split("\0")
            values[name] = ("REG_MULTI_SZ", tuple(item for item in items if item))
        else:
            values[name] = ("OTHER", data)
    return values


def unescape(text):
    return re.sub(r"\\(.)", r"\1", text)


def read_bytes(box, windows_path):
    with open(box.unix_path(windows_path), "rb") as handle:
        return handle.read()


def snapshot(box):
    """Everything an install or a removal may touch, as an administrator would compare it before
    and after: every path below C:\\ (with its size, and outside the Windows folder with its
    content; a shortcut with its target and arguments; not the user's temporary folder, where
    every run appends to its log), the installed-programs entries with all their values, the Run values in both views, the current user's compatibility marks, the
    service."""
    root = os.path.join(box.prefix, "drive_c")
    files = {}
    for folder, dirs, names in os.walk(root):
        for name in dirs + names:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, root)
            parts = relative.split(os.sep)
            # The user's temporary folder holds the run's log, which every run appends to.
            if len(parts) >= 3 and parts[0] == "users" and parts[2] == "Temp":
                continue
            if not os.path.isfile(path):
                files[relative] = "folder"
            elif relative.lower().startswith("windows" + os.sep):
                files[relative] = os.path.getsize(path)
            elif relative.lower().endswith(".lnk"):
                # A shortcut is what it starts (its bytes also hold its target's file times).
                fields = lnk_fields(path)
                files[relative] = (fields.get("Local path"), fields.get("Command line arguments"))
            else:
                with open(path, "rb") as handle:
                    files[relative] = hashlib.sha1(handle.read()).hexdigest()
    registry = {"uninstall": export_registry(box, CURRENT_VERSION + "Uninstall"),
                "uninstall 64": uninstall_keys(box, 64),
                # A compatibility-assistant list without entries is no mark.
                "marks": box.reg_values(PERSISTED) or {},
                "service": (box.service_state(SERVICE), box.reg_value(SERVICES + SERVICE,
                                                                      "ImagePath"))}
    for view in (32, 64):
        registry[("run", view)] = box.reg_values(CURRENT_VERSION + "Run", view)
    return files, registry


def machine_differences(before, after):
    """What differs between two snapshots, one line each: files, then registry and service."""
    lines = []
    for path in sorted(set(before[0]) | set(after[0])):
        if before[0].get(path) != after[0].get(path):
            lines.append("%s: %s -> %s" % (path, before[0].get(path), after[0].get(path)))
    for name in before[1]:
        if before[1][name] != after[1][name]:
            lines.append("%s: %r -> %r" % (name, before[1][name], after[1][name]))
    return lines


def uninstall_keys(box, view=32):
    """Names of the installed-programs keys."""
    loader = "/usr/lib/wine/wine64" if (view == 64 and box.is_64bit) else "wine"
    parent = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
    result = box.wine([loader, "reg", "query", parent], check=False)
    if result.returncode != 0:
        return []
    return sorted(line.strip()[len(parent) + 1:] for line in result.stdout.splitlines()
                  if line.startswith(parent + "\\"))


class SilentInstall(unittest.TestCase):
    def check_installed(self, setup, service):
        """The complete installation: files, uninstaller, registration, shortcuts."""
        expected = sorted(IMAGES + [APP_FILE, "mingwm10.dll", "Uninstall"] +
                          (["REriDezaz.exe"] if service else []))
        self.assertEqual(sorted(expected), setup.files())
        self.assertEqual(UNINSTALLER_FILES, setup.files("Uninstall"))
        copies = [("setup.exe", "Uninstall\\setup.exe"), ("setup.ini", "Uninstall\\setup.ini"),
                  ("setupJPN.dll", "Uninstall\\setupJPN.dll"),
                  ("Application\\" + APP_FILE, APP_FILE),
                  ("Application\\mingwm10.dll", "mingwm10.dll"),
                  ("Application\\Raidlogo.png", "Raidlogo.png")]
        for source, target in copies:
            self.assertEqual(read_bytes(setup.box, setup.dist + "\\" + source),
                             read_bytes(setup.box, setup.install_dir + "\\" + target), target)

        values = setup.uninstall_values()
        uninstaller = setup.uninstaller
        self.assertEqual(("REG_SZ", '"%s" delpkg' % uninstaller), values["UninstallString"])
        self.assertEqual(("REG_SZ", '"%s" SilentDel' % uninstaller), values["QuietUninstallString"])
        self.assertEqual(("REG_SZ", APP_NAME), values["DisplayName"])
        self.assertEqual(("REG_SZ", uninstaller), values["DisplayIcon"])
        self.assertEqual(("REG_SZ", "Korvane Technology Corp."), values["Publisher"])
        self.assertEqual(("REG_SZ", "1.00.00"), values["DisplayVersion"])
        self.assertEqual(("REG_SZ", setup.install_dir), values["InstallLocation"])

        app = setup.install_dir + "\\" + APP_FILE
        self.assertEqual({
            setup.desktop + "\\" + APP_NAME + ".lnk": (app, None),
            setup.start_menu_folder + "\\" + APP_NAME + ".lnk": (app, None),
            setup.start_menu_folder + "\\Uninstall.lnk": (uninstaller, "delpkg"),
        }, setup.shortcuts())
        self.assertEqual(["%s.lnk" % APP_NAME, "Uninstall.lnk"],
                         setup.box.listdir(setup.start_menu_folder))

    def test_windows7_64bit(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files (x86)\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=True)
            # A 32-bit program's entries live in the 32-bit view only.
            self.assertIsNone(setup.uninstall_values(view=64))
            self.assertIsNone(setup.run_value())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertEqual(("REG_DWORD", "0x1"), setup.compatibility_marks().get(
                setup.install_dir + "\\" + APP_FILE))
            # Not asked to start the application: it does not run.
            self.assertNotIn(APP_FILE, setup.processes())

            # Asked to, the install starts it; the running application is then upgraded over.
            # Its path has blanks: a program at C:\Program.exe would be started instead were the
            # path not quoted.
            planted = "C:\\Program.exe"
            shutil.copy(os.environ["SETUP_ECHO_PROGRAM"], box.unix_path(planted))
            box.env["SETUP_ECHO_LOG"] = "C:\\planted.log"
            setup.set_ini("Customized_Setting", "LaunchAPInSilentMode", "1")
            self.assertEqual(0, setup.install())
            self.assertTrue(box.wait_until(setup.app_window_shown, timeout=20))
            # (The echo program notes its starts there, and so does the service tool.)
            started = box.unix_path("C:\\planted.log")
            runs = open(started, "rb").read().decode("utf-16-le") if os.path.exists(started) else ""
            self.assertNotIn("\t" + planted + "\t", runs, "C:\\Program.exe was started")
            os.remove(box.unix_path(planted))
            del box.env["SETUP_ECHO_LOG"]

            setup.set_ini("Customized_Setting", "LaunchAPInSilentMode", "0")
            with open(box.unix_path(setup.dist + "\\Application\\center.gif"), "ab") as image:
                image.write(b"new version")
            self.assertEqual(0, setup.install())
            self.assertFalse(setup.app_window_shown(), "the old application was closed")
            self.check_installed(setup, service=True)
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            self.assertTrue(read_bytes(box, setup.install_dir + "\\center.gif").endswith(
                b"new version"))

    def test_windows_xp(self):
        with WineBox("winxp") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=False)
            self.assertEqual('"C:\\Program Files\\BRONDL\\%s" min' % APP_FILE, setup.run_value())
            self.assertIsNone(setup.service_settles(None))
            self.assertEqual({}, setup.compatibility_marks())

    def test_windows7_32bit(self):
        with WineBox("win32") as box:
            setup = SilentSetup(box)
            self.assertEqual(0, setup.install())
            self.assertEqual("C:\\Program Files\\BRONDL", setup.install_dir)
            self.check_installed(setup, service=True)
            self.assertIsNone(box.reg_values("HKLM\\SOFTWARE\\Wow6432Node"))
            self.assertIsNone(setup.run_value())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))

    def test_incomplete_distributions(self):
        with WineBox("win7-64") as box:
            setup = SilentSetup(box)
            # Without its program the application cannot run: refused, nothing changed.
            setup.remove_from_dist("Application\\" + APP_FILE)
            before = snapshot(box)
            self.assertEqual(FAILURE, setup.install())
            self.assertEqual(before, snapshot(box))
            self.assertIsNone(setup.service_settles(None))

            # The images are optional.
            box.copy_dist(setup.dist)
            setup.remove_from_dist(*["Application\\" + image for image in IMAGES])
            self.assertEqual(0, setup.install())
            self.assertEqual([APP_FILE, "REriDezaz.exe", "Uninstall", "mingwm10.dll"],
                             setup.files())
            self.assertEqual(UNINSTALLER_FILES, setup.files("Uninstall"))
            self.assertEqual(3, len(setup.shortcuts()))
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))


if __name__ == "__main__":
    unittest.main()
