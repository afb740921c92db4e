"""The three programs as files: static executables that need only Windows' own
DLLs, with their icons, manifests and version information."""

import re
import struct
import unittest

from harness import PROGRAMS, REPOSITORY

# Windows' own DLLs that it always loads from its system folder, never from
# beside the program (which may be a share): comctl32 and mpr are not among
# them, so the programs load those from the system folder themselves.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
               "oleaut32.dll", "advapi32.dll", "msvcrt.dll"}
# Functions of Windows 10 that Windows 7 and 8 lack: imported, the programs
# would not start there, so they look them up.
WINDOWS_10_ONLY = {"GetDpiForWindow", "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class PortableExecutable:
    """Just enough of the PE format: imported DLLs and resources by type and id."""

    def __init__(self, data: bytes):
        self.data = data
        header = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[header:header + 4] == b"PE\0\0"
        sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
        optional = header + 24
        assert struct.unpack_from("<H", data, optional)[0] == 0x20B, "not a 64-bit executable"
        self.directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva: int) -> int:
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} outside every section")

    def string(self, rva: int) -> str:
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self) -> dict:
        """{DLL in lower case: the names of the functions imported from it}."""
        rva, _ = self.directories[1]
        found, at = {}, self.offset(rva)
        while (name := struct.unpack_from("<12xI", self.data, at)[0]) != 0:
            functions = found.setdefault(self.string(name).lower(), set())
            lookup = self.offset(struct.unpack_from("<I", self.data, at)[0])
            while (entry := struct.unpack_from("<Q", self.data, lookup)[0]) != 0:
                if not entry >> 63:  # imported by name, not by ordinal
                    functions.add(self.string(entry + 2))
                lookup += 8
            at += 20
        return found

    def resources(self) -> dict:
        """{(type, id): bytes}, each in its first language."""
        base = self.offset(self.directories[2][0])

        def entries(directory):
            named, numbered = struct.unpack_from("<12xHH", self.data, base + directory)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield key, target

        found = {}
        for kind, kinds in entries(0):
            for number, languages in entries(kinds & 0x7FFFFFFF):
                _, leaf = next(entries(languages & 0x7FFFFFFF))
                rva, size = struct.unpack_from("<II", self.data, base + leaf)
                found[(kind, number)] = self.data[self.offset(rva):self.offset(rva) + size]
        return found


def project_version() -> tuple:
    text = (REPOSITORY / "CMakeLists.txt").read_text()
    return tuple(int(part) for part in re.search(r"VERSION (\d+)\.(\d+)\.(\d+)", text).groups())


def icon_images(resources: dict, group: int) -> list:
    """(width, height, bits per pixel) of each image of an icon group."""
    data = resources[(RT_GROUP_ICON, group)]
    count = struct.unpack_from("<4xH", data)[0]
    images = []
    for i in range(count):
        width, height, _, _, _, bits, _, image = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        images.append((width or 256, height or 256, bits))
        assert (RT_ICON, image) in resources
    return images


def sizes(bits: int, largest: int = 64) -> list:
    """An icon's images at every size Windows asks for from 100 % to 200 %, up to `largest`."""
    return [(size, size, bits) for size in (16, 20, 24, 28, 32, 40, 48, 56, 64, 256)
            if size <= largest]


class ExecutablesTest(unittest.TestCase):
    PROGRAMS = {
        "Internet.exe": ("asInvoker", {1: sizes(8, 256)}),
        "netswitch.exe": ("asInvoker", {1: sizes(4, 256), 2: sizes(4), 3: sizes(4)}),
        "setup.exe": ("highestAvailable", {1: sizes(4, 256)}),
    }

    def test_each_program_imports_only_windows_own_dlls(self):
        for name in self.PROGRAMS:
            with self.subTest(program=name):
                imports = PortableExecutable((PROGRAMS / name).read_bytes()).imports()
                self.assertLessEqual(set(imports), SYSTEM_DLLS)
                self.assertFalse(set().union(*imports.values()) & WINDOWS_10_ONLY)

    def test_icons_manifest_and_version_information(self):
        major, minor, patch = project_version()
        for name, (level, icons) in self.PROGRAMS.items():
            with self.subTest(program=name):
                resources = PortableExecutable((PROGRAMS / name).read_bytes()).resources()
                for group, images in icons.items():
                    self.assertEqual(icon_images(resources, group), images)
                manifest = resources[(RT_MANIFEST, 1)].decode()
                self.assertIn(f'level="{level}"', manifest)
                self.assertRegex(manifest, r"<dpiAware[^>]*>true</dpiAware>")
                self.assertRegex(manifest, r"<dpiAwareness[^>]*>PerMonitorV2, System</dpiAwareness>")
                self.assertIn("supportedOS", manifest)
                version = resources[(RT_VERSION, 1)]
                fixed = version.index(struct.pack("<I", 0xFEEF04BD))
                file_version = struct.unpack_from("<II", version, fixed + 8)
                self.assertEqual(file_version, ((major << 16) | minor, patch << 16))
                self.assertIn(f"{major}.{minor}.{patch}".encode("utf-16-le"), version)
                self.assertIn(name.encode("utf-16-le"), version)


if __name__ == "__main__":
    unittest.main()
