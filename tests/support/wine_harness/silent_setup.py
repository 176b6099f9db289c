"""The real setup.exe in a WineBox, run silently as a deployment script runs it, and what an
administrator can see of its installation from outside: the files, the registry in the view a
32-bit program writes, the shortcuts read with lnkinfo, the service manager, the running
application."""

import os
import subprocess

from wine_harness.box import lnk_fields
from wine_harness.machine import exported_values
from wine_harness.product import APP_FILE, APP_NAME, CURRENT_VERSION, PERSISTED, SERVICE


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
