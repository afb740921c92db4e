"""The release package signed with a key named in the environment, each way a
school can: a throwaway self-signed code-signing certificate as a PKCS#12 file,
and an RSA key made inside a SoftHSM token with a certificate for it, used
through the token's PKCS#11 module; a time-stamping service of the test's own
on this machine; or made of the programs signed elsewhere, as SignTool on
Windows would, here by osslsigncode with the PKCS#12 file. Every program in the
ZIP verifies against that certificate and no other, with a time-stamp, names
itself and the product's web address, a changed byte breaks its signature, the
programs in bin/ stay unsigned, signing that cannot be done and programs signed
elsewhere that fail their checks fail the build, and the programs the build
signed work under Wine."""

import http.server
import os
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import zipfile
from dataclasses import dataclass
from pathlib import Path

from harness import PROGRAMS, WineSession
from programs import LAUNCHER_TITLE, control, settings_file
from test_executables import PortableExecutable
from test_launcher import CONNECT, OPTION1, TEXT1
from test_package import PACKAGE, PROGRAM_FILES, build_package
from test_setup import DONE, TITLE as SETUP_TITLE, Workstation, shortcut
from test_switch import QUIT, STATE, STOP, TITLE as SWITCH_TITLE

PASSWORD = "correct horse 7f3a"
PIN = "token pin 93b0"
SIGNER = "Test School Code Signing"
CERTIFICATE_TABLE = 4  # the data directory that holds a PE file's signatures
MODULE = "/usr/lib/softhsm/libsofthsm2.so"
TOKEN = "Test Signing"
# What UAC and the file's properties show for each signed program.
DESCRIPTIONS = {"Internet.exe": "Kelbry's Browser Launcher",
                "setup.exe": "Kelbry's Browser Launcher Setup",
                "netswitch.exe": "Kelbry's Internet On/Off Switch"}
WEB_ADDRESS = "http://www.kelbry.com/"

scratch: Path
session: WineSession
workstation: Workstation


def run(*command: str, environment: dict[str, str] | None = None) -> None:
    subprocess.run(command, check=True, capture_output=True,
                   env=dict(os.environ, **(environment or {})))


def certify(certificate: Path, subject: str, usage: str, *key: str, **environment) -> None:
    """A two-day self-signed certificate for one extended key usage, as PEM, of the key
    that the arguments give openssl."""
    run("openssl", "req", "-x509", *key, "-days", "2",
        "-subj", f"/CN={subject}", "-addext", f"extendedKeyUsage=critical,{usage}",
        "-addext", "keyUsage=critical,digitalSignature", "-out", str(certificate),
        environment=environment)


def self_signed(folder: Path, name: str, subject: str, usage: str) -> tuple[Path, Path]:
    """A new key and a certificate for it, as PEM files."""
    key, certificate = folder / f"{name}.key", folder / f"{name}.pem"
    certify(certificate, subject, usage, "-newkey", "rsa:2048", "-nodes", "-keyout", str(key))
    return key, certificate


class Certificates:
    """The code-signing certificate as a PKCS#12 file with its password file, and the
    time-stamping service's certificate."""

    def __init__(self, folder: Path):
        key, self.signer = self_signed(folder, "signer", SIGNER, "codeSigning")
        self.password = folder / "password"
        self.password.write_text(PASSWORD + "\n")
        self.pfx = folder / "signer.pfx"
        run("openssl", "pkcs12", "-export", "-inkey", str(key), "-in", str(self.signer),
            "-out", str(self.pfx), "-passout", f"file:{self.password}")
        self.tsa_key, self.tsa = self_signed(folder, "tsa", "Test Time Stamps", "timeStamping")
        self.tsa_config = folder / "tsa.cnf"
        self.tsa_config.write_text(
            f"[tsa]\ndefault_tsa = local\n[local]\nserial = {folder / 'tsa.serial'}\n"
            "signer_digest = sha256\ndigests = sha256\ndefault_policy = 1.2.3.4.1\n"
            "ess_cert_id_alg = sha256\n")


class Token:
    """A SoftHSM token in the folder holding an RSA key made inside it, a certificate for
    that key, and a file holding the token's PIN."""

    def __init__(self, folder: Path):
        (folder / "tokens").mkdir()
        configuration = folder / "softhsm2.conf"
        configuration.write_text(f"directories.tokendir = {folder / 'tokens'}\n")
        self.environment = {"SOFTHSM2_CONF": str(configuration)}
        run("softhsm2-util", "--init-token", "--free", "--label", TOKEN, "--pin", PIN,
            "--so-pin", PIN, environment=self.environment)
        run("pkcs11-tool", "--module", MODULE, "--token-label", TOKEN, "--login", "--pin", PIN,
            "--keypairgen", "--key-type", "rsa:2048", "--label", "signer",
            environment=self.environment)
        self.key = f"pkcs11:token={TOKEN.replace(' ', '%20')};object=signer;type=private"
        engine = folder / "engine.cnf"
        engine.write_text("openssl_conf = init\n[init]\nengines = engines\n"
                          "[engines]\npkcs11 = pkcs11\n"
                          f"[pkcs11]\nMODULE_PATH = {MODULE}\nPIN = {PIN}\n")
        self.signer = folder / "token-signer.pem"
        certify(self.signer, SIGNER, "codeSigning", "-engine", "pkcs11", "-keyform", "engine",
                "-key", self.key, OPENSSL_CONF=str(engine), **self.environment)
        self.pin = folder / "pin"
        self.pin.write_text(PIN + "\n")

    def signing(self, **changes: str) -> dict[str, str]:
        """The environment of a build that signs with the token's key."""
        signing = dict(self.environment, SIGNING_PKCS11_MODULE=MODULE, SIGNING_KEY=self.key,
                       SIGNING_CERTS=str(self.signer), SIGNING_PIN_FILE=str(self.pin))
        return dict(signing, **changes)


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


def sign_elsewhere(folder: str, timestamp: bool = True, changed: str = "",
                   left_out: str = "") -> Path:
    """A folder of the built programs signed as on Windows, with the PKCS#12 file and,
    unless told otherwise, a time-stamp; one of them may be `changed` before it is signed,
    or `left_out`."""
    signed = scratch / folder
    signed.mkdir()
    for name in PROGRAM_FILES:
        if name == left_out:
            continue
        data = bytearray((PROGRAMS / name).read_bytes())
        if name == changed:
            _, _, _, code = PortableExecutable(bytes(data)).sections[0]
            data[code + 100] ^= 0x01
        unsigned = scratch / f"unsigned-{name}"
        unsigned.write_bytes(data)
        stamp = ["-ts", timestamps.url] if timestamp else []
        run("osslsigncode", "sign", "-pkcs12", str(certificates.pfx), "-readpass",
            str(certificates.password), "-h", "sha256", *stamp, "-n", DESCRIPTIONS[name],
            "-i", WEB_ADDRESS, "-in", str(unsigned), "-out", str(signed / name))
    return signed


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


@dataclass
class Road:
    """One way of signing: the build's environment, the certificate that its signatures
    verify against, and the line in which the build says how it signed."""
    name: str
    signing: dict[str, str]
    certificate: Path
    said: str

    def signed(self, name: str) -> Path:
        return scratch / self.name / name


def setUpModule():
    global scratch, certificates, token, timestamps, trusted, elsewhere, roads, signing_roads
    global builds
    scratch = Path(tempfile.mkdtemp(prefix="signing-"))
    certificates = Certificates(scratch)
    token = Token(scratch)
    timestamps = TimestampService(certificates)
    # The authorities of the signatures made elsewhere and of their time-stamps.
    trusted = scratch / "trusted.pem"
    trusted.write_text(certificates.signer.read_text() + certificates.tsa.read_text())
    programs = ", ".join(sorted(PROGRAM_FILES))
    stamped = {"SIGNING_TIMESTAMP_URL": timestamps.url}
    signing_roads = [
        Road("pkcs12", {"SIGNING_PFX": str(certificates.pfx),
                        "SIGNING_PASSWORD_FILE": str(certificates.password), **stamped},
             certificates.signer, f"-- Signed {programs} with {certificates.pfx}\n"),
        Road("pkcs11", token.signing(**stamped), token.signer,
             f"-- Signed {programs} with {token.key} in {MODULE}\n")]
    elsewhere = sign_elsewhere("signed elsewhere")
    roads = [*signing_roads,
             Road("elsewhere", {"SIGNED_PROGRAMS_DIR": str(elsewhere),
                                "SIGNED_PROGRAMS_CAFILE": str(trusted)},
                  certificates.signer, f"-- Took {programs} signed elsewhere from {elsewhere}: "
                                       "each signature and its time-stamp verified, each "
                                       "program the one built\n")]
    builds = {}
    for road in roads:
        builds[road.name] = build_package(road.signing)
        if builds[road.name].returncode == 0:
            with zipfile.ZipFile(PACKAGE) as package:
                package.extractall(scratch / road.name)


def tearDownModule():
    timestamps.shutdown()
    # The build folder's package is left as an unsigned build makes it, never signed with
    # a certificate that is gone.
    build_package().check_returncode()
    shutil.rmtree(scratch)


class SignedPackageTestCase(unittest.TestCase):
    def setUp(self):
        for road, build in builds.items():
            self.assertEqual(build.returncode, 0, f"{road}: {build.stdout}")


class Signatures(SignedPackageTestCase):
    def test_each_program_verifies_with_sha256_a_timestamp_and_its_names(self):
        for road in roads:
            for name in PROGRAM_FILES:
                with self.subTest(road=road.name, program=name):
                    run = verify(road.signed(name), "-CAfile", str(road.certificate),
                                 "-TSA-CAfile", str(certificates.tsa))
                    self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
                    self.assertRegex(run.stdout, r"Message digest algorithm\s*: SHA256")
                    self.assertIn(f"Subject: /CN={SIGNER}", run.stdout)
                    self.assertIn("Timestamp Server Signature verification: ok", run.stdout)
                    self.assertIn(f"Text description: {DESCRIPTIONS[name]}\n", run.stdout)
                    self.assertIn(f"URL description: {WEB_ADDRESS}\n", run.stdout)

    def test_a_changed_byte_or_another_trust_fails_verification(self):
        for road in roads:
            trust = ["-CAfile", str(road.certificate), "-TSA-CAfile", str(certificates.tsa)]
            for name in PROGRAM_FILES:
                data = bytearray(road.signed(name).read_bytes())
                _, _, _, code = PortableExecutable(bytes(data)).sections[0]
                data[code + 100] ^= 0x01
                changed = scratch / f"changed-{name}"
                changed.write_bytes(data)
                with self.subTest(road=road.name, program=name, case="changed byte"):
                    self.assertNotEqual(verify(changed, *trust).returncode, 0)
                with self.subTest(road=road.name, program=name, case="the system's authorities"):
                    self.assertNotEqual(verify(road.signed(name)).returncode, 0)

    def test_signed_programs_are_the_built_ones_and_bin_stays_unsigned(self):
        for road in roads:
            for name in PROGRAM_FILES:
                with self.subTest(road=road.name, program=name):
                    built = (PROGRAMS / name).read_bytes()
                    self.assertEqual(certificate_table(built), (0, 0))
                    signed = road.signed(name).read_bytes()
                    offset, _ = certificate_table(signed)
                    self.assertGreaterEqual(offset, len(built))
                    self.assertEqual(without_signature(signed[:len(built)]),
                                     without_signature(built))

    def test_the_build_names_what_it_signed_and_never_the_password_or_pin(self):
        for road in roads:
            with self.subTest(road=road.name):
                said = builds[road.name].stdout
                self.assertIn(road.said, said)
                self.assertNotIn("not signed", said)
                self.assertNotIn(PASSWORD, said)
                self.assertNotIn(PIN, said)

    def test_a_test_build_signs_without_a_time_stamp_only_when_asked(self):
        build = build_package({"SIGNING_PFX": str(certificates.pfx),
                               "SIGNING_PASSWORD_FILE": str(certificates.password),
                               "SIGNING_NO_TIMESTAMP": "1"})
        self.assertEqual(build.returncode, 0, build.stdout)
        self.assertIn(f"with {certificates.pfx}, without a time-stamp: the signatures end with "
                      "the certificate\n", build.stdout)
        with zipfile.ZipFile(PACKAGE) as package:
            package.extractall(scratch / "no time-stamp")
        for name in PROGRAM_FILES:
            with self.subTest(program=name):
                run = verify(scratch / "no time-stamp" / name, "-CAfile", str(certificates.signer))
                self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
                self.assertIn("Timestamp is not available", run.stdout)


class SigningFailures(unittest.TestCase):
    def test_signing_that_cannot_be_done_fails_the_build_and_leaves_no_package(self):
        wrong = scratch / "wrong-password"
        wrong.write_text("not the password\n")
        pfx, password = str(certificates.pfx), str(certificates.password)
        taken = {"SIGNED_PROGRAMS_DIR": str(elsewhere), "SIGNED_PROGRAMS_CAFILE": str(trusted)}
        # Each case and what the build's message must name; each signs with a
        # time-stamp unless it says otherwise.
        cases = {
            "wrong password": ({"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": str(wrong)}, pfx),
            "no password file": ({"SIGNING_PFX": pfx}, "needs SIGNING_PASSWORD_FILE"),
            "no certificate": ({"SIGNING_PASSWORD_FILE": password}, "needs SIGNING_PFX"),
            "missing certificate": ({"SIGNING_PFX": str(scratch / "gone.pfx"),
                                     "SIGNING_PASSWORD_FILE": password}, "gone.pfx"),
            "time stamps unreachable": ({"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": password,
                                         "SIGNING_TIMESTAMP_URL": "http://127.0.0.1:1/"},
                                        "failed"),
            "wrong PIN": (token.signing(SIGNING_PIN_FILE=str(wrong)), "PIN incorrect"),
            "key URI naming no key": (
                token.signing(SIGNING_KEY=token.key.replace("signer", "none")), "object=none"),
            "no PIN file": (token.signing(SIGNING_PIN_FILE=""), "needs SIGNING_PIN_FILE"),
            "no module or certificates": (
                token.signing(SIGNING_PKCS11_MODULE="", SIGNING_CERTS=""),
                "needs SIGNING_PKCS11_MODULE and SIGNING_CERTS"),
            "PIN in the key URI": (token.signing(SIGNING_KEY=f"{token.key};pin-value={PIN}"),
                                   "SIGNING_KEY carries a PIN"),
            "both ways": (token.signing(SIGNING_PFX=pfx),
                          "unset either SIGNING_PFX or SIGNING_PKCS11_MODULE"),
            "no time-stamping service": ({"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": password,
                                          "SIGNING_TIMESTAMP_URL": ""},
                                         "Signing needs SIGNING_TIMESTAMP_URL"),
            "time-stamps off and on": ({"SIGNING_PFX": pfx, "SIGNING_PASSWORD_FILE": password,
                                        "SIGNING_NO_TIMESTAMP": "1"}, "ask for opposite things"),
            "signed elsewhere and a key": (dict(taken, SIGNING_PFX=pfx,
                                                SIGNING_PASSWORD_FILE=password),
                                           "unset either it or SIGNING_PFX, "
                                           "SIGNING_PASSWORD_FILE"),
            "signed elsewhere, one left out": (
                dict(taken, SIGNED_PROGRAMS_DIR=str(sign_elsewhere("left out",
                                                                   left_out="setup.exe"))),
                "SIGNED_PROGRAMS_DIR has no setup.exe"),
            "signed elsewhere, another program": (
                dict(taken, SIGNED_PROGRAMS_DIR=str(sign_elsewhere("another",
                                                                   changed="netswitch.exe"))),
                "netswitch.exe is not the netswitch.exe that this build made"),
            "signed elsewhere without a time-stamp": (
                dict(taken, SIGNED_PROGRAMS_DIR=str(sign_elsewhere("no stamp", timestamp=False))),
                "Internet.exe is signed without a time-stamp that verifies"),
            "time-stamp of an authority not trusted": (
                dict(taken, SIGNED_PROGRAMS_CAFILE=str(certificates.signer)),
                "Internet.exe is signed without a time-stamp that verifies"),
            "signature of an authority not trusted": (
                dict(taken, SIGNED_PROGRAMS_CAFILE=""),
                "Internet.exe carries no signature that verifies against the system's"),
        }
        for case, (signing, named) in cases.items():
            with self.subTest(case=case):
                PACKAGE.write_bytes(b"an earlier package")
                run = build_package(dict({"SIGNING_TIMESTAMP_URL": timestamps.url}, **signing))
                self.assertNotEqual(run.returncode, 0, run.stdout)
                self.assertFalse(PACKAGE.exists())
                self.assertIn(named, " ".join(run.stdout.split()))
                self.assertNotIn(PASSWORD, run.stdout)
                self.assertNotIn(PIN, run.stdout)


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
        for road in signing_roads:
            with self.subTest(road=road.name):
                workstation.clear()
                folder = session.share_folder(f"signed-setup-{road.name}")
                for name in ("setup.exe", "Internet.exe"):
                    folder.add_file(road.signed(name))
                process = session.start(folder.unc + r"\setup.exe")
                session.window(SETUP_TITLE)
                session.click(SETUP_TITLE, "Setup My &New Browser Launcher!")
                self.assertEqual(session.dismiss("Done"), DONE)
                self.assertEqual(process.wait(30), 0)
                launcher = road.signed("Internet.exe").read_bytes()
                self.assertEqual(workstation.installed("Internet.exe"), launcher)
                self.assertEqual(shortcut(workstation.shortcut)["Local path"],
                                 r"C:\windows\Internet.exe")

    def test_launcher_shows_the_agreement_and_connect_opens_the_page(self):
        for road in signing_roads:
            with self.subTest(road=road.name):
                folder = session.local_folder(f"signed-launcher-{road.name}")
                folder.add_file(road.signed("Internet.exe"))
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
        for road in signing_roads:
            with self.subTest(road=road.name):
                folder = session.share_folder(f"signed-switch-{road.name}")
                folder.add_file(road.signed("netswitch.exe"))
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
