"""The language of the real setup.exe, seen from outside: which library the wizard loads for the
user's language, and how the program ends when it finds none.

Wine takes the user's language (user UI language and user default) from LC_MESSAGES and the
system's (system UI language and system default) from LC_CTYPE, each only for a locale that the C
library knows: the locales are compiled into the test run's folder and named with LOCPATH. Wine's
loader trace (WINEDEBUG=+loaddll) names every library a process loads, with the name that the
program built."""

import os
import re
import subprocess
import tempfile
import unittest

from winebox import ROOT, WineBox, compiled_locales

LOCALES = os.path.join(ROOT, "locales")
LANGUAGES = ["ENU", "CHT", "CHS", "JPN", "KOR", "FRA", "DEU", "ITA", "RUS", "ESN", "SVE", "NLD",
             "PTB"]
LOADED = re.compile(r'Loaded L"((?:[^"\\]|\\.)*)"')
EXIT_FAILURE = 1603


def make_locales(names):
    """Compiles the named locales (ja_JP.UTF-8, ...) below the test run's root, once per run."""
    for name in names:
        compiled_locales(name)


def locale_environment(user, system=None):
    """The environment for a user language (LC_MESSAGES) on a system language (LANG)."""
    return {"LOCPATH": LOCALES, "LANG": system or user, "LC_MESSAGES": user, "LC_ALL": ""}


def unescape(path):
    return path.replace("\\\\", "\\")


class Trace:
    """A Windows program started with the loader trace on; the trace goes to a file. The program
    is started straight by wine, so that ending the Linux process ends the Windows one."""

    def __init__(self, box, program, environment):
        self.file = tempfile.TemporaryFile()
        env = dict(box.env)
        env.update(environment)
        env["WINEDEBUG"] = "+loaddll"
        self.process = subprocess.Popen(["wine", program], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self.file,
                                        close_fds=True)

    def loaded(self):
        self.file.seek(0)
        text = self.file.read().decode("utf-8", "replace")
        return [unescape(match) for match in LOADED.findall(text)]

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.file.close()


class LanguageOfTheWizard(unittest.TestCase):
    """One machine for all cases: each case has its own distribution folder, and a wizard that
    came up is ended as soon as its language library is known."""

    @classmethod
    def setUpClass(cls):
        make_locales(["ja_JP.UTF-8", "ko_KR.UTF-8", "zh_TW.UTF-8"])
        cls.box = WineBox("win7-64")

    @classmethod
    def tearDownClass(cls):
        cls.box.close()

    def distribution(self, folder, program="setup.exe", without=()):
        path = self.box.copy_dist(folder, program)
        for language in without:
            os.remove(self.box.unix_path("%s\\setup%s.dll" % (folder, language)))
        return path

    def language_libraries(self, program, environment):
        """Starts the wizard; returns the language libraries it loaded (lower-case folder, as
        start-up builds the name), once one was loaded or the program ended."""
        folder = program.rsplit("\\", 1)[0].lower() + "\\"
        trace = Trace(self.box, program, environment)
        try:
            def libraries():
                return [path for path in trace.loaded()
                        if path.lower().startswith(folder) and path.lower().endswith(".dll")]
            ended = self.box.wait_until(
                lambda: libraries() or trace.process.poll() is not None, timeout=60)
            self.assertTrue(ended, "the program neither loaded a library nor ended")
            return libraries()
        finally:
            trace.stop()

    def test_japanese_user_gets_the_japanese_library(self):
        program = self.distribution("C:\\Japanese")
        loaded = self.language_libraries(program, locale_environment("ja_JP.UTF-8"))
        self.assertEqual(["c:\\japanese\\setupJPN.DLL"], loaded)

    def test_korean_user_without_korean_library_gets_english_not_the_system_language(self):
        program = self.distribution("C:\\Korean1", without=["KOR"])
        loaded = self.language_libraries(program,
                                         locale_environment("ko_KR.UTF-8", "zh_TW.UTF-8"))
        self.assertEqual(["c:\\korean1\\setupENU.DLL"], loaded)

    def test_korean_user_without_korean_or_english_gets_the_system_language(self):
        program = self.distribution("C:\\Korean2", without=["KOR", "ENU"])
        loaded = self.language_libraries(program,
                                         locale_environment("ko_KR.UTF-8", "zh_TW.UTF-8"))
        self.assertEqual(["c:\\korean2\\setupCHT.DLL"], loaded)

    def test_upper_case_program_path_finds_its_library(self):
        program = self.distribution("C:\\DIST", "SETUP.EXE")
        loaded = self.language_libraries(program, locale_environment("ja_JP.UTF-8"))
        self.assertEqual(["c:\\dist\\setupJPN.DLL"], loaded)


class NoLanguageLibrary(unittest.TestCase):
    """Without a library to show its texts, a wizard mode ends at once with the failure code and
    shows nothing: the launcher's bound would stop a program that waited with a window."""

    @classmethod
    def setUpClass(cls):
        cls.box = WineBox("win7-64")

    @classmethod
    def tearDownClass(cls):
        cls.box.close()

    def run_program(self, program, arguments=""):
        return self.box.run(('"%s" %s' % (program, arguments)).strip(), timeout=30)

    def test_program_named_install_beside_the_setup_libraries(self):
        program = self.box.copy_dist("C:\\Install", "install.exe")
        self.assertEqual(EXIT_FAILURE, self.run_program(program))
        self.assertEqual(EXIT_FAILURE, self.run_program(program, "delpkg"))

    def test_folder_named_like_a_program(self):
        program = self.box.copy_dist("C:\\a.exe.d")
        self.assertEqual(EXIT_FAILURE, self.run_program(program))

    def test_distribution_without_any_library(self):
        program = self.box.copy_dist("C:\\Bare")
        for language in LANGUAGES:
            os.remove(self.box.unix_path("C:\\Bare\\setup%s.dll" % language))
        self.assertEqual(EXIT_FAILURE, self.run_program(program))


if __name__ == "__main__":
    unittest.main()
