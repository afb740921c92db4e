"""The release package signed with a certificate named in the environment: a
throwaway self-signed code-signing certificate and a time-stamping service of
the test's own on this machine. Every program in the ZIP verifies against that
certificate and no other, a changed byte breaks its signature, the programs in
bin/ stay unsigned, signing that cannot be done fails the build, and the signed
programs work under Wine."""

import http.server
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import zipfile
from pathlib import Path

from harness import PROGRAMS, WineSession
from programs import LAUNCHER_TITLE, control, settings_file
from test_executables import PortableExecutable
from test_launcher import CONNECT, OPTION1, TEXT1
from test_package import PACKAGE, PROGRAM_FILES, build_package
from test_setup import DONE, TITLE as SETUP_TITLE, Workstation, shortcut
from test_switch import QUIT, STATE, STOP, TITLE as SWITCH_TITLE

PASSWORD = "correct horse 7f3a"
SIGNER = "Test School Code Signing"
CERTIFICATE_TABLE = 4  # the data directory that holds a PE file's signatures

scratch: Path
session: WineSession
workstation: Workstation


def openssl(*args: str) -> None:
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def self_signed(folder: Path, name: str, subject: str, usage: str) -> tuple[Path, Path]:
    """A two-day certificate for one extended key usage and its key, as PEM files."""
    key, certificate = folder / f"{name}.key", folder / f"{name}.pem"
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
            "-subj", f"/CN={subject}", "-addext", f"extendedKeyUsage=critical,{usage}",
            "-addext", "keyUsage=critical,digitalSignature",
            "-keyout", str(key), "-out", str(certificate))
    return key, certificate


class Certificates:
    """The code-signing certificate as a PKCS#12 file with its password file, and the
    time-stamping service's certificate."""

    def __init__(self, folder: Path):
        key, self.signer = self_signed(folder, "signer", SIGNER, "codeSigning")
        self.password = folder / "password"
        self.password.write_text(PASSWORD + "\n")
        self.pfx = folder / "signer.pfx"
        openssl("pkcs12", "-export", "-inkey", str(key), "-in", str(self.signer),
                "-out", str(self.pfx), "-passout", f"file:{self.password}")
        self.tsa_key, self.tsa = self_signed(folder, "tsa", "Test Time Stamps", "timeStamping")
        self.tsa_config = folder / "tsa.cnf"
        self.tsa_config.write_text(
            f"[tsa]\ndefault_tsa = local\n[local]\nserial = {folder / 'tsa.serial'}\n"
            "signer_digest = sha256\ndigests = sha256\ndefault_policy = 1.2.3.4.1\n"
            "ess_cert_id_alg = sha256\n")


class TimestampService(http.server.ThreadingHTTPServer):
    """An RFC 3161 time-stamping service on a free local port: openssl answers each query."""

    def __init__(self, certificates: Certificates):
        super().__init__(("127.0.0.1", 0), TimestampRequest)
        self.certificates = certificates
        self.url = f"http://127.0.0.1:{self.server_address[1]}/"
        threading.Thread(target=self.serve_forever, daemon=True).start()


class TimestampRequest(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        known = self.server.certificates
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", str(known.tsa_config),
             "-queryfile", "/dev/stdin", "-inkey", str(known.tsa_key), "-signer", str(known.tsa),
             "-out", "/dev/stdout"],
            input=query, capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *_):
        pass


def verify(program: Path, *trust: str) -> subprocess.CompletedProcess:
    return subprocess.run(["osslsigncode", "verify", *trust, "-in", str(program)],
                          capture_output=True, text=True)


def certificate_table(data: bytes) -> tuple[int, int]:
    """(file offset, size) of the signatures; (0, 0) when unsigned."""
    return PortableExecutable(data).directories[CERTIFICATE_TABLE]


def without_signature(data: bytes) -> bytes:
    """The bytes that signing leaves alone: all but the checksum and the certificate table's
    entry, which it fills in."""
    header = int.from_bytes(data[0x3C:0x40], "little")
    optional = header + 24
    checksum, table = optional + 64, optional + 112 + 8 * CERTIFICATE_TABLE
    blanked = bytearray(data)
    blanked[checksum:checksum + 4] = bytes(4)
    blanked[table:table + 8] = bytes(8)
    return bytes(blanked)


def setUpModule():
    global scratch, certificates, timestamps, signed_build
    scratch = Path(tempfile.mkdtemp(prefix="signing-"))
    certificates = Certificates(scratch)
    timestamps = TimestampService(certificates)
    signed_build = build_package({"SIGNING_PFX": str(certificates.pfx),
                                  "SIGNING_PASSWORD_FILE": str(certificates.password),
                                  "SIGNING_TIMESTAMP_URL": timestamps.url})
    if signed_build.returncode == 0:
        with zipfile.ZipFile(PACKAGE) as package:
            package.extractall(scratch / "package")


def tearDownModule():
    timestamps.shutdown()
    # The build folder's package is left as an unsigned build makes it, never signed with
    # a certificate that is gone.
    build_package().check_returncode()
    shutil.rmtree(scratch)


class SignedPackageTestCase(unittest.TestCase):
    def setUp(self):
        self.assertEqual(signed_build.returncode, 0, signed_build.stdout)

    def signed(self, name: str) -> Path:
        return scratch / "package" / name


class Signatures(SignedPackageTestCase):
    def trust(self) -> list[str]:
        return ["-CAfile", str(certificates.signer), "-TSA-CAfile", str(certificates.tsa)]

    def test_each_program_verifies_with_sha256_and_a_timestamp(self):
        for name in PROGRAM_FILES:
            with self.subTest(program=name):
                run = verify(self.signed(name), *self.trust())
                self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
                self.assertRegex(run.stdout, r"Message digest algorithm\s*: SHA256")
                self.assertIn(f"Subject: /CN={SIGNER}", run.stdout)
                self.assertIn("Timestamp Server Signature verification: ok", run.stdout)

    def test_a_changed_byte_or_another_trust_fails_verification(self):
        for name in PROGRAM_FILES:
            data = bytearray(self.signed(name).read_bytes())
            _, _, _, code = PortableExecutable(bytes(data)).sections[0]
            data[code + 100] ^= 0x01
            changed = scratch / f"changed-{name}"
            changed.write_bytes(data)
            with self.subTest(program=name, case="changed byte"):
                self.assertNotEqual(verify(changed, *self.trust()).returncode, 0)
            with self.subTest(program=name, case="the system's authorities"):
                self.assertNotEqual(verify(self.signed(name)).returncode, 0)

    def test_signed_programs_are_the_built_ones_and_bin_stays_unsigned(self):
        for name in PROGRAM_FILES:
            with self.subTest(program=name):
                built = (PROGRAMS / name).read_bytes()
                self.assertEqual(certificate_table(built), (0, 0))
                signed = self.signed(name).read_bytes()
                offset, _ = certificate_table(signed)
                self.assertGreaterEqual(offset, len(built))
                self.assertEqual(without_signature(signed[:len(built)]), without_signature(built))

    def test_the_build_names_what_it_signed_and_never_the_password(self):
        self.assertIn("-- Signed Internet.exe, netswitch.exe, setup.exe with "
                      f"{certificates.pfx}\n", signed_build.stdout)
        self.assertNotIn("not signed", signed_build.stdout)
        self.assertNotIn(PASSWORD, signed_build.stdout)


class SigningFailures(unittest.TestCase):
    def test_signing_that_cannot_be_done_fails_the_build_and_leaves_no_package(self):
        wrong = scratch / "wrong-password"
        wrong.write_text("not the password\n")
        pfx, password = str(certificates.pfx), str(certificates.password)
        cases = {
            "wrong password": {"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": str(wrong)},
            "no password file": {"SIGNING_PFX": pfx},
            "no certificate": {"SIGNING_PASSWORD_FILE": password},
            "missing certificate": {"SIGNING_PFX": str(scratch / "gone.pfx"),
                                    "SIGNING_PASSWORD_FILE": password},
            "time stamps unreachable": {"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": password,
                                        "SIGNING_TIMESTAMP_URL": "http://127.0.0.1:1/"},
        }
        for case, signing in cases.items():
            with self.subTest(case=case):
                PACKAGE.write_bytes(b"an earlier package")
                run = build_package(signing)
                self.assertNotEqual(run.returncode, 0, run.stdout)
                self.assertFalse(PACKAGE.exists())
                self.assertNotIn(PASSWORD, run.stdout)


class SignedProgramsRun(SignedPackageTestCase):
    @classmethod
    def setUpClass(cls):
        global session, workstation
        session = WineSession().open()
        try:
            workstation = Workstation(session)
        except BaseException:
            session.shut_down()
            raise

    @classmethod
    def tearDownClass(cls):
        workstation.restore()
        session.shut_down()

    def test_setup_installs_the_signed_launcher_from_the_share(self):
        workstation.clear()
        folder = session.share_folder("signed-setup")
        for name in ("setup.exe", "Internet.exe"):
            folder.add_file(self.signed(name))
        process = session.start(folder.unc + r"\setup.exe")
        session.window(SETUP_TITLE)
        session.click(SETUP_TITLE, "Setup My &New Browser Launcher!")
        self.assertEqual(session.dismiss("Done"), DONE)
        self.assertEqual(process.wait(30), 0)
        launcher = self.signed("Internet.exe").read_bytes()
        self.assertEqual(workstation.installed("Internet.exe"), launcher)
        self.assertEqual(shortcut(workstation.shortcut)["Local path"], r"C:\windows\Internet.exe")

    def test_launcher_shows_the_agreement_and_connect_opens_the_page(self):
        folder = session.local_folder("signed-launcher")
        folder.add_file(self.signed("Internet.exe"))
        folder.write("welcome.txt", b"Welcome.\r\n")
        page = folder.path("welcome.txt")
        folder.write("Internet.cfg", settings_file("Our rules", "I agree", page))
        process = session.start(folder.path("Internet.exe"))
        self.addCleanup(process.kill)
        window = session.window(LAUNCHER_TITLE, timeout=10)
        self.assertEqual(control(window, TEXT1)["text"], "Our rules")
        session.click(LAUNCHER_TITLE, f"#{OPTION1}")
        session.click(LAUNCHER_TITLE, f"#{CONNECT}")
        self.assertEqual(process.wait(10), 0)
        session.close(session.window("welcome.txt - Notepad", timeout=15)["title"])

    def test_netswitch_stops_access(self):
        folder = session.share_folder("signed-switch")
        folder.add_file(self.signed("netswitch.exe"))
        process = session.start(folder.unc + r"\netswitch.exe")
        self.addCleanup(process.kill)
        window = session.window(SWITCH_TITLE, timeout=10)
        self.assertEqual(control(window, STATE)["text"], "RUNNING")
        session.click(SWITCH_TITLE, f"#{STOP}")
        time.sleep(0.3)
        self.assertEqual((folder.linux / "Internet.set").read_bytes(), b"N\r\n")
        self.assertEqual(control(session.window(SWITCH_TITLE), STATE)["text"], "STOPPED")
        session.click(SWITCH_TITLE, f"#{QUIT}")
        self.assertEqual(process.wait(10), 0)


if __name__ == "__main__":
    unittest.main()
