"""The windows keep their layout in twips on screens of 144 and 192 DPI, and on
a monitor of such a DPI where the system's is 96, and their captions fit there
wherever they fit at 96 DPI; on a screen too small for their places, they move
onto it. Moved to a monitor of another DPI, a window lays itself out again at
that DPI.

Every monitor of Wine has the prefix's DPI: tests/faults/dpi_mover.dll gives a
program the monitors of other DPIs, from inside the program."""

import unittest
from collections.abc import Callable

from captions import Screen, caption, edges_touched
from harness import WineSession
from programs import LAUNCHER, SWITCH, LayoutChecks, pixels
from test_setup import SETUP

PROGRAMS = {"Internet.exe": LAUNCHER, "netswitch.exe": SWITCH}

# For each program, the edges each control's caption touches at 96 DPI.
touched_at_96: dict[str, dict[int, set[str]]] = {}


def on_monitor(dpi: int) -> dict:
    """How to start a program so that its window opens on a monitor of this DPI."""
    return {"mover": True, "environment": {"DPI_MOVER_MONITOR": str(dpi)}}


def captions_shown(session: WineSession, program: str, **start) -> tuple[dict, dict[int, set[str]]]:
    """Starts the program, and returns its window and the edges its captions touch."""
    folder = session.local_folder(f"{program.lower()}-{session.dpi}")
    process = session.start(folder.add_program(program), **start)
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
    monitor_only = False  # the system at 96 DPI, the window's monitor at `dpi`
    session: WineSession

    @classmethod
    def setUpClass(cls):
        cls.session = WineSession(dpi=96 if cls.monitor_only else cls.dpi).open()

    @classmethod
    def tearDownClass(cls):
        cls.session.shut_down()

    def assert_laid_out(self, program):
        window, touched = captions_shown(self.session, program,
                                         **(on_monitor(self.dpi) if self.monitor_only else {}))
        self.assertEqual(window["dpi"], self.session.dpi)  # the system's
        window["dpi"] = self.dpi
        self.assert_layout(window, PROGRAMS[program], self.tolerance)
        icon = pixels(480, self.dpi)  # 32 pixels at 96 DPI
        self.assertEqual(window["icons"], {"big": [icon, icon], "small": [icon // 2, icon // 2]})
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


class OneAndAHalfTimesOnItsMonitor(HighDpi):
    dpi, tolerance, monitor_only = 144, 0, True


del HighDpi  # only its screens are tests


class TwiceOnSmallScreens(LayoutChecks):
    """At 192 DPI, the system's or only its monitor's, a window that would reach
    past the screen's edge moves the least that brings all of it onto the screen,
    one larger than the screen (which Windows cuts to the screen's size) to the
    screen's top-left corner; the controls keep their places, and a window that
    fits stays where it was."""

    def test_each_window_moves_onto_the_screen(self):
        for screen, monitor_only in (((1440, 900), False), ((1024, 768), False),
                                     ((1024, 768), True)):
            with WineSession(dpi=96 if monitor_only else 192, screen=screen) as session:
                for program, layout in (("Internet.exe", LAUNCHER), ("netswitch.exe", SWITCH),
                                        ("setup.exe", SETUP)):
                    with self.subTest(screen=screen, monitor_only=monitor_only, program=program):
                        self.assert_on_screen(session, program, layout,
                                              on_monitor(192) if monitor_only else {})

    def assert_on_screen(self, session: WineSession, program: str, layout, start: dict) -> None:
        folder = session.local_folder(program.lower())
        process = session.start(folder.add_program(program), **start)
        try:
            window = session.window(layout.title, timeout=10)
        finally:
            process.kill()
        window["dpi"] = 192
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


SS_TYPEMASK, SS_OWNERDRAW = 0x1F, 0x0D


def state(window: dict) -> tuple:
    """What the user left in a window: the focus, and each control's text, enabled state and check."""
    return window["focus"], {c["id"]: (c["text"], c["enabled"], c["checked"])
                             for c in window["controls"]}


class MovedToOtherMonitors(LayoutChecks):
    """A window moved to monitors of other DPIs, 96 -> 144 -> 192 -> 96, as Windows
    moves it; every monitor of Wine has the prefix's DPI, so tests/faults/dpi_mover.dll
    sends the window WM_DPICHANGED from inside the program. At each DPI the window sits
    where Windows suggested, laid out from its twips, its fonts made again at that DPI
    and its captions fitting wherever they fit at 96 DPI, with pictures and icons of the
    DPI's size and what the user did; many more moves leave it holding no more GDI
    objects or icons."""

    DPIS = (144, 192, 96)
    session: WineSession

    @classmethod
    def setUpClass(cls):
        cls.session = WineSession(screen=(1600, 1200)).open()  # room for setup at 192 DPI

    @classmethod
    def tearDownClass(cls):
        cls.session.shut_down()

    def test_launcher_once_accepted(self):
        self.assert_follows_its_monitor("Internet.exe", LAUNCHER,
                                        lambda: self.session.click(LAUNCHER.title, "#102"))

    def test_switch(self):
        self.assert_follows_its_monitor("netswitch.exe", SWITCH, lambda: None)

    def test_setup_with_a_message_typed(self):
        self.assert_follows_its_monitor(
            "setup.exe", SETUP, lambda: self.session.keys(SETUP.title, "text:Mind the gap", "tab"))

    def assert_follows_its_monitor(self, program: str, layout, act: Callable[[], object]) -> None:
        session = self.session
        process = session.start(session.share_folder(program.lower()).add_program(program),
                                mover=True)
        try:
            session.window(layout.title, timeout=10)
            act()
            start, start_screen = self.look(layout.title)
            held = {}
            for dpi in self.DPIS:
                with self.subTest(dpi=dpi):
                    held[dpi] = session.move(layout.title, dpi)
                    window, screen = self.look(layout.title)
                    self.assert_laid_out_again(window, screen, dpi, layout, start, start_screen)
            self.assert_fonts_made_again(held)
            for _ in range(5):
                for dpi in self.DPIS:
                    after_many_moves = session.move(layout.title, dpi)
            self.assertEqual(after_many_moves, held[96])
        finally:
            process.kill()

    def look(self, title: str) -> tuple[dict, Screen]:
        window = self.session.window(title)
        shot = self.session.root / "moved.ppm"
        self.session.screenshot(shot)
        return window, Screen(shot)

    def assert_laid_out_again(self, window: dict, screen: Screen, dpi: int, layout,
                              start: dict, start_screen: Screen) -> None:
        corner = lambda w: (w["window"]["left"], w["window"]["top"])  # noqa: E731
        self.assertEqual(corner(window), corner(start))
        window["dpi"] = dpi  # the driver's answer is the prefix's
        self.assert_layout(window, layout, origin=(window["client"]["left"], window["client"]["top"]))
        icon = pixels(480, dpi)  # 32 pixels at 96 DPI
        self.assertEqual(window["icons"], {"big": [icon, icon], "small": [icon // 2, icon // 2]})
        self.assertEqual(state(window), state(start))
        before = {c["id"]: c for c in start["controls"]}
        for control in window["controls"]:
            with self.subTest(control=control["id"]):
                if control["style"] & SS_TYPEMASK == SS_OWNERDRAW:  # a picture
                    # Its rim may be the window's grey.
                    box, _ = caption(screen, window, control)
                    self.assertGreaterEqual(box["bottom"] - box["top"], 0.9 * icon)
                    self.assertLessEqual(box["bottom"] - box["top"], icon)
                elif control["text"]:
                    self.assertLessEqual(edges_touched(screen, window, control),
                                         edges_touched(start_screen, start, before[control["id"]]))

    def assert_fonts_made_again(self, held: dict) -> None:
        """Each control's font at 144 and 192 DPI is the one it has at 96 DPI made again at
        that DPI, its size rounded down."""
        at_96 = held[96]["font_heights"]
        for dpi in (144, 192):
            for control, height in held[dpi]["font_heights"].items():
                with self.subTest(dpi=dpi, control=control):
                    self.assertEqual(height, at_96[control] * dpi // 96)
