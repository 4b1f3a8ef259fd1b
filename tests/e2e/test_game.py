#!/usr/bin/env python3
"""Whole games of the real binary: turns, answers, thinking, results, summary, end of input.

Most games run the driver, which fixes the computer's first guess, with a message file of short
markers ("<24 1234>") so that a transcript can be written out and compared byte for byte.
"""

import os
import random
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (DRIVER, PAUSE, SEPARATOR, Terminal, main, marker,  # noqa: E402
                     marker_messages, markers, play, run, score, scored)

KEY = 1234  # the computer's secret in most games here


def answer_text(value):
    """Types an answer the way a player might: X, 2H, 3B or 1H2B."""
    hits, blows = divmod(value, 5)
    if value == 0:
        return b"X"
    if blows == 0:
        return b"%dH" % hits
    if hits == 0:
        return b"%dB" % blows
    return b"%dH%dB" % (hits, blows)


class WholeGames(unittest.TestCase):
    """The computer plays against a truthful user; the user keeps guessing 5678 against 1234."""

    GAMES = [
        # first guess, user's code, [(computer guess, thinking after the answer)], last guess
        (1234, 5079, [
            (1234, marker(0) + marker(1, 360) + marker(2, 567)),
            (567, marker(0) + marker(1, 88) + marker(20, 5678)),
            (5678, marker(0) + marker(1, 5) + marker(14) + marker(15, 5709)),
            (5709, marker(0) + marker(1, 1) + marker(3) + marker(4, 5079)),
        ], 5079),
        (123, 9876, [
            (123, marker(0) + marker(1, 360) + marker(2, 4567)),
            (4567, marker(0) + marker(1, 84) + marker(20, 9875)),
            (9875, marker(0) + marker(1, 3) + marker(8) + marker(9, 9876, 9845, 9874)
             + marker(10, 9876)),
        ], 9876),
        (1234, 4321, [
            (1234, marker(0) + marker(1, 9) + marker(2, 2140)),
            (2140, marker(0) + marker(1, 4) + marker(11) + marker(12, 4321, 4312, 3412, 3421)
             + marker(13, 312)),
            (312, marker(0) + marker(1, 1) + marker(3) + marker(4, 4321)),
        ], 4321),
        (1234, 1243, [
            (1234, marker(0) + marker(1, 6) + marker(2, 1320)),
            (1320, marker(0) + marker(1, 2) + marker(5) + marker(6, 1243, 1432) + marker(7, 1243)),
        ], 1243),
    ]

    def test_listed_games_byte_for_byte(self):
        user_guess = 5678
        for first, code, turns, last in self.GAMES:
            with self.subTest(first=first, code=code):
                typed = b""
                want = b""
                rows = b""
                for t, (guess, thinking) in enumerate(turns + [(last, None)]):
                    value = score(guess, code)
                    user_score = score(user_guess, KEY)
                    typed += b"%d\n" % user_guess + answer_text(value) + b"\n"
                    want += marker(21 if t == 0 else 22) + scored(user_guess, user_score)
                    want += marker(31) + marker(24, guess)
                    rows += scored(user_guess, user_score) + scored(guess, value) + b"\n"
                    if thinking is None:
                        want += marker(29, KEY)
                    else:
                        want += b" " * 12 + scored(guess, value) + marker(30) + thinking
                want += SEPARATOR + rows + PAUSE
                result = play("%04d" % first, [markers(), "-key=%d" % KEY], typed)
                self.assertEqual(result.output, want)
                self.assertEqual(result.status, 0)

    def test_quiet_silences_the_thinking_only(self):
        first, code, turns, last = self.GAMES[0]
        typed = b"".join(b"5678\n" + answer_text(score(g, code)) + b"\n" for g, _ in turns)
        typed += b"5678\n4H\n"
        loud = play("1234", [markers(), "-key=1234"], typed).output
        quiet = play("1234", [markers(), "-key=1234", "-quiet"], typed).output
        shown_slots = {int(n) for n in re.findall(rb"<(\d+)[ >]", quiet)}
        self.assertEqual({n for n in shown_slots if n < 21}, set(), quiet)
        stripped = loud
        for _, thinking in turns:
            stripped = stripped.replace(thinking, b"", 1)
        self.assertEqual(quiet, stripped)


def one_turn(answer, deck="1234", key="9876"):
    """Guess 5678, then type `answer` to the computer's first guess; input then ends."""
    return play(deck, [markers(), "-key=" + key], b"5678\n" + answer + b"\n")


class Answers(unittest.TestCase):
    def echo(self, value):
        return b" " * 12 + scored(1234, value) + marker(30)

    def test_readable_answers(self):
        # The syntax row by row is the unit tests' (game_test.cpp); here what the game makes of
        # an answer: its echo, with no reminder.
        rows = [(b"1H1B", 6), (b"1 2", 7), (b"x", 0), (b"2H", 10), (b"2B", 2)]
        for typed, value in rows:
            with self.subTest(answer=typed):
                output = one_turn(typed).output
                self.assertIn(marker(24, 1234) + self.echo(value), output)
                self.assertNotIn(marker(25), output)

    def test_answers_worth_four_hits_end_the_game(self):
        for typed in [b"4H", b"0H20B"]:
            with self.subTest(answer=typed):
                output = one_turn(typed).output
                self.assertIn(marker(24, 1234) + marker(29, 9876) + SEPARATOR, output)
                self.assertIn(b"\n" + scored(5678, score(5678, 9876)) + scored(1234, 20) + b"\n",
                              output)

    def test_unreadable_answers_ask_again(self):
        for typed in [b"12B", b"", b"\x00X"]:
            with self.subTest(answer=typed):
                result = play("1234", [markers(), "-key=9876"], b"5678\n" + typed + b"\nX\n")
                self.assertIn(marker(24, 1234) + marker(25) + marker(26) + self.echo(0),
                              result.output)

    def test_negative_answers_are_dropped_silently(self):
        # -2147483648 hits wrap to -2147483648 again: still negative.
        for typed in [b"-1H0B", b"-2147483648 0"]:
            with self.subTest(answer=typed):
                result = play("1234", [markers(), "-key=9876"], b"5678\n" + typed + b"\nX\n")
                self.assertIn(marker(24, 1234) + self.echo(0), result.output)


class Turns(unittest.TestCase):
    def test_invalid_guesses_cost_no_turn(self):
        typed = b"1123\n12345\nabc\n\nH\n123\nX\n"
        result = play("5678", [markers(), "-key=9876"], typed)
        want = (marker(21) + marker(23)) * 5 + marker(21) + scored(123, score(123, 9876))
        self.assertTrue(result.output.startswith(want + marker(31)), result.output[:200])

    def test_history_before_and_after_the_first_guess(self):
        typed = b"?\nhistory\n1234\nX\nh\n?x\n"
        result = play("5678", [markers(), "-key=9876"], typed)
        row = scored(1234, score(1234, 9876)) + scored(5678, 0) + b"\n"
        self.assertTrue(result.output.startswith(marker(21) * 3 + scored(1234, 0)))
        self.assertIn(marker(22) + row + marker(22) + row + marker(22) + b"\n" + SEPARATOR
                      + row + PAUSE, result.output)

    def test_draw(self):
        result = play("5678", [markers(), "-key=1234"], b"1234\n4H\n")
        self.assertEqual(result.output, marker(21) + scored(1234, 20) + marker(31)
                         + marker(24, 5678) + marker(27) + SEPARATOR
                         + scored(1234, 20) + scored(5678, 20) + b"\n" + PAUSE)
        self.assertEqual(result.status, 0)

    def test_user_wins_and_the_thinking_is_skipped(self):
        result = play("5678", [markers(), "-key=1234"], b"9876\n1H\n1234\n1H1B\n")
        self.assertTrue(result.output.endswith(
            marker(24, 5012) + marker(28) + SEPARATOR + scored(9876, 0) + scored(5678, 5)
            + b"\n" + scored(1234, 20) + scored(5012, 6) + b"\n" + PAUSE), result.output)
        self.assertEqual(result.output.count(marker(0)), 1)

    def test_summary_lists_three_rows_after_a_third_turn_result(self):
        first, code = 1234, 1243
        typed = b"5678\n2H2B\n9876\n1H2B\n3456\n4H\n"
        result = play("1234", [markers(), "-key=1235"], typed)
        summary = result.output.split(SEPARATOR)[1]
        self.assertEqual(summary, scored(5678, score(5678, 1235)) + scored(1234, 12) + b"\n"
                         + scored(9876, score(9876, 1235)) + scored(1320, 7) + b"\n"
                         + scored(3456, score(3456, 1235)) + scored(1243, 20) + b"\n" + PAUSE)


class EndOfInput(unittest.TestCase):
    """Wherever input ends, the game ends at once with status 0 and its pause prompt."""

    def test_at_every_read(self):
        contradiction = b"5678\nX\n5678\nX\n"  # 1234 and 0567 both X: no code is left
        rows = [
            ("first prompt", b"", marker(21) + b"\n" + SEPARATOR + PAUSE),
            ("answer", b"5678\n", marker(24, 1234) + b"\n" + SEPARATOR + PAUSE),
            ("later prompt", b"5678\nX\n", marker(22) + b"\n" + SEPARATOR
             + scored(5678, score(5678, 9876)) + scored(1234, 0) + b"\n" + PAUSE),
            ("unreadable answer", b"5678\nzzz\n", marker(26) + b"\n" + SEPARATOR + PAUSE),
            ("dialog question", contradiction, marker(34) + marker(41) + PAUSE),
            ("first code request", contradiction + b"y\n", marker(35) + PAUSE),
            ("second code request", contradiction + b"Y\n1123\n", marker(36) + PAUSE),
            ("pause after a game", b"1234\n4H\n", PAUSE),
            ("input ended by 0x1A", b"5678\n\x1a4H\n", marker(24, 1234) + b"\n" + SEPARATOR + PAUSE),
        ]
        for where, typed, ending in rows:
            with self.subTest(where=where):
                result = play("1234", [markers(), "-key=9876" if where != "pause after a game"
                                       else "-key=1234"], typed, timeout=10)
                self.assertTrue(result.output.endswith(ending), result.output[-300:])
                self.assertEqual(result.status, 0)


class Contradiction(unittest.TestCase):
    TYPED = b"5678\nX\n5678\nX\n"
    OPENING = (marker(0) + marker(32) + scored(1234, 0) + b"\n" + scored(567, 0) + b"\n"
               + marker(33) + marker(34))

    def test_insisting_user_is_shown_the_wrong_row(self):
        result = play("1234", [markers(), "-key=9876"], self.TYPED + b"y\n5079\n\n")
        self.assertTrue(result.output.endswith(
            self.OPENING + marker(35) + scored(1234, 0) + marker(39) + scored(567, 0)
            + marker(37) + scored(567, 3) + marker(38) + marker(40) + PAUSE), result.output[-400:])
        self.assertEqual(result.status, 0)

    def test_user_who_does_not_insist_loses(self):
        for reply in [b"N", b"", b"yes"[1:], b" y"]:
            with self.subTest(reply=reply):
                result = play("1234", [markers(), "-key=9876"], self.TYPED + reply + b"\n\n")
                self.assertTrue(result.output.endswith(self.OPENING + marker(41) + PAUSE))
                self.assertEqual(result.status, 0)


class OnATerminal(unittest.TestCase):
    def test_prompts_without_line_feed_are_shown_before_the_game_waits(self):
        # A file whose last line, slot 21, has no line feed: the prompt must still show.
        path = os.path.join(os.path.dirname(marker_messages()), "hitblow_prompt.txt")
        with open(path, "wb") as f:
            f.write(b"".join(b"%d\n" % n for n in range(21)) + b"Your guess? ")
        terminal = Terminal(["1234", "-mesg=" + path, "-key=9876"], program=DRIVER)
        terminal.expect(b"Your guess? ")
        terminal.type(b"5678")
        terminal.expect(b"1234\n")  # slot 24 of the built-in table ends with the guess
        terminal.type(b"X")
        terminal.expect("そっちは？\n".encode("cp932"))  # later prompts are slot 22
        terminal.type(b"5678")
        terminal.type(b"X")
        # Built-in slot 34 ends without a line feed; it must be visible before the reply.
        terminal.expect(b"(Y/N)")
        terminal.type(b"n")
        terminal.expect(PAUSE)
        terminal.type(b"")
        self.assertEqual(terminal.wait(), 0)

    def test_truthful_player_is_always_beaten_in_few_guesses(self):
        seed = int(os.environ.get("HITBLOW_SEED", random.randrange(1 << 30)))
        print("seed", seed)
        rng = random.Random(seed)
        codes = [c for c in range(10000) if len(set("%04d" % c)) == 4]
        worst = 0
        for _ in range(8):
            code = rng.choice(codes)
            terminal = Terminal([markers(), "-key=1234"])
            guesses = 0
            while True:
                terminal.expect(marker(21) if guesses == 0 else marker(22))
                terminal.type(b"5678")
                terminal.expect(b"<24 ", timeout=30)
                guess = int(terminal.expect(b">\n")[:-2])
                guesses += 1
                terminal.type(answer_text(score(guess, code)))
                if guess == code:
                    break
            terminal.expect(marker(29, 1234))
            terminal.expect(PAUSE)
            terminal.type(b"")
            self.assertEqual(terminal.wait(), 0)
            self.assertLessEqual(guesses, 9, "code %04d (seed %d)" % (code, seed))
            worst = max(worst, guesses)
        print("worst number of computer guesses:", worst)


if __name__ == "__main__":
    main()
