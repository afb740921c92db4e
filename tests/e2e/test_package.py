"""The release package that `cmake --build --preset windows --target package`
makes: what the server folder needs and nothing else, the programs as built
(unsigned when the environment names no signing key), and the administrator's
guide as one page that carries its pictures."""

import base64
import os
import re
import subprocess
import unittest
import zipfile

from harness import PROGRAMS, REPOSITORY, WINDOWS_BUILD
from test_executables import project_version

GUIDE = "Administrator's Guide.html"
PROGRAM_FILES = ("Internet.exe", "setup.exe", "netswitch.exe")
PACKAGE = WINDOWS_BUILD / f"BrowserLauncher-{'.'.join(map(str, project_version()))}.zip"


def build_package(signing: dict | None = None) -> subprocess.CompletedProcess:
    """Builds the package with these SIGNING_* and SIGNED_PROGRAMS_* settings and no others
    from the environment; the result carries the build's output, stdout and stderr together."""
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith(("SIGNING_", "SIGNED_PROGRAMS_"))}
    return subprocess.run(["cmake", "--build", "--preset", "windows", "--target", "package"],
                          cwd=REPOSITORY, env=dict(environment, **(signing or {})), text=True,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.build = build_package()
        cls.build.check_returncode()
        cls.package = zipfile.ZipFile(PACKAGE)

    @classmethod
    def tearDownClass(cls):
        cls.package.close()

    def test_without_a_certificate_the_build_says_so_in_one_line(self):
        said = [line for line in self.build.stdout.splitlines() if "SIGNING_" in line]
        self.assertEqual(said, ["-- The programs are not signed: set SIGNING_PFX and "
                                "SIGNING_PASSWORD_FILE, or SIGNING_PKCS11_MODULE, SIGNING_KEY, "
                                "SIGNING_CERTS and SIGNING_PIN_FILE, to sign them, or "
                                "SIGNED_PROGRAMS_DIR to take them signed elsewhere"])

    def test_holds_the_three_programs_and_the_guide(self):
        self.assertCountEqual(self.package.namelist(), [*PROGRAM_FILES, GUIDE])

    def test_programs_are_the_ones_built(self):
        for name in PROGRAM_FILES:
            with self.subTest(program=name):
                self.assertEqual(self.package.read(name), (PROGRAMS / name).read_bytes())

    def test_guide_carries_every_picture_of_the_guide(self):
        page = self.package.read(GUIDE).decode("utf-8")
        sources = re.findall(r'<img [^>]*src="([^"]*)"', page)
        self.assertTrue(all(src.startswith("data:image/png;base64,") for src in sources))
        embedded = [base64.b64decode(src.partition(",")[2]) for src in sources]
        guide = REPOSITORY / "docs" / "administrator-guide.md"
        pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", guide.read_text(encoding="utf-8"))
        self.assertTrue(pictures)
        self.assertEqual(embedded, [(guide.parent / path).read_bytes() for path in pictures])

    def test_guide_leaves_no_markdown_unconverted(self):
        # Markdown reaches the page as it was typed where its syntax is
        # slightly off: a list or a table glued to the paragraph before it, an
        # anchor after a heading, strong text around code.
        page = self.package.read(GUIDE).decode("utf-8")
        text = re.sub(r"<code>.*?</code>|<img [^>]*>", "", page, flags=re.S)
        for leftover in ("**", "`", "](", "<p>1. ", "\n- ", "\n1. ", "|--", "{#"):
            with self.subTest(leftover=leftover):
                at = text.find(leftover)
                self.assertEqual(at, -1, text[max(at - 60, 0):at + 60])

    def test_guide_links_lead_to_its_own_sections(self):
        page = self.package.read(GUIDE).decode("utf-8")
        anchors = set(re.findall(r'\bid="([^"]+)"', page))
        for target in set(re.findall(r'href="#([^"]*)"', page)):
            with self.subTest(link=target):
                self.assertIn(target, anchors)


if __name__ == "__main__":
    unittest.main()
