"""What the end-to-end tests know of the three programs: their files, window
titles, control ids and the geometry of their windows in twips."""

from __future__ import annotations

import unittest
from dataclasses import dataclass

BUILT_IN_MESSAGE = (
    "Using the Internet is a privilege, not a right. If you want to use the Internet at school, "
    "you WILL use it responsibly.  This school tracks every site you visit while you are on the "
    "Internet and how long you spend at each.  Do NOT abuse this privilege or you will be banned "
    "from accessing the Internet at school and your parents will be contacted.   Do you "
    "understand this?")
BUILT_IN_PROMPT = "YES, I understand and I will use the Internet responsibly."
LAUNCHER_CLOSING = " encountered.  Kelbry's Browser Launcher program will now close."

# Window styles.
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000


def settings_file(message: str = "", prompt: str = "", start_page: str = "",
                  server_path: str = "") -> bytes:
    """Internet.cfg as the programs write it: four blank-padded 500-byte records."""
    records = (message, prompt, start_page, server_path)
    return b"".join((text.rstrip(" ") + " " * 500)[:500].encode("cp1252") for text in records)


def pixels(twips: int, dpi: int) -> int:
    """Twips at a DPI, rounded half away from zero as the programs do."""
    return (twips * dpi + 720) // 1440


@dataclass(frozen=True)
class Placed:
    """A control's rectangle in twips, from its container's corner."""
    id: int
    left: int
    top: int
    width: int
    height: int
    container: int = 0


@dataclass(frozen=True)
class Layout:
    title: str
    left: int
    top: int
    width: int
    height: int
    controls: tuple[Placed, ...]


class LayoutChecks(unittest.TestCase):
    """Assertions about a window described by the driver."""

    def assert_fixed_dialog(self, window: dict) -> None:
        style = window["style"]
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU)
        self.assertFalse(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))

    def assert_layout(self, window: dict, layout: Layout, tolerance: int = 0,
                      origin: tuple[int, int] | None = None) -> None:
        """The window and its controls where the layout puts them, to the pixel or
        within `tolerance` pixels; the client area's corner at `origin` on the
        screen instead, where given."""
        dpi = window["dpi"]
        px = lambda twips: pixels(twips, dpi)  # noqa: E731
        self.assert_fixed_dialog(window)
        left, top = origin or (px(layout.left), px(layout.top))
        self.assert_rect(window["client"], {"left": left, "top": top, "width": px(layout.width),
                                            "height": px(layout.height)}, tolerance)
        controls = {control["id"]: control for control in window["controls"]}
        for placed in layout.controls:
            origin = controls[placed.container]["rect"] if placed.container else {"left": 0, "top": 0}
            with self.subTest(control=placed.id):
                self.assert_rect(controls[placed.id]["rect"],
                                 {"left": origin["left"] + px(placed.left),
                                  "top": origin["top"] + px(placed.top),
                                  "width": px(placed.width), "height": px(placed.height)},
                                 tolerance)

    def assert_rect(self, rect: dict, expected: dict, tolerance: int) -> None:
        if tolerance == 0 or any(abs(rect[side] - expected[side]) > tolerance for side in expected):
            self.assertEqual(rect, expected)


LAUNCHER_TITLE = "You'd Like to Access the Internet?"
LAUNCHER = Layout(LAUNCHER_TITLE, 2820, 2640, 6510, 4140, (
    Placed(101, 120, 120, 6255, 3135),    # the agreement
    Placed(102, 360, 3360, 2655, 615),    # the acceptance option
    Placed(103, 3120, 3480, 1215, 495),   # Connect
    Placed(104, 4680, 3480, 1695, 495),   # I Don't Understand
))

SWITCH_TITLE = "Kelbry's Internet On/Off Switch"
SWITCH = Layout(SWITCH_TITLE, 2985, 2805, 4680, 3000, (
    Placed(101, 3600, 2280, 855, 375),    # Quit
    Placed(102, 120, 2760, 4455, 255),    # credit line
    Placed(103, 3840, 240, 615, 615),     # stop sign
    Placed(104, 3840, 1200, 735, 615),    # green light
    Placed(105, 120, 360, 3615, 375),     # STOP
    Placed(106, 120, 1200, 3615, 375),    # ReSTART
    Placed(107, 840, 1800, 1815, 855),    # Current Setting:
    Placed(108, 120, 360, 1575, 375, container=107),  # RUNNING or STOPPED
))


def control(window: dict, control_id: int) -> dict:
    return next(c for c in window["controls"] if c["id"] == control_id)
