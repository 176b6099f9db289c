"""The silent part of the demonstration: in a throwaway 64-bit Windows 7 prefix, installs the
application silently ("s"), reports what got installed as an administrator would check it (files,
registry values in the view a 32-bit program writes, shortcuts and their targets, the service),
then removes it silently ("SilentDel") and shows that everything is gone."""

import time

from wine_harness.box import WineBox
from wine_harness.machine import uninstall_keys
from wine_harness.product import APP_FILE, SERVICE
from wine_harness.silent_setup import SilentSetup

NATIVE_UNINSTALL = "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def heading(text):
    print()
    print("== " + text)


def timed_run(setup, what, command_line):
    started = time.monotonic()
    code = setup.box.run(command_line)
    print('%s: %s  ->  exit code %s (%.1f s)' % (what, command_line, code,
                                                 time.monotonic() - started))
    return code


def service_binary(box):
    """The service's program as the service manager keeps it."""
    return box.reg_value("HKLM\\System\\CurrentControlSet\\Services\\" + SERVICE, "ImagePath",
                         view=64)


def report_installed(setup):
    box = setup.box
    heading("Files in %s" % setup.install_dir)
    names = [name for name in setup.files() if name != "Uninstall"]
    names += ["Uninstall\\" + name for name in setup.files("Uninstall")]
    for name in names:
        with open(box.unix_path(setup.install_dir + "\\" + name), "rb") as installed:
            print("  %-28s %8d bytes" % (name, len(installed.read())))

    heading("Installed-programs entry, 32-bit view (%s%s)" % (NATIVE_UNINSTALL, setup.folder_name))
    values = setup.uninstall_values() or {}
    for name in sorted(values):
        print("  %-22s %-10s %s" % (name, values[name][0], values[name][1]))
    native = box.reg_values(NATIVE_UNINSTALL + setup.folder_name, view=64)
    same = native is not None and native == box.reg_values(setup.uninstall_key)
    print("  read natively through Wow6432Node: %s" % ("the same values" if same else "MISSING"))
    print("  in the 64-bit view's own Uninstall key: %s" % (
        "PRESENT (wrong view)" if setup.uninstall_values(view=64) else "absent, as it should be"))
    print("  Run value: %s (Windows 7 starts the application through the service)" %
          (setup.run_value() or "none"))

    heading("Shortcuts (read with lnkinfo)")
    for link, (target, arguments) in sorted(setup.shortcuts().items()):
        print("  %s\n      -> %s%s" % (link, target, " " + arguments if arguments else ""))

    heading("Service %s" % SERVICE)
    print("  state: %s" % setup.service_settles("RUNNING"))
    print("  program: %s" % service_binary(box))

    mark = setup.compatibility_marks().get(setup.install_dir + "\\" + APP_FILE)
    heading("Compatibility assistant mark of the installed program")
    print("  %s\\%s = %s" % (setup.install_dir, APP_FILE, mark[1] if mark else "none"))


def report_removed(setup):
    box = setup.box
    heading("After the removal")
    checks = [
        ("install folder %s" % setup.install_dir, not box.exists(setup.install_dir)),
        ("installed-programs entry", setup.folder_name not in uninstall_keys(box)),
        ("shortcuts", not setup.shortcuts() and not box.exists(setup.start_menu_folder)),
        ("service", setup.service_settles(None) is None),
        ("self-removal script %s" % setup.script, not box.exists(setup.script)),
    ]
    for what, gone in checks:
        print("  %-60s %s" % (what, "gone" if gone else "STILL THERE"))
    return all(gone for _, gone in checks)


def run():
    with WineBox("win7-64") as box:
        setup = SilentSetup(box)
        print("distribution copied to %s" % setup.dist)
        heading("Silent install")
        installed = timed_run(setup, "install", '"%s" s' % setup.program) == 0
        report_installed(setup)

        heading("Silent removal")
        removed = timed_run(setup, "removal", '"%s" SilentDel' % setup.uninstaller) == 0
        started = time.monotonic()
        ended = setup.wait_for_script_to_end()
        print("self-removal script %s after %.1f s" % ("ended" if ended else "DID NOT END",
                                                      time.monotonic() - started))
        removed = report_removed(setup) and removed and ended
        print()
        print("silent install and removal: %s" % ("OK" if installed and removed else "FAILED"))
        return installed and removed
