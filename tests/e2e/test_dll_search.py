r"""The programs load Windows' DLLs from the system folder only: a DLL put
beside a program on the share under the name of one that the program or
Windows' own DLLs load (the tool tips' comctl32, setup's mpr, oleaut32 and
shell32, the Launcher's shell32, the theme library every window uses) is never
loaded into it, while each program still does its work. The one exception is
the installed Launcher: in the Windows folder, which only administrators can
write, it keeps Windows' standard search, so that the handlers Connect loads
find their own DLLs as they do in every program.

Wine prefers its own DLLs to a file of the same name found on the search path,
where Windows loads the file it finds first; "native, then builtin" for the
planted names makes Wine do as Windows does. Left out: ole32 and version,
which Wine's own user32 and imm32 load by name from the program's folder
whatever the program asks for (on Windows neither is loaded that way).
"""

from __future__ import annotations

import shutil
import unittest

from harness import PROGRAMS, WINDOWS_BUILD, WINE_ENVIRONMENT, WineSession
from programs import LAUNCHER_TITLE, SWITCH_TITLE, settings_file
from test_setup import Workstation

PLANTED_LIBRARY = WINDOWS_BUILD / "tests" / "e2e" / "planted_library.dll"
PLANTED = ("comctl32.dll", "mpr.dll", "oleaut32.dll", "shell32.dll", "uxtheme.dll")
NATIVE_FIRST = {
    "WINEDLLOVERRIDES": WINE_ENVIRONMENT["WINEDLLOVERRIDES"] + ";"
    + ",".join(name.removesuffix(".dll") for name in PLANTED) + "=n,b"
}
OPTION1, CONNECT = 102, 103

session: WineSession


def setUpModule():
    global session
    session = WineSession().open()


def tearDownModule():
    session.shut_down()


class PlantedLibraries(unittest.TestCase):
    def folder(self, name: str, program: str):
        """A share folder holding the program and a planted DLL under each name."""
        folder = session.share_folder(name)
        folder.add_program(program)
        for library in PLANTED:
            folder.add_file(PLANTED_LIBRARY, library)
        return folder

    def start(self, folder, program: str, *args: str):
        process = session.start(folder.path(program), *args, environment=NATIVE_FIRST)
        self.addCleanup(process.kill)
        return process

    def assert_none_loaded(self, folder, process) -> None:
        self.assertEqual(process.wait(30), 0)
        self.assertEqual(sorted(path.name for path in folder.linux.glob("*.loaded")), [])

    def test_setup_installs_with_windows_own_libraries(self):
        workstation = Workstation(session)
        self.addCleanup(workstation.restore)
        folder = self.folder("setup", "setup.exe")
        folder.add_program("Internet.exe")
        process = self.start(folder, "setup.exe", "/A")
        self.assert_none_loaded(folder, process)
        self.assertTrue(workstation.has("Internet.exe"))
        self.assertTrue(workstation.shortcut.exists())

    def test_launcher_connects_with_windows_own_libraries(self):
        folder = self.folder("launcher", "Internet.exe")
        folder.write("welcome.txt", b"Welcome.\r\n")
        folder.write("Internet.cfg", settings_file("m", "p", folder.path("welcome.txt")))
        process = self.start(folder, "Internet.exe")
        session.window(LAUNCHER_TITLE, timeout=10)
        session.click(LAUNCHER_TITLE, f"#{OPTION1}")
        session.click(LAUNCHER_TITLE, f"#{CONNECT}")
        self.assert_none_loaded(folder, process)
        session.close(session.window("welcome.txt - Notepad", timeout=15)["title"])

    def test_netswitch_shows_its_window_with_windows_own_libraries(self):
        folder = self.folder("netswitch", "netswitch.exe")
        process = self.start(folder, "netswitch.exe")
        session.window(SWITCH_TITLE, timeout=10)
        session.close(SWITCH_TITLE)
        self.assert_none_loaded(folder, process)

    def test_the_installed_launcher_searches_as_every_program_does(self):
        windows = session.prefix / "drive_c" / "windows"
        installed = {"Internet.exe": PROGRAMS / "Internet.exe", "uxtheme.dll": PLANTED_LIBRARY}
        for name, source in installed.items():
            self.addCleanup((windows / name).unlink, missing_ok=True)
            shutil.copyfile(source, windows / name)
        self.addCleanup((windows / "uxtheme.dll.loaded").unlink, missing_ok=True)
        process = session.start(r"C:\windows\Internet.exe", environment=NATIVE_FIRST)
        self.addCleanup(process.kill)
        self.assertEqual(process.wait(30), 66, "the Windows folder searched first")
        self.assertTrue((windows / "uxtheme.dll.loaded").exists())


if __name__ == "__main__":
    unittest.main()
