"""A throwaway Windows machine for one end-to-end test: a fresh copy of one of the test run's
pristine Wine prefixes, with helpers to run programs in it and to look at it from outside, as an
administrator would (files, registry, exit codes)."""

import os
import shutil
import subprocess
import tempfile
import time

ROOT = os.environ.get("SETUP_TEST_ROOT", "")
DIST = os.environ.get("SETUP_DIST_DIR", "")
SUPPORT = os.environ.get("SETUP_TEST_SUPPORT", "")
LAUNCHER = os.environ.get("SETUP_LAUNCHER", "")
WINE64 = "/usr/lib/wine/wine64"


class WineBox:
    """One prefix copy. Use as a context manager; the copy is deleted on exit."""

    def __init__(self, kind="win7-64", lang=None):
        if not ROOT or not os.path.isdir(os.path.join(ROOT, "pristine", kind)):
            raise RuntimeError("SETUP_TEST_ROOT must name a test run's root with pristine "
                               "prefixes (tests/support/prefixes.sh create ROOT)")
        self.kind = kind
        boxes = os.path.join(ROOT, "boxes")
        os.makedirs(boxes, exist_ok=True)
        self.prefix = tempfile.mkdtemp(prefix=kind + "-", dir=boxes)
        subprocess.run([os.path.join(SUPPORT, "prefixes.sh"), "copy", ROOT, kind, self.prefix],
                       check=True)
        self.env = dict(os.environ)
        home = os.path.join(ROOT, "home")
        self.env.update({
            "WINEPREFIX": self.prefix,
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree=d;mshtml=d",
            "LANG": lang or "C.UTF-8",
        })
        self.wine(["wineserver", "-p30"], check=False)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.prefix, ignore_errors=True)

    # --- running programs -------------------------------------------------------------------

    def wine(self, args, check=True, timeout=120):
        """Runs a Linux command (wine, wineserver, ...) in this box's environment. Output goes
        through files, not pipes: Wine's background processes inherit whatever the first program
        had open and would keep a pipe open long after the command ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run(args, env=self.env, timeout=timeout, stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=err, close_fds=True).returncode
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(
                args, status, out.read().decode("utf-8", "replace"),
                err.read().decode("utf-8", "replace"))
        if check and status != 0:
            raise subprocess.CalledProcessError(status, args, result.stdout, result.stderr)
        return result

    def run(self, command_line, timeout=60, cwd=None, window_station=None):
        """Runs a Windows command line through the launcher; returns the full exit code (an int),
        or the text 'timeout'. With window_station, on a desktop of a new window station of that
        name, which nobody sees."""
        return self.run_with_output(command_line, timeout, cwd, window_station)[0]

    def run_with_output(self, command_line, timeout=60, cwd=None, window_station=None):
        """As run, and what the program wrote to its console: (exit code, text)."""
        args = ["wine", LAUNCHER, "--timeout", str(timeout)]
        if cwd:
            args += ["--cwd", cwd]
        if window_station:
            args += ["--window-station", window_station]
        args += ["--", command_line]
        result = self.wine(args, check=False, timeout=timeout + 60)
        code = None
        output = []
        for line in result.stdout.splitlines():
            if line.startswith("exit-code: "):
                value = line[len("exit-code: "):].strip()
                code = int(value) if value.isdigit() else value
            elif not line.startswith(("elapsed-ms: ", "peak-working-set-kb: ")):
                output.append(line)
        if code is None:
            raise AssertionError("launcher said nothing: %r %r" % (result.stdout, result.stderr))
        return code, "\n".join(output)

    def start(self, command_line):
        """Starts a Windows command line without waiting; returns the Popen."""
        return subprocess.Popen(["wine"] + split_command_line(command_line), env=self.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, close_fds=True)

    def wait_until(self, condition, timeout=30.0, step=0.1):
        """Polls condition until it is true; returns its last value."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value or time.monotonic() > deadline:
                return value
            time.sleep(step)

    # --- files ------------------------------------------------------------------------------

    def unix_path(self, windows_path):
        """C:\\Program Files\\X -> <prefix>/drive_c/Program Files/X (case as given)."""
        drive, rest = windows_path[0].lower(), windows_path[2:].lstrip("\\")
        if drive == "z":
            return "/" + rest.replace("\\", "/")
        return os.path.join(self.prefix, "drive_" + drive, *[p for p in rest.split("\\") if p])

    def exists(self, windows_path):
        return os.path.exists(self.unix_path(windows_path))

    def listdir(self, windows_path):
        return sorted(os.listdir(self.unix_path(windows_path)))

    def copy_dist(self, windows_folder, program_name="setup.exe"):
        """Copies the built distribution folder to windows_folder; returns the program's path."""
        target = self.unix_path(windows_folder)
        shutil.copytree(DIST, target, dirs_exist_ok=True)
        if program_name != "setup.exe":
            os.rename(os.path.join(target, "setup.exe"), os.path.join(target, program_name))
        return windows_folder.rstrip("\\") + "\\" + program_name

    def write_text(self, windows_path, text, encoding="utf-8"):
        path = self.unix_path(windows_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding=encoding, newline="\r\n") as handle:
            handle.write(text)

    @property
    def user_name(self):
        users = os.path.join(self.prefix, "drive_c", "users")
        names = [n for n in os.listdir(users) if n not in ("Public", "public")]
        return names[0]

    @property
    def is_64bit(self):
        return os.path.isdir(os.path.join(self.prefix, "drive_c", "windows", "syswow64"))

    @property
    def program_files(self):
        return "C:\\Program Files (x86)" if self.is_64bit else "C:\\Program Files"

    # --- registry ---------------------------------------------------------------------------

    def reg_values(self, key, view=32):
        """All values of a key as {name: (type, data)}, or None when the key does not exist.
        view 32 is what a 32-bit program sees; view 64 the native view of a 64-bit prefix."""
        loader = WINE64 if (view == 64 and self.is_64bit) else "wine"
        result = self.wine([loader, "reg", "query", key], check=False)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            if not line.startswith("    "):
                continue
            parts = line.strip().split("    ")
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                name = "" if parts[0] == "(Default)" else parts[0]
                values[name] = (parts[1], parts[2] if len(parts) > 2 else "")
        return values

    def reg_value(self, key, name, view=32):
        values = self.reg_values(key, view)
        if values is None or name not in values:
            return None
        return values[name][1]

    def service_state(self, service):
        """A service's state as the service manager tells it, or None when there is none."""
        result = self.wine(["wine", "sc", "query", service], check=False)
        if result.returncode != 0 or service not in result.stdout:
            return None
        for state in ("RUNNING", "STOPPED", "START_PENDING", "STOP_PENDING"):
            if state in result.stdout:
                return state
        return "UNKNOWN"

    def set_windows_version(self, version):
        self.wine(["wine", "reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", version,
                   "/f"])


def windows_path(unix_path):
    """/some/file -> Z:\\some\\file, the path through which Wine's programs see a Linux file."""
    return "Z:" + unix_path.replace("/", "\\")


def split_command_line(command_line):
    """Splits a simple Windows command line (double quotes group) for wine's argv."""
    args, current, quoted = [], "", False
    for ch in command_line:
        if ch == '"':
            quoted = not quoted
        elif ch == " " and not quoted:
            if current:
                args.append(current)
            current = ""
        else:
            current += ch
    if current:
        args.append(current)
    return args


def lnk_fields(path):
    """The fields of a link file as lnkinfo (liblnk) reads it, independently of Wine."""
    result = subprocess.run(["lnkinfo", path], stdin=subprocess.DEVNULL, capture_output=True,
                            text=True, check=True)
    fields = {}
    for line in result.stdout.splitlines():
        name, colon, value = line.strip().partition(":")
        if colon and name.strip() not in fields:
            fields[name.strip()] = value.strip()
    return fields


def compiled_locales(lang):
    """A folder for LOCPATH that holds the Linux locale lang (for example ja_JP.UTF-8), compiled
    once per test run: Wine takes its user and UI language from the Linux locale, and a machine
    may have none but C installed."""
    folder = os.path.join(ROOT, "locales")
    target = os.path.join(folder, lang)
    if not os.path.isdir(target):
        os.makedirs(folder, exist_ok=True)
        base, _, charset = lang.partition(".")
        scratch = tempfile.mkdtemp(prefix=".locale-", dir=folder)
        try:
            subprocess.run(["localedef", "-i", base, "-f", charset or "UTF-8",
                            os.path.join(scratch, lang)], check=True, timeout=120,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE)
            try:
                os.rename(os.path.join(scratch, lang), target)
            except OSError:
                if not os.path.isdir(target):  # another test made it meanwhile: fine
                    raise
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
    return folder
