#!/usr/bin/env python3
"""The Debian package: it builds, holds the programs, their manual pages, the desktop entry,
the icons and the copyright file, its programs run from an unpacked copy, and lintian finds
no errors. Usage: test_package.py BUILD_DIR"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD = None
PACKAGE = None
WORK = None

MULTIARCH = subprocess.run(["dpkg-architecture", "-qDEB_HOST_MULTIARCH"], capture_output=True, text=True).stdout.strip()
EXPECTED_FILES = [
    "./usr/bin/vbsrun",
    "./usr/bin/vornix-coder",
    "./usr/lib/%s/vornix-coder/libvornix-wayland.so" % MULTIARCH,
    "./usr/lib/%s/vornix-coder/libvornix-winenv.so" % MULTIARCH,
    "./usr/lib/%s/vornix-coder/libvornix-x11.so" % MULTIARCH,
    "./usr/share/applications/vornix-coder.desktop",
    "./usr/share/doc/vornix-coder/changelog.gz",
    "./usr/share/doc/vornix-coder/copyright",
    "./usr/share/icons/hicolor/48x48/apps/vornix-coder.png",
    "./usr/share/icons/hicolor/scalable/apps/vornix-coder.svg",
    "./usr/share/man/man1/vbsrun.1.gz",
    "./usr/share/man/man1/vornix-coder.1.gz",
]


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=300, **kwargs)


def setUpModule():
    global PACKAGE, WORK
    WORK = tempfile.mkdtemp()
    built = run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", WORK)
    if built.returncode != 0:
        raise RuntimeError("cpack failed:\n" + built.stdout + built.stderr)
    debs = glob.glob(os.path.join(WORK, "vornix-coder_*_*.deb"))
    if len(debs) != 1:
        raise RuntimeError("expected one package, found %r" % debs)
    PACKAGE = debs[0]


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


class Package(unittest.TestCase):
    def test_file_list(self):
        listing = run("dpkg-deb", "-c", PACKAGE).stdout.splitlines()
        files = sorted(line.split()[-1] for line in listing if not line.startswith("d"))
        self.assertEqual(files, EXPECTED_FILES)
        modes = {line.split()[-1]: line.split()[0] for line in listing}
        self.assertEqual(modes["./usr/bin/vbsrun"], "-rwxr-xr-x")
        self.assertEqual(modes["./usr/share/man/man1/vbsrun.1.gz"], "-rw-r--r--")

    def test_control_fields(self):
        def field(name):
            return run("dpkg-deb", "-f", PACKAGE, name).stdout.strip()
        self.assertEqual(field("Package"), "vornix-coder")
        self.assertRegex(os.path.basename(PACKAGE), r"^vornix-coder_\d+\.\d+_[a-z0-9]+\.deb$")
        depends = field("Depends")
        for needed in ["libqt6widgets6", "libqt6gui6", "libxdo3", "libc6", "fonts-liberation"]:
            self.assertIn(needed, depends)
        self.assertTrue(field("Description"))

    def test_unpacked_programs_run_and_pages_render(self):
        root = os.path.join(WORK, "root")
        self.assertEqual(run("dpkg-deb", "-x", PACKAGE, root).returncode, 0)
        script = os.path.join(WORK, "hello.vbs")
        with open(script, "w") as f:
            f.write('WScript.Echo "packaged " & (6 * 7)\n')
        vbsrun = os.path.join(root, "usr/bin/vbsrun")
        done = run(vbsrun, "//nologo", script)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (0, "packaged 42\n", ""))
        self.assertEqual(run(vbsrun, "--version").returncode, 0)
        for page, title in [("vbsrun", "VBSRUN(1)"), ("vornix-coder", "VORNIX-CODER(1)")]:
            shown = run("man", "-l", os.path.join(root, "usr/share/man/man1", page + ".1.gz"),
                        env=dict(os.environ, MANPAGER="cat", PAGER="cat", MANWIDTH="80"))
            self.assertEqual(shown.returncode, 0, shown.stderr)
            self.assertTrue(shown.stdout.lstrip().startswith(title), shown.stdout[:200])
            self.assertIn("NAME", shown.stdout)
            self.assertNotIn("warning", shown.stderr)
        self.assertIn("//T:", run("man", "-l", os.path.join(root, "usr/share/man/man1/vbsrun.1.gz"),
                                  env=dict(os.environ, MANPAGER="cat")).stdout)

    def test_lintian_reports_no_errors_or_warnings(self):
        checked = run("lintian", "--no-tag-display-limit", PACKAGE)
        findings = [line for line in checked.stdout.splitlines() if line[:2] in ("E:", "W:")]
        self.assertEqual(findings, [])


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
