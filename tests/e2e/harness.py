r"""Runs the Windows programs under Wine in a virtual X display, and drives and
inspects their windows through e2e_driver.exe, for the end-to-end tests.

A WineSession owns a temporary root folder, an Xvfb display, a Wine prefix with
a persistent wineserver, the network share \\SCHOOL\apps (also mapped as the
network drive G:) and every process it started. Creating a prefix takes about
15 s, once; starting a session on it well under a second. A test module shares
one session:

    def setUpModule():
        global session
        session = WineSession().open()

    def tearDownModule():
        session.shut_down()

Only one session at a time may use a prefix: opening one restarts the prefix's
wineserver.
"""

from __future__ import annotations

import contextlib
import hashlib
import json
import os
import pwd
import re
import shutil
import signal
import subprocess
import tempfile
from dataclasses import dataclass
from pathlib import Path, PureWindowsPath

REPOSITORY = Path(__file__).resolve().parents[2]
WINDOWS_BUILD = REPOSITORY / "build" / "windows"
PROGRAMS = WINDOWS_BUILD / "bin"
# Prefixes are reused between runs; E2E_PREFIXES lets two runs on one machine
# keep apart.
PREFIXES = Path(os.environ.get("E2E_PREFIXES", REPOSITORY / "build" / "e2e"))
SCRIPTS = REPOSITORY / "scripts"

SERVER, SHARE = "SCHOOL", "apps"
UNC_ROOT = rf"\\{SERVER}\{SHARE}"
DRIVE = "G:"
PUPIL = "pupil"
SCREEN = (1280, 1024)  # the display's width and height in pixels, unless a session asks for others

# winemenubuilder would mirror shortcuts made under Wine onto the Linux desktop.
WINE_ENVIRONMENT = {"WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d"}
DRIVER_STARTUP_SECONDS = 30  # allowance beyond the driver's own timeout
# Wine prints the type, id and strings of each event a program writes to the
# event log; events() reads them from the program's output.
EVENT_LOG = {"WINEDEBUG": "-all,fixme+advapi,warn+eventlog,err+eventlog"}


class DriverError(Exception):
    """e2e_driver.exe failed; the message carries its command line and stderr."""


def _is_root() -> bool:
    return os.geteuid() == 0


def _make_owned_by(path: Path, owner: Path) -> None:
    """Gives `path` the owner of `owner`: files put into a pupil's folder are the pupil's."""
    if _is_root():
        status = owner.stat()
        os.chown(path, status.st_uid, status.st_gid)


def _give_to_pupil(path: Path) -> None:
    if _is_root():
        pupil = pwd.getpwnam(PUPIL)
        os.chown(path, pupil.pw_uid, pupil.pw_gid)


def _remove_tree(path: Path) -> None:
    """Removes a folder, including the ones made read-only for a test."""
    if not path.exists():
        return
    for folder, _, _ in os.walk(path):
        os.chmod(folder, 0o755)
    shutil.rmtree(path)


@dataclass(frozen=True)
class Folder:
    """A folder seen from both sides: `linux` for the test, `windows` for the programs."""

    linux: Path
    windows: str

    def path(self, name: str) -> str:
        """The Windows path of a file in this folder."""
        return f"{self.windows}\\{name}"

    def add_program(self, program: str) -> str:
        """Copies a built program (e.g. "Internet.exe") in; returns its Windows path."""
        source = PROGRAMS / program
        if not source.is_file():
            raise FileNotFoundError(f"{source} is not built: cmake --build --preset windows")
        self.add_file(source)
        return self.path(program)

    def add_file(self, source: Path, name: str | None = None) -> Path:
        target = self.linux / (name or source.name)
        shutil.copyfile(source, target)
        _make_owned_by(target, self.linux)
        return target

    def write(self, name: str, content: bytes) -> Path:
        target = self.linux / name
        target.write_bytes(content)
        _make_owned_by(target, self.linux)
        return target

    def read_only(self) -> None:
        """Folders 555 and files 444: the programs (run unprivileged) may read but not write."""
        for folder, _, files in os.walk(self.linux):
            for file in files:
                os.chmod(Path(folder) / file, 0o444)
            os.chmod(folder, 0o555)


@dataclass(frozen=True)
class ShareFolder(Folder):
    r"""A folder of the share: `windows` (= `unc`) is \\SCHOOL\apps\NAME, `drive` is G:\NAME."""

    drive: str

    @property
    def unc(self) -> str:
        return self.windows

    def drive_path(self, name: str) -> str:
        return f"{self.drive}\\{name}"


class Process:
    """A program started under Wine. Its exit code is the Windows one, modulo 256."""

    def __init__(self, popen: subprocess.Popen, log: Path):
        self._popen = popen
        self.log = log

    def wait(self, timeout: float = 10) -> int:
        try:
            return self._popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"{self._popen.args} still running after {timeout} s") from None

    def running(self) -> bool:
        return self._popen.poll() is None

    def kill(self) -> None:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(self._popen.pid, signal.SIGKILL)
        self._popen.wait()

    def output(self) -> str:
        """What the program wrote on stdout and stderr."""
        return self.log.read_text(errors="replace")


class WineSession:
    """Xvfb, a Wine prefix with its wineserver, the share and the processes of one test module.

    as_pupil: every Wine process (programs and driver) runs as the unprivileged
    user "pupil" with a prefix in that user's home. dpi: the prefix's LogPixels.
    screen: the width and height of the display it starts. display: an X
    display to share instead of starting an Xvfb.
    """

    def __init__(self, *, as_pupil: bool = False, dpi: int = 96,
                 screen: tuple[int, int] = SCREEN, display: str | None = None):
        self.as_pupil = as_pupil
        self.dpi = dpi
        self.screen = screen
        self.display = display
        self.root: Path | None = None
        self.prefix: Path | None = None
        self._xvfb: subprocess.Popen | None = None
        self._driver: Path | None = None
        self._processes: list[Process] = []
        self._companions: list[WineSession] = []

    # ------------------------------------------------------------ life cycle

    def __enter__(self) -> WineSession:
        return self.open()

    def __exit__(self, *exception) -> None:
        self.shut_down()

    def open(self) -> WineSession:
        """Starts the display (unless shared) and the prefix's wineserver with the share mapped."""
        self.root = Path(tempfile.mkdtemp(prefix="e2e-", dir="/tmp"))
        self.root.chmod(0o755)  # the pupil reads the programs from here
        (self.root / "share").mkdir(mode=0o755)
        (self.root / "logs").mkdir()
        try:
            if self.display is None:
                self._start_xvfb()
            if self.as_pupil:
                subprocess.run([SCRIPTS / "as-pupil", "true"], check=True)  # creates the user
            self.prefix = self._prefix_path()
            self._start_wineserver()
            self._driver = self.root / "e2e_driver.exe"
            shutil.copyfile(_built_driver(), self._driver)
        except BaseException:
            self.shut_down()
            raise
        return self

    def shut_down(self) -> None:
        """Kills every process started here, the wineserver and the display; removes the root."""
        for companion in self._companions:
            companion.shut_down()
        for process in self._processes:
            process.kill()
        if self.prefix:
            self._run_logged(["wineserver", "-k"], check=False)
            _remove_tree(self.prefix / "drive_c" / "e2e")
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait()
            self.display = None
        if self.root:
            _remove_tree(self.root)
        self._companions, self._processes = [], []
        self.root = self.prefix = self._xvfb = None

    def pupil(self) -> WineSession:
        """A second session, already open, on the same display: the pupil's, with its own share."""
        companion = WineSession(as_pupil=True, dpi=self.dpi, display=self.display).open()
        self._companions.append(companion)
        return companion

    def _start_xvfb(self) -> None:
        reader, writer = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-ac", "-nolisten", "tcp", "-screen", "0",
             "{}x{}x24".format(*self.screen)],
            pass_fds=[writer],
            stderr=subprocess.DEVNULL,
        )
        os.close(writer)
        with os.fdopen(reader) as chosen:
            number = chosen.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"

    def _prefix_path(self) -> Path:
        name = "prefix" if self.dpi == 96 else f"prefix-dpi{self.dpi}"
        if not self.as_pupil:
            return PREFIXES / name
        home = Path(pwd.getpwnam(PUPIL).pw_dir) if _is_root() else Path.home()
        # One prefix of the pupil's for each place the prefixes are kept.
        tag = hashlib.sha1(str(PREFIXES).encode()).hexdigest()[:8]
        return home / f".wine-e2e-{name}-{tag}"

    def _start_wineserver(self) -> None:
        """The share and drive must exist, and the registry know G: is a network
        drive, before the wineserver (and with it Wine's mount manager) starts."""
        prefix = self.prefix
        if not self.as_pupil:
            prefix.parent.mkdir(parents=True, exist_ok=True)
        # A copy in the session's folder: the pupil may not reach the repository's.
        script = self.root / "wine-prefix"
        shutil.copyfile(SCRIPTS / "wine-prefix", script)
        script.chmod(0o755)
        self._run_logged([script, prefix])
        self._run_logged(["wineserver", "-k"], check=False)  # left over from an interrupted run
        self._run_logged(["wineserver", "-w"])
        if not self._registry_ready():
            registry = self.root / "e2e.reg"
            registry.write_text(self._registry_settings())
            self._run_logged(["wine", "regedit", "/S", registry])
            self._run_logged(["wineserver", "-w"])
        unc = prefix / "dosdevices" / "unc" / SERVER
        self._run_logged(["mkdir", "-p", unc])
        self._run_logged(["ln", "-sfn", self.root / "share", unc / SHARE])
        drive = prefix / "dosdevices" / DRIVE.lower()
        self._run_logged(["ln", "-sfn", f"unc/{SERVER}/{SHARE}", drive])
        _remove_tree(prefix / "drive_c" / "e2e")
        self._run_logged(["mkdir", prefix / "drive_c" / "e2e"])
        self._run_logged(["wineserver", "-p"])

    def _registry_settings(self) -> str:
        return (
            "REGEDIT4\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"
            f'"{DRIVE.lower()}"="network"\n\n'
            "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
            f'"LogPixels"=dword:{self.dpi:08x}\n'
        )

    def _registry_ready(self) -> bool:
        system = (self.prefix / "system.reg").read_text(errors="replace")
        user = (self.prefix / "user.reg").read_text(errors="replace")
        return (
            f'"{DRIVE.lower()}"="network"' in system
            and f'"LogPixels"=dword:{self.dpi:08x}' in user
        )

    # ------------------------------------------------------------ running things

    def _command(self, command: list, environment: dict | None = None) -> list[str]:
        """`command` as run for this session: with Wine's environment (and `environment`), as
        the pupil if so."""
        environment = dict(WINE_ENVIRONMENT, WINEPREFIX=str(self.prefix), DISPLAY=self.display,
                           **(environment or {}))
        settings = [f"{name}={value}" for name, value in environment.items()]
        runner = [str(SCRIPTS / "as-pupil")] if self.as_pupil else []
        return [*runner, "env", *settings, *map(str, command)]

    def _run_logged(self, command: list, check: bool = True) -> None:
        """Runs a set-up command as the session's user, with Wine's environment. Its
        output goes to a file, not a pipe: a wineserver it starts would hold a pipe
        open long after the command ended."""
        log = self.root / "logs" / "setup.log"
        with open(log, "ab") as output:
            run = subprocess.run(self._command(command), stdout=output, stderr=subprocess.STDOUT)
        if check and run.returncode != 0:
            raise RuntimeError(f"{command} failed ({run.returncode}):\n{log.read_text()[-2000:]}")

    def start(self, program: str, *args: str, faults: dict | None = None,
              environment: dict | None = None, mover: bool = False) -> Process:
        r"""Starts a program given by its Windows path (\\SCHOOL\..., G:\..., C:\...).

        faults: FAULT_* settings (tests/faults/fault_injection.cc) to run the program under
        the fault injector, which exits with the program's exit code. mover: under the
        injector with tests/faults/dpi_mover.dll instead, for move(). environment: further
        variables, or Wine's own ones changed, for this program."""
        log = self.root / "logs" / f"{len(self._processes):03d}-{PureWindowsPath(program).name}.log"
        command = ["wine", program, *args]
        if mover:
            environment = {**(environment or {}), "INJECTED_LIBRARY": "dpi_mover.dll"}
        if faults is not None or mover:
            command.insert(1, self._fault_injector())
        with open(log, "wb") as output:
            popen = subprocess.Popen(
                self._command(command, {**(faults or {}), **(environment or {})}),
                stdout=output,
                stderr=subprocess.STDOUT,
                stdin=subprocess.DEVNULL,
                start_new_session=True,  # so that kill() reaches runuser's child too
            )
        process = Process(popen, log)
        self._processes.append(process)
        return process

    def start_unseen(self, program: str, *args: str, environment: dict | None = None) -> Process:
        """Starts a program, as start() does, on the desktop of a window station of its own that
        no one sees, as a deployment tool's service runs it. The process's exit code is the
        program's."""
        return self.start(str(self._driver), "unseen", program, *args, environment=environment)

    def _fault_injector(self) -> Path:
        """The injector and its library, copied beside the driver on first use."""
        injector = self.root / "fault_injector.exe"
        if not injector.exists():
            for name in ("fault_injection.dll", "dpi_mover.dll", "fault_injector.exe"):
                built = WINDOWS_BUILD / "tests" / "faults" / name
                if not built.is_file():
                    raise FileNotFoundError(f"{built} is not built: cmake --build --preset windows")
                shutil.copyfile(built, self.root / name)
        return injector

    def share_folder(self, name: str) -> ShareFolder:
        r"""A new folder \\SCHOOL\apps\NAME (= G:\NAME), writable by the session's user."""
        linux = self._new_folder(self.root / "share" / name)
        return ShareFolder(linux, f"{UNC_ROOT}\\{name}", f"{DRIVE}\\{name}")

    def local_folder(self, name: str) -> Folder:
        r"""A new folder C:\e2e\NAME on the prefix's C: drive, removed at the session's end."""
        linux = self._new_folder(self.prefix / "drive_c" / "e2e" / name)
        return Folder(linux, f"C:\\e2e\\{name}")

    def _new_folder(self, linux: Path) -> Path:
        linux.mkdir()
        if self.as_pupil:
            _give_to_pupil(linux)
        return linux

    def screenshot(self, path: Path) -> None:
        """Saves the whole screen as an image of 8 bits a channel (PNG for a .png
        path, binary PPM for a .ppm one)."""
        subprocess.run(
            ["import", "-window", "root", "-depth", "8", str(path)],
            check=True,
            env=dict(os.environ, DISPLAY=self.display),
        )

    # ------------------------------------------------------------ the driver

    def driver(self, *args: str, timeout: float = 60) -> object:
        """Runs e2e_driver.exe with these arguments; returns its JSON, or raises DriverError."""
        # Files, not pipes: Wine processes the driver may start (the desktop
        # process, services) inherit its output and would keep a pipe open.
        with tempfile.TemporaryFile() as output, tempfile.TemporaryFile() as errors:
            command = self._command(["wine", self._driver, *args])
            run = subprocess.run(command, stdout=output, stderr=errors, timeout=timeout)
            output.seek(0)
            errors.seek(0)
            if run.returncode != 0:
                message = errors.read().decode(errors="replace").strip()
                raise DriverError(f"e2e_driver {' '.join(args)} ({run.returncode}): {message}")
            return json.loads(output.read().decode())

    def _driver_waiting(self, command: str, timeout: float, *args: str) -> object:
        """A driver command that waits up to `timeout` seconds for its window."""
        milliseconds = str(round(timeout * 1000))
        return self.driver(
            command, *args, "--timeout", milliseconds, timeout=timeout + DRIVER_STARTUP_SECONDS
        )

    def window(self, title: str, timeout: float = 5) -> dict:
        """Waits for a visible window with exactly this title and describes it and its controls."""
        description = self._driver_waiting("window", timeout, title)
        _add_x11_icons(description, self.display)
        return description

    def message(self, title: str, timeout: float = 5) -> dict:
        """Waits for a message box: {"title", "text", "icon", "buttons"}."""
        return self._driver_waiting("message", timeout, title)

    def dismiss(self, title: str, timeout: float = 5) -> dict:
        """Waits for a message box and presses its OK button; returns it as message() does."""
        return self._driver_waiting("dismiss", timeout, title)

    def click(self, title: str, control: str, timeout: float = 5) -> dict:
        """Presses a button given as "#ID" or by its text ("&Save"); returns once it was handled."""
        return self._driver_waiting("click", timeout, title, control)

    def close(self, title: str, timeout: float = 5) -> dict:
        """Asks the window to close (WM_CLOSE), as its close box would."""
        return self._driver_waiting("close", timeout, title)

    def keys(self, title: str, *keys: str, timeout: float = 5) -> dict:
        """Brings the window to the front and types: "tab", "shift+tab", "alt+s", "text:Hello"."""
        return self._driver_waiting("keys", timeout, title, *keys)

    def gone(self, title: str, timeout: float = 5) -> dict:
        """Waits until no window (visible or hidden) has this title."""
        return self._driver_waiting("gone", timeout, title)

    def tooltips(self, title: str, timeout: float = 5) -> list:
        """The tool tips of the window's controls: [{"id", "text"}]."""
        return self._driver_waiting("tooltips", timeout, title)

    def move(self, title: str, dpi: int, timeout: float = 5) -> dict:
        """Moves the window of a program started with mover=True to a monitor of this DPI, as
        Windows would; returns what the program holds then: {"dpi", "gdi_objects", "icons",
        "font_heights": {"ID": pixels}}."""
        return self._driver_waiting("move", timeout, title, str(dpi))

    def colours(
        self, title: str, control: str = "client", top: int = 5, timeout: float = 5
    ) -> dict:
        """The `top` most frequent colours a control (or "client") shows on screen:
        {"total": pixels, "colours": [{"rgb": "#RRGGBB", "count": n}]}."""
        return self._driver_waiting("colours", timeout, title, control, "--top", str(top))


def events(output: str) -> list[dict]:
    """The events a program wrote to the event log, read from its output under EVENT_LOG:
    [{"type": "error" or "warning", "id": n, "strings": [...]}]."""
    found = []
    for line in output.splitlines():
        reported = re.search(r"ReportEventW \([^,]*,0x([0-9a-f]+),0x[0-9a-f]+,0x([0-9a-f]+),", line)
        if reported:
            kind = {1: "error", 2: "warning"}.get(int(reported.group(1), 16), reported.group(1))
            found.append({"type": kind, "id": int(reported.group(2), 16), "strings": []})
        text = re.search(r':eventlog:ReportEventW L"(.*)"$', line)
        if text and found:
            found[-1]["strings"].append(_unescaped(text.group(1)))
    return found


def _unescaped(text: str) -> str:
    """A string as Wine's debug output escapes it."""
    named = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}
    return re.sub(r'\\([nrt\\"]|[0-9a-f]{4})',
                  lambda m: named.get(m.group(1)) or chr(int(m.group(1), 16)), text)


def windows_path(path: Path) -> str:
    """A Linux path as the programs see it, on Wine's drive Z:."""
    return "Z:" + str(path).replace("/", "\\")


def _built_driver() -> Path:
    found = sorted(WINDOWS_BUILD.rglob("e2e_driver.exe"))
    if not found:
        raise FileNotFoundError(
            "e2e_driver.exe is not built: cmake --build --preset windows --target e2e_driver"
        )
    return found[0]


def _add_x11_icons(description: dict, display: str) -> None:
    """Fills in the icon sizes the driver could not read under Wine.

    Wine does not let one process use another's icon handles, but its X11
    driver puts the window's icons into the _NET_WM_ICON property: the big one
    (Wine's own logo if the program set none), then the small one when it
    differs in size.
    """
    icons, window = description["icons"], description.get("x11_window")
    if icons["big"] is not None or window is None:
        return
    result = subprocess.run(
        ["xprop", "-id", str(window), "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON"],
        capture_output=True,
        text=True,
        env=dict(os.environ, DISPLAY=display),
    )
    _, _, numbers = result.stdout.partition("=")
    values = [int(value) for value in numbers.replace(",", " ").split()]
    sizes = []
    while len(values) >= 2:
        width, height = values[0], values[1]
        sizes.append([width, height])
        values = values[2 + width * height:]
    icons["big"], icons["small"] = (sizes + [None, None])[:2]
