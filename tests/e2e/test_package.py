"""The release package that `cmake --build --preset windows --target package`
makes: what the server folder needs and nothing else, the programs as built,
and the administrator's guide as one page that carries its pictures."""

import base64
import re
import subprocess
import unittest
import zipfile

from harness import PROGRAMS, REPOSITORY, WINDOWS_BUILD
from test_executables import project_version

GUIDE = "Administrator's Guide.html"
PROGRAM_FILES = ("Internet.exe", "setup.exe", "netswitch.exe")


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        subprocess.run(["cmake", "--build", "--preset", "windows", "--target", "package"],
                       cwd=REPOSITORY, check=True, stdout=subprocess.DEVNULL)
        version = ".".join(map(str, project_version()))
        cls.package = zipfile.ZipFile(WINDOWS_BUILD / f"BrowserLauncher-{version}.zip")

    @classmethod
    def tearDownClass(cls):
        cls.package.close()

    def test_holds_the_three_programs_and_the_guide(self):
        self.assertCountEqual(self.package.namelist(), [*PROGRAM_FILES, GUIDE])

    def test_programs_are_the_ones_built(self):
        for name in PROGRAM_FILES:
            with self.subTest(program=name):
                self.assertEqual(self.package.read(name), (PROGRAMS / name).read_bytes())

    def test_guide_carries_every_picture_of_the_guide(self):
        page = self.package.read(GUIDE).decode("utf-8")
        sources = re.findall(r'<img src="([^"]*)"', page)
        self.assertTrue(all(src.startswith("data:image/png;base64,") for src in sources))
        embedded = [base64.b64decode(src.partition(",")[2]) for src in sources]
        guide = REPOSITORY / "docs" / "administrator-guide.md"
        pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", guide.read_text(encoding="utf-8"))
        self.assertTrue(pictures)
        self.assertEqual(embedded, [(guide.parent / path).read_bytes() for path in pictures])

    def test_guide_leaves_no_markdown_unconverted(self):
        # The converter knows only the Markdown the guide uses: strong text
        # around code, a link or a numbered list would reach the page as it
        # was typed.
        page = self.package.read(GUIDE).decode("utf-8")
        text = re.sub(r"<code>.*?</code>|<img [^>]*>", "", page, flags=re.S)
        for leftover in ("**", "`", "](", "<p>1. "):
            with self.subTest(leftover=leftover):
                at = text.find(leftover)
                self.assertEqual(at, -1, text[max(at - 60, 0):at + 60])


if __name__ == "__main__":
    unittest.main()
