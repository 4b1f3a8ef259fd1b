#!/usr/bin/env python3
"""Command line and start-up of the real binary: usage, message files, -sjis, -quiet, -key=."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (GAME, PAUSE, SOURCE, marker, marker_messages, program_name, run,  # noqa: E402
                     main)

USAGE = (b"Usage: %s [options]\n"
         b"       -key=%%04d        preset answer (for debug)\n"
         b"       -mesg=(filename) message resource file\n"
         b"       -quiet           suppress thought messages\n"
         b"       -sjis            convert \\ into \\\\ in message\n"
         b"       -help            This help.\n")


def builtin_texts():
    """The 42 built-in texts as Shift-JIS bytes, from the readable UTF-8 copy in messages/."""
    with open(os.path.join(SOURCE, "messages", "ja-utf8.txt"), encoding="utf-8") as f:
        lines = f.read().split("\n")[:42]
    texts = [line.encode("cp932") + b"\n" for line in lines]
    for slot in (34, 35, 36):  # these end without a line feed in the game itself
        texts[slot] = texts[slot][:-1]
    return texts


class Usage(unittest.TestCase):
    def test_unknown_options_print_usage_and_exit_255(self):
        for option in ["-help", "-x"]:  # the table of refused options is game_test.cpp's
            with self.subTest(option=option):
                result = run([option])
                self.assertEqual(result.output, USAGE % program_name(GAME).encode() + PAUSE)
                self.assertEqual(result.status, 255)

    def test_usage_waits_for_return_on_a_terminal_too(self):
        from harness import Terminal
        terminal = Terminal(["-help"])
        terminal.expect(PAUSE)
        terminal.type(b"")
        self.assertEqual(terminal.wait(), 255)

    def test_arguments_without_dash_are_ignored(self):
        result = run(["hello", "world"], b"")
        self.assertEqual(result.status, 0)
        self.assertNotIn(b"Usage", result.output)


class OptionTable(unittest.TestCase):
    def test_each_row_applies_to_every_argument_it_begins(self):
        # -key= and -mesg= take the rest as their value; -sjis and -quiet ignore it.
        hello = os.path.join(os.path.dirname(marker_messages()), "hitblow_hello.txt")
        with open(hello, "wb") as f:
            f.write(b"hello\n")
        rows = [
            # (argument, shown, not shown) in one turn against -key=5678, answered X
            ("-key=1234th", marker(28), b"1234 X "),
            ("-mesg=" + hello, b"hello\n", marker(0)),
            ("-sjisfoo", b"<0>\n\n<1 %d>\n\n", b"Usage"),
            ("-quietly", marker(24)[:4], marker(0)),
        ]
        for argument, shown, hidden in rows:
            with self.subTest(argument=argument):
                result = run(["-mesg=" + marker_messages(), "-key=5678", argument], b"1234\nX\n")
                self.assertIn(shown, result.output)
                self.assertNotIn(hidden, result.output)
                self.assertEqual(result.status, 0)
        os.unlink(hello)


class MessageFiles(unittest.TestCase):
    def test_missing_file_ends_before_a_later_bad_option(self):
        result = run(["-mesg=/nonexistent/m.txt", "-help"])
        self.assertEqual(result.output, b'Cannot open message file "/nonexistent/m.txt"\n' + PAUSE)
        self.assertEqual(result.status, 255)

    def test_bad_option_before_a_file_ends_first(self):
        result = run(["-help", "-mesg=/nonexistent/m.txt"])
        self.assertTrue(result.output.startswith(b"Usage: "))
        self.assertEqual(result.status, 255)

    def test_hello_replaces_slot_zero_only(self):
        with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
            f.write(b"hello\n")
        result = run(["-mesg=" + f.name, "-sjis"])
        texts = builtin_texts()
        echo = b"hello\n\n" + b"".join(t + b"\n" for t in texts[1:])
        self.assertTrue(result.output.startswith(echo), result.output[:200])
        os.unlink(f.name)


class DoublingEcho(unittest.TestCase):
    def test_sjis_echoes_the_builtin_texts_in_slot_order(self):
        result = run(["-sjis"], b"")
        echo = b"".join(t + b"\n" for t in builtin_texts())
        self.assertTrue(result.output.startswith(echo), result.output[:300])
        # Then the game starts: its first prompt follows the echo.
        self.assertEqual(result.output[len(echo):len(echo) + len(builtin_texts()[21])],
                         builtin_texts()[21])
        self.assertEqual(result.status, 0)

    def test_quiet_with_sjis_echoes_every_text_in_full(self):
        result = run(["-quiet", "-sjis"], b"")
        echo = b"".join(t + b"\n" for t in builtin_texts())
        self.assertTrue(result.output.startswith(echo))

    def test_sjis_doubles_backslashes_of_a_message_file(self):
        with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
            f.write(b"C:\\games\\\n")
        result = run(["-mesg=" + f.name, "-sjis"], b"")
        self.assertTrue(result.output.startswith(b"C:\\\\games\\\\\n\n"), result.output[:50])
        os.unlink(f.name)


class Key(unittest.TestCase):
    def outcome(self, key, guess):
        """Plays one turn with the given -key= text, guessing `guess`; returns the output."""
        result = run(["-mesg=" + marker_messages(), key], guess + b"\nX\n")
        self.assertEqual(result.status, 0)
        return result.output

    def test_key_values(self):
        rows = [
            # (option, guess, expected score text, user wins)
            ("-key=1234", b"1234", b"1234 4H ", True),
            ("-key=0123", b"123", b"0123 4H ", True),
            # wraps to 1215752191: both of its units and hundreds 1s pair with the guess's 1
            ("-key=99999999999", b"1234", b"1234 2B ", False),
            ("-key=1111", b"1234", b"1234 1H3B ", False),  # every 1 pairs with the guess's 1
            ("-key=12345", b"2345", b"2345 3H ", False),
        ]
        for option, guess, scored, wins in rows:
            with self.subTest(option=option):
                output = self.outcome(option, guess)
                self.assertIn(b"\n" + scored + marker(31), b"\n" + output)
                self.assertEqual(marker(28) in output, wins)

    def test_computer_win_reveals_the_preset_key(self):
        for option, shown in [("-key=12345", b"12345"), ("-key=", b"0000"),
                              ("-key=99999999999", b"1215752191")]:
            with self.subTest(option=option):
                output = run(["-mesg=" + marker_messages(), option], b"5678\n4H\n").output
                self.assertIn(b"<29 " + shown + b">\n", output)

    def test_later_key_overrides_and_minus_one_draws(self):
        output = self.outcome("-key=5678", b"1234")
        output2 = run(["-mesg=" + marker_messages(), "-key=5678", "-key=1234"], b"1234\nX\n").output
        self.assertIn(marker(28), output2)
        self.assertNotIn(marker(28), output)
        drawn = run(["-mesg=" + marker_messages(), "-key=1234", "-key=-1"], b"1234\n4H\n").output
        # -1 draws a secret; it may be 1234 only by chance (1 in 5040), so check the shape.
        self.assertRegex(drawn, rb"<29 \d{4}>\n")


if __name__ == "__main__":
    main()
