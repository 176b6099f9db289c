"""A whole WineBox as an administrator compares it before and after an install or a removal, and
the readers that comparison shares with the tests: the registry exported in the view a 32-bit
program writes, the installed-programs keys, a file's bytes."""

import hashlib
import os
import re
import tempfile

from wine_harness.box import WINE64, lnk_fields
from wine_harness.product import CURRENT_VERSION, PERSISTED, SERVICE, SERVICES


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
    every run appends to its log), the installed-programs entries with all their values, the Run
    values in both views, the current user's compatibility marks, the service."""
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
    loader = WINE64 if (view == 64 and box.is_64bit) else "wine"
    parent = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
    result = box.wine([loader, "reg", "query", parent], check=False)
    if result.returncode != 0:
        return []
    return sorted(line.strip()[len(parent) + 1:] for line in result.stdout.splitlines()
                  if line.startswith(parent + "\\"))
