#!/usr/bin/python3
"""The real program in a private desktop, driven as a user would (guidrv): the text
survives every end of the program, scripts open and save as files, and a running script
can be stopped.

Run inside tests/gui/guidrv/with-desktop (CTest does):  test_window.py APP [SHOTS_DIR]
Each test gives the program its own HOME and state folder, and a PATH that holds only a
stand-in for xdg-open that writes down the pages it is asked to open.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "guidrv"))
import guidrv  # noqa: E402

APP = None
SHOTS = None
TITLE = "Vornix Coder"


class Program:
    """One run of the program, with a home of its own that outlives it."""

    def __init__(self, home, *args):
        self.home = home
        bin_dir = os.path.join(home, "bin")
        os.makedirs(bin_dir, exist_ok=True)
        opener = os.path.join(bin_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\necho "$@" >> "$HOME/opened-pages"\n')
        os.chmod(opener, 0o755)
        env = dict(os.environ, HOME=home, PATH=bin_dir,
                   XDG_STATE_HOME=os.path.join(home, "state"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"))
        env.pop("BROWSER", None)
        self.process = subprocess.Popen([APP, *args], env=env, cwd=home)
        self.driver = guidrv.Driver()

    def window(self, title=TITLE):
        return self.driver.wait_window(title, timeout=15)

    def opened_pages(self):
        try:
            with open(os.path.join(self.home, "opened-pages")) as f:
                return f.read().split()
        except FileNotFoundError:
            return []

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class WindowTest(unittest.TestCase):
    def setUp(self):
        self.home_dir = tempfile.TemporaryDirectory()
        self.home = self.home_dir.name
        self.programs = []

    def tearDown(self):
        for p in self.programs:
            p.end()
        self.home_dir.cleanup()

    def start(self, *args):
        program = Program(self.home, *args)
        self.programs.append(program)
        return program

    def wait_ended(self, program, seconds=15):
        try:
            program.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")

    def test_send_keys_example_without_a_calculator_loses_nothing(self):
        # The user's own script, then the Send Keys example, then F5. No calculator here:
        # Shell fails, the keys go to this program's own window, and Alt+F4 closes it.
        p = self.start()
        w = p.window()
        d = p.driver
        d.type_text("  mine = \"\u00e4\u00f6\u00fc\"\n", window=w, editor=True)  # the caret is in Main
        d.menu("&More Commands", "&Send Keys", window=w)
        before = d.editor_text(w)
        # (Typing through X sometimes drops the first key that needs a keymap change; what
        # counts is that the text the editor had comes back whole, checked below.)
        self.assertIn("  mine = \"", before)
        self.assertIn("\u00f6\u00fc\"", before)
        self.assertIn("SendKeys \"%{F4}\"", before)
        d.key("F5", window=w)
        self.wait_ended(p)
        # A close request, as Alt+F4 is: the home page was asked for once.
        deadline = time.monotonic() + 5
        while not p.opened_pages() and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual(len(p.opened_pages()), 1)
        again = self.start()
        w = again.window()
        self.assertEqual(again.driver.editor_text(w), before)

    def test_killed_after_typing_keeps_the_text(self):
        p = self.start()
        w = p.window()
        p.driver.type_text("  x = \"kept \u20ac\"", window=w, editor=True)
        typed = p.driver.editor_text(w)
        time.sleep(2)  # a copy is on disk a second after the change
        p.process.send_signal(signal.SIGKILL)
        p.process.wait()
        again = self.start()
        self.assertEqual(again.driver.editor_text(again.window()), typed)

    def test_exit_menu_and_alt_x_keep_the_text(self):
        for how in ("menu", "alt+x"):
            p = self.start()
            w = p.window()
            p.driver.type_text(f"' ended by {how}", window=w, editor=True)
            typed = p.driver.editor_text(w)
            if how == "menu":
                p.driver.menu("&File", "&Exit", window=w)
            else:
                p.driver.key("alt+x", window=w)
            self.wait_ended(p)
            again = self.start()
            self.assertEqual(again.driver.editor_text(again.window()), typed)
            again.driver.menu("&File", "&New Code", window=again.window())
            again.driver.menu("&File", "&Exit", window=again.window())
            self.wait_ended(again)

    def test_save_and_open_with_the_keyboard(self):
        p = self.start()
        w = p.window()
        d = p.driver
        text = "Sub Main()\n  MsgBox \"\u00c4rger \u00df \u20ac \u65e5\u672c\"\nEnd Sub"
        d.set_editor_text(text, window=w)
        path = os.path.join(self.home, "unicode script.vbs")
        d.key("ctrl+s", window=w)
        dialog = d.wait_window("Save Script", timeout=10)
        d.type_text(path + "\n", window=dialog)
        w = p.window(TITLE + " - unicode script.vbs")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), text.replace("\n", "\r\n").encode("utf-8"))
        if SHOTS:
            time.sleep(1)  # the editor repaints where the dialog was
            d.key("alt+f", window=w)
            time.sleep(0.5)
            d.screenshot(os.path.join(SHOTS, "file-menu.png"), window=w)
            d.key("Escape", window=w)
        d.menu("&File", "&New Code", window=w)
        w = p.window(TITLE)
        d.key("ctrl+o", window=w)
        dialog = d.wait_window("Open Script", timeout=10)
        d.type_text(path + "\n", window=dialog)
        w = p.window(TITLE + " - unicode script.vbs")
        self.assertEqual(d.editor_text(w), text)

    def test_file_on_the_command_line(self):
        path = os.path.join(self.home, "given.vbs")
        with open(path, "wb") as f:
            f.write("Sub Main()\r\n  ' Gr\u00fc\u00dfe\r\nEnd Sub\r\n".encode("cp1252"))
        p = self.start(path)
        w = p.window(TITLE + " - given.vbs")
        self.assertEqual(p.driver.editor_text(w), "Sub Main()\n  ' Gr\u00fc\u00dfe\nEnd Sub\n")

    def test_endless_loop_stopped_with_escape(self):
        p = self.start()
        w = p.window()
        d = p.driver
        d.set_editor_text("Sub Main()\n  Do\n    x = x + 1\n  Loop\nEnd Sub\n", window=w)
        d.key("F5", window=w)
        # The window still answers and paints: its status line says the script runs.
        d.wait_label("Running...", window=w, contains=True, timeout=5)
        if SHOTS:
            d.screenshot(os.path.join(SHOTS, "running-script.png"), window=w)
        started = time.monotonic()
        d.key("Escape", window=w)
        d.wait_label("Stopped by the user", window=w, timeout=5)
        self.assertLess(time.monotonic() - started, 1.5)  # within a second, and the driver's own reads
        self.assertEqual(d.editor_text(w), "Sub Main()\n  Do\n    x = x + 1\n  Loop\nEnd Sub\n")


    def test_browse_for_folder_asks_in_the_window(self):
        chosen = os.path.join(self.home, "picked folder")
        os.makedirs(chosen)
        record = os.path.join(self.home, "chosen.txt")
        p = self.start()
        w = p.window()
        d = p.driver
        d.set_editor_text(
            "Sub Main()\n"
            "  Set f = CreateObject(\"Shell.Application\").BrowseForFolder(0, \"Pick the reports folder\", 0)\n"
            "  CreateObject(\"Scripting.FileSystemObject\").CreateTextFile(\"%s\").Write f.Self.Path\n"
            "End Sub\n" % record, window=w)
        d.key("F5", window=w)
        dialog = d.wait_window("Pick the reports folder", timeout=10)
        d.type_text(chosen + "\n", window=dialog)
        w = p.window()
        d.wait_label("Code Executed Successfully!", window=w, timeout=10)
        with open(record) as f:
            self.assertEqual(f.read(), chosen)


if __name__ == "__main__":
    APP = os.path.abspath(sys.argv[1])
    SHOTS = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
    unittest.main(argv=[sys.argv[0], "-v"])
