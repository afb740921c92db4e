r"""setup.exe under Wine: started from the share \\SCHOOL\apps and from the mapped
drive G:, attended and with "/A"; what it installs into the Windows folder and
onto the desktop; saving and resetting the server-wide settings; the notice for
a user who may not write the share; its window at two screen resolutions.
"""

from __future__ import annotations

import os
import pwd
import shutil
import subprocess
import unittest
from pathlib import Path

from harness import (EVENT_LOG, PROGRAMS, WINDOWS_BUILD, WINE_ENVIRONMENT, DriverError,
                     WineSession, events, windows_path)
from programs import (
    BUILT_IN_MESSAGE,
    BUILT_IN_PROMPT,
    LAUNCHER_TITLE,
    Layout,
    LayoutChecks,
    Placed,
    settings_file,
)

TITLE = "Setup Kelbry's Internet Browser Launcher for Schools"

DONE = {
    "title": "Done",
    "text": "Installation Complete.  There should be a new shortcut for Internet Explorer on your "
    "Desktop.  You should now delete all other Internet Explorer icons.",
    "icon": "information",
    "buttons": ["OK"],
}
INCOMPLETE = {
    "title": "Problem!",
    "text": "It appears this installation of the Launcher is incomplete.  You should probably "
    "download a new version from Kelbry's Website and try again.",
    "icon": "critical",
    "buttons": ["OK"],
}
UPDATE_NEEDED = {
    "title": "Problem!",
    "text": "This computer requires an update of the Windows Scripting Host.  This will start "
    "automatically when you click the OK button.  After the PC reboots, you will need to run "
    "the Launcher Setup again.",
    "icon": "critical",
    "buttons": ["OK"],
}
NOTICE = {
    "title": "Kelbry's Browser Launcher - Please Note:",
    "text": "Because you do not have write access to the server path using the currently logged "
    "in user, you will not be able to save any setup changes.",
    "icon": "information",
    "buttons": ["OK"],
}
SAVED = {"title": "Done", "text": "New Settings Saved.", "icon": "information", "buttons": ["OK"]}
NO_DESKTOP = {
    "title": "Problem!",
    "text": "Error Code: 76 encountered.  This Launcher Setup program will now close.",
    "icon": "critical",
    "buttons": ["OK"],
}

# Control ids of setup's window.
(FRAME1, TEXT1, COMMAND2, COMMAND1, OPTION1, TEXT2, COMMAND3, COMMAND4, LABEL1, TEXT3, LABEL2,
 TEXT4, LABEL3, TEXT5, LABEL4, COMMAND5, LABEL5, COMMAND6, COMMAND7, LABEL6) = range(101, 121)

# Windows' download mark on a file. Wine keeps a file's stream "NAME:STREAM" as
# a file of that name beside it; its copies do not carry it.
MARK = ":Zone.Identifier"
MARK_CONTENT = b"[ZoneTransfer]\r\nZoneId=3\r\n"
ERROR_ACCESS_DENIED, ERROR_INVALID_NAME = 5, 123

# The shell class that setup asks for first, and a stand-in that lacks IWshShell3.
SHELL_CLASS = r"HKLM\Software\Classes\CLSID\{F935DC22-1CF0-11D0-ADB9-00C04FD58A0B}"
OUTDATED_SHELL = WINDOWS_BUILD / "tests" / "e2e" / "outdated_shell.dll"
# A Windows without the script host's object model.
NO_SCRIPT_HOST = {"WINEDLLOVERRIDES": WINE_ENVIRONMENT["WINEDLLOVERRIDES"] + ";wshom.ocx=d"}
# Where the profile names its Desktop folder, for the shell and the script host.
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer"
DESKTOP_VALUES = ((SHELL_FOLDERS + r"\User Shell Folders", "REG_EXPAND_SZ"),
                  (SHELL_FOLDERS + r"\Shell Folders", "REG_SZ"))
LOCAL_SYSTEM = "S-1-5-18"


def controls(window: dict) -> dict:
    return {control["id"]: control for control in window["controls"]}


def texts(window: dict) -> dict:
    return {id: control["text"] for id, control in controls(window).items()}


def built_in_settings(server_path: str) -> bytes:
    """The workstation's Internet.cfg when setup found no settings in its folder."""
    return settings_file(BUILT_IN_MESSAGE, BUILT_IN_PROMPT, "", server_path)


def lnkinfo(path: Path) -> str:
    """lnkinfo's report of a shortcut file."""
    return subprocess.run(["lnkinfo", str(path)], check=True, capture_output=True, text=True).stdout


def shortcut(path: Path) -> dict:
    """What lnkinfo reads from a shortcut file: {"Local path": ..., "Description": ..., ...}."""
    fields = {}
    for line in lnkinfo(path).splitlines():
        name, colon, value = line.partition(":")
        if colon:
            fields.setdefault(name.strip(), value.strip())
    return fields


class Workstation:
    """The prefix's Windows folder, and a desktop folder of this session's own: the prefix's
    Desktop is pointed into the session's root until restore()."""

    def __init__(self, session: WineSession):
        self.windows = session.prefix / "drive_c" / "windows"
        user = pwd.getpwuid(os.geteuid()).pw_name
        self._link = session.prefix / "drive_c" / "users" / user / "Desktop"
        self._original = os.readlink(self._link) if self._link.is_symlink() else None
        if self._original is None:
            self.desktop = self._link
        else:
            self.desktop = session.root / "desktop"
            self.desktop.mkdir()
            self._link.unlink()
            self._link.symlink_to(self.desktop)

    def restore(self) -> None:
        self.clear()
        if self._original is not None:
            self._link.unlink()
            self._link.symlink_to(self._original)

    def clear(self) -> None:
        for name in ("Internet.exe", "Internet.cfg", "Internet.exe" + MARK):
            (self.windows / name).unlink(missing_ok=True)
        for name in ("Internet Explorer.lnk", "Internet Explorer.desktop"):
            (self.desktop / name).unlink(missing_ok=True)

    def installed(self, name: str) -> bytes:
        return (self.windows / name).read_bytes()

    def has(self, name: str) -> bool:
        return (self.windows / name).exists()

    @property
    def shortcut(self) -> Path:
        return self.desktop / "Internet Explorer.lnk"


def setUpModule():
    global session, workstation
    session = WineSession().open()
    try:
        workstation = Workstation(session)
        unregister_outdated_shell()
    except BaseException:
        session.shut_down()
        raise


def tearDownModule():
    workstation.restore()
    session.shut_down()


def unregister_outdated_shell() -> None:
    session.start("reg", "delete", SHELL_CLASS, "/f").wait(30)


def desktop_values() -> list[str]:
    """What the profile names as its Desktop folder, in each of DESKTOP_VALUES."""
    values = []
    for key, kind in DESKTOP_VALUES:
        query = session.start("reg", "query", key, "/v", "Desktop")
        query.wait(30)
        line = next(line for line in query.output().splitlines() if kind in line)
        values.append(line.partition(kind)[2].strip())
    return values


def name_desktop(*values: str) -> None:
    """Names a Desktop folder for the processes started from now on."""
    for (key, kind), value in zip(DESKTOP_VALUES, values):
        add = session.start("reg", "add", key, "/v", "Desktop", "/t", kind, "/d", value, "/f")
        if add.wait(30) != 0:
            raise RuntimeError(add.output())


class SetupTestCase(unittest.TestCase):
    def setUp(self):
        workstation.clear()

    def server_folder(self, name: str, *, launcher: bool = True, settings: bytes | None = None):
        folder = session.share_folder(name)
        folder.add_program("setup.exe")
        if launcher:
            folder.add_program("Internet.exe")
        if settings is not None:
            folder.write("Internet.cfg", settings)
        return folder

    def assert_ends_without_message(self, process) -> None:
        """A message box would keep the process waiting."""
        self.assertEqual(process.wait(30), 0)
        session.gone(TITLE)

    def assert_installed(self, settings: bytes) -> None:
        launcher = (PROGRAMS / "Internet.exe").read_bytes()
        self.assertEqual(workstation.installed("Internet.exe"), launcher)
        self.assertEqual(workstation.installed("Internet.cfg"), settings)
        link = shortcut(workstation.shortcut)
        self.assertEqual(link["Local path"], r"C:\windows\Internet.exe")
        self.assertEqual(link["Description"], "Application")
        self.assertEqual(link["Working directory"], r"C:\windows")
        self.assertEqual(link["Command line arguments"], "")
        self.assertEqual(link["Show Window value"], "0x00000000")

    def assert_nothing_installed(self) -> None:
        self.assertFalse(workstation.has("Internet.exe"))
        self.assertFalse(workstation.has("Internet.cfg"))
        self.assertFalse(workstation.shortcut.exists())


class Installation(SetupTestCase):
    def test_from_the_share_it_loads_the_server_file_and_installs_it(self):
        folder = self.server_folder(
            "unc",
            settings=settings_file(
                "  Our rules\r\nBe kind.  ", "I agree  ", "  http://intranet/", r"\\old\x"
            ),
        )
        process = session.start(folder.unc + r"\setup.exe")
        shown = texts(session.window(TITLE))
        self.assertEqual(shown[TEXT2], "  Our rules\r\nBe kind.")
        self.assertEqual(shown[TEXT3], "I agree")
        self.assertEqual(shown[TEXT5], "  http://intranet/")
        self.assertEqual(shown[TEXT4], folder.unc + "\\")
        self.assertEqual((shown[TEXT1], shown[OPTION1]), (shown[TEXT2], shown[TEXT3]))

        session.click(TITLE, "Setup My &New Browser Launcher!")
        self.assertEqual(session.dismiss("Done"), DONE)
        self.assertEqual(process.wait(30), 0)
        self.assert_installed(
            settings_file(
                "  Our rules\r\nBe kind.", "I agree", "  http://intranet/", folder.unc + "\\"
            )
        )

    def test_from_a_deep_folder_on_the_mapped_drive_unattended(self):
        folder = self.server_folder("mapped", launcher=False)
        deep = r"school tools for the whole network\internet access\browser launcher setup"
        (folder.linux / Path(*deep.split("\\"))).mkdir(parents=True)
        for program in ("setup.exe", "Internet.exe"):
            shutil.copy(PROGRAMS / program, folder.linux / Path(*deep.split("\\")) / program)
        start = f"{folder.drive}\\{deep}\\setup.exe"
        self.assertGreater(len(start) - len("setup.exe"), 62)

        self.assert_ends_without_message(session.start(start, "/a"))
        # No valid server file: the built-in texts and an empty start page.
        server_path = f"{folder.unc}\\{deep}\\"
        self.assert_installed(built_in_settings(server_path))
        self.assertFalse((folder.linux / Path(*deep.split("\\")) / "Internet.cfg").exists())

    def test_a_blank_after_the_switch_still_means_unattended(self):
        folder = self.server_folder("blank")
        # cmd passes the command line on as it stands, blank included.
        command = folder.drive_path("setup.exe") + " /A "
        self.assert_ends_without_message(session.start("cmd", "/c", command))
        server_path = folder.unc + "\\"
        self.assert_installed(built_in_settings(server_path))

    def test_any_other_command_line_waits_for_the_user(self):
        folder = self.server_folder("attended")
        for arguments in (["/A", "/Q"], ["-A"]):
            with self.subTest(arguments=arguments):
                process = session.start(folder.unc + r"\setup.exe", *arguments)
                session.window(TITLE)
                self.assert_nothing_installed()
                session.click(TITLE, "&Quit")
                self.assertEqual(process.wait(30), 0)
                session.gone(TITLE)

    def test_missing_launcher_is_reported_even_unattended(self):
        folder = self.server_folder("incomplete", launcher=False)
        process = session.start(folder.unc + r"\setup.exe", "/A")
        self.assertEqual(session.dismiss("Problem!"), INCOMPLETE)
        self.assertEqual(process.wait(30), 53)
        self.assert_nothing_installed()

    def test_the_installed_launcher_carries_no_download_mark(self):
        # Wine's copies carry no stream, so the mark that the copy of a marked
        # Launcher would have is put in place beforehand.
        folder = self.server_folder("marked")
        folder.write("Internet.exe" + MARK, MARK_CONTENT)
        (workstation.windows / ("Internet.exe" + MARK)).write_bytes(MARK_CONTENT)
        self.assert_ends_without_message(session.start(folder.unc + r"\setup.exe", "/A"))
        self.assert_installed(built_in_settings(folder.unc + "\\"))
        self.assertFalse(workstation.has("Internet.exe" + MARK))
        self.assertEqual((folder.linux / ("Internet.exe" + MARK)).read_bytes(), MARK_CONTENT)

    def test_a_mark_that_cannot_be_removed_does_not_stop_the_installation(self):
        folder = self.server_folder("mark stays")
        for code in (ERROR_INVALID_NAME, ERROR_ACCESS_DENIED):
            with self.subTest(code=code):
                workstation.clear()
                log = session.root / "logs" / f"mark-faults-{code}.log"
                faults = {"FAULT_PATH": "Internet.exe" + MARK, "FAULT_CODE": str(code),
                          "FAULT_CALLS": "DeleteFileW", "FAULT_LOG": windows_path(log)}
                process = session.start(folder.unc + r"\setup.exe", "/A", faults=faults)
                self.assert_ends_without_message(process)
                self.assertEqual(log.read_text().split(" ")[:2], ["DeleteFileW", str(code)])
                self.assert_installed(built_in_settings(folder.unc + "\\"))

    def test_without_the_script_host_the_shell_makes_the_same_shortcut(self):
        folder = self.server_folder("no script host")
        self.assert_ends_without_message(session.start(folder.unc + r"\setup.exe", "/A"))
        by_script_host = lnkinfo(workstation.shortcut)
        workstation.shortcut.write_bytes(b"an older shortcut")

        process = session.start(folder.unc + r"\setup.exe", "/A", environment=NO_SCRIPT_HOST)
        self.assert_ends_without_message(process)
        self.assert_installed(built_in_settings(folder.unc + "\\"))

        # The installations wrote the Windows folder at times that may differ.
        def report(text: str) -> list:
            return [line for line in text.splitlines() if "Modification time" not in line]

        self.assertEqual(report(lnkinfo(workstation.shortcut)), report(by_script_host))

    def test_the_shortcut_goes_to_the_desktop_the_profile_names_if_it_is_there(self):
        folder = self.server_folder("moved desktop")
        moved = session.local_folder("Moved Desktop")
        self.addCleanup(name_desktop, *desktop_values())
        for road, environment in (("script host", None), ("shell link", NO_SCRIPT_HOST)):
            for desktop in (moved.windows, r"C:\e2e\No Desktop", ""):
                with self.subTest(road=road, desktop=desktop):
                    workstation.clear()
                    (moved.linux / "Internet Explorer.lnk").unlink(missing_ok=True)
                    name_desktop(desktop, desktop)
                    process = session.start(folder.unc + r"\setup.exe", "/A",
                                            environment=environment)
                    if desktop == moved.windows:
                        self.assert_ends_without_message(process)
                        link = shortcut(moved.linux / "Internet Explorer.lnk")
                        self.assertEqual(link["Local path"], r"C:\windows\Internet.exe")
                        continue
                    self.assertEqual(session.dismiss("Problem!"), NO_DESKTOP)
                    self.assertEqual(process.wait(30), 76)
                    self.assertTrue(workstation.has("Internet.exe"))
                    self.assertTrue(workstation.has("Internet.cfg"))
                    # Not at the root of a drive or the share, nor in the current folder.
                    for place in (session.prefix / "drive_c", session.root, Path.cwd()):
                        self.assertEqual(list(place.rglob("Internet Explorer.*")), [], place)

    def test_as_local_system_the_shortcut_goes_to_the_public_desktop(self):
        # Wine runs programs as an ordinary user: the fault injector makes setup's own question
        # of its account answer LocalSystem.
        folder = self.server_folder("as system")
        public = session.prefix / "drive_c" / "users" / "Public" / "Desktop"
        for road, environment in (("script host", None), ("shell link", NO_SCRIPT_HOST)):
            with self.subTest(road=road):
                workstation.clear()
                for left in public.glob("Internet Explorer.*"):
                    left.unlink()
                process = session.start(folder.unc + r"\setup.exe", "/A",
                                        faults={"FAULT_USER": LOCAL_SYSTEM},
                                        environment=environment)
                self.assert_ends_without_message(process)
                link = shortcut(public / "Internet Explorer.lnk")
                self.assertEqual(link["Local path"], r"C:\windows\Internet.exe")
                self.assertFalse(workstation.shortcut.exists())
                (public / "Internet Explorer.lnk").unlink()

    def test_outdated_script_host_starts_the_update_installer(self):
        if not OUTDATED_SHELL.exists():
            self.skipTest(f"{OUTDATED_SHELL} is not built")
        helper = session.local_folder("outdated")
        helper.add_file(OUTDATED_SHELL)
        folder = self.server_folder("old script host")
        self.addCleanup(unregister_outdated_shell)
        server = SHELL_CLASS + r"\InprocServer32"
        for value in (["/ve", "/d", helper.path("outdated_shell.dll")],
                      ["/v", "ThreadingModel", "/d", "Apartment"]):
            self.assertEqual(session.start("reg", "add", server, *value, "/f").wait(30), 0)

        # Without the update installer the installation is incomplete, said once.
        process = session.start(folder.unc + r"\setup.exe", "/A")
        self.assertEqual(session.dismiss("Problem!"), UPDATE_NEEDED)
        self.assertEqual(session.dismiss("Problem!"), INCOMPLETE)
        self.assertEqual(process.wait(30), 53)
        self.assertTrue(workstation.has("Internet.exe"))
        self.assertTrue(workstation.has("Internet.cfg"))
        self.assertFalse(workstation.shortcut.exists())

        # A Launcher standing in for the installer shows that it was started.
        folder.add_file(PROGRAMS / "Internet.exe", "scr56en.exe")
        process = session.start(folder.unc + r"\setup.exe")
        session.click(TITLE, "Setup My &New Browser Launcher!")
        self.assertEqual(session.dismiss("Problem!"), UPDATE_NEEDED)
        self.assertEqual(process.wait(30), 430 % 256)
        session.window(LAUNCHER_TITLE)
        session.close(LAUNCHER_TITLE)
        session.gone(LAUNCHER_TITLE)


class NoOneWatching(SetupTestCase):
    """setup /A where no one can answer a message box, as a deployment tool runs it: on a
    window station without a display, or in session 0 (which the fault injector answers)."""

    def test_it_ends_at_once_with_its_number_and_records_a_failure(self):
        complete = self.server_folder("unseen")
        incomplete = self.server_folder("unseen incomplete", launcher=False)
        for name, folder, exit_code in (("complete", complete, 0),
                                        ("incomplete", incomplete, 53),
                                        ("incomplete in session 0", incomplete, 53)):
            with self.subTest(name):
                workstation.clear()
                program = folder.unc + r"\setup.exe"
                if name.endswith("session 0"):
                    process = session.start(program, "/A", faults={"FAULT_SESSION": "0"},
                                            environment=EVENT_LOG)
                else:
                    process = session.start_unseen(program, "/A", environment=EVENT_LOG)
                self.assertEqual(process.wait(20), exit_code)
                if exit_code == 0:
                    self.assert_installed(built_in_settings(folder.unc + "\\"))
                    self.assertEqual(events(process.output()), [])
                    continue
                self.assert_nothing_installed()
                self.assertEqual(events(process.output()), [
                    {"type": "error", "id": 102,
                     "strings": ["setup.exe", "Problem!", INCOMPLETE["text"], "53"]}])


class Settings(SetupTestCase):
    def test_preview_save_and_reset(self):
        folder = self.server_folder("settings", launcher=False, settings=b"too short")
        process = session.start(folder.drive_path("setup.exe"))
        window = session.window(TITLE)
        self.assertEqual(window["focus"], TEXT2)
        self.assertFalse((folder.linux / "Internet.cfg").exists(), "a file of the wrong length")
        self.assertEqual(texts(window)[TEXT2], BUILT_IN_MESSAGE)

        session.keys(TITLE, "text:Hello. ")
        # Tab leaves the prompt for the start page, past the server path.
        for _ in range(4):
            session.keys(TITLE, "tab")
        self.assertEqual(session.window(TITLE)["focus"], TEXT5)
        session.keys(TITLE, "text:http://intranet/")
        session.click(TITLE, "&Update Preview")
        shown = texts(session.window(TITLE))
        self.assertEqual(shown[TEXT1], "Hello. " + BUILT_IN_MESSAGE)
        self.assertEqual(shown[OPTION1], BUILT_IN_PROMPT)

        session.keys(TITLE, "alt+s")
        self.assertEqual(session.dismiss("Done"), SAVED)
        saved = settings_file(
            "Hello. " + BUILT_IN_MESSAGE, BUILT_IN_PROMPT, "http://intranet/", folder.unc + "\\"
        )
        self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), saved)

        session.click(TITLE, "Reset &Defaults")
        shown = texts(session.window(TITLE))
        self.assertEqual((shown[TEXT1], shown[TEXT2], shown[TEXT3], shown[TEXT5]),
                         (BUILT_IN_MESSAGE, BUILT_IN_MESSAGE, BUILT_IN_PROMPT, ""))
        self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), saved, "only shown")

        session.click(TITLE, "&Save Settings")
        self.assertEqual(session.dismiss("Done"), SAVED)
        self.assertEqual((folder.linux / "Internet.cfg").read_bytes(),
                         built_in_settings(folder.unc + "\\"))
        left = [path.name for path in folder.linux.iterdir() if path.suffix != ".exe"]
        self.assertEqual(left, ["Internet.cfg"], "no temporary file stays")
        session.click(TITLE, "&Quit")
        self.assertEqual(process.wait(30), 0)


class NoWriteAccess(unittest.TestCase):
    """The pupil may read the share folder but not write it."""

    @classmethod
    def setUpClass(cls):
        cls.pupil = session.pupil()

    def locked_folder(self, name: str, settings: bytes | None):
        folder = self.pupil.share_folder(name)
        folder.add_program("setup.exe")
        if settings is not None:
            folder.write("Internet.cfg", settings)
        folder.read_only()
        return folder

    def test_settings_are_shown_but_cannot_be_saved(self):
        stored = settings_file("Locked rules", "I agree", "http://intranet/", "")
        for name, settings, message in (("with-file", stored, "Locked rules"),
                                        ("without-file", None, BUILT_IN_MESSAGE),
                                        ("wrong-length", b"x" * 1999, BUILT_IN_MESSAGE)):
            with self.subTest(name):
                folder = self.locked_folder(name, settings)
                process = self.pupil.start(folder.unc + r"\setup.exe")
                self.assertEqual(self.pupil.dismiss(NOTICE["title"], timeout=15), NOTICE)
                window = self.pupil.window(TITLE)
                self.assertFalse(controls(window)[COMMAND6]["enabled"])
                self.assertEqual(texts(window)[TEXT2], message)

                self.pupil.keys(TITLE, "alt+s")
                with self.assertRaises(DriverError):
                    self.pupil.message("Done", timeout=1)
                if settings is not None:
                    self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), settings)
                self.pupil.close(TITLE)
                self.assertEqual(process.wait(30), 0)


SETUP = Layout(TITLE, 1680, 1485, 10350, 6225, (
    Placed(FRAME1, 3480, 600, 6735, 4455),
    Placed(TEXT1, 240, 360, 6255, 3135, container=FRAME1),
    Placed(COMMAND2, 4680, 3720, 1695, 495, container=FRAME1),
    Placed(COMMAND1, 3120, 3720, 1215, 495, container=FRAME1),
    Placed(OPTION1, 360, 3600, 2535, 615, container=FRAME1),
    Placed(TEXT2, 120, 840, 3135, 2535),
    Placed(COMMAND3, 120, 4680, 1455, 375),
    Placed(COMMAND4, 1800, 4680, 1455, 375),
    Placed(LABEL1, 120, 600, 2655, 255),
    Placed(TEXT3, 120, 3840, 3135, 495),
    Placed(LABEL2, 120, 3600, 3135, 255),
    Placed(TEXT4, 3720, 120, 6255, 285),
    Placed(LABEL3, 120, 120, 3615, 255),
    Placed(TEXT5, 3840, 5280, 3735, 285),
    Placed(LABEL4, 120, 5160, 3615, 495),
    Placed(COMMAND5, 8760, 5160, 1455, 975),
    Placed(LABEL5, 3840, 5640, 3735, 255),
    Placed(COMMAND6, 7680, 5160, 975, 615),
    Placed(COMMAND7, 7680, 5880, 975, 255),
    Placed(LABEL6, 120, 5880, 7575, 255),
))
DISABLED = {TEXT1, COMMAND2, COMMAND1, OPTION1, TEXT4}
CAPTIONS = {
    FRAME1: "Preview of Browser Launcher Screen:", COMMAND2: "I Don't Understand",
    COMMAND1: "Connect", COMMAND3: "&Update Preview", COMMAND4: "Reset &Defaults",
    LABEL1: "Enter Desired Message:", LABEL2: "Enter Desired Acceptance Prompt:",
    LABEL3: "Server Path for Browser Launcher Setup Program:",
    LABEL4: "Please specify default webpage to launch once the agreement is accepted:",
    COMMAND5: "Setup My &New Browser Launcher!", COMMAND6: "&Save Settings", COMMAND7: "&Quit",
}


class Window(LayoutChecks):
    def check_layout(self, wine: WineSession) -> None:
        folder = wine.share_folder("layout")
        process = wine.start(folder.add_program("setup.exe"))
        window = wine.window(TITLE)
        self.assert_layout(window, SETUP)
        for id, control in controls(window).items():
            with self.subTest(id=id):
                self.assertEqual(control["enabled"], id not in DISABLED)
                self.assertEqual(control["text"], CAPTIONS.get(id, control["text"]))
        wine.close(TITLE)
        self.assertEqual(process.wait(30), 0)

    def test_controls_sit_where_their_twips_say_at_96_and_144_dpi(self):
        self.check_layout(session)
        with WineSession(dpi=144) as high:
            self.check_layout(high)

    def test_window_looks_as_designed(self):
        folder = session.share_folder("looks")
        folder.add_program("setup.exe")
        process = session.start(folder.unc + r"\setup.exe")
        window = session.window(TITLE)
        self.assertEqual(window["icons"]["big"], [32, 32])
        self.assertEqual(window["focus"], TEXT2)
        self.assertEqual(
            sorted((tip["id"], tip["text"]) for tip in session.tooltips(TITLE)),
            [(COMMAND2, "Click this button and ask a teacher to explain this to you."),
             (COMMAND1, "We have an understanding...")],
        )
        self.assertEqual(texts(window)[LABEL5][:4], "eg. ")
        self.assertTrue(texts(window)[LABEL5].endswith(r" or G:\Intranet\index.htm"))

        def colours(control: str) -> set:
            return {entry["rgb"] for entry in session.colours(TITLE, control, top=2)["colours"]}

        self.assertIn("#808080", colours("client"))
        self.assertEqual(colours(f"#{TEXT1}"), {"#000000", "#FFFFFF"})
        # The server path: a disabled text box on the window colour, not on the
        # button face.
        self.assertEqual(session.colours(TITLE, f"#{TEXT4}", top=1)["colours"][0]["rgb"],
                         "#FFFFFF")
        for label, text_colour in ((LABEL1, "#FFFFFF"), (LABEL5, "#FFFF80"), (LABEL6, "#FFC080")):
            with self.subTest(label=label):
                self.assertEqual(colours(f"#{label}"), {"#808080", text_colour})
        session.close(TITLE)
        self.assertEqual(process.wait(30), 0)


if __name__ == "__main__":
    unittest.main()
