"""Runs the real hitblow binaries for end-to-end tests, through pipes or a pseudo-terminal.

The binaries come from the environment that CTest sets: HITBLOW (the game), HITBLOW_DRIVER (the
game with deck A fixed by its first argument, so the computer's first guess is known), and
HITBLOW_SOURCE (the source tree). A build for another machine adds HITBLOW_EMULATOR, the command
that runs its programs here (qemu-user, wine), and HITBLOW_SYSTEM, the system it is for (Linux,
Windows). Only the standard library is used.
"""

import fcntl
import functools
import math
import os
import pty
import re
import select
import shlex
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time
import tty
import unicodedata
import unittest

GAME = os.environ.get("HITBLOW", "build/hitblow")
DRIVER = os.environ.get("HITBLOW_DRIVER", "build/tests/hitblow_driver")
SOURCE = os.environ.get("HITBLOW_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))

EMULATOR = shlex.split(os.environ.get("HITBLOW_EMULATOR", ""))
WINDOWS = os.environ.get("HITBLOW_SYSTEM") == "Windows"
EXE_SUFFIX = ".exe" if WINDOWS else ""

# Every file a test writes goes in a folder of the test program's own, removed when it ends;
# tempfile's functions put theirs there. Not the programs under test: wine finds its server
# through TMPDIR, and all of a build's runs must share the one that holds its prefix.
SCRATCH = tempfile.TemporaryDirectory(prefix="hitblow_")
tempfile.tempdir = SCRATCH.name

CATALOGUES = tuple(sorted(name[:-4] for name in os.listdir(os.path.join(SOURCE, "messages"))
                          if name.endswith(".txt")))

TIMEOUT = 60  # seconds: every run must end well within this, or the test fails
PAUSE = b"\n--(Hit return key)--\n"
SEPARATOR = b"---------------------------\n"


@functools.lru_cache(maxsize=None)
def slot_arguments():
    """How many numbers the game passes with each message slot, as the driver reports them."""
    result = run(["--slot-arguments"], program=DRIVER)
    counts = [int(n) for n in result.output.split()]
    if result.status != 0 or len(counts) != 42:
        raise AssertionError("hitblow_driver --slot-arguments: %r" % result.output)
    return counts


def marker_text(slot):
    """The marker message of a slot: "<n>" and its numbers, e.g. "<24 0123>"."""
    numbers = {1: " %d"}.get(slot, " %04d" * slot_arguments()[slot])
    return "<%d%s>\n" % (slot, numbers)


def marker(slot, *numbers):
    """What the marker message of a slot prints with the given numbers."""
    text = marker_text(slot)
    return (text % numbers if numbers else text).encode()


_marker_file = None


def marker_messages():
    """Path of a message file whose slots print as short markers, so transcripts read clearly."""
    global _marker_file
    if _marker_file is None:
        handle, _marker_file = tempfile.mkstemp(prefix="hitblow_markers_", suffix=".txt")
        with os.fdopen(handle, "w") as f:
            f.write("".join(marker_text(n) for n in range(42)))
    return _marker_file


def digits(code):
    """The four digits as the game splits any int: C remainders, so negatives stay negative."""
    result = [0, 0, 0, 0]
    for position in (3, 2, 1):
        digit = int(math.fmod(code, 10))
        result[position] = digit
        code = (code - digit) // 10
    result[0] = code
    return result


def score(a, b):
    """5 for every equal pair of digits in the same position, 1 for every other equal pair."""
    da, db = digits(a), digits(b)
    return sum((5 if i == j else 1) for i in range(4) for j in range(4) if da[i] == db[j])


def scored(code, value):
    """A guess with its score as the game prints it: "1234 1H2B "."""
    text = b"%04d " % code
    if value // 5 > 0:
        text += b"%dH" % (value // 5)
    if value % 5 > 0:
        text += b"%dB" % (value % 5)
    return text + (b"X " if value == 0 else b" ")


def markers():
    return "-mesg=" + marker_messages()


def program_name(path):
    """The program's name as the game shows it in its usage line: as the system passed it."""
    if WINDOWS:
        # wine hands a Windows program its Unix path on drive Z:, which is the Unix root.
        return "Z:" + os.path.abspath(path).replace("/", "\\")
    return path


def from_text_mode(output):
    """The output with Windows text-mode line ends made plain again, once each was checked: on
    Windows every line feed the game prints must reach the pipe as CR LF, and no other CR."""
    if not WINDOWS:
        return output
    plain = output.replace(b"\r\n", b"\n")
    if plain.count(b"\n") != output.count(b"\r\n") or b"\r" in plain:
        raise AssertionError("line ends not in Windows text mode: %r" % output[-400:])
    return plain


class Run:
    """The result of one run: everything printed, and the exit status (-1 shows as 255)."""

    def __init__(self, output, status):
        self.output = output
        self.status = status


def locale(variables):
    """The environment without the caller's locale, plus the locale `variables` (LANG, LC_...).

    On a terminal the locale decides the built-in texts' encoding and the player's language,
    so terminal tests never inherit it."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("LANG", "LANGUAGE") and not k.startswith("LC_")}
    env.update(variables)
    return env


def generated_locale(name):
    """LANG=`name` with the locale generated into the scratch folder (LOCPATH): wine takes the
    Windows display language from the locale, which it can read only where it is installed."""
    language, _, codeset = name.partition(".")
    folder = os.path.join(SCRATCH.name, "locales")
    if not os.path.isdir(os.path.join(folder, name)):
        os.makedirs(folder, exist_ok=True)
        try:
            subprocess.run(["localedef", "-i", language, "-f", codeset, os.path.join(folder, name)],
                           check=True, capture_output=True)
        except (OSError, subprocess.CalledProcessError) as e:
            raise unittest.SkipTest("localedef can't make %s (Debian: locales): %s" % (name, e))
    return {"LOCPATH": folder, "LANG": name}


def could_not_start(status, output):
    """Whether the emulator failed to start the program at all. Under load, wine now and then
    (once in a few thousand runs here) ends a run at once with status 1 and prints nothing, not
    even on standard error. No program here ends so: each prints before it ends, and none
    returns 1 without a message. run() runs it once more and says so; a second one in a test
    program fails that, as a real failure of this shape would pass otherwise."""
    return bool(EMULATOR) and WINDOWS and status == 1 and not output


_silent_exits = 0  # the runs of this test program that could_not_start() caught


def run(args, stdin=b"", program=None, timeout=TIMEOUT, env=None, native=False, cwd=None):
    """Runs the game with pipes for standard input and output (the caller's environment and
    folder unless `env` or `cwd` is given); `native` runs a program built for this machine, not
    through the emulator of the build under test."""
    global _silent_exits
    emulator = [] if native else EMULATOR
    program = program or GAME
    if cwd is not None and os.path.dirname(program):
        program = os.path.abspath(program)  # a path from here, not from `cwd`
    while True:
        process = subprocess.run(emulator + [program] + list(args),
                                 input=stdin, env=env, cwd=cwd, stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT, timeout=timeout)
        if native or not could_not_start(process.returncode, process.stdout):
            break
        _silent_exits += 1
        print("wine ended %r silently with status 1" % args)
        if _silent_exits > 1:
            raise AssertionError("wine ended a second run silently with status 1")
    output = process.stdout if native else from_text_mode(process.stdout)
    return Run(output, process.returncode)


def play(deck, args, stdin, timeout=TIMEOUT):
    """Runs the game with the computer's first guess fixed to `deck` (four digits)."""
    return run([deck] + list(args), stdin, program=DRIVER, timeout=timeout)


class Terminal:
    """The game in a pseudo-terminal: read what it shows, type lines, as a player would."""

    def __init__(self, args, program=None, env=None):
        """`env` defaults to the C locale, in which the built-in texts are Shift-JIS bytes."""
        if WINDOWS:
            raise unittest.SkipTest("a Windows console is not a pseudo-terminal")
        self.master, slave = pty.openpty()
        # No echo and no CR added before line feeds: the output is the bytes the game printed.
        attributes = termios.tcgetattr(slave)
        attributes[1] &= ~termios.OPOST
        attributes[3] &= ~termios.ECHO
        termios.tcsetattr(slave, termios.TCSANOW, attributes)
        self.process = subprocess.Popen(EMULATOR + [program or GAME] + list(args), stdin=slave,
                                        stdout=slave, stderr=slave, close_fds=True,
                                        env=env if env is not None else locale({"LC_ALL": "C"}),
                                        start_new_session=True)
        os.close(slave)
        self.seen = b""

    def shown(self):
        """What a failure message quotes of the screen."""
        return self.seen[-400:]

    def read_until(self, done, wanted, timeout):
        """Reads what the program shows until done() holds; `wanted` names it in a failure."""
        deadline = time.monotonic() + timeout
        while not done():
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("timed out waiting for %r; shown: %r" % (wanted, self.shown()))
            ready, _, _ = select.select([self.master], [], [], left)
            if ready:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise AssertionError("program ended before showing %r; shown: %r"
                                         % (wanted, self.shown()))
                self.seen += chunk

    def expect(self, text, timeout=TIMEOUT):
        """Waits until `text` has been shown; returns everything shown up to and including it."""
        self.read_until(lambda: text in self.seen, text, timeout)
        end = self.seen.index(text) + len(text)
        shown, self.seen = self.seen[:end], self.seen[end:]
        return shown

    def type(self, line):
        os.write(self.master, line + b"\n")

    def close_input(self):
        """Types the terminal's end-of-file character (Ctrl-D) at the start of a line."""
        os.write(self.master, b"\x04")

    def wait(self, timeout=TIMEOUT):
        """Waits for the program to end; returns its status and what it showed meanwhile."""
        deadline = time.monotonic() + timeout
        while True:
            ready, _, _ = select.select([self.master], [], [], 0.05)
            if ready:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    chunk = b""
                self.seen += chunk
                if chunk:
                    continue
            status = self.process.poll()
            if status is not None:
                os.close(self.master)
                return status
            if time.monotonic() > deadline:
                os.killpg(self.process.pid, signal.SIGKILL)
                raise AssertionError("program did not end; shown: %r" % self.seen[-400:])


# A control sequence (CSI with its parameters and final byte, an OSC string, a two-byte escape),
# one control byte, or a run of text.
_SCREEN_TOKEN = re.compile(r"\x1b\[\??([0-9;]*)([@-~])|\x1b\][^\x07\x1b]*(?:\x07|\x1b\\)|\x1b.?"
                           r"|[\x00-\x1f]|[^\x00-\x1f\x1b]+", re.S)


class Screen:
    """The lines a terminal shows after the UTF-8 bytes it was sent, for the control sequences
    wine's console sends a pseudo-terminal: CR, LF, moving the cursor right or to a place, and
    erasing the rest of the line, the line or the screen; modes and colours change no text. Wide
    characters take two cells, and lines never wrap (the tests give the terminal room)."""

    def __init__(self, data):
        self.rows, self.row, self.column = [[]], 0, 0
        for token in _SCREEN_TOKEN.finditer(data.decode("utf-8", "replace")):
            text, numbers = token.group(0), [int(p or 0) for p in (token.group(1) or "").split(";")]
            if token.group(2) == "C":
                self.column += max(numbers[0], 1)
            elif token.group(2) == "H":
                self.row, self.column = max(numbers[0], 1) - 1, max((numbers + [0])[1], 1) - 1
            elif token.group(2) == "K" and numbers[0] in (0, 2):
                del self._cells()[self.column if numbers[0] == 0 else 0:]
            elif token.group(2) == "J" and numbers[0] == 2:
                self.rows = [[]]
            elif text == "\r":
                self.column = 0
            elif text == "\n":
                self.row += 1
            elif text[0] >= " ":
                for character in text:
                    self._put(character)

    def lines(self):
        return ["".join(cells).rstrip() for cells in self.rows]

    def _cells(self):
        while len(self.rows) <= self.row:
            self.rows.append([])
        return self.rows[self.row]

    def _put(self, character):
        width = 2 if unicodedata.east_asian_width(character) in "WF" else 1
        cells = self._cells()
        cells.extend(" " * (self.column + width - len(cells)))
        cells[self.column:self.column + width] = [character] + [""] * (width - 1)
        self.column += width


class WineConsole(Terminal):
    """The Windows game in wine's own console, run in a pseudo-terminal as from a Unix shell:
    wine draws the console there with control sequences, so its text is read off a Screen. As
    in a Windows console, Enter is a carriage return and Ctrl-Z then Enter ends the input."""

    def __init__(self, args, program=None, env=None):
        if not (WINDOWS and EMULATOR):
            raise unittest.SkipTest("needs the Windows build under wine")
        self.master, slave = pty.openpty()
        # Rows and columns enough that nothing scrolls or wraps. Raw from the start: wine's console
        # sets the terminal raw only once it reads, and a line typed before that would be echoed
        # and its CR read as a line feed, which the console does not take for Enter.
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 60, 160, 0, 0))
        tty.setraw(slave)
        self.process = subprocess.Popen(EMULATOR + [program or GAME] + list(args), stdin=slave,
                                        stdout=slave, stderr=slave, close_fds=True, env=env,
                                        start_new_session=True)
        os.close(slave)
        self.seen = b""

    def lines(self):
        """The screen so far, line by line."""
        return Screen(self.seen).lines()

    def shown(self):
        return self.lines()

    def expect(self, line, timeout=TIMEOUT):
        """Waits until the screen shows `line` as a whole line."""
        self.read_until(lambda: line in self.lines(), line, timeout)

    def type(self, line):
        os.write(self.master, line + b"\r")

    def close_input(self):
        os.write(self.master, b"\x1a\r")


# A script whose every case was skipped ends with this status, which CTest shows as "Skipped"
# (SKIP_RETURN_CODE in tests/CMakeLists.txt) instead of a pass that tested nothing.
SKIPPED = 77


def main():
    """Runs the script's cases: status 1 if one failed, SKIPPED if every one was skipped. A
    script that skipped cases, or subtests of a case (each counts as a skip), says how many and
    which in its last line, and adds that line to the file HITBLOW_SKIPS names, if any, where
    scripts/check counts the skips of a stage (CTest shows a script that passed as passed,
    whatever it skipped)."""
    result = unittest.main(verbosity=2, exit=False).result
    if not result.wasSuccessful():
        sys.exit(1)
    # A subtest's skip stands for its case, which ran its other subtests.
    cases = {getattr(test, "test_case", test).id() for test, _ in result.skipped}
    if result.skipped:
        line = "%s: %d skipped in %d of %d cases: %s\n" % (
            os.path.basename(sys.argv[0]), len(result.skipped), len(cases), result.testsRun,
            "; ".join("%s (%s)" % (test.id().split(".")[-1], why) for test, why in result.skipped))
        sys.stderr.write(line)
        if os.environ.get("HITBLOW_SKIPS"):
            with open(os.environ["HITBLOW_SKIPS"], "a", encoding="utf-8") as f:
                f.write(line)
    whole = [test for test, _ in result.skipped if not hasattr(test, "test_case")]
    sys.exit(SKIPPED if result.testsRun and len(whole) == result.testsRun else 0)
