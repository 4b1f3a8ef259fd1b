#!/usr/bin/env python3
"""The README's first command on a Unix without Debian's tools (macOS, Fedora, Arch, FreeBSD).

The command runs as the README gives it, by posh (Debian's strict POSIX shell), into a scratch
build folder, with a PATH that holds only sh (dash), CMake, make and g++ with the binutils g++
drives: no apt-get, no dpkg-query. GoogleTest and Google Benchmark are made invisible to CMake,
as on a machine without them: the plain idiom must still build the game, without its tests;
the build must install and the installed game play. With CMake missing as well, scripts/deps
must stop the command and say how to get CMake. scripts/deps itself must run under dash and
posh, with apt-get and without. The test checks this machine's scripts and compiler, not a
build's binaries, so a build for another machine skips it.
"""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import EMULATOR, SOURCE, TIMEOUT, main, run
from test_startup import builtin_texts

COMMANDS = {"sh": "dash", "dash": "dash", "posh": "posh", "cmake": "cmake", "make": "make", "g++": "g++",
            "as": "as", "ld": "ld", "ar": "ar"}
DEBIAN = ("apt-get", "dpkg-query")
INVISIBLE = "-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON"


def first_command():
    """The README's first line of shell, its build folder left to be replaced."""
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        return re.search(r"```sh\n(.*)\n", f.read()).group(1)


def english_prompt():
    with open(os.path.join(SOURCE, "messages", "en.txt"), "rb") as f:
        return f.read().split(b"\n")[21] + b"\n"


@unittest.skipIf(EMULATOR, "the scripts run on this machine, whatever the build is for")
class FirstCommandElsewhere(unittest.TestCase):
    def setUp(self):
        missing = [c for c in list(COMMANDS.values()) + list(DEBIAN) if shutil.which(c) is None]
        if missing:
            self.skipTest("not on this machine: " + " ".join(missing))
        scratch = tempfile.TemporaryDirectory(prefix="hitblow_unix_")
        self.addCleanup(scratch.cleanup)
        self.scratch = scratch.name
        self.bin = os.path.join(scratch.name, "bin")
        self.build = os.path.join(scratch.name, "game")
        os.mkdir(self.bin)
        for name, command in COMMANDS.items():
            os.symlink(shutil.which(command), os.path.join(self.bin, name))

    def shell(self, shell, line, timeout=TIMEOUT):
        return subprocess.run([os.path.join(self.bin, shell), "-c", line], cwd=SOURCE,
                              input=b"\n", stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              env={"PATH": self.bin, "HOME": self.scratch,
                                   "CMAKE_BUILD_PARALLEL_LEVEL": "2"}, timeout=timeout)

    def run_first_command(self, configure=""):
        line = first_command().replace("-B build/game", "-B build/game " + configure, 1)
        return self.shell("posh", line.replace("build/game", self.build), TIMEOUT * 5)

    def test_builds_installs_and_plays_without_the_test_libraries(self):
        done = self.run_first_command(INVISIBLE)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        # Through a pipe the game speaks the built-in Japanese, whatever the locale.
        self.assertIn(builtin_texts()[21], done.stdout)
        for part in ("tests", "bench"):
            self.assertFalse(os.path.exists(os.path.join(self.build, part)), part)
        prefix = os.path.join(self.scratch, "prefix")
        done = self.shell("sh", "cmake --install '%s' --prefix '%s'" % (self.build, prefix))
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        installed = run(["-mesg=en"], b"", cwd=self.scratch,
                        program=os.path.join(prefix, "bin", "hitblow"))
        self.assertEqual(installed.status, 0, installed.output)
        self.assertTrue(installed.output.startswith(english_prompt()), installed.output)

    def test_asked_for_and_missing_stops_naming_the_library(self):
        # A build folder each: the first one's cache holds BUILD_TESTING=ON.
        for number, (option, library) in enumerate((("BUILD_TESTING", "GoogleTest"),
                                                    ("HITBLOW_BENCH", "Google Benchmark"))):
            with self.subTest(option=option):
                done = self.shell("sh", "cmake -S . -B '%s%d' %s -D%s=ON" % (self.build, number,
                                                                            INVISIBLE, option))
                complaint = b" ".join(done.stderr.split()).decode(errors="replace")
                self.assertNotEqual(done.returncode, 0, complaint)
                self.assertIn("%s is ON but %s" % (option, library), complaint)
                self.assertIn("was not found", complaint)

    def test_without_cmake_says_how_to_get_it(self):
        os.remove(os.path.join(self.bin, "cmake"))
        done = self.run_first_command()
        complaint = done.stderr.decode(errors="replace")
        self.assertEqual(done.returncode, 1, complaint)
        self.assertIn("not found: cmake\n", complaint)
        for how in ("brew install cmake", "dnf install cmake", "pacman -S cmake"):
            self.assertIn(how, complaint)
        self.assertFalse(os.path.exists(self.build), "the build must not start")

    def test_deps_in_posix_shells_with_and_without_apt(self):
        # apt-get itself is never run: the game's packages are installed where this test runs.
        cases = ((False, "", 0, ""),
                 (False, "test", 1, "the group 'test' is installed with Debian's apt-get"),
                 (True, "", 0, ""),
                 (True, "nosuch", 2, "no group 'nosuch'"))
        for shell in ("dash", "posh"):
            for debian, group, status, complaint in cases:
                with self.subTest(shell=shell, debian=debian, group=group):
                    for command in DEBIAN:
                        link = os.path.join(self.bin, command)
                        if debian and not os.path.exists(link):
                            os.symlink(shutil.which(command), link)
                        elif not debian and os.path.exists(link):
                            os.remove(link)
                    done = self.shell(shell, shell + " scripts/deps " + group)
                    said = done.stderr.decode(errors="replace")
                    self.assertEqual(done.returncode, status, said)
                    self.assertIn(complaint, said)


if __name__ == "__main__":
    main()
