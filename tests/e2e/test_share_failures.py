r"""The three programs when the server share fails as a real Windows network
fails: sign-ins refused, guest logons blocked, too many connections, time-outs,
the share dropping half way. Wine's share is a local folder that cannot fail
these ways, so tests/faults' injector makes the programs' own Win32 calls fail
with the codes Windows gives. Each test checks that failures were injected, so
none can pass because nothing failed.
"""

from __future__ import annotations

import itertools
import unittest
from pathlib import Path

from harness import DriverError, WineSession, windows_path
from programs import BUILT_IN_MESSAGE, LAUNCHER_TITLE, SWITCH_TITLE, control, settings_file

SETUP_TITLE = "Setup Kelbry's Internet Browser Launcher for Schools"
SETUP_TEXT2, SETUP_SAVE = 106, 118
LAUNCHER_TEXT1, LAUNCHER_OPTION1, LAUNCHER_CONNECT = 101, 102, 103

# A typical Win32 code of each way a share fails.
SHARE_FAILURES = {
    "sign-in refused": 1326,       # ERROR_LOGON_FAILURE
    "guest logon blocked": 1272,   # ERROR_SMB_GUEST_LOGON_BLOCKED
    "too many connections": 71,    # ERROR_REQ_NOT_ACCEP
    "time-out": 121,               # ERROR_SEM_TIMEOUT
    "network name deleted": 64,    # ERROR_NETNAME_DELETED
}
# The run-time error number that the programs report for each of these codes.
REPORTED = {1326: 75, 1272: 75, 71: 68, 121: 68, 64: 68}
NETNAME_DELETED = 64
SHARING_VIOLATION = 32
ACCESS_DENIED = 5
MOD_NOT_FOUND = 126
TOO_MANY_OPEN_FILES = 4

NOTICE_TITLE = "Kelbry's Browser Launcher - Please Note:"
REFUSAL = "You need to have write access to this server path in order to use this utility."

session: WineSession
logs = itertools.count()


def setUpModule():
    global session
    session = WineSession().open()


def tearDownModule():
    session.shut_down()


class ShareFailureCase(unittest.TestCase):
    def start(self, program: str, *args: str, path: str, code: int, calls: str = "",
              after: str = "", access_list: bool = False):
        """Starts a program whose calls on paths containing `path` fail with `code`
        (the FAULT_* settings of tests/faults/fault_injection.cc)."""
        self.fault_log = session.root / "logs" / f"faults-{next(logs)}.log"
        faults = {"FAULT_PATH": path, "FAULT_CODE": str(code),
                  "FAULT_LOG": windows_path(self.fault_log)}
        if calls:
            faults["FAULT_CALLS"] = calls
        if after:
            faults["FAULT_AFTER"] = after
        if access_list:
            faults["FAULT_ACCESS_LIST"] = "1"
        process = session.start(program, *args, faults=faults)
        self.addCleanup(process.kill)
        return process

    def assert_injected(self, *functions: str) -> None:
        """Each of these functions was made to fail at least once."""
        lines = self.fault_log.read_text().splitlines() if self.fault_log.exists() else []
        failed = {line.split(" ")[0] for line in lines}
        self.assertLessEqual(set(functions), failed, f"injected: {lines}")

    def assert_ends(self, process, exit_code: int = 0) -> None:
        """The program ended, with the number it reported as its exit code (modulo 256)."""
        self.assertEqual(process.wait(30), exit_code % 256)


class StartUp(ShareFailureCase):
    def test_launcher_lets_the_pupil_in_when_the_switch_cannot_be_read(self):
        for name, code in SHARE_FAILURES.items():
            with self.subTest(name):
                server = session.share_folder(f"launcher {code}")
                server.write("Internet.set", b"N\r\n")
                folder = session.local_folder(f"launcher-{code}")
                program = folder.add_program("Internet.exe")
                folder.write("Internet.cfg",
                             settings_file("School message", "Agreed", "", server.unc + "\\"))
                process = self.start(program, path=server.path("Internet.set"), code=code)
                window = session.window(LAUNCHER_TITLE, timeout=15)
                self.assertEqual(control(window, LAUNCHER_TEXT1)["text"], "School message")
                self.assert_injected("CreateFileW")
                session.close(LAUNCHER_TITLE)
                self.assert_ends(process)

    def test_launcher_settings_failing_part_way_keep_the_start_page_read(self):
        # The drive fails once three of the four records are in: the built-in
        # texts, and Connect opens the start page of record 3.
        folder = session.local_folder("launcher part way")
        folder.write("welcome.txt", b"Welcome.\r\n")
        program = folder.add_program("Internet.exe")
        folder.write("Internet.cfg", settings_file("School message", "Agreed",
                                                   folder.path("welcome.txt"), ""))
        process = self.start(program, path=folder.path("Internet.cfg"), code=NETNAME_DELETED,
                             calls="ReadFile", after="ReadFile:3")
        window = session.window(LAUNCHER_TITLE, timeout=15)
        self.assertEqual(control(window, LAUNCHER_TEXT1)["text"], BUILT_IN_MESSAGE)
        self.assert_injected("ReadFile")
        session.click(LAUNCHER_TITLE, f"#{LAUNCHER_OPTION1}")
        session.click(LAUNCHER_TITLE, f"#{LAUNCHER_CONNECT}")
        self.assert_ends(process)
        session.close(session.window("welcome.txt - Notepad", timeout=15)["title"])

    def test_launcher_without_its_tool_tip_library_still_shows_the_agreement(self):
        folder = session.local_folder("launcher no tool tips")
        program = folder.add_program("Internet.exe")
        folder.write("Internet.cfg", settings_file("School message", "Agreed", "", ""))
        process = self.start(program, path="comctl32", code=MOD_NOT_FOUND, calls="LoadLibraryW")
        window = session.window(LAUNCHER_TITLE, timeout=15)
        self.assertEqual(control(window, LAUNCHER_TEXT1)["text"], "School message")
        self.assertEqual(session.tooltips(LAUNCHER_TITLE), [])
        with self.assertRaises(DriverError):
            session.message("Internet", timeout=0.5)
        # Tried again once at the agreement, and not in a loop.
        self.assertEqual(len(self.fault_log.read_text().splitlines()), 2)
        session.close(LAUNCHER_TITLE)
        self.assert_ends(process)

    def test_an_error_of_this_computer_gets_the_fatal_report_and_no_window(self):
        # Too many files open: not the share's fault, so not a refusal either.
        closing = " encountered.  Kelbry's Browser Launcher program will now close."
        launcher = session.local_folder("launcher too many files")
        launcher.add_program("Internet.exe")
        launcher.write("Internet.cfg", settings_file("School message", "Agreed", "", ""))
        switch = session.share_folder("switch too many files")
        switch.add_program("netswitch.exe")
        for folder, program, title, data in (
                (launcher, "Internet.exe", LAUNCHER_TITLE, "Internet.cfg"),
                (switch, "netswitch.exe", SWITCH_TITLE, "Internet.set")):
            with self.subTest(program):
                process = self.start(folder.path(program), path=folder.path(data),
                                     code=TOO_MANY_OPEN_FILES)
                box = session.message("Problem!", timeout=15)
                self.assertEqual((box["text"], box["icon"], box["buttons"]),
                                 ("Error Code: 67" + closing, "critical", ["OK"]))
                with self.assertRaises(DriverError):
                    session.window(title, timeout=0.5)
                session.dismiss("Problem!")
                self.assert_ends(process, 67)

    def test_netswitch_only_says_sorry(self):
        for name, code in SHARE_FAILURES.items():
            with self.subTest(name):
                folder = session.share_folder(f"switch {code}")
                folder.write("Internet.set", b"Y\r\n")
                process = self.start(folder.add_program("netswitch.exe"),
                                     path=folder.path("Internet.set"), code=code)
                box = session.message("Sorry!", timeout=15)
                self.assertEqual((box["text"], box["icon"]), (REFUSAL, "exclamation"))
                with self.assertRaises(DriverError):
                    session.window(SWITCH_TITLE, timeout=0.5)
                session.dismiss("Sorry!")
                self.assert_ends(process, REPORTED[code])
                self.assert_injected("CreateFileW")
                self.assertEqual((folder.linux / "Internet.set").read_bytes(), b"Y\r\n")

    def test_setup_gives_the_notice_once_and_turns_saving_off(self):
        stored = settings_file("Stored rules", "I agree", "", "")
        # The whole share refusing or failing; then one that goes away after the
        # probe opened the file, before it was read.
        cases = [(name, code, "", "") for name, code in SHARE_FAILURES.items()]
        cases.append(("gone after the probe", NETNAME_DELETED, "CreateFileW,GetFileSizeEx,ReadFile",
                      "CreateFileW:1"))
        for name, code, calls, after in cases:
            with self.subTest(name):
                folder = session.share_folder(f"setup {name}")
                folder.write("Internet.cfg", stored)
                process = self.start(folder.add_program("setup.exe"),
                                     path=folder.path("Internet.cfg"), code=code, calls=calls,
                                     after=after)
                self.assertEqual(session.dismiss(NOTICE_TITLE, timeout=15)["icon"],
                                 "information")
                window = session.window(SETUP_TITLE, timeout=15)
                self.assertFalse(control(window, SETUP_SAVE)["enabled"])
                self.assertEqual(control(window, SETUP_TEXT2)["text"], BUILT_IN_MESSAGE)
                with self.assertRaises(DriverError):
                    session.message(NOTICE_TITLE, timeout=0.5)
                self.assert_injected("CreateFileW" if not after else "GetFileSizeEx")
                session.close(SETUP_TITLE)
                self.assert_ends(process)
                self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), stored)


class Writing(ShareFailureCase):
    def test_save_onto_a_share_that_fails(self):
        stored = settings_file("Stored rules", "I agree", "http://intranet/", "")
        unavailable = "Run-time error '68':\n\nDevice unavailable", 68
        # The share goes away after the new settings went out; or it comes back
        # for a moment after failing the replacement, and drops again in the
        # middle of a write; or it refuses both the replacement and the write in
        # place: the old file stays. A share that grants no right to change
        # permissions refuses the replacement, which cannot carry the file's
        # over: the same file, and so its permissions, takes the new settings.
        # Where the share is still there, the new file does not stay.
        for name, code, calls, after, access_list, failure, reachable in (
                ("gone", NETNAME_DELETED, "", "WriteFile:1", False, unavailable, False),
                ("flapping", NETNAME_DELETED, "ReplaceFileW,WriteFile", "WriteFile:1", False,
                 unavailable, True),
                ("refused twice", ACCESS_DENIED, "ReplaceFileW,CreateFileW", "CreateFileW:2",
                 False, ("Run-time error '75':\n\nPath/File access error", 75), True),
                ("access list not carried over", ACCESS_DENIED, "ReplaceFileW", "", True, None,
                 True)):
            with self.subTest(name):
                folder = session.share_folder(f"save {name}")
                folder.write("Internet.cfg", stored)
                identity = (folder.linux / "Internet.cfg").stat().st_ino
                process = self.start(folder.add_program("setup.exe"),
                                     path=folder.path("Internet.cfg"), code=code,
                                     calls=calls, after=after, access_list=access_list)
                session.window(SETUP_TITLE, timeout=15)
                session.keys(SETUP_TITLE, "text:New rules. ")
                session.click(SETUP_TITLE, "&Save Settings")
                if failure:
                    report, exit_code = failure
                    box = session.dismiss("setup", timeout=15)
                    self.assertEqual((box["text"], box["icon"]), (report, "critical"))
                    self.assert_ends(process, exit_code)
                    self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), stored)
                else:
                    self.assertEqual(session.dismiss("Done", timeout=15)["icon"], "information")
                    saved = settings_file("New rules. Stored rules", "I agree",
                                          "http://intranet/", folder.unc + "\\")
                    self.assertEqual((folder.linux / "Internet.cfg").read_bytes(), saved)
                    self.assertEqual((folder.linux / "Internet.cfg").stat().st_ino, identity)
                    session.close(SETUP_TITLE)
                    self.assert_ends(process)
                self.assert_injected("ReplaceFileW")
                if reachable:
                    self.assertFalse((folder.linux / "Internet.cfg.new").exists())

    def test_netswitch_stop_that_cannot_write_never_claims_the_new_state(self):
        # The share drops before STOP opens the file, which stays as it was; or
        # after the open emptied it, half way through the write.
        for name, calls, after, left in (("open", "CreateFileW", "CreateFileW:1", b"Y\r\n"),
                                         ("write", "WriteFile", "", b"N")):
            with self.subTest(name):
                folder = session.share_folder(f"switch dropped at {name}")
                folder.write("Internet.set", b"Y\r\n")
                process = self.start(folder.add_program("netswitch.exe"),
                                     path=folder.path("Internet.set"), code=NETNAME_DELETED,
                                     calls=calls, after=after)
                self.assertEqual(control(session.window(SWITCH_TITLE, timeout=15), 108)["text"],
                                 "RUNNING")
                session.click(SWITCH_TITLE, "#105")
                box = session.message("netswitch", timeout=15)
                self.assertEqual(box["text"], "Run-time error '68':\n\nDevice unavailable")
                self.assertEqual(control(session.window(SWITCH_TITLE), 108)["text"], "RUNNING")
                session.dismiss("netswitch")
                self.assert_ends(process, 68)
                self.assert_injected(calls)
                self.assertEqual((folder.linux / "Internet.set").read_bytes(), left)

    def test_installation_that_cannot_copy_the_launcher_reports_the_number(self):
        # A Launcher still running on this workstation holds C:\windows\Internet.exe;
        # a share that drops fails the copy's source.
        for name, target, code, number in (
                ("launcher running", r"C:\windows\Internet.exe", SHARING_VIOLATION, 70),
                ("share dropped", r"\Internet.exe", NETNAME_DELETED, 68)):
            with self.subTest(name):
                folder = session.share_folder(f"install {name}")
                folder.add_program("Internet.exe")
                path = target if target.startswith("C:") else folder.unc + target
                installed = session.prefix / "drive_c" / "windows" / "Internet.cfg"
                installed.unlink(missing_ok=True)
                process = self.start(folder.add_program("setup.exe"), "/A", path=path, code=code,
                                     calls="CopyFileW")
                box = session.dismiss("Problem!", timeout=15)
                self.assertEqual(box["text"], f"Error Code: {number} encountered.  This Launcher "
                                              "Setup program will now close.")
                self.assert_ends(process, number)
                self.assert_injected("CopyFileW")
                self.assertFalse(installed.exists())


if __name__ == "__main__":
    unittest.main()
