#!/usr/bin/python3
"""Turns the administrator's guide, Markdown, into one self-contained HTML
page: its pictures are embedded as data: URIs, so that the page can be opened
wherever it was copied to. A picture alone in its paragraph becomes a figure
with its description as the caption.

    guide-to-html.py GUIDE.md PAGE.html

Converts with Debian's python3-markdown, with tables, fenced code blocks and
{#id} anchors on headings.
"""

import base64
import mimetypes
import sys
import xml.etree.ElementTree as etree
from pathlib import Path

import markdown
from markdown.extensions import Extension
from markdown.treeprocessors import Treeprocessor

STYLE = """body { font: 16px/1.5 sans-serif; max-width: 50em; margin: 2em auto; padding: 0 1em; }
code, pre { font-family: monospace; background: #f2f2f2; }
pre { padding: .5em 1em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: .3em .5em; text-align: left; vertical-align: top; }
blockquote { margin: 1em 0; padding: .2em 1em; border: 2px solid #444; background: #fafafa; }
figcaption { font-style: italic; }
@media print { #teachers { break-before: page; } }"""


class EmbedPictures(Treeprocessor):
    def __init__(self, md: markdown.Markdown, folder: Path):
        super().__init__(md)
        self.folder = folder

    def run(self, root: etree.Element) -> None:
        for picture in root.iter("img"):
            path = self.folder / picture.get("src")
            kind = mimetypes.guess_type(path.name)[0]
            data = base64.b64encode(path.read_bytes()).decode("ascii")
            picture.set("src", f"data:{kind};base64,{data}")
        for paragraph in root.iter("p"):
            if self.holds_only_a_picture(paragraph):
                paragraph.tag = "figure"
                caption = etree.SubElement(paragraph, "figcaption")
                caption.text = paragraph[0].get("alt")

    @staticmethod
    def holds_only_a_picture(paragraph: etree.Element) -> bool:
        return (len(paragraph) == 1 and paragraph[0].tag == "img"
                and not (paragraph.text or "").strip() and not (paragraph[0].tail or "").strip())


class Pictures(Extension):
    def __init__(self, folder: Path):
        super().__init__()
        self.folder = folder

    def extendMarkdown(self, md: markdown.Markdown) -> None:
        md.treeprocessors.register(EmbedPictures(md, self.folder), "embed_pictures", 0)


def convert(guide: Path) -> str:
    text = guide.read_text(encoding="utf-8")
    title = next((line[2:].strip() for line in text.splitlines() if line.startswith("# ")),
                 guide.stem)
    body = markdown.markdown(text, output_format="html",
                             extensions=["tables", "fenced_code", "attr_list", "sane_lists",
                                         Pictures(guide.parent)])
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{markdown.util.code_escape(title)}</title>\n<style>\n{STYLE}\n</style>\n"
            f"</head>\n<body>\n{body}\n</body>\n</html>\n")


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    Path(sys.argv[2]).write_text(convert(Path(sys.argv[1])), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
