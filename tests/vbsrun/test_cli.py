#!/usr/bin/env python3
"""vbsrun's command line as a console script host's: options, script arguments, #! scripts,
batch mode and exit codes. Usage: test_cli.py PATH/TO/vbsrun"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

VBSRUN = None

SHOW_ARGUMENTS = """\
Set args = WScript.Arguments
WScript.Echo "count=" & args.Count
For Each a In args.Unnamed
  WScript.Echo "unnamed=" & a
Next
For Each n In args.Named
  WScript.Echo "named " & n & "=" & TypeName(args.Named(n)) & ":" & args.Named(n)
Next
If args.Named.Exists("OUT") Then WScript.Echo "out=" & args.Named.Item("Out")
"""


class VbsrunTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)

    def script(self, text, name="s.vbs"):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def run_vbsrun(self, *args, stdin=b"", env=None):
        run = subprocess.run([VBSRUN, *args], input=stdin, capture_output=True, timeout=30,
                             cwd=self.folder, env=env)
        return run.returncode, run.stdout.decode("utf-8", "replace"), run.stderr.decode("utf-8", "replace")


class HostOptions(VbsrunTest):
    def test_accepted_options_in_any_case(self):
        s = self.script('WScript.Echo "ran", WScript.Interactive, WScript.Timeout\n')
        for options, out in [
            ([], "ran -1 0"),
            (["//nologo"], "ran -1 0"),
            (["//NoLogo", "//I"], "ran -1 0"),
            (["//i"], "ran -1 0"),
            (["//T:7"], "ran -1 7"),
            (["//t:0"], "ran -1 0"),
            (["--timeout", "9"], "ran -1 9"),
            (["--timeout=9"], "ran -1 9"),
            (["//E:vbscript"], "ran -1 0"),
            (["//e:VBScript", "//T:3", "//nologo"], "ran -1 3"),
        ]:
            with self.subTest(options=options):
                self.assertEqual(self.run_vbsrun(*options, s), (0, out + "\n", ""))

    def test_logo_prints_one_banner_line_first(self):
        s = self.script('WScript.Echo "ran"\n')
        code, out, _ = self.run_vbsrun("//logo", s)
        self.assertEqual(code, 0)
        banner, blank, ran = out.splitlines()
        self.assertIn("vbsrun version", banner)
        self.assertEqual((blank, ran), ("", "ran"))
        # The last of //logo and //nologo wins.
        self.assertEqual(self.run_vbsrun("//logo", "//nologo", s)[1], "ran\n")

    def test_refused_options_name_themselves_and_exit_2(self):
        s = self.script('WScript.Echo "must not run"\n')
        for option in ["//D", "//X", "//H:CScript", "//h:wscript", "//S", "//Job:main", "//E:jscript",
                       "//T:", "//T:abc", "//T:-1", "//T:99999999999", "//frob",
                       "--timeout", "--timeout=x", "--frob", "-z"]:
            with self.subTest(option=option):
                code, out, err = self.run_vbsrun(option, s) if option != "--timeout" else self.run_vbsrun(option)
                self.assertEqual(code, 2)
                self.assertEqual(out, "")
                self.assertEqual(len(err.splitlines()), 1, err)
                self.assertTrue(err.startswith("vbsrun: "), err)
                if option.startswith("//"):
                    self.assertIn(option, err)

    def test_help_and_version(self):
        for option in ["--help", "-h", "//?"]:
            with self.subTest(option=option):
                code, out, _ = self.run_vbsrun(option)
                self.assertEqual(code, 0)
                self.assertTrue(out.startswith("Usage: vbsrun"))
                for listed in ["//B", "//T:N", "//E:vbscript", "//U", "--check", "--execute", "Exit codes"]:
                    self.assertIn(listed, out)
        code, out, _ = self.run_vbsrun("--version")
        self.assertEqual(code, 0)
        self.assertRegex(out, r"^vbsrun \d+\.\d+")

    def test_utf16_output(self):
        s = self.script('WScript.Echo "Grüße ✓"\n')
        run = subprocess.run([VBSRUN, "//U", s], capture_output=True, timeout=30)
        self.assertEqual(run.returncode, 0)
        self.assertEqual(run.stdout.decode("utf-16-le"), "Grüße ✓\n")

    def test_double_dash_ends_the_options(self):
        s = self.script('WScript.Echo WScript.Arguments(0)\n', name="--odd.vbs")
        self.assertEqual(self.run_vbsrun("--", s[len(self.folder) + 1:], "--check"), (0, "--check\n", ""))


class ScriptArguments(VbsrunTest):
    def test_named_and_unnamed(self):
        s = self.script(SHOW_ARGUMENTS)
        code, out, err = self.run_vbsrun("//nologo", "//T:5", s, "one", "/out:x.txt", "/v", "two")
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out.splitlines(), [
            "count=4", "unnamed=one", "unnamed=two",
            "named out=String:x.txt", "named v=Empty:", "out=x.txt"])

    def test_switches_empty_values_quotes_and_repeats(self):
        s = self.script(SHOW_ARGUMENTS)
        # What a shell leaves of /a:"x y" is /a:x y; quotes that reach the script go too.
        code, out, _ = self.run_vbsrun(s, "/a:x y", '/b:"q r"', "/c:", "/d+", "/e-", "/A:again", "plain words")
        self.assertEqual(code, 0)
        self.assertEqual(out.splitlines(), [
            "count=7", "unnamed=plain words",
            "named a=String:again", "named b=String:q r", "named c=String:",
            "named d=Boolean:True", "named e=Boolean:False"])

    def test_options_after_the_script_belong_to_it(self):
        s = self.script(SHOW_ARGUMENTS)
        code, out, _ = self.run_vbsrun(s, "//B", "--timeout", "-x")
        self.assertEqual(code, 0)
        self.assertEqual(out.splitlines(), ["count=3", "unnamed=--timeout", "unnamed=-x", "named /B=Empty:"])

    def test_show_usage_and_arguments_by_index(self):
        s = self.script('WScript.Echo WScript.Arguments(1), WScript.Arguments.Item(0), '
                        'WScript.Arguments.Unnamed(0), WScript.Arguments.Length\n'
                        'WScript.Arguments.ShowUsage\nx = WScript.Arguments(5)\n')
        code, out, err = self.run_vbsrun(s, "first", "second")
        self.assertEqual(code, 1)
        self.assertEqual(out.splitlines(), ["second first first 2", "Usage: s.vbs"])
        self.assertIn("s.vbs(3, 1) error 9:", err)


class ShebangScripts(VbsrunTest):
    def test_runs_as_a_command_and_counts_the_first_line(self):
        tool = self.script('#!/usr/bin/env vbsrun\nWScript.Echo "hello " & WScript.Arguments(0)\n'
                           'If WScript.Arguments.Count > 1 Then x = 1 / 0\n', name="tool.vbs")
        os.chmod(tool, 0o755)
        env = dict(os.environ, PATH=os.path.dirname(VBSRUN) + os.pathsep + os.environ.get("PATH", ""))
        run = subprocess.run(["sh", "-c", "./tool.vbs world"], capture_output=True, cwd=self.folder, env=env, timeout=30)
        self.assertEqual((run.returncode, run.stdout, run.stderr), (0, b"hello world\n", b""))
        run = subprocess.run(["sh", "-c", "./tool.vbs world again"], capture_output=True, cwd=self.folder, env=env, timeout=30)
        self.assertEqual(run.returncode, 1)
        self.assertIn(b"tool.vbs(3, ", run.stderr)
        self.assertIn(b"error 11: Division by zero", run.stderr)

    def test_only_a_first_line_is_skipped(self):
        s = self.script('WScript.Echo 1\n#!/bin/sh\n')
        code, _, err = self.run_vbsrun(s)
        self.assertEqual(code, 1)
        self.assertIn("(2, 1) error", err)


class ScriptEncodings(VbsrunTest):
    def test_script_files_read_as_windows_reads_them(self):
        # UTF-8, UTF-16 after its mark, and bytes that are no UTF-8: Windows-1252.
        for name, data in [
            ("utf8.vbs", 'WScript.Echo "Gr\u00fc\u00dfe \u20ac"\n'.encode("utf-8")),
            ("utf16.vbs", b"\xff\xfe" + 'WScript.Echo "Gr\u00fc\u00dfe \u20ac"\r\n'.encode("utf-16-le")),
            ("ansi.vbs", 'WScript.Echo "Gr\u00fc\u00dfe \u20ac"\r\n'.encode("cp1252")),
        ]:
            with self.subTest(name=name):
                path = os.path.join(self.folder, name)
                with open(path, "wb") as f:
                    f.write(data)
                self.assertEqual(self.run_vbsrun(path), (0, "Gr\u00fc\u00dfe \u20ac\n", ""))
                self.assertEqual(self.run_vbsrun("--check", path), (0, "", ""))

    def test_windows_1252_is_never_replacement_characters(self):
        path = os.path.join(self.folder, "bad.vbs")
        with open(path, "wb") as f:
            f.write(b'x = "\xe9\r\nIf Then\r\n')
        code, out, err = self.run_vbsrun("--check", path)
        self.assertEqual(code, 1)
        self.assertNotIn("\ufffd", err)


class ExitCodes(VbsrunTest):
    def test_codes(self):
        for text, want in [
            ('x = 1\n', 0),
            ('WScript.Quit\n', 0),
            ('WScript.Quit 42\n', 42),
            ('WScript.Quit -1\n', 255),
            ('Err.Raise 5\n', 1),
            ('If Then\n', 1),
            ('On Error Resume Next\nErr.Raise 5\nWScript.Quit Err.Number\n', 5),
        ]:
            with self.subTest(text=text):
                self.assertEqual(self.run_vbsrun(self.script(text))[0], want)

    def test_unreadable_script(self):
        missing = os.path.join(self.folder, "missing.vbs")
        code, out, err = self.run_vbsrun(missing)
        self.assertEqual((code, out), (2, ""))
        self.assertIn("cannot read " + missing, err)
        self.assertIn("No such file", err)
        code, _, err = self.run_vbsrun(self.folder)
        self.assertEqual(code, 2)
        self.assertIn("it is a folder", err)
        self.assertEqual(self.run_vbsrun("--execute", missing)[0], 2)
        self.assertEqual(self.run_vbsrun("--check", missing)[0], 2)
        code, _, err = self.run_vbsrun()
        self.assertEqual(code, 2)
        self.assertIn("no script given", err)


class BatchMode(VbsrunTest):
    BOXES = ('r = MsgBox("Continue?", vbYesNo + vbDefaultButton2)\n'
             'WScript.Echo "echoed"\n'
             'name = InputBox("Name?", "Title", "nobody")\n'
             'WScript.StdOut.WriteLine r & " " & name & " " & WScript.Interactive\n')

    def test_boxes_take_their_defaults_silently(self):
        s = self.script(self.BOXES)
        self.assertEqual(self.run_vbsrun("//B", s, stdin=b"typed\n"), (0, "7 nobody False\n", ""))
        self.assertEqual(self.run_vbsrun("//B", "//I", s, stdin=b"typed\n"),
                         (0, "Continue?\nechoed\nName?\n7 typed True\n", ""))

    def test_errors_still_print(self):
        code, out, err = self.run_vbsrun("//B", self.script('WScript.Echo "x"\nx = 1 / 0\n'))
        self.assertEqual((code, out), (1, ""))
        self.assertIn("error 11: Division by zero", err)

    def test_script_can_switch_to_batch(self):
        s = self.script('WScript.Echo "shown"\nWScript.Interactive = False\nWScript.Echo "hidden"\n'
                        'WScript.Interactive = True\nWScript.Echo "shown again"\n')
        self.assertEqual(self.run_vbsrun(s)[1], "shown\nshown again\n")


class Check(VbsrunTest):
    def test_good_file_prints_nothing_and_runs_nothing(self):
        marker = os.path.join(self.folder, "ran.txt")
        s = self.script('CreateObject("Scripting.FileSystemObject").CreateTextFile "%s"\n'
                        'WScript.Echo "ran"\nSub Main\nEnd Sub\n' % marker)
        self.assertEqual(self.run_vbsrun("--check", s), (0, "", ""))
        self.assertFalse(os.path.exists(marker))

    def test_bad_file_prints_the_first_compile_error(self):
        s = self.script('WScript.Echo 1\nSub A(\nIf Then\n')
        code, out, err = self.run_vbsrun("--check", s)
        self.assertEqual((code, out), (1, ""))
        self.assertEqual(err, "%s(2, 7) error 1010: Expected identifier\n" % s)

    def test_run_time_errors_are_not_compile_errors(self):
        self.assertEqual(self.run_vbsrun("--check", self.script('x = 1 / 0\nUndefinedSub 1\n'))[0], 0)

    def test_check_with_script_arguments_is_refused(self):
        self.assertEqual(self.run_vbsrun("--check", self.script("x = 1\n"), "arg")[0], 2)
        self.assertEqual(self.run_vbsrun("--check", "--execute", self.script("x = 1\n"))[0], 2)


if __name__ == "__main__":
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
