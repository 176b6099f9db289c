"""The language of the real setup.exe, seen from outside: the wizard's texts for the user's
language, whatever the program file is called and wherever it stands, and what happens when no
language library is there at all.

Wine takes the user's language (user UI language and user default) from LC_MESSAGES and the
system's (system UI language and system default) from LC_CTYPE, each only for a locale that the C
library knows: the locales are compiled into the test run's folder and named with LOCPATH."""

import json
import os
import subprocess
import threading
import unittest

from wine_harness.box import ROOT, WineBox, compiled_locales
from wine_harness.wizard import ACTION, PROBE

LOCALES = os.path.join(ROOT, "locales")
LANGUAGES = ["ENU", "CHT", "CHS", "JPN", "KOR", "FRA", "DEU", "ITA", "RUS", "ESN", "SVE", "NLD",
             "PTB"]
INSTALL = {"ENU": "Install", "JPN": "インストール", "CHT": "安裝"}
EXIT_FAILURE = 1603


def locale_environment(user, system=None):
    """The environment for a user language (LC_MESSAGES) on a system language (LANG)."""
    return {"LOCPATH": LOCALES, "LANG": system or user, "LC_MESSAGES": user, "LC_ALL": ""}


class Setup:
    """A Windows program started straight by wine in the box, ended on the way out."""

    def __init__(self, box, program, environment=None):
        self.box = box
        env = dict(box.env)
        env.update(environment or {})
        self.process = subprocess.Popen(["wine", program], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        close_fds=True)

    def look(self, *arguments):
        result = self.box.wine(["wine", PROBE] + list(arguments), timeout=60)
        return json.loads(result.stdout)

    def wait_to_see(self, what):
        """The first look in which what (wizards or boxes) is not empty."""
        seen = {}

        def shown():
            seen.update(self.look())
            return bool(seen[what]) or self.process.poll() is not None
        self.box.wait_until(shown, timeout=60, step=0.3)
        return seen[what]

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class LanguageOfTheWizard(unittest.TestCase):
    """One machine for all cases: each case has its own distribution folder, and a wizard that
    came up is ended as soon as its texts are known."""

    @classmethod
    def setUpClass(cls):
        for name in ["ja_JP.UTF-8", "ko_KR.UTF-8", "zh_TW.UTF-8"]:
            compiled_locales(name)
        cls.box = WineBox("win7-64")

    @classmethod
    def tearDownClass(cls):
        cls.box.close()

    def install_text(self, folder, program="setup.exe", without=(), environment=None):
        """The action button's text of the wizard that the distribution in folder shows."""
        path = self.box.copy_dist(folder, program)
        for language in without:
            os.remove(self.box.unix_path("%s\\setup%s.dll" % (folder, language)))
        setup = Setup(self.box, path, environment)
        try:
            wizards = setup.wait_to_see("wizards")
            self.assertTrue(wizards, "no wizard came up")
            return wizards[0]["controls"][str(ACTION)]["text"]
        finally:
            setup.stop()

    def test_the_users_language_then_english_then_the_systems(self):
        cases = [
            ("C:\\Japanese", (), locale_environment("ja_JP.UTF-8"), INSTALL["JPN"]),
            # A language without its library ends at English, not at the system's language...
            ("C:\\Korean1", ["KOR"], locale_environment("ko_KR.UTF-8", "zh_TW.UTF-8"),
             INSTALL["ENU"]),
            # ... unless there is no English either.
            ("C:\\Korean2", ["KOR", "ENU"], locale_environment("ko_KR.UTF-8", "zh_TW.UTF-8"),
             INSTALL["CHT"]),
        ]
        for folder, without, environment, expected in cases:
            self.assertEqual(expected, self.install_text(folder, without=without,
                                                         environment=environment), folder)

    def test_any_program_name_in_any_folder_finds_the_libraries(self):
        cases = [
            ("C:\\DIST", "SETUP.EXE"),
            # What a browser makes of a second download.
            ("C:\\Downloads", "setup (1).exe"),
            ("C:\\Downloads\\raid.exe files", "setup.exe"),
            ("C:\\Install", "install.exe"),
        ]
        for folder, program in cases:
            self.assertEqual(INSTALL["JPN"], self.install_text(
                folder, program, environment=locale_environment("ja_JP.UTF-8")), program)


class NoLanguageLibrary(unittest.TestCase):
    def test_the_wizard_says_so_in_english_and_fails(self):
        with WineBox("win7-64") as box:
            program = box.copy_dist("C:\\Bare")
            for language in LANGUAGES:
                os.remove(box.unix_path("C:\\Bare\\setup%s.dll" % language))
            outcome = {}
            run = threading.Thread(target=lambda: outcome.update(code=box.run('"%s"' % program)))
            run.start()
            try:
                def boxes():
                    return json.loads(box.wine(["wine", PROBE], timeout=60).stdout)["boxes"]
                shown = box.wait_until(boxes, timeout=60, step=0.3)
                self.assertEqual(1, len(shown), shown)
                self.assertEqual("Setup", shown[0]["title"])
                self.assertIn("no language library", shown[0]["text"])
            finally:
                box.wine(["wine", PROBE, "press", "1"], timeout=60)
                run.join(timeout=90)
            self.assertEqual(EXIT_FAILURE, outcome.get("code"))


if __name__ == "__main__":
    unittest.main()
