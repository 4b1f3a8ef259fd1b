#!/usr/bin/env python3
"""The message files shipped in messages/, checked against the game that loads them.

messages/ja-utf8.txt is the built-in Japanese table in UTF-8, one slot a line. Its source of
truth is the built-in table itself, which the game echoes as Shift-JIS bytes under -sjis; this
test decodes that echo and compares it slot by slot, so the two can't drift apart. Every file
must also load into all 42 slots and use in each slot exactly the conversions of the built-in
text, so that no number the game passes goes missing. Whole games in English show the English
texts where the game prints them, and every catalogue plays the same scripted games. A plain
name such as `-mesg=ko` finds a catalogue beside the program (the build tree holds a copy) or in
the installed folder (test_install.py).
"""

import os
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (CATALOGUES, EXE_SUFFIX, GAME, PAUSE, SEPARATOR, SOURCE, WINDOWS,  # noqa: E402
                     main, markers, play, run)

SLOT_COUNT = 42
# A slot holds 254 bytes; a longer file line, its line feed included, spills into the next slot.
SLOT_TEXT_BYTES = 254
# The built-in texts of these slots end without a line feed: the answer follows on the same
# line. A file line always ends with one, so the file's copy of them gains it.
NO_LINE_FEED_SLOTS = (34, 35, 36)
# Every catalogue in messages/, by the name -mesg= takes; the page and the packages use the same.
MESSAGE_FILES = tuple(name + ".txt" for name in CATALOGUES)

# What the loader accepts: "%%", or flags, a width and a precision of up to three digits, and
# an integer conversion.
DIRECTIVE = re.compile(r"%(?:%|[-+ #0]*[0-9]{0,3}(?:\.[0-9]{0,3})?[diouxXc])")


def message_path(name):
    return os.path.join(SOURCE, "messages", name)


def file_lines(name):
    """The file's lines as bytes, each without its line feed."""
    with open(message_path(name), "rb") as f:
        data = f.read()
    return data.split(b"\n")[:-1] if data.endswith(b"\n") else data.split(b"\n")


def builtin_texts():
    """The built-in texts as the game holds them, decoded from Shift-JIS.

    -sjis echoes every slot followed by one more line feed before play; ja-utf8.txt tells where
    each text ends, and every text must then be followed by the echo's line feed. Returns the
    texts that the echo confirms, slot by slot, up to the first that differs, and the rest of
    the decoded echo from there.
    """
    result = run(["-sjis"])
    if result.status != 0:
        raise AssertionError("hitblow -sjis exited with %d:\n%r" % (result.status, result.output))
    # What follows the echo (the game itself) need not decode; a bad byte inside the echo
    # becomes U+FFFD and so fails the comparison below.
    echo = result.output.decode("cp932", errors="replace")
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


def echo(lines):
    """What -sjis shows of a file's lines before play: each slot, doubled backslashes, then one
    more line feed."""
    return b"".join(line.replace(b"\\", b"\\\\") + b"\n\n" for line in lines)


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
            self.fail("slot %d: ja-utf8.txt has %r but the built-in table continues with %r"
                      % (slot, lines[slot].decode("utf-8"), rest[:80]))


class EnglishFile(unittest.TestCase):
    """The English file must say the same things: the same numbers, the same line structure."""

    @classmethod
    def setUpClass(cls):
        cls.builtin, _ = builtin_texts()
        cls.lines = [line.decode("ascii", errors="replace") for line in file_lines("en.txt")]

    def test_has_one_line_per_slot(self):
        self.assertEqual(len(self.builtin), SLOT_COUNT, "the built-in table did not echo whole")
        self.assertEqual(len(self.lines), SLOT_COUNT)

    def test_is_plain_ascii(self):
        # Plain ASCII prints the same in every console encoding; the game converts nothing.
        for slot, line in enumerate(file_lines("en.txt")):
            with self.subTest(slot=slot):
                self.assertTrue(line.isascii(), line)
                self.assertNotIn(b"\r", line)


class EveryFile(unittest.TestCase):
    """Every catalogue says what the built-in table says: the same numbers, the same structure."""

    @classmethod
    def setUpClass(cls):
        cls.builtin, _ = builtin_texts()

    def test_is_utf8_without_carriage_returns(self):
        for name in MESSAGE_FILES:
            for slot, line in enumerate(file_lines(name)):
                with self.subTest(file=name, slot=slot):
                    line.decode("utf-8")  # raises on anything else
                    self.assertNotIn(b"\r", line)

    def test_uses_the_conversions_of_each_builtin_slot(self):
        self.assertEqual(len(self.builtin), SLOT_COUNT, "the built-in table did not echo whole")
        for name in MESSAGE_FILES:
            lines = [line.decode("utf-8") for line in file_lines(name)]
            for slot, (builtin, line) in enumerate(zip(self.builtin, lines)):
                with self.subTest(file=name, slot=slot, line=line):
                    self.assertEqual(conversions(line), conversions(builtin))
                    # Any other '%' would make the loader refuse the file, or print wrongly.
                    self.assertNotIn("%", DIRECTIVE.sub("", line))

    def test_keeps_the_indent_the_empty_slots_and_the_answer_syntax(self):
        for name in MESSAGE_FILES:
            lines = [line.decode("utf-8") for line in file_lines(name)]
            for slot, (builtin, line) in enumerate(zip(self.builtin, lines)):
                with self.subTest(file=name, slot=slot, line=line):
                    # The thinking comments are indented by three blanks under their heading.
                    self.assertEqual(line.startswith("   "), builtin.startswith("   "))
                    # Slots that are a bare line end stay one: they close a row of scores.
                    self.assertEqual(line == "", builtin == "\n")
            # The reminder shows the answers the game reads, whatever the language calls them.
            with self.subTest(file=name, slots="25 26"):
                for answer in ("1H1B", "2H", "2B"):
                    self.assertIn(answer, lines[25])
                self.assertRegex(lines[26], r"(?<![A-Za-z])X(?![A-Za-z])")


class EveryFileLoads(unittest.TestCase):
    def test_messages_folder_holds_exactly_the_catalogues(self):
        shipped = [n for n in os.listdir(os.path.join(SOURCE, "messages")) if n.endswith(".txt")]
        self.assertEqual(sorted(shipped), sorted(MESSAGE_FILES))

    def test_fills_all_slots_with_its_lines(self):
        for name in MESSAGE_FILES:
            with self.subTest(file=name):
                lines = file_lines(name)
                self.assertEqual(len(lines), SLOT_COUNT)
                for slot, line in enumerate(lines):
                    self.assertLessEqual(len(line) + 1, SLOT_TEXT_BYTES, "slot %d spills" % slot)
                result = run(["-mesg=" + message_path(name), "-sjis"])
                self.assertEqual(result.status, 0, result.output[:400])
                self.assertEqual(result.output[:len(echo(lines))], echo(lines))

    def test_plays_the_scripted_games_with_its_own_texts(self):
        # The marker file's transcript, each marker then replaced by the catalogue's own slot
        # with the marker's numbers: what the game must print in that language.
        for script in (WIN_SCRIPT, CONTRADICTION_SCRIPT):
            typed = "".join(script).encode()
            shape = play("1234", ["-key=3721", markers()], typed)
            self.assertEqual(shape.status, 0, shape.output)
            for name in MESSAGE_FILES:
                with self.subTest(file=name, script=script[:3]):
                    slots = [line + b"\n" for line in file_lines(name)]
                    wanted = MARKER.sub(lambda m: slots[int(m.group(1))]
                                        % tuple(int(n) for n in m.group(2).split()), shape.output)
                    result = play("1234", ["-key=3721", "-mesg=" + message_path(name)], typed)
                    self.assertEqual(result.status, 0, result.output)
                    self.assertEqual(result.output, wanted)


# What the marker message file prints: "<24 1234>" and a line feed (harness.marker_text).
MARKER = re.compile(rb"<([0-9]+)((?: -?[0-9]+)*)>\n")
# A game the computer wins, with a code refused, the history, an unreadable answer; and one whose
# wrong answer is found out. The user's code is 5079, the computer's 3721.
WIN_SCRIPT = ["1357\n", "x\n", "abc\n", "h\n", "3712\n", "3\n", "3B\n",
              "3127\n", "2H\n", "3720\n", "2h2b\n", "3728\n", "4H\n"]
CONTRADICTION_SCRIPT = ["1357\n", "x\n", "3712\n", "5H\n", "y\n", "1123\n", "5079\n"]


class CatalogueNames(unittest.TestCase):
    """-mesg=NAME with a plain name that opens no file: NAME.txt from the catalogue folders. The
    game runs from a scratch folder, so only its own folder can lead to the catalogues."""

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="hitblow_names_")
        self.folder = self.scratch.name

    def tearDown(self):
        self.scratch.cleanup()

    def echo_of(self, argument, program=None):
        return run(["-mesg=" + argument, "-sjis"], b"", program=program, cwd=self.folder)

    def test_every_catalogue_by_its_name(self):
        for name in CATALOGUES:
            with self.subTest(name=name):
                result = self.echo_of(name)
                self.assertEqual(result.status, 0, result.output[:200])
                lines = file_lines(name + ".txt")
                self.assertEqual(result.output[:len(echo(lines))], echo(lines))

    def test_names_that_are_no_catalogue(self):
        # Each would reach messages/en.txt if it were joined to a catalogue folder as it stands.
        cases = [
            ("nosuch", "a plain name that no catalogue has"),
            ("", "nothing after -mesg=, as before"),
            ("en.txt", "a dot: a file name, not a catalogue name"),
            ("../messages/en", "a separator and a parent folder"),
            ("./en", "the catalogue folder itself, through a separator"),
            ("..\\messages\\en", "Windows separators"),
            (" en", "a blank"),
        ]
        if not WINDOWS:  # whose file names ignore case
            cases.append(("EN", "names are exact bytes"))
        for argument, why in cases:
            with self.subTest(argument=argument, why=why):
                result = self.echo_of(argument)
                self.assertEqual(result.output,
                                 b'Cannot open message file "%s"\n' % argument.encode() + PAUSE)
                self.assertEqual(result.status, 255)

    def test_a_file_of_that_name_here_wins(self):
        with open(os.path.join(self.folder, "en"), "wb") as f:
            f.write(b"here\n")
        result = self.echo_of("en")
        self.assertEqual(result.status, 0, result.output[:200])
        self.assertTrue(result.output.startswith(b"here\n\n"), result.output[:200])

    def test_installed_folder_before_the_one_beside_the_program(self):
        # A tree of the install layout this build was made for (its CMake passes it on).
        program = os.path.join(self.folder, "bin", "hitblow" + EXE_SUFFIX)
        os.makedirs(os.path.dirname(program))
        shutil.copy(GAME, program)
        layout = os.environ.get("HITBLOW_CATALOGUE_DIR", "../share/hitblow/messages")
        folders = [os.path.join(self.folder, "bin", layout),
                   os.path.join(self.folder, "bin", "messages")]
        if os.path.normpath(folders[0]) == os.path.normpath(folders[1]):
            self.skipTest("this layout keeps its catalogues beside the program")
        for folder, text in zip(folders, (b"installed\n", b"beside\n")):
            os.makedirs(folder)
            with open(os.path.join(folder, "mine.txt"), "wb") as f:
                f.write(text)
        for text in (b"installed\n", b"beside\n"):
            with self.subTest(found=text):
                result = self.echo_of("mine", program=program)
                self.assertEqual(result.status, 0, result.output[:200])
                self.assertTrue(result.output.startswith(text + b"\n"), result.output[:200])
            os.remove(os.path.join(folders[0], "mine.txt"))  # then the one beside it is found
            folders = folders[1:]


def transcript(*lines):
    return b"".join(line.encode() + b"\n" for line in lines)


class EnglishGame(unittest.TestCase):
    """Whole games with en.txt. The computer's first guess and its code are fixed; the user's
    code is 5079 and the answers are scored truthfully unless a test says otherwise. What the
    user types is not in the output: standard input is a pipe, not a terminal."""

    ENGLISH = "-mesg=" + message_path("en.txt")

    def play(self, first_guess, typed):
        result = play(first_guess, ["-key=3721", self.ENGLISH], "".join(typed).encode())
        self.assertEqual(result.status, 0, result.output)
        return result.output

    def test_the_computer_wins(self):
        typed = ["1357\n", "x\n",
                 "abc\n", "h\n", "3712\n", "3\n", "3B\n",  # not a code; history; bad answer
                 "3127\n", "2H\n", "3720\n", "2h2b\n", "3728\n", "4H\n"]
        expected = transcript(
            "You go first.",
            "1357 3B ",
            "My turn, then: 1234",
            "            1234 X right?",
            "Deducer is thinking...",
            "   Let's see, 360 left.",
            "   Well, by the book, next is 0567.",
            "Your guess?",
            "Say a four-digit number with no repeated digits.",
            "Your guess?",
            "1357 3B 1234 X ",
            "Your guess?",
            "3712 2H2B ",
            "My turn, then: 0567",
            "Answer like 1H1B, 2H or 2B (H = right digit, right place; B = right digit, wrong place).",
            "No hits and no blows: answer X.",
            "            0567 3B right?",
            "Deducer is thinking...",
            "   Let's see, 88 left.",
            "   Well, let's try 5678 next.",
            "Your guess?",
            "3127 2H2B ",
            "My turn, then: 5678",
            "            5678 2H right?",
            "Deducer is thinking...",
            "   Let's see, 5 left.",
            "   Good, good.",
            "   Next, 5709, I suppose.",
            "Your guess?",
            "3720 3H ",
            "My turn, then: 5709",
            "            5709 2H2B right?",
            "Deducer is thinking...",
            "   Let's see, 1 left.",
            "   That settles it.",
            "   It's 5079.",
            "Your guess?",
            "3728 3H ",
            "My turn, then: 5079",
            "Thanks. My code was 3721.",
        ) + SEPARATOR + transcript(
            "1357 3B 1234 X ",
            "3712 2H2B 0567 3B ",
            "3127 2H2B 5678 2H ",
            "3720 3H 5709 2H2B ",
            "3728 3H 5079 4H ",
        ) + PAUSE
        self.assertEqual(self.play("1234", typed), expected)

    def test_a_draw(self):
        expected = transcript(
            "You go first.",
            "3721 4H ",
            "My turn, then: 5079",
            "It's a draw.",
        ) + SEPARATOR + transcript("3721 4H 5079 4H ") + PAUSE
        self.assertEqual(self.play("5079", ["3721\n", "4h\n"]), expected)

    def test_the_user_wins(self):
        expected = transcript(
            "You go first.",
            "3721 4H ",
            "My turn, then: 1234",
            "You got it. I lose!",
        ) + SEPARATOR + transcript("3721 4H 1234 X ") + PAUSE
        self.assertEqual(self.play("1234", ["3721\n", "x\n"]), expected)

    def test_a_wrong_answer_found_out(self):
        # 5H for 0567 leaves no code; the user insists, then names an invalid code first.
        typed = ["1357\n", "x\n", "3712\n", "5H\n", "y\n", "1123\n", "5079\n"]
        expected = transcript(
            "You go first.",
            "1357 3B ",
            "My turn, then: 1234",
            "            1234 X right?",
            "Deducer is thinking...",
            "   Let's see, 360 left.",
            "   Well, by the book, next is 0567.",
            "Your guess?",
            "3712 2H2B ",
            "My turn, then: 0567",
            "            0567 5H right?",
            "Deducer is thinking...",
            "Wait a minute, isn't something off here?",
            "1234 X ",
            "0567 5H ",
            "That's what you told me, isn't it?",
            "Are these really right? (Y/N)",
            "All right, I give up. What is your code?",
            "Don't tease me, just tell me!",
            "1234 X ",
            "0567 5H <- This one is wrong!",
            "0567 3B <- It should have been this.",
            "Sorry, but you lose.",
        ) + PAUSE
        self.assertEqual(self.play("1234", typed), expected)

    def test_a_wrong_answer_not_insisted_on(self):
        # 1H4B can't happen: the check starts at once, before any count is shown.
        expected = transcript(
            "You go first.",
            "1357 3B ",
            "My turn, then: 1234",
            "            1234 1H4B right?",
            "Deducer is thinking...",
            "Wait a minute, isn't something off here?",
            "1234 1H4B ",
            "That's what you told me, isn't it?",
            "Are these really right? (Y/N)",
            "Then I'm afraid I win.",
        ) + PAUSE
        self.assertEqual(self.play("1234", ["1357\n", "1H4B\n", "n\n"]), expected)


if __name__ == "__main__":
    main()
