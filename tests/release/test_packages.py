#!/usr/bin/env python3
"""The packages in dist/ as players get them: unpacked (never installed), checked and played.

Each Debian package is unpacked with `dpkg-deb -x` into a scratch root, its control fields and
file list are checked, and its own binary plays whole games with its own English messages (the
arm64 and armhf ones under qemu-user, the i386 one natively where the kernel runs 32-bit
programs), and a game in every catalogue named as a player would (`-mesg=ko`) from another
folder. The Windows zip is unpacked and played under wine the same way, the RPM with rpm2cpio
and cpio. Every build must also play exactly the same strategy: hitblow-report's count for one
first guess is the same on all five. The source tarball is unpacked in a folder whose path
holds a blank, then built, tested and installed the way packagers do, and that game played.
The desktop entry, the AppStream data and the icons of the packages and of that install must
pass the desktops' own validators. Run by scripts/test-release after scripts/release; DIST
names another folder.
"""

import gzip
import hashlib
import os
import re
import subprocess
import struct
import sys
import tarfile
import tempfile
import unittest
import zipfile
from xml.etree import ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import (PAUSE, SCRATCH, SEPARATOR, SOURCE, Terminal, run, score,  # noqa: E402
                     scored)

DIST = os.environ.get("DIST", os.path.join(SOURCE, "dist"))
TIMEOUT = 300  # seconds for one program run; the first run of wine sets up its prefix

with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as cmake_lists:
    VERSION = re.search(r"project\(hitblow VERSION ([0-9.]+)", cmake_lists.read()).group(1)
with open(os.path.join(SOURCE, "cmake", "packaging.cmake"), encoding="utf-8") as packaging:
    # What the packages name by default: (maintainer, home page).
    DEFAULTS = re.search(r'set\(HITBLOW_MAINTAINER "([^"]+)".*set\(HITBLOW_HOMEPAGE "([^"]+)"',
                         packaging.read(), re.S).groups()


def i386_runner():
    """How this machine runs an i386 program: as the system runs it, with its own 32-bit C library
    (libc6-i386 and lib32stdc++6), where the kernel runs 32-bit programs; else qemu-i386 (7.2
    never finishes hitblow-report's threaded walk, which the x87 itself does in a second). Run
    directly, the program sees its own file as /proc/self/exe, where it finds its catalogues."""
    try:
        native = subprocess.run(["/lib/ld-linux.so.2", "--version"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=TIMEOUT).returncode == 0
    except OSError:
        native = False
    if native:
        return []
    return ["qemu-i386", "-L", "/usr/i686-linux-gnu"]


# How to run a program of each architecture here, with the C library of Debian's cross packages.
ARCHITECTURES = {
    "amd64": [],
    "arm64": ["qemu-aarch64", "-L", "/usr/aarch64-linux-gnu"],
    "armhf": ["qemu-arm", "-L", "/usr/arm-linux-gnueabihf"],
    "i386": i386_runner(),
}
# Every catalogue, by the name -mesg= takes.
CATALOGUES = ("en", "ja-utf8", "ko", "zh-Hans", "zh-Hant", "ru", "es")
# The desktop's files, under the install prefix, in every package but the zip.
APP_ID = "example.c_seed_14f1b185.hitblow"
ICON_SIZES = (48, 128, 256)
DESKTOP_FILES = ["share/applications/%s.desktop" % APP_ID, "share/metainfo/%s.metainfo.xml" % APP_ID,
                 "share/icons/hicolor/scalable/apps/%s.svg" % APP_ID] + [
    "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, APP_ID) for size in ICON_SIZES]
# Languages of the menu entry, as its keys name them: every catalogue's but English, the default.
DESKTOP_LOCALES = ("ja", "ko", "zh_CN", "zh_TW", "ru", "es")
# What the Debian packages hold, and the modes dpkg will give each file.
PROGRAM, TEXT = "-rwxr-xr-x", "-rw-r--r--"
MESSAGE_DIR = "/usr/share/games/hitblow/messages"
DEB_FILES = {
    "usr/games/hitblow": PROGRAM,
    "usr/games/hitblow-report": PROGRAM,
    "usr/share/doc/hitblow/changelog.gz": TEXT,
    "usr/share/doc/hitblow/copyright": TEXT,
    "usr/share/man/man6/hitblow.6.gz": TEXT,
    "usr/share/man/man6/hitblow-report.6.gz": TEXT,
    **{"%s/%s.txt" % (MESSAGE_DIR[1:], name): TEXT for name in CATALOGUES},
    **{"usr/" + path: TEXT for path in DESKTOP_FILES},
}
LIBRARIES = {"libc6", "libgcc-s1", "libstdc++6"}  # what the programs may need at run time
WINDOWS_FILES = ["hitblow.exe", "hitblow-report.exe", "LICENSE.txt", "README.txt",
                 "messages/"] + ["messages/%s.txt" % name for name in CATALOGUES]

KEY = 1234     # the computer's secret in every game here
MY_CODE = 5079  # the player's, answered truthfully


def slot_texts(path):
    """The 42 messages of a message file, each with its line feed."""
    with open(path, "rb") as f:
        return [line + b"\n" for line in f.read().split(b"\n")[:42]]


def answer(value):
    """A score typed as a player would: X, 2H, 3B or 1H2B."""
    hits, blows = divmod(value, 5)
    return (b"%dH" % hits if hits else b"") + (b"%dB" % blows if blows else b"") or b"X"


def quick_win(command, messages, argument=None, cwd=None):
    """Plays through pipes: 5678 (nothing), answers X, then 1234 and the player wins, with the
    message file `messages` named by its path or by `argument`, from the folder `cwd`. The
    computer's two guesses are read from the output; returns (output, wanted, status)."""
    result = run(command[1:] + ["-mesg=" + (argument or messages), "-key=%d" % KEY],
                 b"5678\nX\n1234\nX\n\n", program=command[0], timeout=TIMEOUT, cwd=cwd)
    output = result.output.replace(b"\r\n", b"\n")
    s = slot_texts(messages)
    guesses = [int(g) for g in re.findall(re.escape(s[24]).replace(b"%04d", b"([0-9]{4})"),
                                          output)]
    if len(guesses) != 2:
        return output, b"two guesses of the computer", result.status
    first, second = guesses
    wanted = (s[21] + scored(5678, 0) + s[31] + s[24] % first
              + b" " * 12 + scored(first, 0) + s[30] + s[0] + s[1] % 360 + s[2] % second
              + s[22] + scored(1234, 20) + s[31] + s[24] % second + s[28] + SEPARATOR
              + scored(5678, 0) + scored(first, 0) + b"\n"
              + scored(1234, 20) + scored(second, 0) + b"\n" + PAUSE)
    return output, wanted, result.status


def every_catalogue_by_name(test, command, shipped):
    """Plays quick_win with every catalogue named as a player would (-mesg=ko), from a folder of
    its own, so that only the program's folder leads to `shipped(name)`, the file it must find."""
    with tempfile.TemporaryDirectory(prefix="hitblow_elsewhere_") as elsewhere:
        for name in CATALOGUES:
            with test.subTest(name=name):
                output, wanted, status = quick_win(command, shipped(name), name, elsewhere)
                test.assertEqual(output, wanted)
                test.assertEqual(status, 0)


def check_desktop_files(test, prefix):
    """The menu entry, the AppStream data and the icons installed under `prefix`: valid by the
    desktops' own validators, the entry in every language, the PNGs the size their folder says."""
    entry = os.path.join(prefix, DESKTOP_FILES[0])
    done = subprocess.run(["desktop-file-validate", entry], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=TIMEOUT)
    test.assertEqual((done.returncode, done.stdout.decode()), (0, ""))
    with open(entry, encoding="utf-8") as f:
        keys = {line.split("=", 1)[0] for line in f.read().split("\n[Desktop Action")[0].splitlines()}
    for key in ("Name", "Comment"):
        test.assertLessEqual({key} | {"%s[%s]" % (key, lang) for lang in DESKTOP_LOCALES}, keys)
    # Pedantic, and offline: the screenshot's address is the home page's, not reachable here.
    done = subprocess.run(["appstreamcli", "validate", "--pedantic", "--no-net",
                           os.path.join(prefix, DESKTOP_FILES[1])], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=TIMEOUT)
    text = done.stdout.decode()
    sys.stderr.write("".join("appstreamcli: %s\n" % line for line in text.splitlines() if line))
    test.assertEqual(done.returncode, 0, text)
    test.assertEqual([line for line in text.splitlines() if line[:2] in ("E:", "W:")], [])
    # What software centres show, which the validator lets pass without.
    component = ElementTree.parse(os.path.join(prefix, DESKTOP_FILES[1])).getroot()
    for path in ("summary", "description/p", "screenshots/screenshot/image", "content_rating",
                 "launchable", "url"):
        test.assertIsNotNone(component.find(path), path)
    test.assertEqual(component.find("releases/release").get("version"), VERSION)
    test.assertEqual(component.find("launchable").text, os.path.basename(entry))
    for size, path in zip(ICON_SIZES, DESKTOP_FILES[3:]):
        with open(os.path.join(prefix, path), "rb") as f:
            header = f.read(24)
        test.assertEqual((header[:8], struct.unpack(">II", header[16:24])),
                         (b"\x89PNG\r\n\x1a\n", (size, size)), path)


_scratch = None


def setUpModule():
    """Unpacks every Debian package into its own root, for the whole run."""
    global _scratch
    _scratch = tempfile.TemporaryDirectory(prefix="hitblow_release_")
    for arch in ARCHITECTURES:
        subprocess.run(["dpkg-deb", "-x", deb_path(arch), os.path.join(_scratch.name, arch)],
                       check=True, timeout=TIMEOUT)


def tearDownModule():
    _scratch.cleanup()


def deb_path(arch):
    return os.path.join(DIST, "hitblow_%s_%s.deb" % (VERSION, arch))


def unpacked(arch, path):
    """A file of the unpacked package of `arch`."""
    return os.path.join(_scratch.name, arch, path.lstrip("/"))


def command(arch, program):
    """How to run a program of the unpacked package of `arch` on this machine."""
    return ARCHITECTURES[arch] + [unpacked(arch, "usr/games/" + program)]


def report(command):
    """hitblow-report's count for the first guess 0123, without its timing line."""
    done = subprocess.run(command + ["0123", "--jobs", "1"], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=TIMEOUT)
    text = done.stdout.decode(errors="replace").replace("\r\n", "\n")
    return done.returncode, re.sub(r"\n[0-9]+ histories thought through in .*\n", "\n", text)


class DebianPackage:
    """One architecture's .deb; the subclasses below name it."""

    arch = None

    @classmethod
    def setUpClass(cls):
        cls.deb = deb_path(cls.arch)

    def unpacked(self, path):
        return unpacked(self.arch, path)

    def field(self, name):
        done = subprocess.run(["dpkg-deb", "-f", self.deb, name], stdout=subprocess.PIPE,
                              check=True, timeout=TIMEOUT)
        return done.stdout.decode().strip()

    def test_control_fields(self):
        for name, want in [("Package", "hitblow"), ("Version", VERSION),
                           ("Architecture", self.arch), ("Section", "games"),
                           ("Priority", "optional"), ("Maintainer", DEFAULTS[0]),
                           ("Homepage", DEFAULTS[1])]:
            self.assertEqual(self.field(name), want, name)
        # Every dependency a library of this architecture, by its own name: no cross packages.
        depends = [d.strip() for d in self.field("Depends").split(",")]
        names = {re.match(r"[a-z0-9.+-]+", d).group(0) for d in depends}
        self.assertIn("libc6", names, depends)
        self.assertLessEqual(names, LIBRARIES, depends)
        for d in depends:
            self.assertRegex(d, r"^[a-z0-9.+-]+( \(>= [0-9.]+\))?$")

    def test_file_list_and_modes(self):
        done = subprocess.run(["dpkg-deb", "-c", self.deb], stdout=subprocess.PIPE, check=True,
                              timeout=TIMEOUT)
        files = {}
        for line in done.stdout.decode().splitlines():
            mode, owner, _, _, _, path = line.split(None, 5)
            self.assertEqual(owner, "root/root", line)
            if mode.startswith("d"):
                self.assertEqual(mode, "drwxr-xr-x", line)
            else:
                files[path[2:]] = mode
        self.assertEqual(files, DEB_FILES)

    def test_copyright_holds_the_license(self):
        with open(self.unpacked("usr/share/doc/hitblow/copyright"), encoding="utf-8") as f:
            copyright_file = f.read()
        with open(os.path.join(SOURCE, "LICENSE"), encoding="utf-8") as f:
            license_text = f.read()
        terms = copyright_file.split("License: Expat\n", 1)[1]
        terms = "\n".join(line[1:] if line != " ." else "" for line in terms.splitlines())
        self.assertTrue(license_text.strip().endswith("\n\n" + terms.strip()), terms)
        holder = re.search(r"Copyright \(c\) (.+)", license_text).group(1)
        self.assertIn("\nCopyright: %s\n" % holder, copyright_file)

    def test_changelog_and_manuals_name_this_release(self):
        with gzip.open(self.unpacked("usr/share/doc/hitblow/changelog.gz"), "rt") as f:
            self.assertTrue(f.readline().startswith("hitblow (%s) " % VERSION))
        pages = {}
        for page in ("hitblow.6.gz", "hitblow-report.6.gz"):
            with gzip.open(self.unpacked("usr/share/man/man6/" + page), "rt") as f:
                pages[page] = f.read().splitlines()
            self.assertIn(".ds Vn " + VERSION, pages[page], page)
        self.assertIn(".ds Md " + MESSAGE_DIR.replace("-", "\\-"), pages["hitblow.6.gz"])

    def test_quick_game_through_pipes(self):
        output, wanted, status = quick_win(command(self.arch, "hitblow"),
                                           self.unpacked(MESSAGE_DIR + "/en.txt"))
        self.assertEqual(output, wanted)
        self.assertEqual(status, 0)

    def test_every_catalogue_by_name_from_another_folder(self):
        every_catalogue_by_name(self, command(self.arch, "hitblow"),
                                lambda name: self.unpacked("%s/%s.txt" % (MESSAGE_DIR, name)))

    def test_whole_game_in_a_terminal(self):
        """The computer finds the player's code, every answer true."""
        messages = self.unpacked(MESSAGE_DIR + "/en.txt")
        s = slot_texts(messages)
        game = command(self.arch, "hitblow")
        terminal = Terminal(game[1:] + ["-mesg=" + messages, "-key=%d" % KEY], program=game[0])
        rows = b""
        terminal.expect(s[21], timeout=TIMEOUT)
        for _ in range(9):
            terminal.type(b"5678")
            terminal.expect(s[24].split(b"%")[0])
            guess = int(terminal.expect(b"\n")[:4])
            value = score(guess, MY_CODE)
            terminal.type(answer(value))
            rows += scored(5678, score(5678, KEY)) + scored(guess, value) + b"\n"
            if value == 20:
                break
            terminal.expect(s[22])
        self.assertEqual(value, 20, "no four hits in nine turns")
        self.assertEqual(terminal.expect(PAUSE), s[29] % KEY + SEPARATOR + rows + PAUSE)
        terminal.type(b"")
        self.assertEqual(terminal.wait(), 0)

    def test_report_counts_the_strategy_of_every_build(self):
        status, text = report(command(self.arch, "hitblow-report"))
        self.assertEqual(status, 0, text)
        # One first guess leaves exactly one code for an eighth guess.
        self.assertIn("\nworst case 8 guesses, for 1 code:\n  3697\n", text)
        if self.arch != "amd64":
            self.assertEqual(text, report(command("amd64", "hitblow-report"))[1])


class Amd64(DebianPackage, unittest.TestCase):
    arch = "amd64"

    def test_desktop_entry_appstream_and_icons(self):
        check_desktop_files(self, self.unpacked("usr"))


class Arm64(DebianPackage, unittest.TestCase):
    arch = "arm64"


class Armhf(DebianPackage, unittest.TestCase):
    arch = "armhf"


class I386(DebianPackage, unittest.TestCase):
    arch = "i386"


class Lintian(unittest.TestCase):
    def test_no_errors(self):
        debs = [deb_path(arch) for arch in ARCHITECTURES]
        # lintian's own scratch files go in the run's folder (harness.SCRATCH), not /tmp.
        done = subprocess.run(["lintian", "--no-tag-display-limit"] + debs,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=TIMEOUT,
                              env=dict(os.environ, TMPDIR=SCRATCH.name))
        report_lines = done.stdout.decode().splitlines()
        sys.stderr.write("".join("lintian: %s\n" % line for line in report_lines))
        self.assertEqual([line for line in report_lines if line.startswith("E:")], [])


class WindowsZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.zip = os.path.join(DIST, "hitblow-%s-win64.zip" % VERSION)
        cls.scratch = tempfile.TemporaryDirectory(prefix="hitblow_zip_")
        with zipfile.ZipFile(cls.zip) as archive:
            cls.names = archive.namelist()
            archive.extractall(cls.scratch.name)
        cls.folder = os.path.join(cls.scratch.name, "hitblow-%s-win64" % VERSION)
        # wine keeps its Windows in the build tree, not in the developer's home, and its server's
        # folder there too (under TMPDIR), and sets it up first, so that the games show nothing
        # but their own output.
        prefix = os.path.abspath(os.path.join(SOURCE, "build", "wine"))
        os.makedirs(prefix, exist_ok=True)
        os.environ.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                          WINEPREFIX=prefix, TMPDIR=prefix)
        for setup in (["wineboot", "--init"], ["wineserver", "--wait"]):
            subprocess.run(setup, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=TIMEOUT, check=True)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def wine(self, program):
        return ["wine", os.path.join(self.folder, program)]

    def test_one_folder_with_the_programs_messages_and_readme(self):
        top = "hitblow-%s-win64/" % VERSION
        self.assertEqual(sorted(self.names), sorted(top + name for name in WINDOWS_FILES))
        for name in CATALOGUES:
            with open(os.path.join(self.folder, "messages", name + ".txt"), "rb") as got, \
                    open(os.path.join(SOURCE, "messages", name + ".txt"), "rb") as want:
                self.assertEqual(got.read(), want.read(), name)

    def test_texts_for_notepad_end_lines_with_cr_lf(self):
        for name in ("README.txt", "LICENSE.txt"):
            with open(os.path.join(self.folder, name), "rb") as f:
                text = f.read()
            self.assertTrue(text.endswith(b"\r\n"), name)
            self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), name)
            self.assertEqual(text.count(b"\r"), text.count(b"\r\n"), name)
        with open(os.path.join(self.folder, "README.txt"), "rb") as f:
            self.assertTrue(f.readline().startswith(b"hitblow %s " % VERSION.encode()))

    def test_quick_game_under_wine(self):
        output, wanted, status = quick_win(self.wine("hitblow.exe"),
                                           os.path.join(self.folder, "messages", "en.txt"))
        self.assertEqual(output, wanted)
        self.assertEqual(status, 0)

    def test_every_catalogue_by_name_from_another_folder(self):
        every_catalogue_by_name(self, self.wine("hitblow.exe"),
                                lambda name: os.path.join(self.folder, "messages", name + ".txt"))

    def test_report_counts_the_same_strategy(self):
        status, text = report(self.wine("hitblow-report.exe"))
        self.assertEqual(status, 0, text)
        self.assertEqual(text, report(command("amd64", "hitblow-report"))[1])


class Rpm(unittest.TestCase):
    """The RPM, unpacked with rpm2cpio and cpio as a packager inspects one."""

    @classmethod
    def setUpClass(cls):
        cls.rpm = os.path.join(DIST, "hitblow-%s-1.x86_64.rpm" % VERSION)
        cls.scratch = tempfile.TemporaryDirectory(prefix="hitblow_rpm_")
        unpack = "rpm2cpio \"$1\" | cpio -idm --quiet -D \"$2\""
        subprocess.run(["sh", "-ec", unpack, "sh", cls.rpm, cls.scratch.name], check=True,
                       timeout=TIMEOUT)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def unpacked(self, path):
        return os.path.join(self.scratch.name, path)

    def query(self, form):
        done = subprocess.run(["rpm", "-qp", "--queryformat", form, self.rpm],
                              stdout=subprocess.PIPE, check=True, timeout=TIMEOUT)
        return done.stdout.decode()

    def test_fields_and_files(self):
        self.assertEqual(self.query("%{NAME} %{VERSION}-%{RELEASE} %{ARCH} %{LICENSE}\n"
                                    "%{PACKAGER}\n%{URL}\n"),
                         "hitblow %s-1 x86_64 MIT\n%s\n%s\n" % ((VERSION,) + DEFAULTS))
        files = dict(reversed(line.split(" ", 1)) for line in
                     self.query("[%{FILEMODES:perms} %{FILENAMES}\n]").splitlines()
                     if not line.startswith("d"))
        want = {"/usr/bin/hitblow": PROGRAM, "/usr/bin/hitblow-report": PROGRAM,
                "/usr/share/licenses/hitblow/LICENSE": TEXT,
                **{"/usr/share/man/man6/%s.6.gz" % page: TEXT for page in ("hitblow", "hitblow-report")},
                **{"/usr/share/hitblow/messages/%s.txt" % name: TEXT for name in CATALOGUES},
                **{"/usr/" + path: TEXT for path in DESKTOP_FILES}}
        self.assertEqual(files, want)

    def test_every_catalogue_by_name_from_another_folder(self):
        every_catalogue_by_name(self, [self.unpacked("usr/bin/hitblow")], lambda name: self.unpacked(
            "usr/share/hitblow/messages/%s.txt" % name))

    def test_desktop_entry_appstream_and_icons(self):
        check_desktop_files(self, self.unpacked("usr"))

    def test_rpmlint_finds_no_error(self):
        # With Fedora's and openSUSE's settings (packaging/rpmlint.toml), not Debian's defaults.
        done = subprocess.run(["rpmlint", "-c", os.path.join(SOURCE, "packaging", "rpmlint.toml"),
                               self.rpm], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=TIMEOUT, env=dict(os.environ, TMPDIR=SCRATCH.name))
        text = done.stdout.decode()
        sys.stderr.write("".join("rpmlint: %s\n" % line for line in text.splitlines() if line))
        self.assertRegex(text, r"\n 1 packages and 0 specfiles checked; 0 errors, ")


class SourceTarball(unittest.TestCase):
    """The sources as packagers download them, unpacked where the path holds a blank, and built,
    tested and installed with CMake's plain commands."""

    # DESTDIR keeps the install in the scratch folder, under the default prefix.
    PLAIN = "cmake -S . -B build && cmake --build build && cmake --install build"
    PREFIX = "usr/local"

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="hitblow source ")
        with tarfile.open(os.path.join(DIST, "hitblow-%s.tar.gz" % VERSION)) as tarball:
            cls.names = tarball.getnames()
            tarball.extractall(cls.scratch.name)
        cls.source = os.path.join(cls.scratch.name, "hitblow-%s" % VERSION)
        cls.root = os.path.join(cls.scratch.name, "installed root")
        done = subprocess.run(["sh", "-c", cls.PLAIN], cwd=cls.source, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=TIMEOUT * 3,
                              env=dict(os.environ, DESTDIR=cls.root, CMAKE_BUILD_PARALLEL_LEVEL="2"))
        if done.returncode != 0:
            cls.scratch.cleanup()
            raise AssertionError(cls.PLAIN + " failed:\n" + done.stdout.decode(errors="replace"))

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def installed(self, path):
        return os.path.join(self.root, self.PREFIX, path)

    def test_every_file_git_tracks_in_one_folder(self):
        done = subprocess.run(["git", "-C", SOURCE, "ls-files", "-z"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=TIMEOUT)
        if done.returncode != 0:
            self.skipTest("the sources are not a git checkout")
        tracked = ["hitblow-%s/%s" % (VERSION, path) for path in done.stdout.decode().split("\0")
                   if path]
        files = [name for name in self.names if not name.endswith("/") and
                 os.path.isfile(os.path.join(self.scratch.name, name))]
        self.assertEqual(sorted(files), sorted(tracked))

    def test_unit_and_install_tests_pass(self):
        done = subprocess.run(["ctest", "--test-dir", "build", "--output-on-failure", "-R",
                               "^(unit|e2e_test_install)$"], cwd=self.source,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT)
        self.assertEqual(done.returncode, 0, done.stdout.decode(errors="replace"))
        self.assertIn(b"100% tests passed, 0 tests failed out of 2", done.stdout)

    def test_installed_game_plays_every_catalogue_by_name(self):
        every_catalogue_by_name(self, [self.installed("bin/hitblow")], lambda name: self.installed(
            "share/hitblow/messages/%s.txt" % name))

    def test_desktop_entry_appstream_and_icons(self):
        check_desktop_files(self, os.path.join(self.root, self.PREFIX))


class ConfiguredMaintainer(unittest.TestCase):
    """-DHITBLOW_MAINTAINER and -DHITBLOW_HOMEPAGE reach what each package carries; values no
    package could carry stop the configuration."""

    def configure(self, build, *options):
        return subprocess.run(["cmake", "-S", SOURCE, "-B", build, "-DHITBLOW_TESTS=OFF",
                               "-DHITBLOW_BENCH=OFF"] + list(options), stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=TIMEOUT)

    def test_packages_carry_the_configured_values(self):
        maintainer, homepage = "A Packager <packager@example.org>", "https://example.org/hitblow"
        # What each layout's package generator reads, from the CPack configuration.
        fields = {"deb": ['CPACK_DEBIAN_PACKAGE_MAINTAINER "%s"' % maintainer,
                          'CPACK_DEBIAN_PACKAGE_HOMEPAGE "%s"' % homepage],
                  "rpm": ['CPACK_RPM_PACKAGE_URL "%s"' % homepage,
                          'CPACK_RPM_SPEC_MORE_DEFINE "%%define packager %s' % maintainer]}
        with tempfile.TemporaryDirectory(prefix="hitblow_configured_") as build:
            for layout, wanted in fields.items():
                with self.subTest(layout=layout):
                    done = self.configure(build, "-DHITBLOW_PACKAGE=" + layout,
                                          "-DHITBLOW_MAINTAINER=" + maintainer,
                                          "-DHITBLOW_HOMEPAGE=" + homepage)
                    self.assertEqual(done.returncode, 0, done.stdout.decode(errors="replace"))
                    with open(os.path.join(build, "CPackConfig.cmake"), encoding="utf-8") as f:
                        config = f.read()
                    for field in wanted:
                        self.assertIn("set(" + field, config)
                    with open(os.path.join(build, APP_ID + ".metainfo.xml"), encoding="utf-8") as f:
                        self.assertIn('<url type="homepage">%s</url>' % homepage, f.read())

    def test_values_no_package_can_carry_are_refused(self):
        cases = [("HITBLOW_MAINTAINER", "packager@example.org", "no name, no angle brackets"),
                 ("HITBLOW_MAINTAINER", "A, B <ab@example.org>", "a comma makes two maintainers"),
                 ("HITBLOW_HOMEPAGE", "example.org/hitblow", "no scheme"),
                 ("HITBLOW_HOMEPAGE", "https://example.org/<b>", "angle brackets break the XML")]
        with tempfile.TemporaryDirectory(prefix="hitblow_refused_") as build:
            for name, value, why in cases:
                with self.subTest(name=name, value=value):
                    # Each case alone: the other value as it is by default.
                    done = self.configure(build, "-DHITBLOW_MAINTAINER=" + DEFAULTS[0],
                                          "-DHITBLOW_HOMEPAGE=" + DEFAULTS[1],
                                          "-D%s=%s" % (name, value))
                    self.assertNotEqual(done.returncode, 0, why)
                    self.assertIn(name + " is '%s'" % value, done.stdout.decode(), why)


class Checksums(unittest.TestCase):
    def test_sums_of_every_package(self):
        with open(os.path.join(DIST, "SHA256SUMS"), encoding="utf-8") as f:
            listed = dict(reversed(line.split()) for line in f)
        want = ["hitblow_%s_%s.deb" % (VERSION, arch) for arch in ARCHITECTURES]
        want += ["hitblow-%s-win64.zip" % VERSION, "hitblow-%s-1.x86_64.rpm" % VERSION,
                 "hitblow-%s.tar.gz" % VERSION]
        self.assertEqual(sorted(listed), sorted(want))
        for name in want:
            with open(os.path.join(DIST, name), "rb") as f:
                self.assertEqual(listed[name], hashlib.sha256(f.read()).hexdigest(), name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
