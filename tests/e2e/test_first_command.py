#!/usr/bin/env python3
"""The README's first command on a Unix without Debian's tools (macOS, Fedora, Arch, FreeBSD).

The command runs as the README gives it, into a scratch build folder, with a PATH that holds
only bash, CMake, make and g++ with the binutils g++ drives: no apt-get, no dpkg-query. It must
build the game and start it. With CMake missing as well, scripts/deps must stop the command and
say how to get CMake. The test checks this machine's scripts and compiler, not a build's
binaries, so a build for another machine skips it.
"""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import EMULATOR, SOURCE, TIMEOUT, main

COMMANDS = ("bash", "cmake", "make", "g++", "as", "ld", "ar")


def first_command():
    """The README's first line of shell, its build folder left to be replaced."""
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        return re.search(r"```sh\n(.*)\n", f.read()).group(1)


@unittest.skipIf(EMULATOR, "the scripts run on this machine, whatever the build is for")
class FirstCommandElsewhere(unittest.TestCase):
    def setUp(self):
        missing = [c for c in COMMANDS if shutil.which(c) is None]
        if missing:
            self.skipTest("not on this machine: " + " ".join(missing))
        scratch = tempfile.TemporaryDirectory(prefix="hitblow_unix_")
        self.addCleanup(scratch.cleanup)
        self.bin = os.path.join(scratch.name, "bin")
        self.build = os.path.join(scratch.name, "game")
        os.mkdir(self.bin)
        for command in COMMANDS:
            os.symlink(shutil.which(command), os.path.join(self.bin, command))

    def run_first_command(self):
        line = first_command().replace("build/game", self.build)
        return subprocess.run([os.path.join(self.bin, "bash"), "-c", line], cwd=SOURCE,
                              input=b"\n", stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              env={"PATH": self.bin, "HOME": self.build}, timeout=TIMEOUT * 5)

    def test_builds_and_starts_the_game(self):
        done = self.run_first_command()
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        with open(os.path.join(SOURCE, "messages", "en.txt"), "rb") as f:
            first_prompt = f.read().split(b"\n")[21] + b"\n"
        self.assertIn(first_prompt, done.stdout)

    def test_without_cmake_says_how_to_get_it(self):
        os.remove(os.path.join(self.bin, "cmake"))
        done = self.run_first_command()
        complaint = done.stderr.decode(errors="replace")
        self.assertEqual(done.returncode, 1, complaint)
        self.assertIn("not found: cmake\n", complaint)
        for how in ("brew install cmake", "dnf install cmake", "pacman -S cmake"):
            self.assertIn(how, complaint)
        self.assertFalse(os.path.exists(self.build), "the build must not start")


if __name__ == "__main__":
    main()
