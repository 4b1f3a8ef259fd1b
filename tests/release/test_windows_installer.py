#!/usr/bin/env python3
"""The Windows installer in dist/, installed under wine as a player installs it, then removed.

`msiexec /i` installs it into a wine prefix of its own (build/wine-msi, made afresh), where the
installed game plays by catalogue name from another folder and the Start-menu shortcut leads to
it; `msiexec /x` must then leave no file and no registry entry of the game. Both programs, in the
installer and in the zip, carry the icon and a version block with the project's version. Run by
scripts/test-release after scripts/release.
"""

import getpass
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

from test_packages import DIST, TIMEOUT, VERSION, WINDOWS_FILES, quick_win
from harness import SOURCE

MSI = os.path.join(DIST, "hitblow-%s-win64.msi" % VERSION)
# Windows replaces an installed version by a newer one only when both have this code.
UPGRADE_CODE = "{9BB3A339-961F-4618-88AA-FC03119A2099}"
FOLDER = r"C:\Program Files\hitblow"
ICON_SIZES = {16, 32, 48, 64, 128, 256}
PREFIX = os.path.abspath(os.path.join(SOURCE, "build", "wine-msi"))


def wine(*args):
    done = subprocess.run(["wine"] + list(args), stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=TIMEOUT)
    subprocess.run(["wineserver", "--wait"], timeout=TIMEOUT)  # its registry is saved
    return done.returncode, done.stdout.decode(errors="replace")


def prefix_files():
    """Every file and folder of the wine prefix, drive C: and the registry."""
    return {os.path.join(top, name) for top, dirs, files in os.walk(PREFIX)
            for name in dirs + files}


def resource(exe, kind):
    return subprocess.run(["wrestool", "-x", "--raw", "-t%d" % kind, exe], check=True,
                          stdout=subprocess.PIPE, timeout=TIMEOUT).stdout


class WindowsInstaller(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # No menu entries in this machine's desktop (winemenubuilder), only in wine's.
        shutil.rmtree(PREFIX, ignore_errors=True)
        os.makedirs(PREFIX)
        os.environ.update(WINEDEBUG="-all", WINEPREFIX=PREFIX, TMPDIR=PREFIX,
                          WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
        wine("wineboot", "--init")

    def test_install_play_and_remove(self):
        before = prefix_files()
        status, output = wine("msiexec", "/i", MSI, "/qn")
        self.assertEqual(status, 0, output)
        drive_c = os.path.join(PREFIX, "drive_c")
        folder = os.path.join(drive_c, "Program Files", "hitblow")
        installed = sorted(os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/")
                           + ("/" if name in dirs else "")
                           for top, dirs, files in os.walk(folder) for name in dirs + files)
        self.assertEqual(installed, sorted(WINDOWS_FILES))
        with tempfile.TemporaryDirectory(prefix="hitblow_elsewhere_") as elsewhere:
            output, wanted, status = quick_win(["wine", FOLDER + r"\hitblow.exe"],
                                               os.path.join(folder, "messages", "en.txt"),
                                               "en", elsewhere)
        self.assertEqual((output, status), (wanted, 0))

        # The shortcut names the game and starts it in the player's documents.
        links = [path for path in prefix_files() - before if path.endswith(".lnk")]
        self.assertEqual([re.sub(".*/Start Menu/", "", path) for path in links],
                         ["Programs/hitblow.lnk"])
        with open(links[0], "rb") as f:
            link = f.read()
        self.assertTrue(FOLDER.encode() + b"\\hitblow.exe\0" in link, "target")
        documents = r"C:\users\%s\Documents" % getpass.getuser()
        self.assertTrue(documents.encode("utf-16-le") in link, "working folder")

        # "Apps and features" lists it with its version, and keeps its icon.
        key = (r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\%s"
               % msi_property("ProductCode"))
        status, output = wine("reg", "query", key)
        self.assertRegex(output, r"DisplayVersion\s+REG_SZ\s+%s\r?\n" % re.escape(VERSION))
        with open(os.path.join(PREFIX, "system.reg"), encoding="utf-8") as f:
            icon = re.search(r'"ProductIcon"="C:(.+)"', f.read()).group(1).replace("\\\\", "/")
        with open(drive_c + icon, "rb") as f:
            self.assertEqual(f.read(4), b"\0\0\1\0", icon)  # an .ico

        status, output = wine("msiexec", "/x", MSI, "/qn")
        self.assertEqual(status, 0, output)
        # Only Windows Installer's own folder stays, made by the first installation.
        left = prefix_files() - before - {os.path.join(drive_c, "windows", "Installer")}
        self.assertEqual(sorted(left), [])
        for name in ("system.reg", "user.reg"):
            with open(os.path.join(PREFIX, name), encoding="utf-8", errors="replace") as f:
                self.assertNotIn("hitblow", f.read().lower(), name)

    def test_upgrade_code_and_version(self):
        self.assertEqual(msi_property("UpgradeCode"), UPGRADE_CODE)
        self.assertEqual(msi_property("ProductVersion"), VERSION)
        self.assertEqual(msi_property("ARPPRODUCTICON"), "hitblow.ico")

    def test_icon_and_version_in_every_program(self):
        with tempfile.TemporaryDirectory(prefix="hitblow_msi_") as scratch:
            subprocess.run(["msiextract", "-C", scratch, MSI], check=True,
                           stdout=subprocess.DEVNULL, timeout=TIMEOUT)
            with zipfile.ZipFile(os.path.join(DIST, "hitblow-%s-win64.zip" % VERSION)) as z:
                z.extractall(scratch, [n for n in z.namelist() if n.endswith(".exe")])
            exes = [os.path.join(top, name) for top, _, names in os.walk(scratch)
                    for name in names if name.endswith(".exe")]
            self.assertEqual(len(exes), 4, exes)
            for exe in exes:
                with self.subTest(exe=os.path.relpath(exe, scratch)):
                    group = resource(exe, 14)  # the icon's directory: 14 bytes an image
                    self.assertEqual({group[i] or 256 for i in range(6, len(group), 14)},
                                     ICON_SIZES)
                    info = resource(exe, 16)
                    fixed = struct.unpack_from("<4H", info, info.index(b"\xbd\x04\xef\xfe") + 8)
                    parts = (VERSION + ".0.0.0").split(".")[:4]
                    self.assertEqual(fixed, (int(parts[1]), int(parts[0]), int(parts[3]),
                                             int(parts[2])))
                    text = info.decode("utf-16-le", errors="replace")
                    for name, want in [("ProductName", "hitblow"), ("ProductVersion", VERSION),
                                       ("FileVersion", VERSION),
                                       ("OriginalFilename", os.path.basename(exe)),
                                       ("LegalCopyright", "Copyright (c) ")]:
                        value = re.search(name + "\0+([^\0]+)", text)
                        self.assertTrue(value and value.group(1).startswith(want), name)


def msi_property(name):
    table = subprocess.run(["msiinfo", "export", MSI, "Property"], check=True,
                           stdout=subprocess.PIPE, timeout=TIMEOUT).stdout.decode()
    return dict(line.split("\t", 1) for line in table.splitlines()[3:])[name].strip()


if __name__ == "__main__":
    unittest.main(verbosity=2)
