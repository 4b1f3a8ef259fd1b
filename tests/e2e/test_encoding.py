#!/usr/bin/env python3
"""The built-in texts follow the terminal: UTF-8 on a UTF-8 terminal, Shift-JIS bytes elsewhere,
and on a Windows console the text itself, whatever the console's code page."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import (DRIVER, PAUSE, SOURCE, WINDOWS, Terminal, WineConsole,  # noqa: E402
                     generated_locale, locale, main, run)
from test_startup import builtin_texts  # noqa: E402

UTF8 = locale({"LANG": "C.UTF-8"})


def in_encoding(texts, encoding):
    return [t.decode("cp932").encode(encoding) for t in texts]


def catalogue(name):
    """The 42 slot texts of a shipped catalogue, as bytes."""
    with open(os.path.join(SOURCE, "messages", name + ".txt"), "rb") as f:
        return f.read().splitlines(keepends=True)[:42]


class TerminalEncoding(unittest.TestCase):
    def test_sjis_echoes_the_table_in_the_encoding_of_the_output(self):
        with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
            f.write(b"hello\n")
        hello = "-mesg=" + f.name
        rows = [  # why, on a terminal?, locale, options, encoding of the built-in texts
            ("LANG names UTF-8", True, {"LANG": "C.UTF-8"}, [], "utf-8"),
            ("LC_CTYPE alone decides", True, {"LC_CTYPE": "C.UTF-8"}, [], "utf-8"),
            ("LC_ALL=C overrides LANG", True, {"LANG": "C.UTF-8", "LC_ALL": "C"}, [], "cp932"),
            ("LC_CTYPE=C overrides LANG", True, {"LANG": "C.UTF-8", "LC_CTYPE": "C"}, [], "cp932"),
            ("other categories don't count", True, {"LC_MESSAGES": "C.UTF-8"}, [], "cp932"),
            ("a file replaces slot 0 only", True, {"LANG": "C.UTF-8"}, [hello], "utf-8"),
            ("a pipe gets Shift-JIS", False, {"LANG": "C.UTF-8"}, [], "cp932"),
        ]
        for why, on_terminal, variables, options, encoding in rows:
            with self.subTest(why):
                texts = in_encoding(builtin_texts(), encoding)
                if options:
                    texts[0] = b"hello\n"
                want = b"".join(t + b"\n" for t in texts) + texts[21]  # echo, first prompt
                args = options + ["-key=1234", "-sjis"]
                if not on_terminal:
                    self.assertTrue(run(args, env=locale(variables)).output.startswith(want))
                    continue
                terminal = Terminal(args, env=locale(variables))
                self.assertEqual(terminal.expect(want), want)
                terminal.close_input()
                terminal.expect(PAUSE)
                self.assertEqual(terminal.wait(), 0)
        os.unlink(f.name)

    def test_a_terminal_speaks_the_players_language_and_a_pipe_the_built_in_texts(self):
        builtin = builtin_texts()
        rows = [  # why, locale, options, the table the game starts from
            ("Korean", {"LANG": "ko_KR.UTF-8"}, [], catalogue("ko")),
            ("Russian", {"LANG": "ru_RU.UTF-8"}, [], catalogue("ru")),
            ("Traditional Chinese", {"LANG": "zh_TW.UTF-8"}, [], catalogue("zh-Hant")),
            ("LANGUAGE first", {"LANGUAGE": "es:en", "LANG": "de_DE.UTF-8"}, [], catalogue("es")),
            ("French gets English", {"LANG": "fr_FR.UTF-8"}, [], catalogue("en")),
            ("Japanese, generated or not", {"LANG": "ja_JP.UTF-8"}, [], in_encoding(builtin, "utf-8")),
            ("C", {"LANG": "C", "LANGUAGE": "ko"}, [], builtin),
            ("Korean, not UTF-8", {"LANG": "ko_KR.EUC-KR"}, [], catalogue("en")),
            ("-mesg=ja under English", {"LANG": "en_US.UTF-8"}, ["-mesg=ja"],
             in_encoding(builtin, "utf-8")),
        ]
        args = ["-key=1234", "-sjis"]
        today = run(args, env=locale({"LC_ALL": "C"})).output
        for why, variables, options, texts in rows:
            with self.subTest(why):
                want = b"".join(t + b"\n" for t in texts) + texts[21]  # echo, first prompt
                terminal = Terminal(options + args, env=locale(variables))
                self.assertEqual(terminal.expect(want), want)
                terminal.close_input()
                terminal.expect(PAUSE)
                self.assertEqual(terminal.wait(), 0)
                if not options:
                    self.assertEqual(run(args, env=locale(variables)).output, today)

    def test_a_game_on_a_utf8_terminal_is_the_piped_game_in_utf8(self):
        # The computer opens with 1234 and holds 5079; the player answers for a code of 5079 too
        # and finds the computer's on the second guess.
        piped = run(["1234", "-key=5079"], b"1357\nX\n5079\n3B\n\n", program=DRIVER, env=UTF8)
        self.assertTrue(piped.output.startswith("そっちからどうぞ\n".encode("cp932")))
        terminal = Terminal(["1234", "-key=5079"], program=DRIVER, env=UTF8)
        shown = terminal.expect("そっちからどうぞ\n".encode())
        terminal.type(b"1357")
        shown += terminal.expect("それじゃあこっちは、 1234\n".encode())
        terminal.type(b"X")
        shown += terminal.expect("そっちは？\n".encode())
        terminal.type(b"5079")
        shown += terminal.expect("それじゃあこっちは、 0567\n".encode())  # a draw is still open
        terminal.type(b"3B")
        shown += terminal.expect(PAUSE)
        terminal.type(b"")
        self.assertEqual(terminal.wait(), 0)
        shown += terminal.seen
        self.assertIn("推理丸は考える・・・\n   えっと、あと 360 通り。\n".encode(), shown)
        self.assertIn("こっちの負けだね\n".encode(), shown)
        self.assertEqual(shown, piped.output.decode("cp932").encode())


class WindowsConsole(unittest.TestCase):
    def test_the_console_shows_the_text_whatever_its_code_page(self):
        # Wine's console in a UTF-8 pseudo-terminal is on code page 437, which shows neither
        # Shift-JIS nor UTF-8 bytes as Japanese. The computer opens with 1234 and holds 5079.
        with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
            f.write("推理丸".encode("cp932") + b"\x81 " + "考える\n".encode("cp932"))
        japanese = ["そっちからどうぞ", "1357 2B", "それじゃあこっちは、 1234", "推理丸は考える・・・",
                    "   えっと、あと 360 通り。"]
        english = ["You go first.", "1357 2B", "My turn, then: 1234", "Deducer is thinking...",
                   "   Let's see, 360 left."]
        messages = os.path.join(SOURCE, "messages")
        korean = catalogue("ko")
        korean = [korean[21], b"1357 2B\n", korean[24] % 1234, korean[0], korean[1] % 360]
        rows = [  # why, options, lines the screen must show in this order[, the locale]
            ("built-in texts, Shift-JIS", ["-mesg=ja"], japanese),
            ("a Korean display language", [], [t.decode().rstrip("\n") for t in korean],
             "ko_KR.UTF-8"),
            ("a UTF-8 file", ["-mesg=" + os.path.join(messages, "ja-utf8.txt")], japanese),
            ("English", ["-mesg=" + os.path.join(messages, "en.txt")], english),
            ("a Shift-JIS file whose lead byte lacks its second byte", ["-mesg=" + f.name],
             japanese[:3] + ["推理丸\ufffd 考える", japanese[4]]),
        ]
        if not WINDOWS:
            self.skipTest("needs the Windows build under wine")
        for why, options, want, *name in rows:
            with self.subTest(why):
                env = locale(generated_locale(name[0])) if name else UTF8
                console = WineConsole(["1234", "-key=5079"] + options, program=DRIVER, env=env)
                console.expect(want[0])
                console.type(b"1357")
                console.expect(want[2])
                console.type(b"X")
                console.expect(want[4])
                console.close_input()  # the game lists the turns and ends
                console.expect(PAUSE.decode().strip())
                self.assertEqual(console.wait(), 0)
                lines, at = console.lines(), 0
                for line in want:
                    self.assertIn(line, lines[at:], "%s: %r" % (why, lines))
                    at = lines.index(line, at) + 1
        os.unlink(f.name)


if __name__ == "__main__":
    main()
