#!/usr/bin/python3
"""The game on its page, played in headless Chromium as a player would.

Needs Debian's chromium, chromium-driver and python3-selenium (so Debian's /usr/bin/python3), the
built site (HITBLOW_SITE, default build/web/site, served here from 127.0.0.1) and the native
driver (HITBLOW_DRIVER), which replays a page's game on the console for a byte-for-byte
comparison. If HITBLOW_SCREENSHOT names a file, a game in progress is photographed into it, and
on a phone into HITBLOW_PHONE_SCREENSHOT. HITBLOW_AXE is axe-core's axe.min.js.
"""

import functools
import gzip
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import DRIVER, PAUSE, SCRATCH, SEPARATOR, SOURCE, score, scored  # noqa: E402

# Chromium and its driver keep their own scratch files under TMPDIR: in the run's folder too.
os.environ["TMPDIR"] = SCRATCH.name

SITE = os.environ.get("HITBLOW_SITE", "build/web/site")
SCREENSHOT = os.environ.get("HITBLOW_SCREENSHOT")
PHONE_SCREENSHOT = os.environ.get("HITBLOW_PHONE_SCREENSHOT")
AXE = os.environ.get("HITBLOW_AXE", "build/axe/node_modules/axe-core/axe.min.js")
TIMEOUT = 60
# The network here is closed: without these Chromium keeps trying to reach it.
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--window-size=760,600"]


def slots(name):
    """The 42 texts of a message file as the game prints them (each line's line feed kept)."""
    with open(os.path.join(SOURCE, "messages", name), encoding="utf-8") as f:
        return f.read().splitlines(keepends=True)


EN = slots("en.txt")
KO = slots("ko.txt")
# The built-in texts, in a form Python reads; its three questions end without a line feed, which a
# file line can't.
JA = [text.rstrip("\n") if slot in (34, 35, 36) else text
      for slot, text in enumerate(slots("ja-utf8.txt"))]


def answer_text(value):
    hits, blows = divmod(value, 5)
    return "X" if value == 0 else (("%dH" % hits if hits else "") + ("%dB" % blows if blows else ""))


class Page:
    """The page in one browser: load it, type lines, read what the program printed."""

    def __init__(self, base, language=None, emulation=None):
        """`language`: the browser's language (--lang), which the page may start in; `emulation`:
        the device Chromium emulates, none for a desktop window."""
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        if emulation:
            options.add_experimental_option("mobileEmulation", emulation)
        self.profile = tempfile.mkdtemp(prefix="hitblow_chromium_")
        for flag in CHROMIUM_FLAGS + ["--user-data-dir=" + self.profile]:
            options.add_argument(flag)
        if language:
            options.add_argument("--lang=" + language)
            options.add_experimental_option("prefs", {"intl.accept_languages": language})
        self.browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.base = base

    def close(self):
        self.browser.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def state(self):
        return self.browser.find_element(By.ID, "status").get_attribute("data-state")

    def settle(self):
        """Waits until the program waits for a line or has ended."""
        WebDriverWait(self.browser, TIMEOUT).until(lambda _: self.state() in ("waiting", "ended"))

    def load(self, query="", base=None):
        self.browser.get((base or self.base) + "/" + query)
        self.settle()

    def type(self, line):
        self.browser.find_element(By.ID, "line").send_keys(line + Keys.ENTER)
        self.settle()

    def output(self):
        """Everything the program printed: the screen's text nodes (echoes and notes are spans)."""
        return self.browser.execute_script(
            "return Array.from(document.getElementById('screen').childNodes)"
            ".filter(n => n.nodeType === Node.TEXT_NODE).map(n => n.data).join('');")

    def exit_status(self):
        return self.browser.find_element(By.ID, "status").get_attribute("data-exit-status")

    def run_async(self, script):
        """The value of `script`, the body of an async function run in the page."""
        return self.browser.execute_async_script("(async () => { %s })().then(arguments[0], "
                                                 "(e) => arguments[0]('error: ' + e));" % script)


class Phone(Page):
    """The page on a 360 x 640 touch phone, where every line is tapped on the key pad."""

    # What is off the phone's screen, of the game's parts that must all be on it.
    LAYOUT = """
        const box = (id) => document.getElementById(id).getBoundingClientRect();
        const shown = (r, top = 0, bottom = innerHeight) => r !== undefined && r.width > 0 &&
            r.left >= 0 && r.right <= innerWidth && r.top >= top && r.bottom <= bottom;
        const newest = document.createRange();
        newest.selectNodeContents(document.getElementById('screen').lastChild);
        const drawn = Array.from(newest.getClientRects()).filter((r) => r.width > 0);
        const checks = {'nothing sideways': document.documentElement.scrollWidth <= innerWidth,
                        'input line': shown(box('line')), 'key pad': shown(box('pad')),
                        'newest output': shown(drawn.pop(), box('terminal').top,
                                               box('terminal').bottom)};
        return Object.keys(checks).filter((name) => !checks[name]);"""

    def __init__(self, base, language=None):
        super().__init__(base, language,
                         {"deviceMetrics": {"width": 360, "height": 640, "touch": True}})

    def type(self, line):
        """Taps a slip (9 and the backspace), the line's keys and Enter."""
        for key in ["9", "Backspace"] + list(line) + ["Enter"]:
            tap = ActionBuilder(self.browser, mouse=PointerInput(interaction.POINTER_TOUCH, "f"))
            tap.pointer_action.move_to(
                self.browser.find_element(By.CSS_SELECTOR, '#pad [data-key="%s"]' % key))
            tap.pointer_action.pointer_down().pointer_up()
            tap.perform()
        self.settle()
        off = self.browser.execute_script(self.LAYOUT)
        assert not off, "off the phone's screen after %r: %s" % (line, off)


def play_truthfully(page, code, oddities=(), photograph_turn=None, photograph=SCREENSHOT):
    """Plays a whole game on the page as a player holding `code` who answers truthfully; before
    the first guess types the lines in `oddities`. Returns the lines typed, the computer's first
    guess and its secret (read from the summary or from its closing words)."""
    typed = list(oddities)
    for line in oddities:
        page.type(line)
    first = None
    turn = 0
    while not page.output().endswith(PAUSE.decode()):
        guess = (1234, 5678, 9012, 3456, 7890)[turn % 5]
        page.type("%04d" % guess)
        computer = int(re.search(r"(\d{4})\n$", page.output()).group(1))
        first = computer if first is None else first
        answer = answer_text(score(computer, code))
        page.type(answer)
        typed += ["%04d" % guess, answer]
        turn += 1
        if turn == photograph_turn and photograph:
            page.browser.save_screenshot(photograph)
    summary = page.output().split(SEPARATOR.decode())
    last_row = summary[1].splitlines()[-1]
    user_won = re.match(r"(\d{4}) 4H ", last_row)
    secret = int(user_won.group(1) if user_won else re.findall(r"\d{4}", summary[0])[-1])
    return typed, first, secret


def serve(directory):
    """Serves `directory` from 127.0.0.1 in a thread; returns the server and its URL."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d" % server.server_address[1]


class ServedPage:
    """The site served from 127.0.0.1 to one browser whose language is LANGUAGE, and to a phone
    too when PHONE is set."""

    LANGUAGE = None
    PHONE = False

    @classmethod
    def setUpClass(cls):
        cls.server, base = serve(SITE)
        cls.page = Page(base, cls.LANGUAGE)
        cls.phone = Phone(base, cls.LANGUAGE) if cls.PHONE else None

    @classmethod
    def tearDownClass(cls):
        cls.page.close()
        if cls.phone:
            cls.phone.close()
        cls.server.shutdown()



class PageTest(ServedPage, unittest.TestCase):
    LANGUAGE = "ja"  # the page then starts with the built-in texts
    PHONE = True

    def assert_same_as_console(self, typed, first, secret, options, encoding, page=None):
        """The page's transcript equals the native program's for the same input and first guess."""
        native = subprocess.run([DRIVER, "%04d" % first, "-key=%d" % secret] + options,
                                input="".join(line + "\n" for line in typed).encode(),
                                stdout=subprocess.PIPE, timeout=TIMEOUT, check=True)
        self.assertEqual((page or self.page).output(), native.stdout.decode(encoding))

    def open_and_guess_1234(self, query=""):
        """Loads the page and guesses 1234, again in the rare game whose secret that is; returns
        the computer's first guess."""
        for _ in range(3):
            self.page.load(query)
            self.page.type("1234")
            if "1234 4H" not in self.page.output():
                return int(re.search(r"(\d{4})\n$", self.page.output()).group(1))
        self.fail("1234 won three games in a row")

    def test_built_in_dialogue_is_decoded_from_shift_jis(self):
        self.page.load()
        self.assertEqual(self.page.output(), JA[21])
        self.page.load("?sjis")  # the echo of all 42 texts, then the first prompt
        self.assertEqual(self.page.output(), "".join(text + "\n" for text in JA) + JA[21])

    def test_scripted_game_matches_the_console_byte_for_byte(self):
        self.page.load()
        typed, first, secret = play_truthfully(self.page, 9876, oddities=["12", "?", "abc"])
        self.assert_same_as_console(typed, first, secret, [], "cp932")

    def test_whole_game_in_english_then_a_new_game(self):
        for _ in range(3):  # a game decided in its first turn has no thinking: play another
            self.page.load("?mesg=en")
            typed, first, secret = play_truthfully(self.page, 5079, photograph_turn=2)
            shown = self.page.output()
            if len(typed) > 2:
                break
        thinking = re.escape(EN[0] + EN[1]).replace("%d", r"\d+")
        self.assertRegex(shown, thinking, "the computer thinks aloud after every answer")
        self.assertTrue(shown.endswith(PAUSE.decode()), shown[-200:])
        self.assert_same_as_console(typed, first, secret,
                                    ["-mesg=" + os.path.join(SOURCE, "messages", "en.txt")], "utf-8")
        self.page.type("")
        self.assertEqual((self.page.state(), self.page.exit_status()), ("ended", "0"))
        self.assertIn("[exit status 0]", self.page.browser.find_element(By.ID, "screen").text)
        self.page.type("")  # Enter after the end starts a fresh run
        self.assertEqual((self.page.state(), self.page.output()), ("waiting", EN[21]))

    def test_reminder_history_and_contradiction_dialog(self):
        first = self.open_and_guess_1234()
        self.page.type("12B")
        self.assertTrue(self.page.output().endswith(JA[25] + JA[26]), "unreadable answer")
        self.page.type("X")
        self.page.type("?")
        self.assertTrue(self.page.output().endswith(scored(first, 0).decode() + "\n" + JA[22]),
                        "the history lists the turn, then the prompt comes again")
        self.page.type("1234")
        self.page.type("4H3B")  # 23: no code can answer that, so no candidate is left
        self.assertIn(JA[32], self.page.output())
        # The question has no line feed; the page shows it while the program waits.
        self.assertTrue(self.page.output().endswith(JA[34]), self.page.output()[-100:])
        self.page.type("n")
        self.assertTrue(self.page.output().endswith(JA[41] + PAUSE.decode()))

    def test_options_quiet_and_a_missing_message_file(self):
        self.open_and_guess_1234("?mesg=en&quiet")
        self.page.type("X")
        self.assertNotIn(EN[0], self.page.output(), "-quiet silences the thinking")
        self.assertTrue(self.page.output().endswith(EN[22]))
        self.page.load("?mesg=nosuch")
        self.assertEqual(self.page.output(),
                         'Cannot open message file "messages/nosuch.txt"\n' + PAUSE.decode())
        self.page.type("")
        self.assertEqual(self.page.exit_status(), "255", "-1 as a shell shows it")


    def test_site_weighs_under_a_megabyte_gzipped(self):
        weight = 0
        for folder, _, names in os.walk(SITE):
            for name in names:
                with open(os.path.join(folder, name), "rb") as f:
                    weight += len(gzip.compress(f.read(), 9))
        print("\nthe site weighs %d bytes gzipped" % weight, file=sys.stderr)
        self.assertLess(weight, 1 << 20)

    def test_phone_plays_a_whole_game_by_taps_alone(self):
        self.phone.load("?mesg=en")
        typed, first, secret = play_truthfully(self.phone, 3714, ["56", "?"], 2, PHONE_SCREENSHOT)
        self.assert_same_as_console(typed, first, secret, ["-mesg=" + os.path.join(
            SOURCE, "messages", "en.txt")], "utf-8", self.phone)
        self.assertEqual(self.phone.browser.execute_script(
            "return performance.getEntriesByType('resource').map((e) => e.name)"
            ".filter((url) => !url.startsWith(location.origin + '/'));"), [], "other hosts")

    def test_each_run_has_its_own_secret_even_with_the_clock_stopped(self):
        stop = self.page.browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                                 {"source": "Date.now = () => 1700000000000;"})
        self.addCleanup(self.page.browser.execute_cdp_cmd,
                        "Page.removeScriptToEvaluateOnNewDocument", stop)
        games = set()
        for _ in range(3):  # the score of 1234 shows the secret, the next guess the deck
            self.open_and_guess_1234()
            games.add(self.page.output())
        self.assertGreater(len(games), 1, games)

    def test_installable_with_its_icons(self):
        self.phone.load()
        self.assertEqual(self.phone.browser.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []})
        self.assertEqual(self.phone.run_async("""
            const icons = (await (await fetch('manifest.webmanifest')).json()).icons;
            return Promise.all(icons.map(async (icon) => {
              const image = new Image();
              image.src = icon.src;
              await image.decode();
              return [icon.sizes, image.naturalWidth + 'x' + image.naturalHeight];
            }));"""), [["192x192"] * 2, ["512x512"] * 2])

    def test_axe_finds_nothing_serious_and_every_key_has_a_name(self):
        with open(AXE, encoding="utf-8") as f:
            axe = f.read()
        for page in (self.phone, self.page):
            page.load()
            page.browser.execute_script(axe)
            found = page.run_async("return (await axe.run(document)).violations"
                                   ".map((v) => [v.id, v.impact, v.nodes.length]);")
            print("\naxe on the %s: %s" % (type(page).__name__, found), file=sys.stderr)
            self.assertEqual([v for v in found if v[1] in ("serious", "critical")], [])
        keys = self.phone.browser.find_elements(By.CSS_SELECTOR, "#pad button")
        self.assertEqual([key.get_attribute("data-key") for key in keys],
                         list("12345H67890BX?YN") + ["Backspace", "Enter"])
        for key in keys:  # the name begins with what the key shows or types
            self.assertIn(key.accessible_name.split(" ")[0],
                          (key.text, key.get_attribute("data-key")))

    def test_offline_after_one_visit_and_a_new_site_replaces_the_old(self):
        copy = tempfile.mkdtemp(prefix="hitblow_site_")
        self.addCleanup(shutil.rmtree, copy)
        shutil.copytree(SITE, copy, dirs_exist_ok=True)
        server, base = serve(copy)
        self.addCleanup(server.shutdown)
        cached = """
            await navigator.serviceWorker.ready;
            const names = await caches.keys();
            const files = (await (await caches.open(names[0])).keys()).map((r) => r.url);
            return [names, files.map((url) => url.slice(location.origin.length + 1)).sort()];"""
        self.phone.load(base=base)
        names, files = self.phone.run_async(cached)
        self.assertEqual(files, sorted([""] + [os.path.relpath(os.path.join(d, n), copy)
                                               for d, _, ns in os.walk(copy) for n in ns
                                               if n != "sw.js"]), "every file of the site")
        with open(os.path.join(copy, "messages", "en.txt"), "a", encoding="utf-8") as f:
            f.write("a line past the 42nd, in a new version\n")
        subprocess.run(["cmake", "-DSITE=" + copy, "-DTEMPLATE=%s/web/sw.js.in" % SOURCE,
                        "-P", "%s/web/service_worker.cmake" % SOURCE], check=True)
        self.phone.load(base=base)  # the next visit
        WebDriverWait(self.phone.browser, TIMEOUT, poll_frequency=1).until(
            lambda _: (lambda now: len(now) == 1 and now != names)(self.phone.run_async(cached)[0]),
            "the new site's cache alone")
        server.shutdown()
        server.server_close()  # refused at once, not left waiting
        self.phone.browser.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        self.addCleanup(self.phone.browser.execute_cdp_cmd, "Network.setCacheDisabled",
                        {"cacheDisabled": False})
        self.phone.load("?mesg=en", base=base)
        self.assertTrue(self.phone.run_async(
            "return (await (await fetch('messages/en.txt')).text()).endsWith('version\\n');"))
        play_truthfully(self.phone, 8024)
        self.assertTrue(self.phone.output().endswith(PAUSE.decode()), "a whole game offline")


class VisitorsLanguage(ServedPage, unittest.TestCase):
    """Without ?mesg= the page starts in the browser's language, here a Korean Chromium's."""

    LANGUAGE = "ko"

    def test_starts_in_korean_and_lists_every_catalogue(self):
        self.page.load()
        self.assertEqual(self.page.output(), KO[21])
        self.page.type("12")  # not a code: the reminder in Korean too
        self.assertEqual(self.page.output(), KO[21] + KO[23] + KO[21])
        menu = self.page.browser.execute_script(
            "return Array.from(document.getElementById('mesg').options)"
            ".map(o => [o.value, o.text, o.selected]);")
        shipped = sorted(n[:-len(".txt")] for n in os.listdir(os.path.join(SITE, "messages")))
        self.assertEqual(sorted(value for value, _, _ in menu), sorted([""] + shipped))
        self.assertIn(["ko", "한국어", True], menu)
        for name in ("简体中文", "繁體中文", "Русский", "Español", "English"):
            self.assertIn(name, [text for _, text, _ in menu])

    def test_first_language_a_catalogue_speaks(self):
        cases = [  # the browser's languages, the query, the catalogue it starts in, why
            (["zh-TW"], "", "zh-Hant", "Taiwan reads Traditional characters"),
            (["zh-HK", "en"], "", "zh-Hant", "so does Hong Kong"),
            (["zh-Hant-TW"], "", "zh-Hant", "a script subtag"),
            (["zh-CN"], "", "zh-Hans", "mainland China reads Simplified"),
            (["zh-SG"], "", "zh-Hans", "so does Singapore"),
            (["de-DE", "ru-RU", "en"], "", "ru", "the first language that a catalogue speaks"),
            (["es-419"], "", "es", "a region is no obstacle"),
            (["ja-JP", "en"], "", None, "Japanese is the built-in texts"),
            (["fr", "de"], "", None, "no catalogue: the built-in texts"),
            (["ko"], "?mesg=", None, "?mesg= alone is the built-in texts, whatever the language"),
            (["ko"], "?mesg=en", "en", "?mesg= decides over the language"),
        ]
        browser = self.page.browser
        for languages, query, catalogue, why in cases:
            with self.subTest(languages=languages, query=query, why=why):
                script = browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
                    "source": "Object.defineProperty(navigator, 'languages', {get: () => %s});"
                              % json.dumps(languages)})
                try:
                    self.page.load(query)
                finally:
                    browser.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", script)
                want = slots(catalogue + ".txt")[21] if catalogue else JA[21]
                self.assertEqual(self.page.output(), want)


class Quiet(http.server.SimpleHTTPRequestHandler):
    """Serves the site without a log line per request."""

    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    unittest.main(verbosity=2)
