"""The three installers of the comparison (setup and its two peers, see peers.py), and the check
that one of them really did the whole job in a box: no row may compare setup's work with less
work. The check looks from outside, as an administrator would: the files (byte for byte against
the distribution), the installed-programs entry and the Run value in the view a 32-bit program
writes, the compatibility mark, the service manager, and the three links read with lnkinfo."""

import os
import re
import shutil

import peers
from wine_harness.box import lnk_fields

DIST = os.environ["SETUP_DIST_DIR"]
SERVICE = "KorvaneRaidMonitor"
PROGRAMS = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"
# Registry paths in lower case, as read_export() gives them.
CURRENT_VERSION = "hkey_local_machine\\software\\microsoft\\windows\\currentversion"
ENTRY = (CURRENT_VERSION + "\\uninstall\\" + peers.FOLDER_NAME).lower()
RUN = CURRENT_VERSION + "\\run"
PERSISTED = ("HKEY_CURRENT_USER\\" + peers.PERSISTED_KEY).lower()


class JobNotDone(RuntimeError):
    pass


class Installer:
    """One installer: how it is put into a box and started, and what its job leaves behind."""

    name = ""
    wizard_title = None  # the first page's window title; None: no wizard to compare
    wizard_exit_codes = ()
    extra_files = []  # files of its own in the install folder, besides the payload

    def __init__(self, folder):
        self.folder = folder  # where its built files are

    def install_dir(self, box):
        return box.program_files + "\\" + peers.FOLDER_NAME

    def put_into(self, box):
        """Copies the installer into the box's C:\\Dist."""
        os.makedirs(box.unix_path("C:\\Dist"), exist_ok=True)

    def install_command(self, box):
        raise NotImplementedError

    def removal_command(self, box):
        raise NotImplementedError

    def wizard_command(self, box):
        return None

    def entry(self, box):
        """The installed-programs entry's values that name its own uninstaller."""
        raise NotImplementedError

    def uninstall_link(self, box):
        """(target, arguments) of the Start menu's "Uninstall" link."""
        raise NotImplementedError

    def removal_finished(self, box):
        """Whatever runs on after the removal was measured has ended."""
        return True


class Setup(Installer):
    name = "setup"
    wizard_title = peers.APP_NAME + " - Installation Wizard"
    wizard_exit_codes = ("1602",)

    def put_into(self, box):
        box.copy_dist("C:\\Dist")

    def install_command(self, box):
        return '"C:\\Dist\\setup.exe" s'

    def removal_command(self, box):
        return '"%s" SilentDel' % self.uninstaller(box)

    def wizard_command(self, box):
        return '"C:\\Dist\\setup.exe"'

    def uninstaller(self, box):
        return self.install_dir(box) + "\\Uninstall\\setup.exe"

    def entry(self, box):
        return {"UninstallString": '"%s" delpkg' % self.uninstaller(box),
                "QuietUninstallString": '"%s" SilentDel' % self.uninstaller(box),
                "DisplayIcon": self.uninstaller(box)}

    def uninstall_link(self, box):
        return self.uninstaller(box), "delpkg"

    def removal_finished(self, box):
        # The self-removal script deletes itself last.
        script = box.program_files + "\\KvUninst.bat"
        return box.wait_until(lambda: not box.exists(script), timeout=30)


class Nsis(Installer):
    """Its uninstaller works from a copy of itself in the temporary folder and ends before the
    removal does; the install folder is the last thing it removes (see peers.py), so the
    removal has ended once the folder is gone."""

    name = "NSIS"
    wizard_title = peers.NSIS_TITLE
    wizard_exit_codes = ("1",)  # NSIS's code for a user who left
    extra_files = [peers.NSIS_UNINSTALLER]

    def put_into(self, box):
        super().put_into(box)
        shutil.copy(os.path.join(self.folder, peers.NSIS_PROGRAM),
                    box.unix_path("C:\\Dist\\" + peers.NSIS_PROGRAM))

    def install_command(self, box):
        return '"C:\\Dist\\%s" /S' % peers.NSIS_PROGRAM

    def removal_command(self, box):
        return '"%s" /S' % self.uninstaller(box)

    def wizard_command(self, box):
        return '"C:\\Dist\\%s"' % peers.NSIS_PROGRAM

    def uninstaller(self, box):
        return self.install_dir(box) + "\\" + peers.NSIS_UNINSTALLER

    def entry(self, box):
        return {"UninstallString": '"%s"' % self.uninstaller(box),
                "QuietUninstallString": '"%s" /S' % self.uninstaller(box),
                "DisplayIcon": self.uninstaller(box)}

    def uninstall_link(self, box):
        return self.uninstaller(box), None


class Msi(Installer):
    name = "MSI"

    def put_into(self, box):
        super().put_into(box)
        shutil.copy(os.path.join(self.folder, peers.MSI_PACKAGE),
                    box.unix_path("C:\\Dist\\" + peers.MSI_PACKAGE))

    def install_command(self, box):
        return 'msiexec /i "C:\\Dist\\%s" /qn' % peers.MSI_PACKAGE

    def removal_command(self, box):
        return "msiexec /x %s /qn" % peers.PRODUCT_CODE

    def msiexec(self, box):
        return "C:\\windows\\%s\\msiexec.exe" % ("syswow64" if box.is_64bit else "system32")

    def entry(self, box):
        return {"UninstallString": "MsiExec.exe /X" + peers.PRODUCT_CODE,
                "QuietUninstallString": "MsiExec.exe /X%s /qn" % peers.PRODUCT_CODE,
                "DisplayIcon": self.msiexec(box)}

    def uninstall_link(self, box):
        return self.msiexec(box), "/x " + peers.PRODUCT_CODE


# --- the check of the job -----------------------------------------------------------------

def check_installed(box, installer, service):
    """Raises JobNotDone, naming every difference, unless installer's install did the whole job
    of setup's silent install on the scheme (service: Windows NT 6)."""
    problems = []
    folder = installer.install_dir(box)

    expected = sorted(peers.app_files(service) + ["Uninstall"] + installer.extra_files)
    found = box.listdir(folder) if box.exists(folder) else None
    if found != expected:
        problems.append("install folder holds %s" % found)
    found = box.listdir(folder + "\\Uninstall") if box.exists(folder + "\\Uninstall") else None
    if found != sorted(peers.UNINSTALLER_FILES):
        problems.append("Uninstall folder holds %s" % found)
    copies = [(name, "Uninstall\\" + name) for name in peers.UNINSTALLER_FILES]
    copies += [("Application\\" + name, name) for name in peers.app_files(service)]
    for source, target in copies:
        if not same_bytes(os.path.join(DIST, *source.split("\\")),
                          box.unix_path(folder + "\\" + target)):
            problems.append("%s is not the distribution's" % target)

    seen = look(box)
    values = seen.entry
    wanted = {"DisplayName": peers.APP_NAME, "Publisher": peers.PUBLISHER,
              "DisplayVersion": peers.VERSION, "InstallLocation": folder,
              "NoModify": "dword:00000001", "NoRepair": "dword:00000001"}
    wanted.update(installer.entry(box))
    values = values or {}
    for name, data in sorted(wanted.items()):
        if values.get(name) != data:
            problems.append("entry's %s is %r" % (name, values.get(name)))
    if not values.get("EstimatedSize", "").startswith("dword:"):
        problems.append("entry has no EstimatedSize")
    app = folder + "\\" + peers.APP_FILE
    run_value = seen.run.get(peers.APP_NAME)
    if run_value != (None if service else '"%s" min' % app):
        problems.append("Run value is %r" % run_value)

    if service:
        mark = seen.marks.get(app)
        if mark != "dword:00000001":
            problems.append("compatibility mark is %r" % mark)
        if seen.service != "RUNNING":
            problems.append("service is %s" % seen.service)

    links = {
        desktop(box) + "\\" + peers.APP_NAME + ".lnk": (app, None),
        start_menu_folder() + "\\" + peers.APP_NAME + ".lnk": (app, None),
        start_menu_folder() + "\\Uninstall.lnk": installer.uninstall_link(box),
    }
    for link, (target, arguments) in links.items():
        if not box.exists(link):
            problems.append("no link %s" % link)
            continue
        fields = lnk_fields(box.unix_path(link))
        found = (fields.get("Local path"), fields.get("Command line arguments") or None)
        if found != (target, arguments):
            problems.append("link %s points to %s" % (link, found))
    found = box.listdir(start_menu_folder()) if box.exists(start_menu_folder()) else None
    if found != sorted([peers.APP_NAME + ".lnk", "Uninstall.lnk"]):
        problems.append("Start menu folder holds %s" % found)
    if problems:
        raise JobNotDone("%s's install on %s: %s" % (installer.name, box.kind,
                                                      "; ".join(problems)))


def check_removed(box, installer, service):
    """Raises JobNotDone unless installer's removal took away all that its install made."""
    problems = []
    if not installer.removal_finished(box):
        problems.append("its removal did not end")
    folder = installer.install_dir(box)
    if box.exists(folder):
        problems.append("%s is still there" % folder)
    seen = look(box)
    if seen.entry is not None:
        problems.append("the installed-programs entry is still there")
    if peers.APP_NAME in seen.run:
        problems.append("the Run value is still there")
    for path in (desktop(box) + "\\" + peers.APP_NAME + ".lnk", start_menu_folder()):
        if box.exists(path):
            problems.append("%s is still there" % path)
    if service and seen.service is not None:
        problems.append("the service is still there")
    if problems:
        raise JobNotDone("%s's removal on %s: %s" % (installer.name, box.kind,
                                                      "; ".join(problems)))


def desktop(box):
    return "C:\\users\\%s\\Desktop" % box.user_name


def start_menu_folder():
    return PROGRAMS + "\\" + peers.APP_NAME


def same_bytes(left, right):
    try:
        with open(left, "rb") as one, open(right, "rb") as other:
            return one.read() == other.read()
    except OSError:
        return False


def running_programs(box):
    result = box.wine(["winedbg", "--command", "info proc"], check=False)
    return [line.split("'")[1] for line in result.stdout.splitlines() if "'" in line]


class Seen:
    """What look() read from a box's registry and service manager."""

    def __init__(self, entry, run, marks, service):
        self.entry = entry  # the installed-programs entry's values, None when there is none
        self.run = run  # the Run key's values
        self.marks = marks  # the compatibility marks
        self.service = service  # the service's state, None when there is none


_LOOK = "C:\\bench-look"


def look(box):
    """The installed-programs entry, the Run values, the compatibility marks (each in the view
    a 32-bit program writes) and the service's state, read by one batch file: one program
    started from outside instead of four."""
    folder = box.unix_path(_LOOK)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    lines = ["@echo off"]
    for name, key in (("entry", ENTRY), ("run", RUN), ("marks", PERSISTED)):
        lines.append('reg export "%s" %s\\%s.reg /y >nul 2>nul' % (key, _LOOK, name))
    lines.append("sc query %s >%s\\service.txt" % (SERVICE, _LOOK))
    with open(os.path.join(folder, "look.bat"), "w", encoding="ascii", newline="\r\n") as batch:
        batch.write("\n".join(lines) + "\n")
    box.wine(["wine", "cmd", "/c", _LOOK + "\\look.bat"], check=False)
    exported = {name: read_export(os.path.join(folder, name + ".reg"))
                for name in ("entry", "run", "marks")}
    with open(os.path.join(folder, "service.txt"), encoding="ascii", errors="replace") as text:
        report = text.read()
    service = None
    if SERVICE in report:
        service = next((state for state in ("RUNNING", "STOPPED", "START_PENDING", "STOP_PENDING")
                        if state in report), "UNKNOWN")
    shutil.rmtree(folder, ignore_errors=True)
    return Seen(exported["entry"].get(ENTRY), exported["run"].get(RUN, {}),
                exported["marks"].get(PERSISTED, {}), service)


def read_export(path):
    """A .reg file as {key in lower case: {value name: data}}, the data as the file writes it
    ("text" for strings, dword:XXXXXXXX); {} when there is no file (no such key)."""
    try:
        with open(path, "rb") as exported:
            text = exported.read().decode("utf-16")
    except FileNotFoundError:
        return {}
    keys, current = {}, None
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].lower(), {})
            continue
        match = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
        if match and current is not None:
            name = "" if match.group(1) == "@" else unescape(match.group(2))
            data = match.group(3)
            current[name] = unescape(data[1:-1]) if data.startswith('"') else data
    return keys


def unescape(text):
    return re.sub(r"\\(.)", r"\1", text)
