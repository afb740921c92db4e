"""The windows keep their layout in twips on a screen of 144 DPI."""

import unittest

from harness import WineSession
from programs import LAUNCHER, SWITCH, LayoutChecks

session: WineSession


def setUpModule():
    global session
    session = WineSession(dpi=144).open()


def tearDownModule():
    session.shut_down()


class HighDpiTest(LayoutChecks):
    def assert_laid_out(self, program, layout):
        folder = session.local_folder(program.lower())
        process = session.start(folder.add_program(program))
        self.addCleanup(process.kill)
        window = session.window(layout.title, timeout=10)
        self.assertEqual(window["dpi"], 144)
        self.assert_layout(window, layout)

    def test_launcher(self):
        self.assert_laid_out("Internet.exe", LAUNCHER)

    def test_switch(self):
        self.assert_laid_out("netswitch.exe", SWITCH)


if __name__ == "__main__":
    unittest.main()
