#!/usr/bin/env python3
"""The packages in dist/ as players get them: unpacked (never installed), checked and played.

Each Debian package is unpacked with `dpkg-deb -x` into a scratch root, its control fields and
file list are checked, and its own binary plays whole games with its own English messages (the
arm64 and armhf ones under qemu-user, the i386 one natively where the kernel runs 32-bit
programs), and a game in every catalogue named as a player would (`-mesg=ko`) from another
folder. The Windows zip is unpacked and played under wine the same way. Every build must also
play exactly the same strategy: hitblow-report's count for one first guess is the same on all
five. Run by scripts/test-release after scripts/release; DIST names another folder.
The RPM is played from rpm2cpio, the source tarball after its build in a path with a blank.
"""

import gzip
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import zipfile
from xml.etree import ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import (CATALOGUES, PAUSE, SCRATCH, SEPARATOR, SOURCE, Terminal, locale,  # noqa: E402
                     main, run, score, scored)

DIST = os.environ.get("DIST", os.path.join(SOURCE, "dist"))
TIMEOUT = 300  # seconds for one program run; the first run of wine sets up its prefix

with open(os.path.join(SOURCE, "debian", "changelog"), encoding="utf-8") as changelog:
    # The newest release's version, as CMake reads it: no epoch, no Debian revision.
    CHANGELOG = changelog.read()
    VERSION = re.match(r"hitblow \((?:[0-9]+:)?([^)]+?)(?:-[^-)]+)?\) ", CHANGELOG).group(1)
    # The .debs' version: with the Debian revision, which the source package and CPack share.
    DEB_VERSION = re.match(r"hitblow \((?:[0-9]+:)?([^)]+)\) ", CHANGELOG).group(1)
    RPM_RELEASE = (DEB_VERSION[len(VERSION):] or "-1")[1:]  # the same revision, 1 without one
with open(os.path.join(SOURCE, "cmake", "packaging.cmake"), encoding="utf-8") as packaging:
    # (maintainer, home page): the newest release's signer, and the project's home page.
    DEFAULTS = (re.search(r"\n -- (.+?)  ", CHANGELOG).group(1),
                re.search(r'set\(HITBLOW_HOMEPAGE "([^"]+)"', packaging.read()).group(1))


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
# The desktop's files, under the install prefix, in every package but the zip.
APP_ID = "org.example.hitblow"  # from the home page's host
DESKTOP_FILES = ["share/applications/%s.desktop" % APP_ID,
                 "share/metainfo/%s.metainfo.xml" % APP_ID,
                 "share/icons/hicolor/scalable/apps/%s.svg" % APP_ID] + [
    "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, APP_ID) for size in (48, 128, 256)]
# What the Debian packages hold, and the modes dpkg will give each file.
PROGRAM, TEXT = "-rwxr-xr-x", "-rw-r--r--"
MESSAGE_DIR = "/usr/share/games/hitblow/messages"
DEB_FILES = {
    "usr/games/hitblow": PROGRAM,
    "usr/games/hitblow-report": PROGRAM,
    "usr/share/doc/hitblow/changelog.Debian.gz": TEXT,
    "usr/share/doc/hitblow/copyright": TEXT,
    "usr/share/lintian/overrides/hitblow": TEXT,
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


def check_desktop_files(test, prefix, program):
    """The menu entry and AppStream data under `prefix`: no error or warning from the desktops'
    validators, the entry named in every language, what software centres show, and `program`
    started as the menu starts it on a Spanish desktop speaking Spanish."""
    entry, metainfo = (os.path.join(prefix, path) for path in DESKTOP_FILES[:2])
    # appstreamcli offline: the screenshot is on the home page, out of reach here.
    for validate in (["desktop-file-validate", entry],
                     ["appstreamcli", "validate", "--pedantic", "--no-net", metainfo]):
        done = subprocess.run(validate, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=TIMEOUT)
        lines = done.stdout.decode().splitlines()
        sys.stderr.write("".join("%s: %s\n" % (validate[0], line) for line in lines if line))
        test.assertEqual((done.returncode, [line for line in lines if re.match(
            r"[EW]:|.*: (error|warning): ", line)]), (0, []), lines)
    with open(entry, encoding="utf-8") as f:
        main_group = f.read().split("[Desktop Action")[0]
    keys = {line.split("=")[0] for line in main_group.splitlines()}
    arguments = re.search(r"^Exec=(.*)$", main_group, re.M).group(1).split()[1:]
    terminal = Terminal(arguments, program=program, env=locale({"LANG": "es_ES.UTF-8"}))
    terminal.expect(slot_texts(os.path.join(SOURCE, "messages", "es.txt"))[21], timeout=TIMEOUT)
    terminal.close_input()
    terminal.expect(PAUSE, timeout=TIMEOUT)
    test.assertEqual(terminal.wait(), 0)
    test.assertLessEqual({"%s[%s]" % (key, lang) for key in ("Name", "Comment")
                          for lang in ("ja", "ko", "zh_CN", "zh_TW", "ru", "es")}, keys)
    component = ElementTree.parse(metainfo).getroot()
    for path in ("summary", "description/p", "screenshots/screenshot/image", "content_rating"):
        test.assertIsNotNone(component.find(path), path)
    test.assertEqual([component.find(path).text for path in ("launchable", "url")],
                     [os.path.basename(entry), DEFAULTS[1]])
    test.assertEqual(component.find("releases/release").get("version"), VERSION)


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
    return os.path.join(DIST, "hitblow_%s_%s.deb" % (DEB_VERSION, arch))


def control_field(deb, name):
    """A field of a .deb's control file."""
    done = subprocess.run(["dpkg-deb", "-f", deb, name], stdout=subprocess.PIPE, check=True,
                          timeout=TIMEOUT)
    return done.stdout.decode().strip()


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

    def test_control_fields(self):
        for name, want in [("Package", "hitblow"), ("Version", DEB_VERSION),
                           ("Architecture", self.arch), ("Section", "games"),
                           ("Priority", "optional"), ("Maintainer", DEFAULTS[0]),
                           ("Homepage", DEFAULTS[1])]:
            self.assertEqual(control_field(self.deb, name), want, name)
        # Every dependency a library of this architecture, by its own name: no cross packages.
        depends = [d.strip() for d in control_field(self.deb, "Depends").split(",")]
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
        with gzip.open(self.unpacked("usr/share/doc/hitblow/changelog.Debian.gz"), "rt") as f:
            self.assertTrue(f.readline().startswith("hitblow (%s) " % DEB_VERSION))
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

    def test_desktop_files(self):
        check_desktop_files(self, self.unpacked("usr"), self.unpacked("usr/games/hitblow"))


class Arm64(DebianPackage, unittest.TestCase):
    arch = "arm64"


class Armhf(DebianPackage, unittest.TestCase):
    arch = "armhf"


class I386(DebianPackage, unittest.TestCase):
    arch = "i386"

    def test_report_counts_the_strategy_of_every_build(self):
        if ARCHITECTURES["i386"]:
            self.skipTest("this kernel runs no 32-bit x86 programs, and qemu-i386 takes minutes "
                          "for the walk the x87 does in a second")
        super().test_report_counts_the_strategy_of_every_build()


def lintian(test, arguments, failing=("E:",)):
    """Runs lintian on `arguments`, shows its report, and fails `test` on a tag of `failing`."""
    # lintian's own scratch files go in the run's folder (harness.SCRATCH), not /tmp.
    done = subprocess.run(["lintian", "--tag-display-limit", "0"] + arguments,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=TIMEOUT,
                          env=dict(os.environ, TMPDIR=SCRATCH.name))
    report_lines = done.stdout.decode().splitlines()
    sys.stderr.write("".join("lintian: %s\n" % line for line in report_lines))
    test.assertEqual([line for line in report_lines if line.startswith(failing)], [])


class Lintian(unittest.TestCase):
    def test_no_errors(self):
        lintian(self, [deb_path(arch) for arch in ARCHITECTURES])


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


class InstalledTree:
    """The game installed under `prefix` as the RPM and `cmake --install` lay it out."""

    def test_every_catalogue_by_name_from_another_folder(self):
        every_catalogue_by_name(self, [os.path.join(self.prefix, "bin/hitblow")], lambda name:
                                "%s/share/hitblow/messages/%s.txt" % (self.prefix, name))

    def test_desktop_files(self):
        check_desktop_files(self, self.prefix, os.path.join(self.prefix, "bin/hitblow"))


class Rpm(InstalledTree, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rpm = os.path.join(DIST, "hitblow-%s-%s.x86_64.rpm" % (VERSION, RPM_RELEASE))
        root = tempfile.mkdtemp(prefix="hitblow_rpm_")  # in the run's scratch folder
        subprocess.run(["sh", "-c", 'rpm2cpio "$0" | cpio -idm --quiet -D "$1"', cls.rpm, root],
                       check=True, timeout=TIMEOUT)
        cls.prefix = os.path.join(root, "usr")

    def test_fields_files_and_rpmlint(self):
        form = ("%{NAME} %{VERSION}-%{RELEASE} %{ARCH} %{LICENSE}\n%{PACKAGER}\n%{URL}\n"
                "[%{FILEMODES:perms} %{FILENAMES}\n]")
        done = subprocess.run(["rpm", "-qp", "--queryformat", form, self.rpm],
                              stdout=subprocess.PIPE, check=True, timeout=TIMEOUT)
        lines = done.stdout.decode().splitlines()
        self.assertEqual(lines[:3], ["hitblow %s-%s x86_64 MIT" % (VERSION, RPM_RELEASE),
                                     *DEFAULTS])
        # The .deb's files where RPM systems keep them, the license in their licenses folder.
        want = {"/" + re.sub("^usr/games/", "usr/bin/", path).replace("share/games/", "share/"):
                mode for path, mode in DEB_FILES.items()
                if not path.startswith(("usr/share/doc/", "usr/share/lintian/"))}
        want["/usr/share/licenses/hitblow/LICENSE"] = TEXT
        self.assertEqual(dict(reversed(line.split()) for line in lines[3:] if line[0] != "d"), want)
        done = subprocess.run(["rpmlint", "-c", os.path.join(SOURCE, "packaging", "rpmlint.toml"),
                               self.rpm], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=TIMEOUT, env=dict(os.environ, TMPDIR=SCRATCH.name))
        report_lines = done.stdout.decode().splitlines()
        sys.stderr.write("".join("rpmlint: %s\n" % line for line in report_lines))
        self.assertIn(b" checked; 0 errors, ", done.stdout)



class SourceTarball(InstalledTree, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="hitblow source ")
        with tarfile.open(os.path.join(DIST, "hitblow-%s.tar.gz" % VERSION)) as tarball:
            cls.files = [member.name for member in tarball.getmembers() if member.isfile()]
            tarball.extractall(cls.scratch)
        cls.source = os.path.join(cls.scratch, "hitblow-" + VERSION)
        cls.prefix = os.path.join(cls.scratch, "root", "usr", "local")
        plain = "cmake -S . -B build && cmake --build build && cmake --install build"
        done = subprocess.run(["sh", "-c", plain], cwd=cls.source, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=TIMEOUT * 3, env=dict(
                                  os.environ, DESTDIR=cls.scratch + "/root",
                                  CMAKE_BUILD_PARALLEL_LEVEL="2"))
        assert done.returncode == 0, plain + " failed:\n" + done.stdout.decode(errors="replace")

    def test_every_file_git_tracks_in_one_folder(self):
        tracked = subprocess.run(["git", "-C", SOURCE, "ls-files", "-z"], stdout=subprocess.PIPE,
                                 check=True, timeout=TIMEOUT).stdout.decode().split("\0")[:-1]
        self.assertEqual(sorted(self.files), sorted("hitblow-%s/%s" % (VERSION, path)
                                                    for path in tracked))

    def test_unit_and_install_tests_pass(self):
        done = subprocess.run(["ctest", "--test-dir", "build", "-R", "^(unit|e2e_test_install)$"],
                              cwd=self.source, stdout=subprocess.PIPE, timeout=TIMEOUT)
        self.assertIn(b"100% tests passed, 0 tests failed out of 2", done.stdout, done.stdout)



class SourcePackage(unittest.TestCase):
    """debian/ as a distribution builds it: dpkg-buildpackage from the release tarball, as the
    upstream tarball, with the build's tests; and from a clean clone of the same commit in another
    folder, without them (DEB_BUILD_OPTIONS=nocheck may not change what is built). The two .debs
    must be the same bytes, lintian --pedantic must find no error or warning, and autopkgtest
    plays the package installed."""

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="hitblow_debian_")
        tarball = os.path.join(DIST, "hitblow-%s.tar.gz" % VERSION)
        folders = [os.path.join(cls.scratch, "tarball"), os.path.join(cls.scratch, "clone")]
        trees = [os.path.join(folders[0], "hitblow-" + VERSION),
                 os.path.join(folders[1], "hitblow")]
        with tarfile.open(tarball) as archive:
            archive.extractall(folders[0])
        # The upstream tarball: the release's without its own debian/ (debian/copyright).
        subprocess.run(["mk-origtargz", tarball], cwd=trees[0], stdout=subprocess.DEVNULL,
                       check=True, timeout=TIMEOUT)
        # The clone takes the commit the tarball was made from, which git archive records.
        with gzip.open(tarball) as archive:
            commit = subprocess.run(["git", "get-tar-commit-id"], input=archive.read(),
                                    stdout=subprocess.PIPE, check=True, timeout=TIMEOUT)
        for git in (["clone", "-q", "--no-checkout", SOURCE, trees[1]],
                    ["-C", trees[1], "checkout", "-q", commit.stdout.decode().strip()]):
            subprocess.run(["git"] + git, check=True, timeout=TIMEOUT)
        cls.logs = []
        for tree, options, more in ((trees[0], "", []), (trees[1], " nocheck", ["-b"])):
            done = subprocess.run(["dpkg-buildpackage", "-us", "-uc"] + more, cwd=tree,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                  timeout=TIMEOUT * 4,
                                  env=dict(os.environ, DEB_BUILD_OPTIONS="parallel=2" + options))
            cls.logs.append(done.stdout.decode(errors="replace"))
            assert done.returncode == 0, "dpkg-buildpackage failed in %s:\n%s" % (tree,
                                                                                  cls.logs[-1])
        cls.debs = [os.path.join(f, "hitblow_%s_amd64.deb" % DEB_VERSION) for f in folders]
        cls.changes = os.path.join(folders[0], "hitblow_%s_amd64.changes" % DEB_VERSION)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def test_the_tests_ran_in_the_build(self):
        self.assertRegex(self.logs[0], r"\n100% tests passed, 0 tests failed out of [0-9]+\n")
        self.assertNotIn("tests passed", self.logs[1])

    def test_two_builds_make_the_same_bytes(self):
        with open(self.debs[0], "rb") as first, open(self.debs[1], "rb") as second:
            self.assertTrue(first.read() == second.read(), "%s and %s differ" % tuple(self.debs))

    def test_lintian_pedantic_finds_no_error_or_warning(self):
        lintian(self, ["--pedantic", "--info", self.changes], ("E:", "W:"))

    def test_same_files_and_fields_as_the_packages_for_other_machines(self):
        listing = subprocess.run(["dpkg-deb", "-c", self.debs[0]], stdout=subprocess.PIPE,
                                 check=True, timeout=TIMEOUT).stdout.decode()
        files = {line.split()[5][2:]: line.split()[0] for line in listing.splitlines()
                 if not line.startswith("d")}
        self.assertEqual(files, DEB_FILES)
        for name in ("Package", "Version", "Section", "Priority", "Maintainer", "Homepage",
                     "Description"):
            self.assertEqual(control_field(self.debs[0], name),
                             control_field(deb_path("arm64"), name), name)

    def test_autopkgtest_plays_the_installed_package(self):
        # The null runner installs the package into this machine, so it runs only where it may
        # (as root) and where no hitblow is installed already, and removes the package again.
        installed = subprocess.run(["dpkg-query", "-W", "hitblow"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, timeout=TIMEOUT).returncode == 0
        if os.geteuid() != 0 or installed:
            self.skipTest("autopkgtest's null runner installs the package: needs root and no "
                          "hitblow installed here")
        self.addCleanup(subprocess.run, ["dpkg", "--purge", "hitblow"], stdout=subprocess.DEVNULL,
                        timeout=TIMEOUT)
        dsc = os.path.join(os.path.dirname(self.debs[0]), "hitblow_%s.dsc" % DEB_VERSION)
        done = subprocess.run(["autopkgtest", self.debs[0], dsc, "--", "null"],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT * 2)
        output = done.stdout.decode(errors="replace")
        self.assertEqual(done.returncode, 0, output)
        self.assertRegex(output, r"\ninstalled-game +PASS\n")


class Checksums(unittest.TestCase):
    def test_sums_of_every_package(self):
        with open(os.path.join(DIST, "SHA256SUMS"), encoding="utf-8") as f:
            listed = dict(reversed(line.split()) for line in f)
        want = ["hitblow_%s_%s.deb" % (DEB_VERSION, arch) for arch in ARCHITECTURES]
        want += ["hitblow-%s-win64.zip" % VERSION, "hitblow-%s-win64.msi" % VERSION,
                 "hitblow-%s-%s.x86_64.rpm" % (VERSION, RPM_RELEASE),
                 "hitblow-%s.tar.gz" % VERSION]
        self.assertEqual(sorted(listed), sorted(want))
        for name in want:
            with open(os.path.join(DIST, name), "rb") as f:
                self.assertEqual(listed[name], hashlib.sha256(f.read()).hexdigest(), name)


if __name__ == "__main__":
    main()
