"""Where the captions of a window's controls are drawn, read from a screenshot.
A caption that its control clips reaches the edge of the area the control
leaves it: comparing the edges a caption reaches at one DPI with those it
reaches at another tells whether it fits there as well."""

from __future__ import annotations

from collections import Counter
from pathlib import Path


class Screen:
    """A screenshot as a binary PPM (P6), as ImageMagick's import writes it."""

    def __init__(self, path: Path):
        data = path.read_bytes()
        fields, offset = [], 0
        while len(fields) < 4:
            while data[offset:offset + 1].isspace():
                offset += 1
            if data[offset:offset + 1] == b"#":
                offset = data.index(b"\n", offset)
                continue
            end = offset
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[offset:end])
            offset = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError(f"{path}: not an 8-bit binary PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self._pixels = data[offset + 1:]

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        at = 3 * (y * self.width + x)
        return tuple(self._pixels[at:at + 3])


def ink(screen: Screen, left: int, top: int, width: int, height: int) -> dict | None:
    """The box around the pixels of an area far from its most frequent colour
    (its background), relative to the area; None when the area shows one
    colour only."""
    colours = [[screen.pixel(x, y) for x in range(left, left + width)]
               for y in range(top, top + height)]
    background = Counter(c for row in colours for c in row).most_common(1)[0][0]
    # A disabled caption's grey lies about 80 from the button face in each
    # channel; a control's own edges, which the inset leaves out anyway, less.
    far = lambda c: sum(abs(a - b) for a, b in zip(c, background)) > 150  # noqa: E731
    rows = [y for y, row in enumerate(colours) if any(far(c) for c in row)]
    columns = [x for x in range(width) if any(far(row[x]) for row in colours)]
    if not rows:
        return None
    return {"left": columns[0], "top": rows[0], "right": columns[-1] + 1,
            "bottom": rows[-1] + 1}


WS_EX_CLIENTEDGE = 0x200


def caption(screen: Screen, window: dict, control: dict) -> tuple[dict, int]:
    """The box around a control's caption inside the control, and the inside's
    height; the inside leaves out a button's border and a text box's sunken
    edge. A caption that is not drawn at all raises AssertionError."""
    inset = 3 if control["class"] == "Button" else 2 if control["exstyle"] & WS_EX_CLIENTEDGE else 0
    rect, client = control["rect"], window["client"]
    height = rect["height"] - 2 * inset
    box = ink(screen, client["left"] + rect["left"] + inset, client["top"] + rect["top"] + inset,
              rect["width"] - 2 * inset, height)
    if box is None:
        raise AssertionError(f"control {control['id']} shows no caption: {control['text']!r}")
    return box, height


def edges_touched(screen: Screen, window: dict, control: dict) -> set[str]:
    """The edges of a control's inside, "top" and "bottom", that its caption
    reaches. Every caption here breaks between words, so one too big for its
    control runs out of rows rather than of columns. A caption that is not
    drawn at all fits nowhere: it raises AssertionError."""
    box, height = caption(screen, window, control)
    reached = {"top": box["top"] == 0, "bottom": box["bottom"] == height}
    return {edge for edge, touches in reached.items() if touches}
