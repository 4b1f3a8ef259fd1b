#!/usr/bin/env python3
"""The installed tree: `cmake --install` into a scratch prefix, then the game run from there.

The installed game must find the installed English messages by the path a user would type, and
the manual page must be in place and format cleanly.
"""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import EXE_SUFFIX, SOURCE, TIMEOUT, main, run  # noqa: E402

BUILD = os.environ.get("HITBLOW_BUILD", os.path.join(SOURCE, "build"))
MESSAGE_FILES = ("en.txt", "ja-utf8.txt")


def cmake_command():
    """The cmake that configured the build, so that its install rules are read by the same."""
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("CMAKE_COMMAND:"):
                return line.split("=", 1)[1].strip()
    return shutil.which("cmake") or "cmake"


class Install(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="hitblow_install_")
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

    def test_installs_the_game_the_messages_and_the_manual(self):
        self.assertTrue(os.access(self.installed("bin", "hitblow" + EXE_SUFFIX), os.X_OK))
        for name in MESSAGE_FILES:
            with self.subTest(file=name):
                path = self.installed("share", "hitblow", "messages", name)
                self.assertTrue(os.path.isfile(path), path)
                self.assertTrue(filecmp.cmp(path, os.path.join(SOURCE, "messages", name),
                                            shallow=False))
        manual = self.installed("share", "man", "man6", "hitblow.6")
        # The install rule for the manual is decided when the build is configured.
        self.assertTrue(os.path.isfile(manual),
                        "%s missing; a build configured before man/hitblow.6 existed needs "
                        "cmake run again" % manual)
        self.assertTrue(filecmp.cmp(manual, os.path.join(SOURCE, "man", "hitblow.6"),
                                    shallow=False))

    def test_installed_game_speaks_english(self):
        english = self.installed("share", "hitblow", "messages", "en.txt")
        with open(english, "rb") as f:
            slots = f.read().split(b"\n")
        first_prompt, not_a_code = slots[21] + b"\n", slots[23] + b"\n"
        # An invalid guess, then end of input: the game ends as a quit, with status 0.
        result = run(["-mesg=" + english], b"abc\n", program=self.installed("bin", "hitblow" + EXE_SUFFIX))
        self.assertEqual(result.status, 0, result.output)
        self.assertTrue(result.output.startswith(first_prompt + not_a_code + first_prompt),
                        result.output)

    def test_manual_formats_without_warnings(self):
        groff = shutil.which("groff")
        if groff is None:
            self.skipTest("groff is not installed")
        manual = self.installed("share", "man", "man6", "hitblow.6")
        done = subprocess.run([groff, "-man", "-Tutf8", "-ww", "-z", manual],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT)
        self.assertEqual(done.returncode, 0, done.stdout)
        self.assertEqual(done.stdout, b"", "groff warnings")


if __name__ == "__main__":
    main()
