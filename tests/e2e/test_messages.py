#!/usr/bin/env python3
"""The message files shipped in messages/, checked against the game that loads them.

messages/ja-utf8.txt is the built-in Japanese table in UTF-8, one slot a line. Its source of
truth is the built-in table itself, which the game echoes as Shift-JIS bytes under -sjis; this
test decodes that echo and compares it slot by slot, so the two can't drift apart. Every file
must also load into all 42 slots, and use in each slot exactly the conversions of the built-in
text, so that no number the game passes goes missing.

Environment (set by CTest): HITBLOW, the game binary; HITBLOW_SOURCE, the repository root.
"""

import os
import re
import subprocess
import sys
import unittest

SLOT_COUNT = 42
# A slot holds 254 bytes; a longer file line, its line feed included, spills into the next slot.
SLOT_TEXT_BYTES = 254
# The built-in texts of these slots end without a line feed: the answer follows on the same
# line. A file line always ends with one, so the file's copy of them gains it.
NO_LINE_FEED_SLOTS = (34, 35, 36)
MESSAGE_FILES = ("en.txt", "ja-utf8.txt")

# What the loader accepts: "%%", or flags, a width and a precision of up to three digits, and
# an integer conversion.
DIRECTIVE = re.compile(r"%(?:%|[-+ #0]*[0-9]{0,3}(?:\.[0-9]{0,3})?[diouxXc])")


def game_binary():
    return os.environ["HITBLOW"]


def source_path(*parts):
    return os.path.join(os.environ["HITBLOW_SOURCE"], *parts)


def run_game(*arguments, stdin=b""):
    """Runs the game with `stdin` as all of its input; returns (exit status, output bytes)."""
    done = subprocess.run(
        [game_binary(), *arguments],
        input=stdin,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        timeout=60,
        check=False,
    )
    return done.returncode, done.stdout


def file_lines(name):
    """The file's lines as bytes, each without its line feed."""
    with open(source_path("messages", name), "rb") as f:
        data = f.read()
    return data.split(b"\n")[:-1] if data.endswith(b"\n") else data.split(b"\n")


def builtin_texts():
    """The 42 built-in texts as the game holds them, decoded from Shift-JIS.

    -sjis echoes every slot followed by one more line feed before play; the file ja-utf8.txt
    tells where each text ends, and every text must then be followed by the echo's line feed.
    Returns the texts that the echo confirms, slot by slot, up to the first that differs, and
    the rest of the decoded echo from there.
    """
    status, output = run_game("-sjis", stdin=b"")
    if status != 0:
        raise AssertionError("hitblow -sjis exited with %d:\n%r" % (status, output))
    # What follows the echo (the game itself) need not decode; a bad byte inside the echo
    # becomes U+FFFD and so fails the comparison below.
    echo = output.decode("cp932", errors="replace")
    texts = []
    position = 0
    for slot, line in enumerate(file_lines("ja-utf8.txt")):
        text = line.decode("utf-8")
        if slot not in NO_LINE_FEED_SLOTS:
            text += "\n"
        if not echo.startswith(text + "\n", position):
            break
        texts.append(text)
        position += len(text) + 1
    return texts, echo[position:]


def conversions(text):
    """The conversions of a slot text, in order, without the literal "%%"."""
    return [d for d in DIRECTIVE.findall(text) if d != "%%"]


class JapaneseFile(unittest.TestCase):
    def test_every_line_is_the_builtin_text_in_utf8(self):
        texts, rest = builtin_texts()
        lines = file_lines("ja-utf8.txt")
        self.assertEqual(len(lines), SLOT_COUNT, "ja-utf8.txt must have one line per slot")
        if len(texts) < SLOT_COUNT:
            slot = len(texts)
            self.fail(
                "slot %d: ja-utf8.txt has %r but the built-in table continues with %r"
                % (slot, lines[slot].decode("utf-8"), rest[:80])
            )

    def test_is_utf8_without_carriage_returns(self):
        for slot, line in enumerate(file_lines("ja-utf8.txt")):
            with self.subTest(slot=slot):
                line.decode("utf-8")  # raises on anything else
                self.assertNotIn(b"\r", line)


class EnglishFile(unittest.TestCase):
    """The English file must say the same things: same numbers, same line structure."""

    @classmethod
    def setUpClass(cls):
        cls.builtin, _ = builtin_texts()
        cls.lines = [line.decode("ascii", errors="replace") for line in file_lines("en.txt")]

    def test_is_plain_ascii(self):
        # Plain ASCII prints the same in every console encoding; the game converts nothing.
        for slot, line in enumerate(file_lines("en.txt")):
            with self.subTest(slot=slot):
                self.assertTrue(line.isascii(), line)
                self.assertNotIn(b"\r", line)

    def test_has_one_line_per_slot(self):
        self.assertEqual(len(self.builtin), SLOT_COUNT, "the built-in table did not echo whole")
        self.assertEqual(len(self.lines), SLOT_COUNT)

    def test_uses_the_conversions_of_each_builtin_slot(self):
        for slot, (builtin, line) in enumerate(zip(self.builtin, self.lines)):
            with self.subTest(slot=slot, line=line):
                self.assertEqual(conversions(line), conversions(builtin))
                # Any other '%' would make the loader refuse the file, or print wrongly.
                self.assertNotIn("%", DIRECTIVE.sub("", line))

    def test_keeps_the_indent_and_the_empty_slots(self):
        for slot, (builtin, line) in enumerate(zip(self.builtin, self.lines)):
            with self.subTest(slot=slot, line=line):
                # The thinking comments are indented by three blanks under their heading.
                self.assertEqual(line.startswith("   "), builtin.startswith("   "))
                # Slots that are a bare line end stay one: they close a row of scores.
                self.assertEqual(line == "", builtin == "\n")


class EveryFileLoads(unittest.TestCase):
    def test_fills_all_slots_with_its_lines(self):
        for name in MESSAGE_FILES:
            with self.subTest(file=name):
                lines = file_lines(name)
                self.assertEqual(len(lines), SLOT_COUNT)
                for slot, line in enumerate(lines):
                    self.assertLessEqual(len(line) + 1, SLOT_TEXT_BYTES, "slot %d spills over" % slot)
                status, output = run_game("-mesg=" + source_path("messages", name), "-sjis")
                self.assertEqual(status, 0, output[:400])
                # The echo shows each slot and one more line feed; -sjis doubles backslashes.
                echoed = b"".join(line.replace(b"\\", b"\\\\") + b"\n\n" for line in lines)
                self.assertEqual(output[: len(echoed)], echoed)


if __name__ == "__main__":
    unittest.main(verbosity=2)
