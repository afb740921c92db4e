#!/usr/bin/python3
"""Shows the three programs at work under Wine, along the road of a school:
the administrator runs setup from the server share, which installs the
Launcher on the workstation and puts the shortcut on the desktop; the pupil
starts the Launcher through that shortcut; a teacher stops access with
netswitch, the Launcher refuses, the teacher restarts it and the pupil gets
through to the start page.

With a display the windows appear there, each step pausing so it can be
followed, and the last ones stay open to be tried. Without one it all runs in
a virtual display and every step is saved as a screenshot.
"""

import os
import subprocess
import sys
import time
from pathlib import Path

REPOSITORY = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPOSITORY / "tests" / "e2e"))

from harness import DriverError, WineSession  # noqa: E402
from programs import LAUNCHER_TITLE, SWITCH_TITLE, settings_file  # noqa: E402

SETUP_TITLE = "Setup Kelbry's Internet Browser Launcher for Schools"
SCREENSHOTS = REPOSITORY / "build" / "demo"
OPTION, CONNECT = "#102", "#103"
STOP, RESTART = "#105", "#106"

MESSAGE = ("Welcome to the school network.\r\n\r\nThe Internet is for schoolwork. Every site you "
           "visit is logged.  Be kind, stay safe, and tell a teacher if anything worries you.")
PROMPT = "YES, I will use the Internet for schoolwork."


def usable_display() -> str | None:
    display = os.environ.get("DISPLAY")
    if display and subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0:
        return display
    return None


class Demo:
    def __init__(self, session: WineSession, interactive: bool):
        self.session = session
        self.interactive = interactive
        self.step = 0

    def say(self, text: str) -> None:
        self.step += 1
        print(f"\n{self.step}. {text}", flush=True)

    def show(self, name: str) -> None:
        """Lets the step be seen: a pause on a real display, else a screenshot."""
        if self.interactive:
            time.sleep(3)
            return
        time.sleep(0.5)
        path = SCREENSHOTS / f"{self.step:02d}-{name}.png"
        self.session.screenshot(path)
        print(f"   screenshot: {path}")

    def launcher_through_the_shortcut(self):
        users = self.session.prefix / "drive_c" / "users"
        user = next(folder.name for folder in users.iterdir() if folder.name != "Public")
        return self.session.start("start.exe", rf"C:\users\{user}\Desktop\Internet Explorer.lnk")

    def run(self) -> None:
        session = self.session
        server = session.share_folder("launcher")
        for program in ("Internet.exe", "setup.exe", "netswitch.exe"):
            server.add_program(program)
        server.write("Internet.cfg", settings_file(MESSAGE, PROMPT, server.unc + r"\welcome.txt"))
        server.write("welcome.txt", b"The school's start page.\r\n")

        self.say(f"The server folder {server.unc} holds the three programs and the school's "
                 "settings. The administrator opens setup there.")
        session.start(server.path("setup.exe"))
        session.window(SETUP_TITLE, timeout=15)
        self.show("setup")
        session.close(SETUP_TITLE)
        session.gone(SETUP_TITLE, timeout=10)

        self.say(r"setup /A installs the Launcher into C:\windows and puts the shortcut "
                 "\"Internet Explorer\" on the desktop, without questions.")
        installer = session.start(server.path("setup.exe"), "/A")
        installer.wait(timeout=30)
        print(r"   C:\windows\Internet.exe, C:\windows\Internet.cfg and the desktop shortcut are there.")

        self.say("The pupil double-clicks the shortcut: the agreement comes first.")
        self.launcher_through_the_shortcut()
        session.window(LAUNCHER_TITLE, timeout=15)
        session.click(LAUNCHER_TITLE, OPTION)
        self.show("agreement")
        session.close(LAUNCHER_TITLE)

        self.say("A teacher opens netswitch from the server folder and stops Internet access.")
        switch = session.start(server.path("netswitch.exe"))
        session.window(SWITCH_TITLE, timeout=15)
        session.click(SWITCH_TITLE, STOP)
        self.show("stopped")

        self.say("The pupil tries again: the Launcher refuses.")
        self.launcher_through_the_shortcut()
        session.message("Sorry", timeout=15)
        self.show("refused")
        session.dismiss("Sorry")

        self.say("The teacher restarts access; the pupil accepts and Connect opens the start page.")
        session.click(SWITCH_TITLE, RESTART)
        self.launcher_through_the_shortcut()
        session.window(LAUNCHER_TITLE, timeout=15)
        session.click(LAUNCHER_TITLE, OPTION)
        session.click(LAUNCHER_TITLE, CONNECT)
        session.window("welcome.txt - Notepad", timeout=20)
        self.show("connected")

        if self.interactive:
            print("\nnetswitch stays open to be tried; close it to end the demonstration.")
            switch.wait(timeout=24 * 3600)
        else:
            print(f"\nScreenshots are in {SCREENSHOTS}/")


def main() -> int:
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    display = usable_display()
    with WineSession(display=display) as session:
        try:
            Demo(session, interactive=display is not None).run()
        except DriverError as error:
            print(f"The demonstration went wrong: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
