#!/usr/bin/python3
"""Takes the administrator's guide's screenshots, docs/screenshots/*.png, each
cropped to its window: setup in the server folder, the Launcher's agreement,
netswitch after stopping access, and the Launcher's refusal. Runs the programs
under Wine in a virtual display, with the texts of ./run's demonstration.
Needs the Windows build: cmake --build --preset windows.

Wine draws a window's caption buttons with the Marlett symbol font, which only
Debian's fonts-wine ships. That package would also replace the fonts every
test draws with, so it is not installed: its Marlett goes into a prefix of the
screenshots' own.
"""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

REPOSITORY = Path(__file__).resolve().parents[1]
os.environ["E2E_PREFIXES"] = str(REPOSITORY / "build" / "screenshots")
sys.path.insert(0, str(REPOSITORY / "tests" / "e2e"))

from demo import MESSAGE, PROMPT, SETUP_TITLE  # noqa: E402
from harness import WineSession  # noqa: E402
from programs import LAUNCHER_TITLE, SWITCH_TITLE, settings_file  # noqa: E402

SCREENSHOTS = REPOSITORY / "docs" / "screenshots"
START_PAGE = "http://intranet.school.example/"
OPTION, STOP = "#102", "#105"
MARLETT = Path("/usr/share/wine/fonts/marlett.ttf")


def install_marlett(session: WineSession) -> None:
    """Puts Marlett into the session's Windows font folder, taken from fonts-wine
    as installed or, failing that, as downloaded from the package mirror."""
    fonts = session.prefix / "drive_c" / "windows" / "Fonts"
    if MARLETT.exists():
        shutil.copyfile(MARLETT, fonts / MARLETT.name)
        return
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["apt-get", "download", "fonts-wine"], cwd=folder, check=True)
        package = next(Path(folder).glob("fonts-wine_*.deb"))
        subprocess.run(["dpkg-deb", "-x", package, folder], check=True)
        shutil.copyfile(Path(folder) / MARLETT.relative_to("/"), fonts / MARLETT.name)


def shoot(session: WineSession, title: str, name: str) -> None:
    """Saves the visible window with this title, frame included, as NAME.png."""
    box = session.window(title, timeout=15)["window"]
    path = SCREENSHOTS / f"{name}.png"
    subprocess.run(["import", "-window", "root", "-crop",
                    f"{box['width']}x{box['height']}+{box['left']}+{box['top']}", "+repage",
                    str(path)], check=True, env=dict(os.environ, DISPLAY=session.display))
    print(path)


def main() -> int:
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    with WineSession() as session:
        install_marlett(session)
        server = session.share_folder("launcher")
        for program in ("Internet.exe", "setup.exe", "netswitch.exe"):
            server.add_program(program)
        server.write("Internet.cfg", settings_file(MESSAGE, PROMPT, START_PAGE))
        workstation = session.local_folder("windows")
        workstation.add_program("Internet.exe")
        workstation.write("Internet.cfg",
                          settings_file(MESSAGE, PROMPT, START_PAGE, server.unc + "\\"))

        session.start(server.path("setup.exe"))
        shoot(session, SETUP_TITLE, "setup")
        session.close(SETUP_TITLE)

        session.start(workstation.path("Internet.exe"))
        session.window(LAUNCHER_TITLE, timeout=15)
        session.click(LAUNCHER_TITLE, OPTION)
        shoot(session, LAUNCHER_TITLE, "agreement")
        session.close(LAUNCHER_TITLE)

        session.start(server.path("netswitch.exe"))
        session.window(SWITCH_TITLE, timeout=15)
        session.click(SWITCH_TITLE, STOP)
        shoot(session, SWITCH_TITLE, "netswitch")

        session.start(workstation.path("Internet.exe"))
        session.message("Sorry", timeout=15)
        shoot(session, "Sorry", "refused")
    return 0


if __name__ == "__main__":
    sys.exit(main())
