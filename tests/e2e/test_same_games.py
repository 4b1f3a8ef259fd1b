#!/usr/bin/env python3
"""The same computer everywhere: a build for another machine, or with another long double, must
play byte-identical games to the native x86-64 build.

HITBLOW_REFERENCE names a native build tree. Its programs and this build's (through the
emulator) print every game of the computer's strategy for a few first guesses, and play the same
scripted whole games with each message file; the outputs must agree byte for byte. Without a
reference there is nothing to compare with, and the tests are skipped. HITBLOW_SEED replays the
random choices.
"""

import os
import random
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (DRIVER, EXE_SUFFIX, SOURCE, main, marker_messages, run,  # noqa: E402
                     score)

REFERENCE = os.environ.get("HITBLOW_REFERENCE", "")
BUILD = os.environ.get("HITBLOW_BUILD", "")
GAME_TREE = os.environ.get("HITBLOW_GAME_TREE", "")
CODES = [c for c in range(10000) if len(set("%04d" % c)) == 4]
MESSAGES = [[], ["-mesg=" + marker_messages()],
            ["-mesg=" + os.path.join(SOURCE, "messages", "en.txt")],
            ["-mesg=" + os.path.join(SOURCE, "messages", "ja-utf8.txt")]]


def reference(*parts):
    return os.path.join(REFERENCE, *parts)


def first_difference(foreign, native):
    """The first line where the outputs part, for a readable failure."""
    for number, (a, b) in enumerate(zip(foreign.split(b"\n"), native.split(b"\n")), 1):
        if a != b:
            return "line %d: %r here, %r natively" % (number, a, b)
    return "lengths %d here, %d natively" % (len(foreign), len(native))


def answer_text(rng, value):
    """A score as a player might type it."""
    hits, blows = divmod(value, 5)
    return rng.choice([b"%dH%dB" % (hits, blows), b"%dh%db" % (hits, blows), b"%d %d" % (hits, blows),
                       b"X" if value == 0 else b"%dH%dB" % (hits, blows)])


@unittest.skipUnless(REFERENCE, "no native build to compare with (HITBLOW_REFERENCE)")
class SameGames(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.seed = int(os.environ.get("HITBLOW_SEED", random.randrange(1 << 30)))
        print("seed", cls.seed)
        rng = random.Random(cls.seed)
        cls.firsts = [123, 9876] + rng.sample(CODES, 2)
        cls.trees = {}
        for first in cls.firsts:
            tree = run(["%04d" % first], program=reference("tests", "hitblow_game_tree"),
                       native=True)
            assert tree.status == 0, tree.output
            cls.trees[first] = tree.output

    def assert_same(self, foreign, native, what):
        self.assertEqual(foreign.status, native.status, what)
        self.assertTrue(foreign.output == native.output,
                        "%s (seed %d): %s" % (what, self.seed, first_difference(foreign.output,
                                                                                native.output)))

    def test_every_game_of_the_strategy(self):
        if not GAME_TREE:
            self.skipTest("this build has no game tree program")
        for first in self.firsts:
            with self.subTest(first=first):
                foreign = run(["%04d" % first], program=GAME_TREE, timeout=600)
                self.assertEqual(foreign.status, 0)
                self.assertEqual(foreign.output.count(b"\n"), 5041)
                self.assertTrue(foreign.output == self.trees[first],
                                "first guess %04d: %s" % (first, first_difference(
                                    foreign.output, self.trees[first])))

    def test_the_report(self):
        # hitblow-report runs the same walk on worker threads; its last line is a time.
        program = os.path.join(BUILD, "tools", "hitblow-report" + EXE_SUFFIX)
        if not os.path.exists(program):
            self.skipTest("this build has no hitblow-report")
        foreign = run(["1234"], program=program, timeout=600)
        native = run(["1234"], program=reference("tools", "hitblow-report"), native=True)
        self.assertEqual(foreign.status, 0, foreign.output)
        cut = foreign.output.rindex(b"histories thought through")
        self.assertEqual(foreign.output[:cut], native.output[:native.output.rindex(b"histories")])

    def test_scripted_whole_games(self):
        # Games of the driver against a user who answers truthfully (the computer's guesses
        # come from the native game listing), now and then lies, asks for the history or types
        # a bad guess; through every message table, some quiet.
        rng = random.Random(self.seed)
        for game in range(64):
            first = self.firsts[game % len(self.firsts)]
            games = [[int(g) for g in line.split(b":")[1].split()]
                     for line in self.trees[first].split(b"\n")[:len(CODES)]]
            # Every other game one of the longest, where the computer weighs the most guesses.
            longest = [c for c, g in zip(CODES, games) if len(g) >= 7]
            code = rng.choice(longest if game % 2 else CODES)
            guesses = games[CODES.index(code)]
            typed = b""
            for guess in guesses:
                if rng.random() < 0.1:
                    typed += rng.choice([b"?\n", b"1123\n", b"h\n"])
                typed += b"%04d\n" % rng.choice(CODES)
                value = score(guess, code)
                if rng.random() < 0.05:
                    value = rng.choice([0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15])
                typed += answer_text(rng, value) + b"\n"
            typed += b"y\n%04d\n\n" % code  # the contradiction dialog, if a lie opened it
            args = ["%04d" % first, "-key=%04d" % rng.choice(CODES)] + rng.choice(MESSAGES)
            if rng.random() < 0.2:
                args.append("-quiet")
            foreign = run(args, typed, program=DRIVER)
            native = run(args, typed, program=reference("tests", "hitblow_driver"), native=True)
            self.assert_same(foreign, native, "game %d: %r, input %r" % (game, args, typed))


if __name__ == "__main__":
    main()
