#!/usr/bin/env python3
"""SendKeys and AppActivate on a Wayland desktop: a headless sway (wlroots) runs as an
unprivileged user, keyprobe windows run on it as native Wayland clients, and scripts run
through vbsrun. Usage: test_wayland.py PATH/TO/vbsrun PATH/TO/keyprobe"""
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

VBSRUN = KEYPROBE = FAKEPORTAL = None
SWAY = None  # the running compositor: process, its runtime folder, its sockets


def wait_for(predicate, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()


class Sway:
    """A headless sway of its own. sway refuses to run as root: then it runs as nobody."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="vornix-sway-")
        os.chmod(self.folder, 0o755)
        self.runtime = os.path.join(self.folder, "runtime")
        os.mkdir(self.runtime, 0o700)
        config = os.path.join(self.folder, "config")
        with open(config, "w") as f:
            f.write("xwayland force\n")  # X11 windows too, through XWayland
        x_before = set(os.listdir("/tmp/.X11-unix")) if os.path.isdir("/tmp/.X11-unix") else set()
        env = {"PATH": "/usr/bin:/bin", "HOME": self.folder, "XDG_RUNTIME_DIR": self.runtime,
               "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
               "WLR_HEADLESS_OUTPUTS": "1"}
        command = [shutil.which("sway"), "-c", config]
        if os.getuid() == 0:
            shutil.chown(self.runtime, "nobody")
            command = [shutil.which("runuser") or "/usr/sbin/runuser", "-u", "nobody", "--"] + command
        self.log = open(os.path.join(self.folder, "sway.log"), "w")
        self.process = subprocess.Popen(command, env=env, stdout=self.log, stderr=subprocess.STDOUT)
        if not wait_for(lambda: glob.glob(os.path.join(self.runtime, "wayland-*[0-9]"))
                        and glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))):
            self.stop()
            raise RuntimeError("sway did not start")
        self.display = sorted(glob.glob(os.path.join(self.runtime, "wayland-*[0-9]")))[0]
        self.ipc = glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))[0]
        # Its XWayland's display: the X socket that came with it. XWayland admits its own
        # user only; when we are root, root is let in.
        self.x_display = None
        new_x = lambda: set(os.listdir("/tmp/.X11-unix")) - x_before if os.path.isdir("/tmp/.X11-unix") else set()
        if wait_for(lambda: new_x(), 10):
            self.x_display = ":" + sorted(new_x())[0].lstrip("X")
            if os.getuid() == 0:
                wait_for(lambda: subprocess.run(
                    [shutil.which("runuser") or "/usr/sbin/runuser", "-u", "nobody", "--", "env",
                     "DISPLAY=" + self.x_display, "xhost", "+si:localuser:root"],
                    capture_output=True).returncode == 0, 10)
        # Our clients' own runtime folder (Qt wants one); the compositor is named by path.
        self.client_runtime = os.path.join(self.folder, "clients")
        os.mkdir(self.client_runtime, 0o700)
        # A desktop has a keyboard from the start; the headless one gets one that stays: a
        # script that types into no window at all, then waits.
        keeper = os.path.join(self.folder, "keyboard.vbs")
        with open(keeper, "w") as f:
            f.write('CreateObject("WScript.Shell").SendKeys "x"\nWScript.Sleep 3600000\n')
        self.keyboard = subprocess.Popen([VBSRUN, keeper], env=self.env(), stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        time.sleep(0.3)

    def env(self, x11=False):
        """A native Wayland client's environment, or with x11 an XWayland client's."""
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK")}
        env.update(WAYLAND_DISPLAY=self.display, SWAYSOCK=self.ipc, XDG_RUNTIME_DIR=self.client_runtime,
                   QT_QPA_PLATFORM="xcb" if x11 else "wayland")
        if self.x_display:
            env["DISPLAY"] = self.x_display
        if x11:
            del env["WAYLAND_DISPLAY"]
        return env

    def focused_title(self):
        tree = subprocess.run(["swaymsg", "-s", self.ipc, "-t", "get_tree"], capture_output=True, text=True).stdout
        def walk(node):
            if node.get("focused") and node.get("pid"):
                return node.get("name")
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                found = walk(child)
                if found:
                    return found
            return None
        return walk(json.loads(tree)) if tree else None

    def stop(self):
        if getattr(self, "keyboard", None):
            self.keyboard.kill()
            self.keyboard.wait()
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)


def setUpModule():
    global SWAY
    if not shutil.which("sway"):
        raise unittest.SkipTest("sway is not installed (setup.sh installs it)")
    SWAY = Sway()


def tearDownModule():
    if SWAY:
        SWAY.stop()


class Probe:
    """A keyprobe window: what it received once Return came, and when it was active."""

    def __init__(self, folder, title, x11=False):
        self.title = title
        self.received = os.path.join(folder, title.replace(" ", "_") + ".txt")
        self.activity = os.path.join(folder, title.replace(" ", "_") + ".activity")
        self.process = subprocess.Popen([KEYPROBE, title, self.received, self.activity], env=SWAY.env(x11),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: SWAY.focused_title() == title):
            raise RuntimeError("the probe %r did not show up focused" % title)

    def text(self, seconds=5.0):
        wait_for(lambda: os.path.exists(self.received), seconds)
        if not os.path.exists(self.received):
            return None
        with open(self.received, encoding="utf-8") as f:
            return f.read()

    def activity_lines(self):
        if not os.path.exists(self.activity):
            return []
        with open(self.activity) as f:
            return f.read().split()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class WaylandTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)
        self.probes = []

    def tearDown(self):
        for p in self.probes:
            p.close()

    def probe(self, title, x11=False):
        p = Probe(self.folder, title, x11)
        self.probes.append(p)
        return p

    def vbs(self, text, *options):
        path = os.path.join(self.folder, "script.vbs")
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        run = subprocess.run([VBSRUN, *options, path], env=SWAY.env(), capture_output=True, text=True,
                             timeout=60, cwd=self.folder)
        return run.returncode, run.stdout, run.stderr


class SendKeys(WaylandTest):
    def test_round_trips(self):
        for keys, expected in [
            ("Hello, World", "Hello, World"),                 # shifted characters of a plain text
            ("{{}x{}} {+}{^}{%}{~}{(}{)}", "{x} +^%~()"),      # braces and the syntax's own characters
            ("{a 3}-{b 2}", "aaa-bb"),                         # repeats
            ("+(abc)d", "ABCd"),                               # a Shift group
            ("old text^a" + "new", "new"),                     # Ctrl+A selects all, typing replaces
            ("abcd{LEFT 2}{BS}X{END}!", "aXcd!"),               # named keys
            ("é€Жß✓", "é€Жß✓"),                              # characters no layout here has
        ]:
            with self.subTest(keys=keys):
                p = self.probe("Keys Probe %d" % len(self.probes))
                code, out, err = self.vbs('Set sh = CreateObject("WScript.Shell")\n'
                                          'sh.SendKeys "%s~"\n' % keys.replace('"', '""'))
                self.assertEqual((code, err), (0, ""))
                self.assertEqual(p.text(), expected)
                p.close()


class AppActivate(WaylandTest):
    def test_by_title_among_two(self):
        first = self.probe("First Probe")
        second = self.probe("Second Probe")  # the newest window has the focus
        code, out, err = self.vbs('Set sh = CreateObject("WScript.Shell")\n'
                                  'WScript.Echo sh.AppActivate("first probe")\n'
                                  'sh.SendKeys "to the first~"\n')
        self.assertEqual((code, out, err), (0, "-1\n", ""))
        self.assertEqual(first.text(), "to the first")
        self.assertIsNone(second.text(0.5))
        self.assertIn("active", first.activity_lines())
        # A title's beginning, then its end, any case.
        second_again = self.vbs('Set sh = CreateObject("WScript.Shell")\n'
                                'WScript.Echo sh.AppActivate("SECOND")\nsh.SendKeys "two~"\n')
        self.assertEqual(second_again[1], "-1\n")
        self.assertEqual(second.text(), "two")

    def test_by_process_id(self):
        self.probe("Other Probe")
        received = os.path.join(self.folder, "started.txt")
        code, out, err = self.vbs(
            'Set sh = CreateObject("WScript.Shell")\n'
            'Set started = sh.Exec("""%s"" ""Started Probe"" ""%s""")\n'
            'sh.AppActivate "Other Probe"\n'
            # The new program's window may take a while on a loaded machine: AppActivate
            # answers False until it shows.
            'For tries = 1 To 100\n'
            '  If sh.AppActivate(started.ProcessID) Then Exit For\n'
            '  WScript.Sleep 100\n'
            'Next\n'
            'WScript.Echo tries <= 100\n'
            'sh.SendKeys "by pid~"\n'
            'n = 0\n'
            'Do While started.Status = 0 And n < 200 : WScript.Sleep 50 : n = n + 1 : Loop\n' % (KEYPROBE, received))
        self.assertEqual((code, out, err), (0, "-1\n", ""))
        self.assertTrue(wait_for(lambda: os.path.exists(received)))
        with open(received) as f:
            self.assertEqual(f.read(), "by pid")

    def test_failures(self):
        self.probe("Lone Probe")
        code, out, err = self.vbs('Set sh = CreateObject("WScript.Shell")\n'
                                  'WScript.Echo sh.AppActivate("No Such Window")\n'
                                  'WScript.Echo sh.AppActivate(999999)\n')
        self.assertEqual((code, out, err), (0, "0\n0\n", ""))


class XWaylandBeside(WaylandTest):
    def test_keys_follow_the_active_window_whichever_kind(self):
        if not SWAY.x_display:
            self.skipTest("sway started no XWayland (the xwayland package is missing)")
        native = self.probe("Native Probe")
        x11 = self.probe("X11 Probe", x11=True)  # focused: XTest takes the keys
        code, out, err = self.vbs('Set sh = CreateObject("WScript.Shell")\n'
                                  'sh.SendKeys "first to x11 "\n'
                                  'WScript.Echo sh.AppActivate("Native Probe")\n'
                                  'sh.SendKeys "to the native one~"\n'
                                  'WScript.Sleep 200\n'
                                  'WScript.Echo sh.AppActivate("X11 Probe")\n'
                                  'sh.SendKeys "then x11~"\n')
        self.assertEqual((code, out, err), (0, "-1\n-1\n", ""))
        self.assertEqual(native.text(), "to the native one")
        self.assertEqual(x11.text(), "first to x11 then x11")


class ExecutePipeline(WaylandTest):
    def test_shell_activate_and_type_through_the_command_object(self):
        received = os.path.join(self.folder, "terminal.txt")
        # The probe the script starts outlives vbsrun: it goes when the test is done.
        self.addCleanup(subprocess.run, ["pkill", "-f", received])
        script = os.path.join(self.folder, "run.vbs")
        with open(script, "w") as f:
            f.write('Sub Main()\n'
                    '  Shell """%s"" ""Wayland Terminal"" ""%s"""\n'
                    '  WScript.Sleep 800\n'
                    '  AppActivate "Wayland Terminal"\n'
                    '  SendKeys "echo hello{ENTER}"\n'
                    'End Sub\n' % (KEYPROBE, received))
        # The started probe inherits the output: files, not pipes, so that nothing waits for it.
        with open(os.path.join(self.folder, "out"), "w+") as out:
            code = subprocess.run([VBSRUN, "--execute", script], env=SWAY.env(), stdout=out, stderr=out,
                                  timeout=60, cwd=self.folder).returncode
            out.seek(0)
            shown = out.read()
        self.assertEqual(code, 0, shown)
        self.assertIn("status: Code Executed Successfully!", shown)
        self.assertTrue(wait_for(lambda: os.path.exists(received)), shown)
        with open(received) as f:
            self.assertEqual(f.read(), "echo hello")


class NoWayIn(unittest.TestCase):
    def test_a_wayland_session_without_a_reachable_compositor_says_so(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        script = os.path.join(folder, "s.vbs")
        with open(script, "w") as f:
            f.write('Set sh = CreateObject("WScript.Shell")\nsh.SendKeys "x"\n')
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS")}
        env["WAYLAND_DISPLAY"] = os.path.join(folder, "no-such-compositor")
        env["XDG_RUNTIME_DIR"] = folder  # no session bus there either
        run = subprocess.run([VBSRUN, script], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(run.returncode, 1)
        self.assertIn("lets no program type into or activate the windows of another", run.stderr)


class Portal(unittest.TestCase):
    """GNOME and KDE: no virtual keyboard, keys through the desktop portal, windows through
    KWin's scripting on KDE. Stand-ins on a private session bus record what they are asked."""

    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)
        self.record = os.path.join(self.folder, "record.txt")
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             capture_output=True, text=True, check=True).stdout.split()
        self.address, bus_pid = bus[0], int(bus[1])
        self.addCleanup(os.kill, bus_pid, 15)

    def start_portal(self, *mode):
        portal = subprocess.Popen([FAKEPORTAL, self.record, *mode],
                                  env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.address))
        self.addCleanup(portal.wait)
        self.addCleanup(portal.terminate)
        names = lambda: subprocess.run(
            ["dbus-send", "--bus=" + self.address, "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"], capture_output=True, text=True).stdout
        name = "org.kde.KWin" if "kwin" in mode else "org.freedesktop.portal.Desktop"
        self.assertTrue(wait_for(lambda: name in names()))

    def run_script(self, text, desktop="GNOME", *options):
        path = os.path.join(self.folder, "s.vbs")
        with open(path, "w") as f:
            f.write(text)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SWAYSOCK")}
        env.update(DBUS_SESSION_BUS_ADDRESS=self.address, XDG_DATA_HOME=os.path.join(self.folder, "data"),
                   WAYLAND_DISPLAY=os.path.join(self.folder, "compositor-stand-in"), XDG_CURRENT_DESKTOP=desktop)
        return subprocess.run([VBSRUN, *options, path], env=env, capture_output=True, text=True, timeout=60)

    def lines(self):
        with open(self.record) as f:
            return f.read().splitlines()

    def test_keys_as_keysyms_in_one_session_with_a_kept_consent(self):
        self.start_portal()
        run = self.run_script('Set sh = CreateObject("WScript.Shell")\nsh.SendKeys "Hi{ENTER}"\n'
                              'sh.SendKeys "+a^c"\n')
        self.assertEqual((run.returncode, run.stderr), (0, ""))
        self.assertEqual(self.lines(), [
            "CreateSession", "SelectDevices types=1 persist=2 restore=", "Start",
            "key 48 1", "key 48 0", "key 69 1", "key 69 0", "key ff0d 1", "key ff0d 0",
            "key ffe1 1", "key 61 1", "key 61 0", "key ffe1 0",
            "key ffe3 1", "key 63 1", "key 63 0", "key ffe3 0"])
        # The next run hands the portal its restore token: no question to the user again.
        self.run_script('CreateObject("WScript.Shell").SendKeys "x"\n')
        self.assertIn("SelectDevices types=1 persist=2 restore=token-1", self.lines())

    def test_refusal_is_an_error_that_says_so(self):
        self.start_portal("refuse")
        run = self.run_script('Set sh = CreateObject("WScript.Shell")\nsh.SendKeys "x"\n')
        self.assertEqual(run.returncode, 1)
        self.assertIn("the user did not allow it", run.stderr)
        self.assertNotIn("key", " ".join(self.lines()))


    def test_kde_activates_through_kwin_scripts(self):
        self.start_portal("kwin", "Kate - notes.txt", "Konsole")
        run = self.run_script('Set sh = CreateObject("WScript.Shell")\n'
                              'WScript.Echo sh.AppActivate("konsole"), sh.AppActivate("NOTES.TXT"), '
                              'sh.AppActivate("Dolphin")\n', "KDE")
        self.assertEqual((run.returncode, run.stdout, run.stderr), (0, "-1 -1 0\n", ""))
        activations = [line for line in self.lines() if not line.startswith(("loadScript", "unloadScript"))]
        self.assertEqual(activations, ["activate Konsole", "activate Kate - notes.txt", "no window for dolphin"])
        # Every script loaded is unloaded again.
        loads = [line.split()[1] for line in self.lines() if line.startswith("loadScript")]
        unloads = [line.split()[1] for line in self.lines() if line.startswith("unloadScript")]
        self.assertEqual((len(loads), loads), (3, unloads))

    def test_gnome_says_plainly_that_windows_cannot_be_activated(self):
        run = self.run_script('Sub Main()\n  AppActivate "Terminal"\nEnd Sub\n', "GNOME", "--execute")
        self.assertEqual(run.returncode, 0)
        self.assertIn("status: GNOME offers no way for one program to activate the window of another", run.stderr)


if __name__ == "__main__":
    FAKEPORTAL = os.path.abspath(sys.argv.pop(3))
    KEYPROBE = os.path.abspath(sys.argv.pop(2))
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
