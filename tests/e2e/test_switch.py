"""netswitch.exe under Wine: the switch file it writes, its window, and the
Launchers it stops."""

import time
import unittest

from harness import DriverError, WineSession
from programs import (LAUNCHER_TITLE, LAUNCHER_CLOSING, SWITCH, SWITCH_TITLE, LayoutChecks,
                      control, settings_file)

TITLE = SWITCH_TITLE
QUIT, STOP, RESTART, FRAME, STATE = 101, 105, 106, 107, 108
REFUSAL = "You need to have write access to this server path in order to use this utility."

session: WineSession


def setUpModule():
    global session
    session = WineSession().open()


def tearDownModule():
    session.shut_down()


class SwitchCase(LayoutChecks):
    def start(self, folder, on=None):
        self.process = (on or session).start(folder.add_program("netswitch.exe"))
        self.addCleanup(self.process.kill)

    def state(self):
        return control(session.window(TITLE, timeout=10), STATE)["text"]

    def press(self, button):
        session.click(TITLE, f"#{button}")
        time.sleep(0.3)

    def assert_ends(self):
        self.assertEqual(self.process.wait(timeout=10), 0)


class SwitchTest(SwitchCase):
    def test_folder_without_the_file_gets_an_empty_one_and_shows_running(self):
        folder = session.share_folder("fresh")
        self.start(folder)
        self.assertEqual(self.state(), "RUNNING")
        self.assertEqual((folder.linux / "Internet.set").read_bytes(), b"")

    def test_first_byte_decides_the_state_shown(self):
        for name, content, shown in [("stopped", b"N\r\n", "STOPPED"), ("no", b"NO\r\n", "STOPPED"),
                                     ("blank-n", b" N\r\n", "RUNNING"),
                                     ("lower-n", b"n\r\n", "RUNNING"), ("yes", b"Y\r\n", "RUNNING")]:
            with self.subTest(content=content):
                folder = session.share_folder(name)
                folder.write("Internet.set", content)
                self.start(folder)
                self.assertEqual(self.state(), shown)
                session.click(TITLE, f"#{QUIT}")
                self.assert_ends()
                self.assertEqual((folder.linux / "Internet.set").read_bytes(), content)

    def test_stop_twice_then_restart_writes_whole_lines(self):
        folder = session.share_folder("buttons")
        folder.write("Internet.set", b"Y\r\nan older and longer content\r\n")
        self.start(folder)
        switch_file = folder.linux / "Internet.set"
        for _ in range(2):
            self.press(STOP)
            self.assertEqual(switch_file.read_bytes(), b"N\r\n")
            self.assertEqual(self.state(), "STOPPED")
        self.press(RESTART)
        self.assertEqual(switch_file.read_bytes(), b"Y\r\n")
        self.assertEqual(self.state(), "RUNNING")

    def test_space_at_start_presses_quit_and_touches_nothing(self):
        folder = session.share_folder("space")
        folder.write("Internet.set", b"N\r\n")
        self.start(folder)
        self.assertEqual(session.window(TITLE, timeout=10)["focus"], QUIT)
        session.keys(TITLE, "space")
        self.assert_ends()
        self.assertEqual((folder.linux / "Internet.set").read_bytes(), b"N\r\n")

    def test_access_key_needs_alt(self):
        folder = session.share_folder("alt-q")
        self.start(folder)
        session.window(TITLE, timeout=10)
        session.keys(TITLE, "q")
        time.sleep(0.5)
        self.assertTrue(self.process.running())
        session.keys(TITLE, "alt+q")
        self.assert_ends()

    def test_layout_colours_and_pictures(self):
        folder = session.share_folder("layout")
        self.start(folder)
        window = session.window(TITLE, timeout=10)
        self.assert_layout(window, SWITCH)
        self.assertEqual(control(window, FRAME)["text"], "Current Setting:")
        self.assertEqual(control(window, STOP)["text"], "STOP Internet Access via Kelbry's Launcher")
        self.assertEqual(control(window, RESTART)["text"],
                         "ReSTART Internet Access via Kelbry's Launcher")
        self.assertEqual(control(window, QUIT)["text"], "&Quit")
        self.assertEqual(window["icons"]["big"], [32, 32])
        state = {c["rgb"].upper() for c in session.colours(TITLE, f"#{STATE}", top=2)["colours"]}
        self.assertEqual(state, {"#808080", "#FFFFFF"})
        stop_sign = {c["rgb"].upper() for c in session.colours(TITLE, "#103", top=4)["colours"]}
        self.assertIn("#FF0000", stop_sign)
        self.assertIn("#808080", stop_sign)


class ReadOnlyFolderTest(SwitchCase):
    def test_only_the_refusal_shows_and_nothing_is_written(self):
        pupil = session.pupil()
        folder = pupil.share_folder("locked")
        folder.add_program("netswitch.exe")
        folder.read_only()
        process = pupil.start(folder.path("netswitch.exe"))
        self.addCleanup(process.kill)
        box = pupil.message("Sorry!", timeout=15)
        self.assertEqual(box, {"title": "Sorry!", "text": REFUSAL, "icon": "exclamation",
                               "buttons": ["OK"]})
        # Looked for while the refusal keeps the program running.
        with self.assertRaises(DriverError):
            pupil.window(TITLE, timeout=0.5)
        pupil.dismiss("Sorry!")
        self.assertEqual(process.wait(timeout=10), 75)  # the refused access
        self.assertFalse((folder.linux / "Internet.set").exists())


class LaunchersOnTheShareTest(SwitchCase):
    """A Launcher whose server path is the switch's folder follows the switch."""

    def launcher_result(self, server):
        workstation = session.local_folder(f"workstation-{time.monotonic_ns()}")
        workstation.add_program("Internet.exe")
        workstation.write("Internet.cfg", settings_file("On the share", "Agreed", "",
                                                        server.unc + "\\"))
        launcher = session.start(workstation.path("Internet.exe"))
        self.addCleanup(launcher.kill)
        try:
            session.dismiss("Sorry", timeout=5)
            outcome = "refused"
        except DriverError:
            session.window(LAUNCHER_TITLE, timeout=5)
            session.close(LAUNCHER_TITLE)
            outcome = "shown"
        self.assertEqual(launcher.wait(timeout=10), 0)
        return outcome

    def test_stop_refuses_launchers_and_restart_lets_them_on(self):
        server = session.share_folder("school-server")
        self.start(server)
        self.assertEqual(self.launcher_result(server), "shown")
        self.press(STOP)
        self.assertEqual(self.launcher_result(server), "refused")
        self.press(RESTART)
        self.assertEqual(self.launcher_result(server), "shown")


if __name__ == "__main__":
    unittest.main()
