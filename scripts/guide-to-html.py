#!/usr/bin/python3
"""Turns the administrator's guide, Markdown, into one self-contained HTML
page: its pictures are embedded as data: URIs, so that the page can be opened
wherever it was copied to.

    guide-to-html.py GUIDE.md PAGE.html

Knows the Markdown the guide uses: "#" headings, paragraphs, "-" lists, fenced
code blocks, a picture alone on its line (shown with its description as the
caption), and `code` and **strong** in text.
"""

import base64
import html
import mimetypes
import re
import sys
from pathlib import Path

STYLE = """body { font: 16px/1.5 sans-serif; max-width: 50em; margin: 2em auto; padding: 0 1em; }
code, pre { font-family: monospace; background: #f2f2f2; }
pre { padding: .5em 1em; overflow-x: auto; }
figcaption { font-style: italic; }"""

PICTURE = re.compile(r"!\[([^\]]*)\]\(([^)]+)\)")


def escape(text: str) -> str:
    return html.escape(text, quote=False)


def inline(text: str) -> str:
    """Text with `code` and **strong** as HTML, the rest escaped."""
    parts = re.split(r"(`[^`]+`)", text)
    return "".join(
        f"<code>{escape(part[1:-1])}</code>" if i % 2
        else re.sub(r"\*\*(.+?)\*\*", r"<strong>\1</strong>", escape(part))
        for i, part in enumerate(parts))


def figure(description: str, path: Path) -> str:
    kind = mimetypes.guess_type(path.name)[0]
    data = base64.b64encode(path.read_bytes()).decode("ascii")
    return (f'<figure><img src="data:{kind};base64,{data}" alt="{html.escape(description)}">'
            f"<figcaption>{escape(description)}</figcaption></figure>")


def blocks(lines: list[str]):
    """("code", lines) for a fenced block, ("text", lines) for a heading or a
    run of lines between blank ones."""
    block: list[str] = []
    lines = iter(lines)
    for line in lines:
        if block and (not line.strip() or line.startswith(("```", "#"))):
            yield "text", block
            block = []
        if line.startswith("```"):
            code = []
            for line in lines:
                if line.startswith("```"):
                    break
                code.append(line)
            yield "code", code
        elif line.startswith("#"):
            yield "text", [line]
        elif line.strip():
            block.append(line)
    if block:
        yield "text", block


def convert(guide: Path) -> str:
    body, title = [], guide.stem
    for kind, block in blocks(guide.read_text(encoding="utf-8").splitlines()):
        if kind == "code":
            body.append(f"<pre><code>{escape(chr(10).join(block))}</code></pre>")
            continue
        first = block[0]
        if heading := re.fullmatch(r"(#{1,3}) +(.*)", first):
            level = len(heading[1])
            title = heading[2] if level == 1 else title
            body.append(f"<h{level}>{inline(heading[2])}</h{level}>")
        elif len(block) == 1 and (picture := PICTURE.fullmatch(first.strip())):
            body.append(figure(picture[1], guide.parent / picture[2]))
        elif first.startswith("- "):
            items: list[str] = []
            for line in block:
                if line.startswith("- "):
                    items.append(line[2:])
                else:
                    items[-1] += " " + line.strip()
            body.append("<ul>" + "".join(f"<li>{inline(item)}</li>" for item in items) + "</ul>")
        else:
            body.append(f"<p>{inline(' '.join(line.strip() for line in block))}</p>")
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{escape(title)}</title>\n<style>\n{STYLE}\n</style>\n</head>\n<body>\n"
            + "\n".join(body) + "\n</body>\n</html>\n")


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    Path(sys.argv[2]).write_text(convert(Path(sys.argv[1])), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
