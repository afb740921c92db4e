"""Internet.exe under Wine: what the pupil sees and what it opens."""

import re
import time
import unittest

from harness import EVENT_LOG, WINDOWS_BUILD, DriverError, WineSession, events
from programs import (BUILT_IN_MESSAGE, BUILT_IN_PROMPT, LAUNCHER, LAUNCHER_TITLE, LayoutChecks,
                      control, settings_file)

TITLE = LAUNCHER_TITLE
TEXT1, OPTION1, CONNECT, DONT_UNDERSTAND = 101, 102, 103, 104

session: WineSession


def setUpModule():
    global session
    session = WineSession().open()


def tearDownModule():
    session.shut_down()


class LauncherCase(LayoutChecks):
    def folder(self, name, settings=None):
        """A folder of its own for the Launcher, holding `settings`."""
        folder = session.local_folder(name)
        folder.add_program("Internet.exe")
        if settings is not None:
            folder.write("Internet.cfg", settings)
        return folder

    def start(self, name_or_folder, settings=None, environment=None):
        """Starts the Launcher from its folder."""
        folder = name_or_folder
        if isinstance(folder, str):
            folder = self.folder(folder, settings)
        self.process = session.start(folder.path("Internet.exe"), environment=environment)
        self.addCleanup(self.process.kill)
        return folder

    def agreement(self):
        return session.window(TITLE, timeout=10)

    def assert_ends(self):
        self.assertEqual(self.process.wait(timeout=10), 0)


class LauncherTest(LauncherCase):
    def test_without_settings_the_built_in_texts_show_and_connect_waits(self):
        self.start("no-settings")
        window = self.agreement()
        self.assertEqual(control(window, TEXT1)["text"], BUILT_IN_MESSAGE)
        option = control(window, OPTION1)
        self.assertEqual(option["text"], BUILT_IN_PROMPT)
        self.assertEqual(option["checked"], 0)
        self.assertFalse(control(window, CONNECT)["enabled"])
        self.assertTrue(control(window, DONT_UNDERSTAND)["enabled"])
        self.assertFalse(control(window, TEXT1)["enabled"])
        self.assertEqual(window["focus"], OPTION1)

    def test_settings_of_the_wrong_length_are_ignored(self):
        self.start("short-settings", settings_file("Ours", "Agree")[:1999])
        window = self.agreement()
        self.assertEqual(control(window, TEXT1)["text"], BUILT_IN_MESSAGE)
        self.assertEqual(control(window, OPTION1)["text"], BUILT_IN_PROMPT)

    def test_texts_come_from_the_settings_file(self):
        message = "  Rules of the r\u00e9seau:\r\n\r\n1. Be kind.\r\n"
        self.start("file-texts", settings_file(message, "  I agree  ", "", "*Not Available*"))
        window = self.agreement()
        self.assertEqual(control(window, TEXT1)["text"], message)
        self.assertEqual(control(window, OPTION1)["text"], "  I agree")

    def test_option_enables_connect(self):
        self.start("accept")
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        time.sleep(0.3)
        window = self.agreement()
        self.assertEqual(control(window, OPTION1)["checked"], 1)
        self.assertTrue(control(window, CONNECT)["enabled"])
        self.assertTrue(self.process.running())

    def test_space_on_the_focused_option_accepts_too(self):
        self.start("accept-by-keyboard")
        self.agreement()
        session.keys(TITLE, "space")
        time.sleep(0.3)
        self.assertTrue(control(self.agreement(), CONNECT)["enabled"])

    def test_i_dont_understand_ends_without_opening_anything(self):
        # Even once accepted, with a start page Notepad would show.
        pages = session.local_folder("dont-understand-pages")
        pages.write("welcome.txt", b"Welcome.\r\n")
        self.start("dont-understand", settings_file("m", "p", pages.path("welcome.txt")))
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        session.click(TITLE, f"#{DONT_UNDERSTAND}")
        self.assert_ends()
        with self.assertRaises(DriverError):
            session.window("welcome.txt - Notepad", timeout=5)

    def test_escape_presses_i_dont_understand(self):
        self.start("escape")
        self.agreement()
        session.keys(TITLE, "escape")
        self.assert_ends()

    def test_close_box_ends_before_and_after_accepting(self):
        self.start("close-before")
        self.agreement()
        session.close(TITLE)
        self.assert_ends()
        self.start("close-after")
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        session.close(TITLE)
        self.assert_ends()

    def test_connect_opens_a_text_start_page_and_ends(self):
        folder = session.local_folder("pages")
        folder.write("welcome.txt", b"Welcome to the school's pages.\r\n")
        self.start("connect-text", settings_file("m", "p", "  " + folder.path("welcome.txt") + "  "))
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        session.click(TITLE, f"#{CONNECT}")
        self.assert_ends()
        notepad = session.window("welcome.txt - Notepad", timeout=15)
        session.close(notepad["title"])

    def test_start_page_without_a_program_gets_open_with(self):
        folder = self.folder("open-with")
        folder.add_file(WINDOWS_BUILD / "tests" / "e2e" / "record_command_line.exe", "rundll32.exe")
        folder.write("school page.unknownkind", b"no program opens this")
        page = folder.path("school page.unknownkind")
        folder.write("Internet.cfg", settings_file("m", "p", page))
        self.start(folder)
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        session.click(TITLE, f"#{CONNECT}")
        self.assert_ends()
        recorded = folder.linux / "command_line.txt"
        deadline = time.monotonic() + 10
        while not recorded.exists() and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual(recorded.read_text(encoding="utf-8"),
                         "rundll32.exe shell32.dll,OpenAs_RunDLL " + page)

    def test_open_with_that_cannot_start_gets_the_unhandled_error_report(self):
        folder = self.folder("open-with-fails")
        (folder.linux / "rundll32.exe").mkdir()  # found first, and no program
        folder.write("page.unknownkind", b"no program opens this")
        folder.write("Internet.cfg", settings_file("m", "p", folder.path("page.unknownkind")))
        self.start(folder)
        self.agreement()
        session.click(TITLE, f"#{OPTION1}")
        session.click(TITLE, f"#{CONNECT}")
        box = session.dismiss("Internet", timeout=10)
        self.assertEqual(box["icon"], "critical")
        reported = re.match(r"^Run-time error '(\d+)':\n\n\S", box["text"])
        self.assertTrue(reported, box["text"])
        # The exit code is the number reported, as far as Linux passes it on.
        self.assertEqual(self.process.wait(timeout=10), int(reported.group(1)) % 256)

    def test_layout_in_twips_at_the_screen_dpi(self):
        self.start("layout")
        window = self.agreement()
        self.assert_layout(window, LAUNCHER)
        self.assertEqual(window["icons"]["big"], [32, 32])

    def test_agreement_reads_white_on_black(self):
        self.start("colours")
        self.agreement()
        colours = session.colours(TITLE, f"#{TEXT1}", top=3)
        found = {entry["rgb"].upper() for entry in colours["colours"]}
        self.assertIn("#000000", found)
        self.assertIn("#FFFFFF", found)
        self.assertEqual(colours["colours"][0]["rgb"].upper(), "#000000")

    def test_tool_tips(self):
        self.start("tool-tips")
        self.agreement()
        tips = {tip["id"]: tip["text"] for tip in session.tooltips(TITLE)}
        self.assertEqual(tips, {CONNECT: "We have an understanding...",
                                DONT_UNDERSTAND: "Click this button and ask a teacher to explain "
                                                 "this to you."})


class AccessSwitchTest(LauncherCase):
    """A Launcher whose settings name a UNC server path consults Internet.set there."""

    def start_with_switch(self, name, switch):
        server = session.share_folder(name)
        if switch is not None:
            server.write("Internet.set", switch)
        return self.start(name, settings_file("Server message", "Agreed", "", server.unc + "\\"))

    def test_stopped_switch_refuses_and_never_shows_the_window(self):
        self.start_with_switch("stopped", b"  N  \r\n")
        box = session.message("Sorry", timeout=10)
        self.assertEqual(box, {"title": "Sorry", "text": "Internet Access is currently unavailable.",
                               "icon": "exclamation", "buttons": ["OK"]})
        # Looked for while the refusal keeps the Launcher running.
        with self.assertRaises(DriverError):
            session.window(TITLE, timeout=0.5)
        session.dismiss("Sorry")
        self.assert_ends()

    def test_other_switch_contents_let_the_pupil_on(self):
        for name, switch in [("running", b"Y\r\n"), ("n-lower", b"n\r\n"), ("no", b"NO\r\n"),
                             ("empty", b""), ("absent", None)]:
            with self.subTest(switch=switch):
                self.start_with_switch(name, switch)
                window = self.agreement()
                self.assertEqual(control(window, TEXT1)["text"], "Server message")
                session.close(TITLE)
                self.assert_ends()

    def test_a_wrong_server_path_lets_the_pupil_in_and_leaves_a_warning(self):
        # Wine answers a server that is not there as a folder that is not (76).
        for name, server_path in (("no-share", r"\\NOSERVER\gone" + "\\"),
                                  ("no-folder", session.share_folder("wrong").unc + r"\none" + "\\")):
            with self.subTest(name):
                self.start(name, settings_file("Offline", "Agreed", "", server_path),
                           environment=EVENT_LOG)
                self.assertEqual(control(self.agreement(), TEXT1)["text"], "Offline")
                session.close(TITLE)
                self.assert_ends()
                self.assertEqual(events(self.process.output()), [{
                    "type": "warning", "id": 200,
                    "strings": ["Internet.exe",
                                "The access switch could not be read, so the pupil was let in.",
                                server_path + "Internet.set", "76", "Path not found"]}])


if __name__ == "__main__":
    unittest.main()
