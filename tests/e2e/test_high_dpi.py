"""The windows keep their layout in twips on screens of 144 and 192 DPI, and
their captions fit there wherever they fit at 96 DPI; on a screen too small
for their places, they move onto it."""

import unittest

from captions import Screen, edges_touched
from harness import WineSession
from programs import LAUNCHER, SWITCH, LayoutChecks, pixels
from test_setup import SETUP

PROGRAMS = {"Internet.exe": LAUNCHER, "netswitch.exe": SWITCH}

# For each program, the edges each control's caption touches at 96 DPI.
touched_at_96: dict[str, dict[int, set[str]]] = {}


def captions_shown(session: WineSession, program: str) -> tuple[dict, dict[int, set[str]]]:
    """Starts the program, and returns its window and the edges its captions touch."""
    folder = session.local_folder(f"{program.lower()}-{session.dpi}")
    process = session.start(folder.add_program(program))
    try:
        window = session.window(PROGRAMS[program].title, timeout=10)
        shot = session.root / f"{program}.ppm"
        session.screenshot(shot)
        screen = Screen(shot)
        return window, {c["id"]: edges_touched(screen, window, c)
                        for c in window["controls"] if c["text"]}
    finally:
        process.kill()


def setUpModule():
    session = WineSession().open()
    try:
        for program in PROGRAMS:
            touched_at_96[program] = captions_shown(session, program)[1]
    finally:
        session.shut_down()


class HighDpi(LayoutChecks):
    dpi: int
    tolerance: int
    session: WineSession

    @classmethod
    def setUpClass(cls):
        cls.session = WineSession(dpi=cls.dpi).open()

    @classmethod
    def tearDownClass(cls):
        cls.session.shut_down()

    def assert_laid_out(self, program):
        window, touched = captions_shown(self.session, program)
        self.assertEqual(window["dpi"], self.dpi)
        self.assert_layout(window, PROGRAMS[program], self.tolerance)
        for control, edges in touched.items():
            with self.subTest(caption=control):
                self.assertLessEqual(edges, touched_at_96[program][control])

    def test_launcher(self):
        self.assert_laid_out("Internet.exe")

    def test_switch(self):
        self.assert_laid_out("netswitch.exe")


class OneAndAHalfTimes(HighDpi):
    dpi, tolerance = 144, 0


class Twice(HighDpi):
    dpi, tolerance = 192, 2


del HighDpi  # only its screens are tests


class TwiceOnSmallScreens(LayoutChecks):
    """At 192 DPI a window that would reach past the screen's edge moves the least
    that brings all of it onto the screen, one larger than the screen (which
    Windows cuts to the screen's size) to the screen's top-left corner; the
    controls keep their places, and a window that fits stays where it was."""

    def test_each_window_moves_onto_the_screen(self):
        for screen in ((1440, 900), (1024, 768)):
            with WineSession(dpi=192, screen=screen) as session:
                for program, layout in (("Internet.exe", LAUNCHER), ("netswitch.exe", SWITCH),
                                        ("setup.exe", SETUP)):
                    with self.subTest(screen=screen, program=program):
                        self.assert_on_screen(session, program, layout)

    def assert_on_screen(self, session: WineSession, program: str, layout) -> None:
        folder = session.local_folder(program.lower())
        process = session.start(folder.add_program(program))
        try:
            window = session.window(layout.title, timeout=10)
        finally:
            process.kill()
        frame, client = window["window"], window["client"]
        border = (client["left"] - frame["left"], client["top"] - frame["top"])
        size = (frame["width"], frame["height"])
        placed = [max(0, min(pixels(twips, 192) - inset, room - extent))
                  for twips, inset, room, extent in
                  zip((layout.left, layout.top), border, session.screen, size)]
        self.assertEqual([frame["left"], frame["top"]], placed)
        if all(extent <= room for extent, room in zip(size, session.screen)):
            self.assert_layout(window, layout, 2,
                               origin=(placed[0] + border[0], placed[1] + border[1]))
