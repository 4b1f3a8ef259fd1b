#!/usr/bin/env python3
"""The Windows installer of dist/, installed under wine, played and removed."""

import getpass
import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import unittest

from test_packages import DIST, TIMEOUT, VERSION, WINDOWS_FILES, quick_win
from harness import SOURCE, main

MSI = os.path.join(DIST, "hitblow-%s-win64.msi" % VERSION)
FOLDER = r"C:\Program Files\hitblow"
PREFIX = os.path.abspath(os.path.join(SOURCE, "build", "wine-msi"))


def wine(*args):
    done = subprocess.run(["wine"] + list(args), stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=TIMEOUT)
    subprocess.run(["wineserver", "--wait"], timeout=TIMEOUT)  # its registry is saved
    return done.returncode, done.stdout.decode(errors="replace")


def prefix_files():
    return {os.path.join(top, n) for top, dirs, files in os.walk(PREFIX) for n in dirs + files}


def msi_property(name):
    table = subprocess.run(["msiinfo", "export", MSI, "Property"], check=True,
                           stdout=subprocess.PIPE, timeout=TIMEOUT).stdout.decode()
    return re.search(r"^%s\t(.*?)\r?$" % name, table, re.M).group(1)


class WindowsInstaller(unittest.TestCase):
    @classmethod
    def setUpClass(cls):  # no menu entries on this machine's desktop (winemenubuilder)
        shutil.rmtree(PREFIX, ignore_errors=True)
        os.makedirs(PREFIX)
        os.environ.update(WINEDEBUG="-all", WINEPREFIX=PREFIX, TMPDIR=PREFIX,
                          WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
        wine("wineboot", "--init")

    def test_install_play_and_remove(self):
        before = prefix_files()
        self.assertEqual(wine("msiexec", "/i", MSI, "/qn")[0], 0)
        folder = os.path.join(PREFIX, "drive_c", "Program Files", "hitblow")
        installed = [p[len(folder) + 1:] + "/" * os.path.isdir(p) for p in prefix_files()
                     if p.startswith(folder + "/")]
        self.assertEqual(sorted(installed), sorted(WINDOWS_FILES))
        with tempfile.TemporaryDirectory(prefix="hitblow_elsewhere_") as elsewhere:
            output, wanted, status = quick_win(["wine", FOLDER + r"\hitblow.exe"],
                                               folder + "/messages/en.txt", "en", elsewhere)
        self.assertEqual((output, status), (wanted, 0))

        # The Start menu's shortcut starts the game in the player's documents.
        shortcut, = (p for p in prefix_files() - before if p.endswith("Menu/Programs/hitblow.lnk"))
        link = pathlib.Path(shortcut).read_bytes()
        self.assertTrue(FOLDER.encode() + b"\\hitblow.exe\0" in link, "target")
        documents = r"C:\users\%s\Documents" % getpass.getuser()
        self.assertTrue(documents.encode("utf-16-le") in link, "working folder")
        _, entry = wine("reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion"
                        r"\Uninstall\%s" % msi_property("ProductCode"))  # Apps and features
        self.assertRegex(entry, r"DisplayVersion\s+REG_SZ\s+%s\r?\n" % re.escape(VERSION))

        self.assertEqual(wine("msiexec", "/x", MSI, "/qn")[0], 0)
        # Only Windows Installer's own folder stays, made by the first installation.
        left = prefix_files() - before - {os.path.join(PREFIX, "drive_c", "windows", "Installer")}
        self.assertEqual(sorted(left), [])
        for name in ("system.reg", "user.reg"):
            self.assertNotIn(b"hitblow", pathlib.Path(PREFIX, name).read_bytes().lower(), name)

    def test_upgrade_code_icon_and_version(self):
        # Windows replaces an installed version by a newer one only when their codes are equal.
        self.assertEqual(msi_property("UpgradeCode"), "{9BB3A339-961F-4618-88AA-FC03119A2099}")
        with tempfile.TemporaryDirectory(prefix="hitblow_msi_") as scratch:
            subprocess.run(["msiextract", "-C", scratch, MSI], check=True,
                           stdout=subprocess.DEVNULL, timeout=TIMEOUT)
            for exe in ("hitblow.exe", "hitblow-report.exe"):
                path = os.path.join(scratch, "hitblow", exe)  # its icon's directory, its version:
                group, info = (subprocess.run(["wrestool", "-x", "--raw", "-t" + kind, path],
                                              check=True, stdout=subprocess.PIPE).stdout
                               for kind in ("14", "16"))
                sizes = {group[i] or 256 for i in range(6, len(group), 14)}
                self.assertEqual(sizes, {16, 32, 48, 64, 128, 256}, exe)
                self.assertRegex(info.decode("utf-16-le", errors="replace"),
                                 "ProductVersion\0+%s\0" % re.escape(VERSION))


if __name__ == "__main__":
    main()
