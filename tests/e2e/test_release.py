"""The distribution as a release: what inventories read from setup.exe's version resource, and the
distribution signed with scripts/sign.sh (a throwaway self-signed certificate made here with
openssl, time stamps from a time-stamp server of the test's own), each signature checked with
osslsigncode, then installed and removed under Wine."""

import configparser
import hashlib
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import unittest

from wine_harness.box import DIST, ROOT
from wine_harness.silent_setup import SilentSetup
from wine_harness.wizard import ACTION, HEADING, IDOK, XDisplay, WizardSession, shown, text

SIGN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "sign.sh")
LANGUAGES = ["ENU", "CHT", "CHS", "JPN", "KOR", "FRA", "DEU", "ITA", "RUS", "ESN", "SVE", "NLD",
             "PTB"]
PROGRAMS = (["setup.exe"] + ["setup%s.dll" % language for language in LANGUAGES] +
            ["Application/DIVodeZivar.exe", "Application/REriDezaz.exe",
             "Application/mingwm10.dll"])
SETUP_SIZE_LIMIT = 300 * 1024


def sample_settings():
    settings = configparser.ConfigParser(interpolation=None)
    settings.optionxform = str
    settings.read(os.path.join(DIST, "setup.ini"), encoding="utf-8")
    return settings["Startup"]


def files_of(folder):
    """{relative path: SHA-256} of every file below folder."""
    found = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            with open(path, "rb") as handle:
                found[os.path.relpath(path, folder)] = hashlib.sha256(handle.read()).hexdigest()
    return found


def self_signed_certificate(folder, name, subject, usage):
    """A throwaway certificate and its key, valid for two days; returns their paths."""
    certificate = os.path.join(folder, name + ".pem")
    key = os.path.join(folder, name + ".key")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", subject, "-keyout", key, "-out", certificate,
                    "-addext", "keyUsage=critical,digitalSignature",
                    "-addext", "extendedKeyUsage=critical," + usage],
                   check=True, capture_output=True)
    return certificate, key


class TimeStampServer:
    """An RFC 3161 time-stamp server on the loopback interface: openssl ts answers every request,
    signed with a certificate of its own."""

    def __init__(self, folder):
        self.certificate, key = self_signed_certificate(folder, "tsa", "/CN=Test time stamps",
                                                        "timeStamping")
        config = os.path.join(folder, "tsa.cnf")
        with open(config, "w") as handle:
            handle.write("[tsa]\ndefault_tsa = test\n[test]\nserial = %s\nsigner_cert = %s\n"
                         "signer_key = %s\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n"
                         "digests = sha256\ness_cert_id_alg = sha256\n"
                         % (os.path.join(folder, "tsa.serial"), self.certificate, key))

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = self.rfile.read(int(self.headers["Content-Length"]))
                with tempfile.NamedTemporaryFile(dir=folder) as request:
                    request.write(query)
                    request.flush()
                    reply = subprocess.run(["openssl", "ts", "-reply", "-config", config,
                                            "-queryfile", request.name],
                                           capture_output=True, check=True).stdout
                self.send_response(200)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(reply)))
                self.end_headers()
                self.wfile.write(reply)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join(timeout=10)


def bitmap_bytes(program):
    """Bytes of the bitmap resources inside program (wrestool lists each with its size)."""
    listing = subprocess.run(["wrestool", "-l", "--type=2", program], capture_output=True,
                             text=True, check=True).stdout
    return sum(int(field[5:].rstrip("]")) for field in listing.split()
               if field.startswith("size="))


class VersionResource(unittest.TestCase):
    def test_setup_describes_itself_as_the_sample_settings_describe_the_product(self):
        settings = sample_settings()
        result = subprocess.run(["exiftool", "-j", os.path.join(DIST, "setup.exe")],
                                capture_output=True, text=True, check=True)
        info = json.loads(result.stdout)[0]
        numbers = [int(part) for part in settings["Version"].split(".")]
        numbers = ".".join(str(n) for n in (numbers + [0, 0, 0, 0])[:4])
        self.assertEqual({
            "CompanyName": settings["CompanyName"],
            "ProductName": settings["AppName"],
            "FileDescription": "Setup Application",
            "FileVersion": settings["Version"],
            "ProductVersion": settings["Version"],
            "FileVersionNumber": numbers,
            "ProductVersionNumber": numbers,
            "LegalCopyright": "Copyright \u00a9 " + settings["CompanyName"],
            "OriginalFileName": "setup.exe",
        }, {name: str(info.get(name)) for name in (
            "CompanyName", "ProductName", "FileDescription", "FileVersion", "ProductVersion",
            "FileVersionNumber", "ProductVersionNumber", "LegalCopyright",
            "OriginalFileName")})


class SignedDistribution(unittest.TestCase):
    """The distribution signed once for all cases, with a certificate made for this run."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="signed-", dir=ROOT)
        company = sample_settings()["CompanyName"]
        cls.certificate, key = self_signed_certificate(
            cls.work, "signer", "/O=%s/CN=%s" % (company, company), "codeSigning")
        cls.time_stamps = TimeStampServer(cls.work)
        cls.unsigned = files_of(DIST)
        cls.signed = os.path.join(cls.work, "dist")
        cls.signing = [SIGN, "--cert", cls.certificate, "--key", key,
                       "--timestamp", cls.time_stamps.url, "--ca", cls.certificate]
        result = cls.sign("--tsa-ca", cls.time_stamps.certificate, "--out", cls.signed)
        if result.returncode != 0:
            cls.tearDownClass()
            raise AssertionError("sign.sh failed: %s" % result.stderr)

    @classmethod
    def sign(cls, *arguments):
        """Runs sign.sh on the build's distribution; the time-stamp server is reached directly,
        never through a proxy."""
        return subprocess.run(cls.signing + list(arguments) + [DIST], capture_output=True,
                              text=True, env=dict(os.environ, no_proxy="127.0.0.1",
                                                  NO_PROXY="127.0.0.1"))

    @classmethod
    def tearDownClass(cls):
        cls.time_stamps.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def verifies(self, path):
        """The signature matches the file, its certificate leads to ours, and its time stamp
        verifies."""
        result = subprocess.run(["osslsigncode", "verify", "-CAfile", self.certificate,
                                 "-TSA-CAfile", self.time_stamps.certificate, "-in", path],
                                capture_output=True, text=True)
        return (result.returncode == 0 and "Signature verification: ok" in result.stdout and
                "Timestamp Server Signature verification: ok" in result.stdout)

    def test_every_program_and_library_is_signed_and_nothing_else_changed(self):
        for program in PROGRAMS:
            self.assertTrue(self.verifies(os.path.join(self.signed, program)), program)
            self.assertFalse(self.verifies(os.path.join(DIST, program)), "unsigned " + program)
            # Without its signature a signed file is the build's file again, byte for byte: a
            # signed release can be compared with a rebuild.
            unsigned = os.path.join(self.work, "unsigned.bin")
            subprocess.run(["osslsigncode", "remove-signature", "-in",
                            os.path.join(self.signed, program), "-out", unsigned],
                           check=True, capture_output=True)
            with open(unsigned, "rb") as handle:
                self.assertEqual(self.unsigned[os.path.normpath(program)],
                                 hashlib.sha256(handle.read()).hexdigest(), program)
            os.remove(unsigned)
        signed = files_of(self.signed)
        self.assertEqual(sorted(self.unsigned), sorted(signed))
        changed = sorted(name for name in signed if signed[name] != self.unsigned[name])
        self.assertEqual(sorted(os.path.normpath(program) for program in PROGRAMS), changed)
        self.assertEqual(self.unsigned, files_of(DIST), "the build's own dist/ stays unsigned")

        # A signature that no longer matches its file does not verify.
        tampered = os.path.join(self.work, "tampered.exe")
        with open(os.path.join(self.signed, "setup.exe"), "rb") as handle:
            data = bytearray(handle.read())
        data[len(data) // 2] ^= 0xFF
        with open(tampered, "wb") as handle:
            handle.write(data)
        self.assertFalse(self.verifies(tampered))

    def test_signing_fails_when_a_time_stamp_does_not_verify(self):
        # The test server's certificate is none of the system's roots.
        result = self.sign("--out", os.path.join(self.work, "refused"))
        self.assertNotEqual(0, result.returncode)
        self.assertIn("does not verify", result.stderr)

    def test_signed_setup_without_its_bitmaps_stays_small(self):
        program = os.path.join(self.signed, "setup.exe")
        size = os.path.getsize(program) - bitmap_bytes(program)
        self.assertLess(size, SETUP_SIZE_LIMIT)
        self.assertGreater(size, 0)

    def test_signed_distribution_installs_and_removes(self):
        with XDisplay() as display, WizardSession(display) as session:
            box = session.box
            setup = SilentSetup(box, dist="C:\\Setup")
            shutil.copytree(self.signed, box.unix_path(setup.dist), dirs_exist_ok=True)
            self.assertEqual(0, setup.install())
            self.assertEqual("RUNNING", setup.service_settles("RUNNING"))
            for installed in ("Uninstall\\setup.exe", "Uninstall\\setupENU.dll",
                              "DIVodeZivar.exe", "REriDezaz.exe", "mingwm10.dll"):
                self.assertTrue(self.verifies(box.unix_path(setup.install_dir + "\\" +
                                                            installed)), installed)

            # The removal wizard of the signed uninstaller shows the texts of its signed English
            # library (setup's own string table is Chinese).
            exit_code = session.start('"%s" delpkg' % setup.uninstaller)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the removal wizard")
            self.assertEqual("Remove all installed features.", text(wizard, HEADING))
            session.click_control(wizard, ACTION)
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual("The removal wizard has completed the removal successfully.",
                             text(wizard, HEADING))
            session.click_control(wizard, IDOK)
            self.assertEqual(0, exit_code())
            self.assertTrue(setup.wait_for_script_to_end())
            self.assertFalse(box.exists(setup.install_dir))
            self.assertIsNone(setup.uninstall_values())
            self.assertIsNone(setup.service_settles(None))


if __name__ == "__main__":
    unittest.main()
