#!/usr/bin/env python3
"""The installed tree: `cmake --install` into a scratch prefix, then the game run from there.

The installed game must find the installed English messages by the path a user would type, and
every catalogue by its name from any folder; the manual pages must be in place, name the
installed version and message files, and format cleanly. The desktop's files are named by the
game's ID, which follows the home page a distributor configures.
"""

import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import CATALOGUES, EMULATOR, EXE_SUFFIX, SOURCE, TIMEOUT, main, run  # noqa: E402

BUILD = os.environ.get("HITBLOW_BUILD", os.path.join(SOURCE, "build"))
MESSAGE_FILES = tuple(name + ".txt" for name in CATALOGUES)
MANUALS = ("hitblow.6", "hitblow-report.6")
# A home page a distributor configures, and the ID its menu entry and AppStream data then take:
# the host reversed, without "www.", with "_" for "-" and before a leading digit.
APP_IDS = (("https://games.example.org/hitblow", "org.example.games.hitblow"),
           ("https://me@WWW.My-Games.example.net:8443/", "net.example.my_games.hitblow"),
           ("https://3d.example.com?x=1", "com.example._3d.hitblow"))


def cache_entry(name, default=None):
    """A value from the build's CMakeCache.txt."""
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    return default


def cmake_command():
    """The cmake that configured the build, so that its install rules are read by the same."""
    return cache_entry("CMAKE_COMMAND") or shutil.which("cmake") or "cmake"


def format_manual(path):
    """The manual page as a reader sees it (plain text), and what groff warned of."""
    done = subprocess.run([shutil.which("groff"), "-man", "-Tutf8", "-ww", "-P-cbou", path],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=TIMEOUT)
    return done.stdout.decode(), done.stderr.decode() + ("" if done.returncode == 0 else
                                                         "groff exit status %d" % done.returncode)


class Install(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A hyphen in the prefix, which a manual page must escape to print it as typed.
        cls.scratch = tempfile.TemporaryDirectory(prefix="in-")
        cls.prefix = cls.scratch.name
        done = subprocess.run([cmake_command(), "--install", BUILD, "--prefix", cls.prefix],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT)
        if done.returncode != 0:
            cls.scratch.cleanup()
            raise AssertionError("cmake --install failed:\n" + done.stdout.decode(errors="replace"))

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def installed(self, *parts):
        return os.path.join(self.prefix, *parts)

    def test_installs_the_programs_the_messages_and_the_manuals(self):
        for program in ("hitblow", "hitblow-report"):
            self.assertTrue(os.access(self.installed("bin", program + EXE_SUFFIX), os.X_OK),
                            program)
        for name in MESSAGE_FILES:
            with self.subTest(file=name):
                path = self.installed("share", "hitblow", "messages", name)
                self.assertTrue(os.path.isfile(path), path)
                self.assertTrue(filecmp.cmp(path, os.path.join(SOURCE, "messages", name),
                                            shallow=False))
        # Installing writes the version and the message folder into a page's `.ds` lines.
        settings = {".ds Vn": cache_entry("CMAKE_PROJECT_VERSION"),
                    ".ds Md": self.installed("share", "hitblow", "messages").replace("-", "\\-")}
        for name in MANUALS:
            with self.subTest(manual=name):
                manual = self.installed("share", "man", "man6", name)
                self.assertTrue(os.path.isfile(manual), manual)
                with open(manual, encoding="utf-8") as f:
                    installed = f.read().split("\n")
                with open(os.path.join(SOURCE, "man", name), encoding="utf-8") as f:
                    source = f.read().split("\n")
                self.assertEqual(len(installed), len(source))
                for was, now in zip(source, installed):
                    setting = settings.get(was[:len(".ds Vn")])
                    self.assertEqual(now, was if setting is None else was[:7] + setting)

    def test_installed_game_speaks_english(self):
        english = self.installed("share", "hitblow", "messages", "en.txt")
        with open(english, "rb") as f:
            slots = f.read().split(b"\n")
        first_prompt, not_a_code = slots[21] + b"\n", slots[23] + b"\n"
        # An invalid guess, then end of input: the game ends as a quit, with status 0.
        result = run(["-mesg=" + english], b"abc\n",
                     program=self.installed("bin", "hitblow" + EXE_SUFFIX))
        self.assertEqual(result.status, 0, result.output)
        self.assertTrue(result.output.startswith(first_prompt + not_a_code + first_prompt),
                        result.output)

    def test_installed_game_finds_every_catalogue_by_name(self):
        # From a folder of its own, so that only the game's own folder leads to the catalogues.
        with tempfile.TemporaryDirectory(prefix="hitblow-elsewhere-") as elsewhere:
            for name in CATALOGUES:
                with self.subTest(name=name):
                    with open(self.installed("share", "hitblow", "messages", name + ".txt"),
                              "rb") as f:
                        slots = f.read().split(b"\n")
                    result = run(["-mesg=" + name], b"abc\n", cwd=elsewhere,
                                 program=self.installed("bin", "hitblow" + EXE_SUFFIX))
                    self.assertEqual(result.status, 0, result.output)
                    self.assertTrue(result.output.startswith(b"\n".join(slots[21:24:2] + [b""])),
                                    result.output)

    def test_manual_names_the_installed_message_files(self):
        if shutil.which("groff") is None:
            self.skipTest("groff is not installed")
        text, _ = format_manual(self.installed("share", "man", "man6", "hitblow.6"))
        self.assertIn("hitblow " + cache_entry("CMAKE_PROJECT_VERSION"), text)
        lines = text.split("\n")
        for name in MESSAGE_FILES:
            path = self.installed("share", "hitblow", "messages", name)
            self.assertIn("       " + path, lines, "FILES names " + path)
        english = self.installed("share", "hitblow", "messages", "en.txt")
        self.assertTrue(any(line.endswith(" -mesg=" + english) for line in lines),
                        "EXAMPLES start the game with " + english)

    def test_manuals_format_without_warnings(self):
        if shutil.which("groff") is None:
            self.skipTest("groff is not installed")
        for name in MANUALS:
            with self.subTest(manual=name):
                _, warnings = format_manual(self.installed("share", "man", "man6", name))
                self.assertEqual(warnings, "")


    @unittest.skipIf(EMULATOR, "configures a build for this machine, whatever the build is for")
    def test_desktop_files_named_after_the_home_page(self):
        # One scratch build, configured again for each: the compiler is looked at once.
        build = tempfile.TemporaryDirectory(prefix="hitblow-id-")
        self.addCleanup(build.cleanup)
        build = build.name
        folder = os.path.join(build, "desktop")
        for homepage, app_id in APP_IDS:
            with self.subTest(homepage=homepage):
                shutil.rmtree(folder, ignore_errors=True)
                done = subprocess.run([cmake_command(), "-S", SOURCE, "-B", build,
                                       "-DHITBLOW_HOMEPAGE=" + homepage, "-DBUILD_TESTING=OFF",
                                       "-DHITBLOW_BENCH=OFF"], stdout=subprocess.PIPE,
                                      stderr=subprocess.STDOUT, timeout=TIMEOUT)
                self.assertEqual(done.returncode, 0, done.stdout.decode(errors="replace"))
                names = [app_id + ".desktop", app_id + ".metainfo.xml"]
                self.assertEqual(sorted(os.listdir(folder)), names)
                entry, metainfo = (os.path.join(folder, name) for name in names)
                with open(entry, encoding="utf-8") as f:
                    self.assertIn("\nIcon=%s\n" % app_id, f.read())
                with open(metainfo, encoding="utf-8") as f:
                    text = f.read()
                for tag in ("<id>%s</id>" % app_id, ">%s.desktop</launchable>" % app_id,
                            ">%s</url>" % homepage.rstrip("/")):
                    self.assertIn(tag, text)
                for validate in (["desktop-file-validate", entry],
                                 ["appstreamcli", "validate", "--pedantic", "--no-net", metainfo]):
                    if shutil.which(validate[0]):  # not installed by the test group
                        done = subprocess.run(validate, stdout=subprocess.PIPE,
                                              stderr=subprocess.STDOUT, timeout=TIMEOUT)
                        said = done.stdout.decode()
                        self.assertEqual((done.returncode, re.findall(
                            r"^[EWI]:.*|.*: (?:error|warning): .*", said, re.M)), (0, []), said)


if __name__ == "__main__":
    main()
