#!/usr/bin/env python3
"""Hostile use of the real binary: huge lines, NUL bytes, binary garbage, CR and 0x1A bytes,
end of input at every read, message files that can't or mustn't be used, and extreme -key=
values. Every run must end, within its timeout, with the output and status its case defines.
Last, valgrind's memcheck watches whole games.

Most runs use the driver (the computer's first guess fixed to 1234) with the marker messages,
so that the expected transcripts can be written out byte for byte.
"""

import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (DRIVER, EMULATOR, EXE_SUFFIX, GAME, PAUSE, SEPARATOR, SOURCE,  # noqa: E402
                     Terminal, could_not_start, from_text_mode, main, marker, marker_messages,
                     markers, play, run, score, scored)

REPORT = os.path.join(os.environ.get("HITBLOW_BUILD", os.path.join(SOURCE, "build")), "tools",
                      "hitblow-report" + EXE_SUFFIX)
MIB = 1 << 20
TIMEOUT = 30  # seconds for one run; none of these should take more than a fraction of it
KEY = 9876    # the computer's secret in most runs here


def game(typed, key=KEY, extra=(), timeout=TIMEOUT):
    """The driver with the computer's first guess 1234, the markers and -key=`key`."""
    return play("1234", [markers(), "-key=%d" % key] + list(extra), typed, timeout=timeout)


# The first turn when the user guesses 5678 against 9876 and answers X to 1234: the echo and the
# computer's thinking, then the next prompt.
USER_ROW = scored(5678, score(5678, KEY))
FIRST_TURN = USER_ROW + marker(31) + marker(24, 1234)
X_ECHO = b" " * 12 + scored(1234, 0) + marker(30)
X_THINKING = marker(0) + marker(1, 360) + marker(2, 567)


def quit_at_prompt(rows):
    """What ends a game whose input runs out at a guess prompt after `rows` summary rows."""
    return marker(22 if rows else 21) + b"\n" + SEPARATOR + rows + PAUSE


# Two X answers to 1234 and 0567 leave no code: the contradiction dialog opens.
CONTRADICTION = b"5678\nX\n5678\nX\n"
DIALOG_OPENING = (marker(0) + marker(32) + scored(1234, 0) + b"\n" + scored(567, 0) + b"\n"
                  + marker(33) + marker(34))
INSISTED = (marker(35) + scored(1234, 0) + marker(39) + scored(567, 0) + marker(37)
            + scored(567, 3) + marker(38) + marker(40) + PAUSE)
# The same, when the first code typed was not a valid one.
ASKED_AGAIN = marker(35) + marker(36) + INSISTED[len(marker(35)):]


class HugeLinesAndNulBytes(unittest.TestCase):
    """A line of a mebibyte, or NUL bytes, at each read: the game reads the first 511 bytes of
    a line, drops the rest of it, and takes the text up to a NUL byte."""

    def check(self, typed, ending, status=0, key=KEY):
        result = game(typed, key=key)
        self.assertTrue(result.output.endswith(ending), result.output[-400:])
        self.assertEqual(result.status, status)
        return result.output

    def test_guess_prompt(self):
        refused = marker(21) + marker(23) + quit_at_prompt(b"")
        first_turn = (FIRST_TURN + X_ECHO + X_THINKING
                      + quit_at_prompt(USER_ROW + scored(1234, 0) + b"\n"))
        rows = [
            ("huge line, no number", b"z" * MIB + b"\n", refused),
            ("huge line after a code", b"5678" + b" " * MIB + b"\nX\n", first_turn),
            ("huge number", b"9" * MIB + b"\n", refused),
            ("NUL first", b"\x005678\n", refused),
            ("NUL after a code", b"5678\x00junk\nX\n", first_turn),
            ("NUL bytes only", b"\x00" * 1000 + b"\n", refused),
        ]
        for where, typed, ending in rows:
            with self.subTest(where=where):
                output = self.check(typed, ending)
                self.assertTrue(output.startswith(marker(21)), output[:100])

    def test_answer(self):
        rows = [
            # "1H" and a mebibyte of B: one hit, read by the line's second byte.
            ("huge line", b"1H" + b"B" * MIB + b"\n", b" " * 12 + scored(1234, 5) + marker(30)),
            ("huge unreadable line", b"q" * MIB + b"\nX\n", marker(25) + marker(26) + X_ECHO),
            ("NUL cuts the blows", b"1H\x001B\n", b" " * 12 + scored(1234, 5) + marker(30)),
            ("NUL first", b"\x00\nX\n", marker(25) + marker(26) + X_ECHO),
        ]
        for where, answer, want in rows:
            with self.subTest(where=where):
                output = self.check(b"5678\n" + answer, PAUSE)
                self.assertIn(FIRST_TURN + want, output)

    def test_dialog_question_and_code_requests(self):
        rows = [
            ("huge Y", b"y" * MIB + b"\n5079\n\n", INSISTED),
            ("NUL before Y", b"\x00y\n\n", marker(41) + PAUSE),
            ("huge code line", b"y\n5079" + b" " * MIB + b"\n\n", INSISTED),
            ("NUL code, then a code", b"y\n\x005079\n5079\n\n", ASKED_AGAIN),
            ("huge second code", b"Y\n1123\n5079" + b"\x00" * MIB + b"\n\n", ASKED_AGAIN),
        ]
        for where, reply, ending in rows:
            with self.subTest(where=where):
                output = self.check(CONTRADICTION + reply, ending)
                self.assertIn(DIALOG_OPENING, output)

    def test_pause(self):
        draw = b"1234\n4H\n"
        for where, line in [("huge line", b"z" * MIB + b"\n"), ("NUL bytes", b"\x00" * 600 + b"\n"),
                            ("huge line without line feed", b"z" * MIB)]:
            with self.subTest(where=where):
                self.check(draw + line, marker(27) + SEPARATOR + scored(1234, 20)
                           + scored(1234, 20) + b"\n" + PAUSE, key=1234)
        result = run(["-help"], b"x" * MIB + b"\n", timeout=TIMEOUT)
        self.assertTrue(result.output.endswith(PAUSE))
        self.assertEqual(result.status, 255)


class CarriageReturnsAndEndOfText(unittest.TestCase):
    def test_cr_bytes_vanish_anywhere(self):
        result = game(b"56\r78\r\n1\rH\r\n\r\r\r\n")
        # "\r\r\r" is an empty line at the second prompt: not a code.
        self.assertIn(FIRST_TURN + b" " * 12 + scored(1234, 5) + marker(30), result.output)
        self.assertTrue(result.output.endswith(marker(22) + marker(23) + marker(22) + b"\n"
                                               + SEPARATOR + USER_ROW + scored(1234, 5) + b"\n"
                                               + PAUSE), result.output[-300:])
        self.assertEqual(result.status, 0)

    def test_end_of_text_ends_the_input_at_every_read(self):
        rows = [
            ("guess", b"56\x1a78\n", marker(21) + marker(23) + quit_at_prompt(b"")),
            ("answer", b"5678\n1\x1aH\n", FIRST_TURN + marker(25) + marker(26) + b"\n" + SEPARATOR
             + PAUSE),
            ("dialog question", CONTRADICTION + b"\x1ay\n", DIALOG_OPENING + marker(41) + PAUSE),
            ("code request", CONTRADICTION + b"y\n\x1a5079\n", marker(35) + PAUSE),
            ("pause", CONTRADICTION + b"n\n\x1a", marker(41) + PAUSE),
        ]
        for where, typed, ending in rows:
            with self.subTest(where=where):
                result = game(typed)
                self.assertTrue(result.output.endswith(ending), result.output[-400:])
                self.assertEqual(result.status, 0)


class BinaryGarbage(unittest.TestCase):
    """Random input must end every game with the pause prompt and status 0."""

    TOKENS = [b"5678\n", b"1234\n", b"X\n", b"1H\n", b"2B\n", b"1H1B\n", b"y\n", b"?\n", b"h\n",
              b"5079\n", b"\r", b"\x00", b"\x1a", b"\n", b"-", b"4H\n", b"%s%n", b"\xff\xfe"]

    def check(self, seed, typed):
        result = game(typed)
        self.assertTrue(result.output.endswith(PAUSE), "seed %d, status %d: %r"
                        % (seed, result.status, result.output[-300:]))
        self.assertEqual(result.output.count(PAUSE), 1, "seed %d" % seed)
        self.assertEqual(result.status, 0, "seed %d" % seed)

    def test_random_bytes(self):
        seed = int(os.environ.get("HITBLOW_SEED", random.randrange(1 << 30)))
        print("seed", seed)
        rng = random.Random(seed)
        for _ in range(20):
            self.check(seed, bytes(rng.randrange(256) for _ in range(rng.randrange(1, 8192))))

    def test_random_tokens(self):
        # Pieces of real answers and guesses, so that the garbage reaches deep into games.
        seed = int(os.environ.get("HITBLOW_SEED", random.randrange(1 << 30)))
        print("seed", seed)
        rng = random.Random(seed)
        for _ in range(30):
            self.check(seed, b"".join(rng.choice(self.TOKENS) for _ in range(rng.randrange(60))))


class EndOfInputAnywhere(unittest.TestCase):
    """Input cut after any byte of a whole session ends the program with one pause prompt and
    status 0; cut in the turn loop, it first lists the finished turns."""

    # The computer's guesses at 5079 when its first is 1234; the user answers them truthfully,
    # asks for the history once, and the computer wins in the fifth turn.
    GUESSES = (1234, 567, 5678, 5709, 5079)
    WHOLE_GAME = b"?\n" + b"".join(
        b"5678\n" + (b"X" if score(g, 5079) == 0 else b"%dH%dB" % divmod(score(g, 5079), 5))
        + b"\n" for g in GUESSES) + b"\n"
    SESSIONS = [CONTRADICTION + b"y\n1123\n5079\n\n", WHOLE_GAME]

    def test_the_whole_game_the_cuts_are_taken_from(self):
        result = game(self.WHOLE_GAME)
        rows = b"".join(USER_ROW + scored(g, score(g, 5079)) + b"\n" for g in self.GUESSES)
        self.assertTrue(result.output.endswith(marker(24, 5079) + marker(29, KEY) + SEPARATOR
                                               + rows + PAUSE), result.output[-300:])
        self.assertEqual(result.status, 0)

    def test_every_prefix(self):
        for session in self.SESSIONS:
            for cut in range(len(session) + 1):
                typed = session[:cut]
                with self.subTest(typed=typed):
                    result = game(typed)
                    self.assertTrue(result.output.endswith(PAUSE), result.output[-300:])
                    self.assertEqual(result.output.count(PAUSE), 1)
                    self.assertEqual(result.status, 0)
                    if marker(32) not in result.output:
                        self.assertEqual(result.output.count(SEPARATOR), 1)


class HostileMessageFiles(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp(prefix="hitblow_abuse_")

    def tearDown(self):
        shutil.rmtree(self.directory, ignore_errors=True)

    def file(self, name, contents):
        path = os.path.join(self.directory, name)
        with open(path, "wb") as f:
            f.write(contents)
        return path

    def assert_cannot_open(self, path):
        result = run(["-mesg=" + path, "-key=1234"], b"1234\n", timeout=TIMEOUT)
        self.assertEqual(result.output, b'Cannot open message file "%s"\n' % path.encode() + PAUSE)
        self.assertEqual(result.status, 255)

    def test_directory(self):
        self.assert_cannot_open(self.directory)

    def test_missing_file(self):
        self.assert_cannot_open(os.path.join(self.directory, "absent.txt"))

    @unittest.skipIf(os.geteuid() == 0, "root reads a file whatever its mode")
    def test_unreadable_file(self):
        path = self.file("locked.txt", b"hello\n")
        os.chmod(path, 0)
        self.assert_cannot_open(path)

    def test_empty_file_changes_nothing(self):
        path = self.file("empty.txt", b"")
        result = run(["-mesg=" + path, "-key=1234"], b"", timeout=TIMEOUT)
        first_prompt = "そっちからどうぞ\n".encode("cp932")
        self.assertEqual(result.output, first_prompt + b"\n" + SEPARATOR + PAUSE)
        self.assertEqual(result.status, 0)

    def test_file_of_nul_bytes_empties_every_slot(self):
        # 254 bytes a slot, each cut at its first byte: 42 empty messages.
        # Not "nul.txt": on Windows that names the null device, whatever the folder.
        path = self.file("zeros.txt", b"\x00" * (254 * 42 + 100))
        result = play("1234", ["-mesg=" + path, "-key=%d" % KEY], b"5678\nX\n", timeout=TIMEOUT)
        self.assertEqual(result.output, USER_ROW + b" " * 12 + scored(1234, 0) + b"\n" + SEPARATOR
                         + USER_ROW + scored(1234, 0) + b"\n" + PAUSE)
        self.assertEqual(result.status, 0)

    def test_unsafe_directives_refuse_the_file(self):
        other = b"a conversion other than %d %i %u %o %x %X %c or %%"
        rows = [
            # contents, file line of the refusal, reason
            (b"%s%s%n\n", 1, other),
            (b"zero\n%99999d\n", 2, b"a field width of more than three digits"),
            (b"zero\n%.99999d\n", 2, b"a precision of more than three digits"),
            (b"zero\n%1$d\n", 2, other),
            (b"zero\n%#d\n", 2, b"a '#' flag on a conversion other than %o %x %X"),
            (b"zero\n%05c\n", 2, b"a '0' flag or a precision on %c"),
            (b"%d\n", 1, b"more conversions than this message has numbers to show"),
            (b"zero\n100%", 2, b"a '%' that ends the line unfinished"),
            (b"a" * 300 + b"\n%n\n", 2, other),  # the long line fills two slots, one file line
            (b"a\r\nb\r\n%p\r\n", 3, other),
        ]
        for contents, line, reason in rows:
            with self.subTest(contents=contents[:40]):
                path = self.file("bad.txt", contents)
                result = run(["-mesg=" + path], b"5678\n", timeout=TIMEOUT)
                self.assertEqual(result.output, b'Message file "%s", line %d: %s\n'
                                 % (path.encode(), line, reason) + PAUSE)
                self.assertEqual(result.status, 255)


class ExtremeKeys(unittest.TestCase):
    """-key= takes any number, wrapped to 32 bits, and the game goes on with it."""

    def test_values(self):
        rows = [
            ("99999999999", 1215752191),
            ("-2147483648", -2147483648),
            ("2147483648", -2147483648),
            ("0", 0),
            ("", 0),
            ("1111", 1111),
            ("4294968530", 1234),
            ("  +77x", 77),
        ]
        for text, key in rows:
            with self.subTest(key=text):
                result = play("5678", [markers(), "-key=" + text], b"1234\n4H\n", timeout=TIMEOUT)
                user = score(1234, key)
                ending = marker(27) if user == 20 else marker(29, key)
                self.assertEqual(result.output, marker(21) + scored(1234, user) + marker(31)
                                 + marker(24, 5678) + ending + SEPARATOR + scored(1234, user)
                                 + scored(5678, 20) + b"\n" + PAUSE)
                self.assertEqual(result.status, 0)


def sanitized(binary):
    """Whether the binary carries AddressSanitizer, under which valgrind can't run."""
    with open(binary, "rb") as f:
        return b"__asan_init" in f.read()


class UnwritableOutput(unittest.TestCase):
    """Standard output on a full device: the run reports the lost output on standard error and
    fails, without waiting for a Return. Standard input stays open, so a run that waited for
    one, or that played on through every line typed, would hang until the timeout."""

    ROWS = [
        # (where the failure is found, command, typed, program name in the message, status)
        ("usage text", [GAME, "-help"], b"", b"hitblow", 255),
        ("refused message file", [GAME, "-mesg=/nonexistent/m.txt"], b"", b"hitblow", 255),
        ("a won game, before the pause", [DRIVER, "1234", markers(), "-key=9876"],
         b"5678\n4H\n", b"hitblow", 255),
        ("a lost game, before the pause", [GAME, "-key=1234"], b"1234\nX\n", b"hitblow", 255),
        ("contradiction dialog", [DRIVER, "1234", markers(), "-key=%d" % KEY],
         CONTRADICTION + b"n\n", b"hitblow", 255),
        ("mid-game, once the buffer fills", [GAME, "-key=1234"], b"abc\n" * 2000, b"hitblow", 255),
        ("strategy report", [REPORT, "0123", "--jobs", "1"], b"", b"hitblow-report", 1),
        ("strategy report usage", [REPORT, "--help"], b"", b"hitblow-report", 1),
    ]

    def test_every_ending_reports_and_fails(self):
        for where, command, typed, name, status in self.ROWS:
            with self.subTest(where=where):
                errors, returned = self.into_full_disk(command, typed)
                if could_not_start(returned, errors):
                    errors, returned = self.into_full_disk(command, typed)
                self.assertEqual(from_text_mode(errors),
                                 name + b": cannot write to standard output: "
                                 b"No space left on device\n")
                self.assertEqual(returned, status)

    def into_full_disk(self, command, typed):
        """Runs with standard output on /dev/full and standard input left open, so that a wait
        for input would time out; returns what went to standard error, and the status."""
        with open("/dev/full", "wb") as full:
            process = subprocess.Popen(EMULATOR + command, stdin=subprocess.PIPE, stdout=full,
                                       stderr=subprocess.PIPE)
        process.stdin.write(typed)
        process.stdin.flush()
        try:
            process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            self.fail("still running: it waits for input instead of ending")
        finally:
            process.stdin.close()
        errors = process.stderr.read()
        process.stderr.close()
        return errors, process.returncode


class Valgrind(unittest.TestCase):
    """memcheck finds no error, and no leak, in whole games and in a refused message file."""

    VALGRIND = shutil.which("valgrind")

    def setUp(self):
        if self.VALGRIND is None:
            self.skipTest("valgrind is not installed")
        if sanitized(DRIVER) or sanitized(GAME):
            self.skipTest("a sanitizer build: valgrind runs on the plain build")
        if EMULATOR:
            self.skipTest("a build for another machine: valgrind runs on the native build")
        handle, self.log = tempfile.mkstemp(prefix="hitblow_valgrind_", suffix=".log")
        os.close(handle)

    def tearDown(self):
        os.remove(self.log)

    def options(self):
        return ["--error-exitcode=99", "--leak-check=full", "--log-file=" + self.log]

    def report(self):
        with open(self.log, errors="replace") as f:
            return f.read()

    def assert_clean(self, status, want=0):
        """The run ended with `want`, and memcheck watched it and found nothing."""
        report = self.report()
        self.assertEqual(status, want, report)
        self.assertIn("ERROR SUMMARY: 0 errors", report)

    def test_whole_game_against_a_truthful_user(self):
        # Played on a terminal, reading each guess before answering it: under valgrind the
        # extended-precision arithmetic may choose other guesses than on the processor.
        code = 5079
        terminal = Terminal(self.options() + [DRIVER, "1234", markers(), "-key=1234"],
                            program=self.VALGRIND)
        guesses = 0
        while True:
            terminal.expect(marker(21) if guesses == 0 else marker(22), timeout=120)
            if guesses == 2:  # the history table once, mid-game
                terminal.type(b"?")
                terminal.expect(marker(22), timeout=120)
            terminal.type(b"5678")
            terminal.expect(b"<24 ", timeout=120)
            guess = int(terminal.expect(b">\n")[:-2])
            guesses += 1
            value = score(guess, code)
            terminal.type(b"X" if value == 0 else b"%dH%dB" % divmod(value, 5))
            if guess == code:
                break
            self.assertLess(guesses, 12, "the computer does not find 5079")
        terminal.expect(marker(29, 1234), timeout=120)
        terminal.expect(PAUSE, timeout=120)
        terminal.type(b"")
        self.assert_clean(terminal.wait(timeout=120))

    def test_contradiction_dialog(self):
        result = run(self.options() + [DRIVER, "1234", markers(), "-key=%d" % KEY],
                     CONTRADICTION + b"y\n1123\n5079\n\n", program=self.VALGRIND, timeout=120)
        self.assertTrue(result.output.endswith(DIALOG_OPENING + ASKED_AGAIN), result.output[-300:])
        self.assert_clean(result.status)

    def test_options_and_a_refused_file(self):
        # -sjis doubling and echo, -quiet, end of input in the middle of a game.
        result = run(self.options() + [DRIVER, "1234", markers(), "-sjis", "-quiet", "-key=1234"],
                     b"5678\n" + b"z" * 5000 + b"\nX\n", program=self.VALGRIND, timeout=120)
        self.assertTrue(result.output.endswith(
            marker(25) + marker(26) + b" " * 12 + scored(1234, 0) + marker(30) + marker(22) + b"\n"
            + SEPARATOR + scored(5678, 0) + scored(1234, 0) + b"\n" + PAUSE), result.output[-300:])
        self.assert_clean(result.status)
        directory = tempfile.mkdtemp(prefix="hitblow_abuse_")
        try:
            path = os.path.join(directory, "bad.txt")
            with open(path, "wb") as f:
                f.write(b"ok\n%s\n")
            result = run(self.options() + [GAME, "-mesg=" + path], b"\n", program=self.VALGRIND,
                         timeout=120)
        finally:
            shutil.rmtree(directory)
        self.assertTrue(result.output.startswith(b'Message file "%s", line 2: ' % path.encode()))
        self.assert_clean(result.status, 255)


if __name__ == "__main__":
    main()
