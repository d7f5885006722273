#!/usr/bin/env python3
"""The Windows shell around scripts, answered from Linux: environment names, cmd /c, the
registry store across runs, special folders, shortcuts, WScript.Network, Shell.Application
with zip files, Exec, the script-folder idioms, MsgBox at a terminal, exit codes and files
that are not VBScript. Every run gets its own HOME and XDG folders in a temporary folder.
Usage: test_windows_shell.py PATH/TO/vbsrun"""
import getpass
import os
import pty
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

VBSRUN = None


class Shell(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        self.home = os.path.join(self.root, "home")
        self.work = os.path.join(self.root, "work")
        for d in (self.home, self.work):
            os.makedirs(d)
        self.env = dict(os.environ, HOME=self.home, TMPDIR=os.path.join(self.root, "tmp"),
                        XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                        XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                        XDG_STATE_HOME=os.path.join(self.home, ".local", "state"))
        os.makedirs(self.env["TMPDIR"])
        for name in ("APPDATA", "TEMP", "TMP", "USERPROFILE", "COMSPEC", "COMPUTERNAME", "USERNAME"):
            self.env.pop(name, None)

    def tearDown(self):
        self.tmp.cleanup()

    def run_script(self, text, name="script.vbs", folder=None, stdin=subprocess.DEVNULL, cwd=None):
        folder = folder or self.work
        path = os.path.join(folder, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        run = subprocess.run([VBSRUN, path], capture_output=True, timeout=60, cwd=cwd or self.work, env=self.env,
                             stdin=stdin)
        return run.returncode, run.stdout.decode("utf-8"), run.stderr.decode("utf-8")

    def lines(self, text, **kw):
        code, out, err = self.run_script(text, **kw)
        self.assertEqual((code, err), (0, ""), out)
        return out.splitlines()

    def test_windows_environment_names(self):
        self.env["VORNIX_REAL"] = "real value"
        self.env["TMP"] = "/from/the/environment"  # a real variable of the name wins
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'WScript.Echo sh.ExpandEnvironmentStrings("%temp%|%UserProfile%|%APPDATA%|%LOCALAPPDATA%")\n'
            'WScript.Echo sh.ExpandEnvironmentStrings("%USERNAME%|%COMPUTERNAME%|%HOMEDRIVE%%HOMEPATH%|%TMP%")\n'
            'WScript.Echo sh.ExpandEnvironmentStrings("%vornix_real%|%NO_SUCH_NAME_X%|%ComSpec%")\n'
            'Set f = CreateObject("Scripting.FileSystemObject").CreateTextFile(sh.Environment("PROCESS")("TEMP") & "\\log.txt")\n'
            'f.Write "kept": f.Close\n'
            'WScript.Echo sh.Environment("process")("TEMP") = sh.ExpandEnvironmentStrings("%TEMP%")\n')
        self.assertEqual(out[0], "|".join([self.env["TMPDIR"], self.home, self.env["XDG_CONFIG_HOME"], self.env["XDG_DATA_HOME"]]))
        self.assertEqual(out[1], "|".join([getpass.getuser(), socket.gethostname().split(".")[0].upper(), self.home,
                                           "/from/the/environment"]))
        self.assertEqual(out[2], "real value|%NO_SUCH_NAME_X%|cmd.exe")
        self.assertEqual(out[3], "-1")
        with open(os.path.join(self.env["TMPDIR"], "log.txt")) as f:  # never /log.txt
            self.assertEqual(f.read(), "kept")

    def test_cmd_runs_through_the_system_shell(self):
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'WScript.Echo sh.Run("cmd /c echo hello> out.txt", 0, True)\n'
            'WScript.Echo sh.Run("%COMSPEC% /c exit 7", 0, True)\n'
            'WScript.Echo sh.Run("cmd.exe /C ""copy /y out.txt copy.txt && md sub\\deeper && move copy.txt sub\\deeper""", 0, True)\n'
            'WScript.Echo sh.Exec("cmd /c dir /b sub\\deeper").StdOut.ReadAll\n'
            'WScript.Echo sh.Run("cmd /c ren sub\\deeper\\copy.txt renamed.txt && del /q out.txt", 0, True)\n'
            'WScript.Echo sh.Exec("cmd /c type sub\\deeper\\renamed.txt").StdOut.ReadLine\n'
            'WScript.Echo sh.Run("cmd /c rd /s /q sub", 0, True)\n')
        self.assertEqual(out, ["0", "7", "0", "copy.txt", "", "0", "hello", "0"])
        self.assertEqual(os.listdir(self.work), ["script.vbs"])

    def test_registry_keeps_values_across_runs(self):
        write = ('Set sh = CreateObject("WScript.Shell")\n'
                 'sh.RegWrite "HKCU\\Software\\Vornix Test\\Runs", 41, "REG_DWORD"\n'
                 'sh.RegWrite "HKEY_CURRENT_USER\\Software\\Vornix Test\\Name", "a ""quoted"" \\ name"\n'
                 'sh.RegWrite "HKCU\\Software\\Vornix Test\\Path", "%TEMP%\\x", "REG_EXPAND_SZ"\n'
                 'sh.RegWrite "HKCU\\Software\\Vornix Test\\Gone", "soon"\n')
        self.lines(write)
        store = os.path.join(self.env["XDG_CONFIG_HOME"], "vornix-coder", "registry.reg")
        with open(store, encoding="utf-8") as f:
            text = f.read()
        self.assertTrue(text.startswith("Windows Registry Editor Version 5.00"))
        self.assertIn('[HKEY_CURRENT_USER\\Software\\Vornix Test]', text)
        self.assertIn('"Runs"=dword:00000029', text)
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'k = "hkcu\\software\\vornix test\\"\n'
            'WScript.Echo sh.RegRead(k & "Runs") + 1, TypeName(sh.RegRead(k & "Runs"))\n'
            'WScript.Echo sh.RegRead(k & "Name")\n'
            'WScript.Echo sh.RegRead(k & "Path") = sh.ExpandEnvironmentStrings("%TEMP%\\x")\n'
            'sh.RegDelete k & "Gone"\n'
            'On Error Resume Next\n'
            'x = sh.RegRead(k & "Gone")\n'
            'WScript.Echo Err.Number, Err.Description\n'
            'Err.Clear\n'
            'sh.RegWrite "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProductName", "Windows"\n'
            'WScript.Echo Err.Number\n'
            'Err.Clear\n'
            'x = sh.RegRead("HKXX\\Nothing")\n'
            'WScript.Echo Err.Number\n')
        self.assertEqual(out[0], "42 Long")
        self.assertEqual(out[1], 'a "quoted" \\ name')
        self.assertEqual(out[2], "-1")
        self.assertEqual(out[3], '-2147024894 Unable to open registry key "hkcu\\software\\vornix test\\Gone" for reading.')
        self.assertEqual(out[4], "-2147024891")  # the system's values are read-only
        self.assertEqual(out[5], "-2147024894")

    def test_registry_system_values_come_from_linux(self):
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'WScript.Echo sh.RegRead("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProductName")\n'
            'WScript.Echo sh.RegRead("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\AppData")\n'
            'WScript.Echo sh.RegRead("HKLM\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName\\ComputerName")\n')
        with open("/etc/os-release") as f:
            pretty = [l.split("=", 1)[1].strip().strip('"') for l in f if l.startswith("PRETTY_NAME=")][0]
        self.assertEqual(out, [pretty, self.env["XDG_CONFIG_HOME"], socket.gethostname().split(".")[0].upper()])

    def test_special_folders_follow_the_user_directories(self):
        os.makedirs(self.env["XDG_CONFIG_HOME"])
        with open(os.path.join(self.env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
            f.write('XDG_DESKTOP_DIR="$HOME/Schreibtisch"\nXDG_TEMPLATES_DIR="$HOME/Vorlagen"\n')
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'For Each name In Array("Desktop", "Templates", "AppData", "Startup", "Programs", "Fonts", "Favorites")\n'
            '  WScript.Echo name & "=" & sh.SpecialFolders(name)\n'
            'Next\n'
            'WScript.Echo sh.SpecialFolders.Item("startup") = sh.SpecialFolders("Startup"), sh.SpecialFolders.Count\n')
        config, data = self.env["XDG_CONFIG_HOME"], self.env["XDG_DATA_HOME"]
        self.assertEqual(out[:7], ["Desktop=" + self.home + "/Schreibtisch", "Templates=" + self.home + "/Vorlagen",
                                   "AppData=" + config, "Startup=" + config + "/autostart",
                                   "Programs=" + data + "/applications", "Fonts=" + data + "/fonts", "Favorites="])
        self.assertEqual(out[7], "-1 16")

    def test_shortcuts_are_desktop_entries_and_internet_shortcuts(self):
        startup = os.path.join(self.env["XDG_CONFIG_HOME"], "autostart")
        os.makedirs(startup)
        tool = os.path.join(self.work, "my tool.sh")
        with open(tool, "w") as f:
            f.write("#!/bin/sh\n")
        os.chmod(tool, 0o755)
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'Set lnk = sh.CreateShortcut(sh.SpecialFolders("Startup") & "\\Tool.lnk")\n'
            'lnk.TargetPath = "' + tool.replace("/", "\\") + '"\n'
            'lnk.Arguments = "--name ""100% sure"" $HOME"\n'
            'lnk.WorkingDirectory = "%TEMP%"\n'
            'lnk.Description = "Starts the tool"\n'
            'lnk.WindowStyle = 7\n'
            'lnk.Save\n'
            'Set back = sh.CreateShortcut(sh.SpecialFolders("Startup") & "\\Tool.lnk")\n'
            'WScript.Echo back.TargetPath\nWScript.Echo back.Arguments\nWScript.Echo back.Description & "|" & back.WindowStyle\n'
            'Set url = sh.CreateShortcut("site.url")\n'
            'url.TargetPath = "https://example.com/a?b=1"\n'
            'url.Save\n'
            'WScript.Echo sh.CreateShortcut("site.url").TargetPath\n'
            'lnk.RelativePath = "rel"\n'
            'WScript.Echo lnk.RelativePath & "|" & (lnk = lnk.FullName)\n'
            'On Error Resume Next\n'
            'Set bad = sh.CreateShortcut("tool.txt")\n'
            'WScript.Echo Err.Number\n')
        self.assertEqual(out, [tool.replace("/", "\\"), '--name "100% sure" $HOME', "Starts the tool|7",
                               "https://example.com/a?b=1", "rel|True", "5"])
        entry = os.path.join(startup, "Tool.desktop")
        self.assertTrue(os.access(entry, os.X_OK))
        with open(entry) as f:
            fields = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        # The desktop runs the program itself, with the arguments quoted its way.
        self.assertEqual(fields["Exec"], '"%s" --name "100%%%% sure" "\\\\$HOME"' % tool)
        self.assertEqual(fields["Path"], self.env["TMPDIR"])
        self.assertEqual(fields["Comment"], "Starts the tool")
        with open(os.path.join(self.work, "site.url"), "rb") as f:
            self.assertEqual(f.read(), b"[InternetShortcut]\r\nURL=https://example.com/a?b=1\r\n")

    def test_network_names_the_user_and_computer(self):
        out = self.lines(
            'Set n = CreateObject("WScript.Network")\n'
            'WScript.Echo n.UserName\nWScript.Echo n.ComputerName\nWScript.Echo n.UserDomain\n'
            'Set drives = n.EnumNetworkDrives\nWScript.Echo drives.Count Mod 2, TypeName(drives)\n'
            'On Error Resume Next\n'
            'n.MapNetworkDrive "Z:", "\\\\server\\share"\n'
            'WScript.Echo Hex(Err.Number)\n')
        host = socket.gethostname().split(".")[0].upper()
        self.assertEqual(out, [getpass.getuser(), host, host, "0 IWshCollection", "80070032"])

    def test_zip_and_unzip_with_shell_application(self):
        src = os.path.join(self.work, "src")
        os.makedirs(os.path.join(src, "docs"))
        with open(os.path.join(src, "a.txt"), "w") as f:
            f.write("alpha")
        with open(os.path.join(src, "docs", "b.txt"), "w") as f:
            f.write("beta")
        os.makedirs(os.path.join(self.work, "out"))
        out = self.lines(
            'Set fso = CreateObject("Scripting.FileSystemObject")\n'
            'Set sh = CreateObject("Shell.Application")\n'
            'here = fso.GetAbsolutePathName(".")\n'
            'zip = here & "\\pack.zip"\n'
            'Set f = fso.CreateTextFile(zip, True)\n'
            'f.Write "PK" & Chr(5) & Chr(6) & String(18, Chr(0))\n'
            'f.Close\n'
            'sh.Namespace(zip).CopyHere here & "\\src\\a.txt"\n'
            'sh.Namespace(zip).CopyHere sh.Namespace(here & "\\src").ParseName("docs")\n'
            'For Each it In sh.Namespace(zip).Items\n'
            '  WScript.Echo it.Name & " " & it.IsFolder & " " & it.Size\n'
            'Next\n'
            'sh.Namespace(here & "\\out").CopyHere sh.Namespace(zip).Items, 4 + 16\n'
            'WScript.Echo fso.OpenTextFile("out\\docs\\b.txt").ReadAll & fso.OpenTextFile("out\\a.txt").ReadAll\n'
            'Set docs = sh.Namespace(zip & "\\docs")\n'
            'WScript.Echo docs.Title & " " & docs.Items.Count & " " & docs.ParentFolder.Title\n'
            'WScript.Echo TypeName(sh.Namespace(here & "\\missing")), TypeName(sh.Namespace(zip).ParseName("none"))\n')
        self.assertEqual(out, ["a.txt False 5", "docs True 0", "betaalpha", "docs 1 pack.zip", "Nothing Nothing"])
        with zipfile.ZipFile(os.path.join(self.work, "pack.zip")) as z:
            self.assertEqual(sorted(z.namelist()), ["a.txt", "docs/", "docs/b.txt"])
            self.assertEqual(z.read("docs/b.txt"), b"beta")

    def test_unzip_keeps_entries_inside_the_folder(self):
        with zipfile.ZipFile(os.path.join(self.work, "evil.zip"), "w") as z:
            z.writestr("../escaped.txt", "out")
            z.writestr("/abs.txt", "abs")
            z.writestr("fine.txt", "in")
        os.makedirs(os.path.join(self.work, "dest"))
        out = self.lines(
            'Set sh = CreateObject("Shell.Application")\n'
            'here = CreateObject("Scripting.FileSystemObject").GetAbsolutePathName(".")\n'
            'sh.Namespace(here & "\\dest").CopyHere sh.Namespace(here & "\\evil.zip").Items\n'
            'WScript.Echo "done"\n')
        self.assertEqual(out, ["done"])
        self.assertEqual(os.listdir(os.path.join(self.work, "dest")), ["fine.txt"])
        self.assertFalse(os.path.exists(os.path.join(self.root, "escaped.txt")))
        self.assertFalse(os.path.exists(os.path.join(self.work, "escaped.txt")))

    def test_move_here_moves_files_and_folders(self):
        os.makedirs(os.path.join(self.work, "from", "inner"))
        os.makedirs(os.path.join(self.work, "to"))
        with open(os.path.join(self.work, "from", "inner", "x.txt"), "w") as f:
            f.write("x")
        self.lines('Set sh = CreateObject("Shell.Application")\n'
                   'here = CreateObject("Scripting.FileSystemObject").GetAbsolutePathName(".")\n'
                   'sh.Namespace(here & "\\to").MoveHere here & "\\from\\*"\n')
        self.assertEqual(os.listdir(os.path.join(self.work, "from")), [])
        with open(os.path.join(self.work, "to", "inner", "x.txt")) as f:
            self.assertEqual(f.read(), "x")

    def test_copy_and_move_onto_or_into_themselves_lose_nothing(self):
        box = os.path.join(self.work, "box")
        os.makedirs(os.path.join(box, "sub"))
        for folder in ("dest", "copy"):
            os.makedirs(os.path.join(self.work, folder))
        for name, text in (("a.txt", "alpha"), (os.path.join("sub", "b.txt"), "beta")):
            with open(os.path.join(box, name), "w") as f:
                f.write(text)
        os.symlink(".", os.path.join(box, "loop"))  # a folder link back into itself
        os.symlink(os.path.join("..", "box", "a.txt"), os.path.join(self.work, "dest", "a.txt"))
        with zipfile.ZipFile(os.path.join(self.work, "z.zip"), "w") as z:
            z.writestr("inside.txt", "zipped")
        out = self.lines(
            'Set sh = CreateObject("Shell.Application")\n'
            'here = CreateObject("Scripting.FileSystemObject").GetAbsolutePathName(".")\n'
            'Sub Try(what, folder, source, move)\n'
            '  On Error Resume Next\n'
            '  If move Then sh.Namespace(folder).MoveHere source Else sh.Namespace(folder).CopyHere source\n'
            '  WScript.Echo what & ": " & Err.Number\n'
            'End Sub\n'
            'For Each move In Array(False, True)\n'
            '  Try "file onto itself", here & "\\box", here & "\\box\\a.txt", move\n'
            '  Try "folder onto itself", here, here & "\\box", move\n'
            '  Try "folder with a dot", here & "\\box", here & "\\box\\.", move\n'
            '  Try "folder with a slash", here & "\\box", here & "\\box\\", move\n'
            '  Try "onto a link to itself", here & "\\dest", here & "\\box\\a.txt", move\n'
            '  Try "folder into itself", here & "\\box\\sub", here & "\\box", move\n'
            '  Try "archive into itself", here & "\\z.zip", here & "\\z.zip", move\n'
            'Next\n'
            'sh.Namespace(here & "\\copy").CopyHere here & "\\box\\*"\n', folder=self.work)
        for move in range(2):
            self.assertEqual(out[7 * move:7 * move + 7],
                             ["file onto itself: 0", "folder onto itself: 0", "folder with a dot: 70",
                              "folder with a slash: 70", "onto a link to itself: 0", "folder into itself: 70",
                              "archive into itself: 5"])
        with open(os.path.join(box, "a.txt")) as f:
            self.assertEqual(f.read(), "alpha")
        with open(os.path.join(box, "sub", "b.txt")) as f:
            self.assertEqual(f.read(), "beta")
        self.assertEqual(sorted(os.listdir(box)), ["a.txt", "loop", "sub"])
        self.assertEqual(os.readlink(os.path.join(self.work, "dest", "a.txt")), os.path.join("..", "box", "a.txt"))
        with zipfile.ZipFile(os.path.join(self.work, "z.zip")) as z:
            self.assertEqual(z.namelist(), ["inside.txt"])
        # A folder link is copied as a link, not followed round its loop.
        self.assertEqual(os.readlink(os.path.join(self.work, "copy", "loop")), ".")
        with open(os.path.join(self.work, "copy", "sub", "b.txt")) as f:
            self.assertEqual(f.read(), "beta")

    def test_exec_input_and_a_program_that_outlives_the_script(self):
        marker = os.path.join(self.work, "marker")
        out = self.lines(
            'Set sh = CreateObject("WScript.Shell")\n'
            'Set e = sh.Exec("sort")\n'
            'e.StdIn.WriteLine "pear"\n'
            'e.StdIn.WriteLine "apple"\n'
            'e.StdIn.Close\n'
            'WScript.Echo e.StdOut.ReadLine & " " & e.StdOut.ReadLine\n'
            'Do While e.Status = 0: WScript.Sleep 10: Loop\n'
            'WScript.Echo e.ProcessID > 0, e.ExitCode\n'
            'Set later = sh.Exec("sh -c ""sleep 1; echo made > marker""")\n'
            'WScript.Echo later.Status\n')
        self.assertEqual(out, ["apple pear", "-1 0", "0"])
        deadline = time.time() + 10
        while not os.path.exists(marker) and time.time() < deadline:
            time.sleep(0.1)
        self.assertTrue(os.path.exists(marker), "the Exec'd program ended with the script")

    def test_script_folder_idioms_from_another_folder(self):
        tools = os.path.join(self.root, "tools")
        os.makedirs(tools)
        with open(os.path.join(tools, "config.ini"), "w") as f:
            f.write("name=beside the script\n")
        with open(os.path.join(self.work, "config.ini"), "w") as f:
            f.write("name=current folder\n")
        out = self.lines(
            'Set fso = CreateObject("Scripting.FileSystemObject")\n'
            'here = Left(WScript.ScriptFullName, InStrRev(WScript.ScriptFullName, "\\"))\n'
            'WScript.Echo fso.OpenTextFile(here & "config.ini").ReadLine\n'
            'WScript.Echo fso.OpenTextFile(Replace(WScript.ScriptFullName, WScript.ScriptName, "") & "config.ini").ReadLine\n'
            'WScript.Echo fso.OpenTextFile(fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "config.ini")).ReadLine\n'
            'Set sh = CreateObject("WScript.Shell")\n'
            'WScript.Echo sh.Exec("cat " & here & "config.ini").StdOut.ReadLine\n'
            'sh.CurrentDirectory = here\n'
            'WScript.Echo sh.CurrentDirectory\n', folder=tools, cwd=self.work)
        self.assertEqual(out, ["name=beside the script"] * 4 + [tools])

    def test_msgbox_asks_at_a_terminal_and_takes_the_default_otherwise(self):
        script = ('r = MsgBox("Delete the files?", vbYesNo + vbQuestion)\nWScript.Echo "answer " & r\n'
                  'r = MsgBox("Retry?", vbAbortRetryIgnore + vbDefaultButton3)\nWScript.Echo "answer " & r\n')
        code, out, err = self.run_script(script, stdin=subprocess.PIPE)  # a pipe at end of input: the defaults
        self.assertEqual(out.splitlines(), ["Delete the files?", "answer 6", "Retry?", "answer 5"])
        path = os.path.join(self.work, "script.vbs")
        leader, follower = pty.openpty()
        p = subprocess.Popen([VBSRUN, path], stdin=follower, stdout=follower, stderr=follower, env=self.env)
        os.close(follower)
        seen = b""

        def read_until(text):
            nonlocal seen
            deadline = time.time() + 20
            while text not in seen and time.time() < deadline:
                if select.select([leader], [], [], 0.2)[0]:
                    try:
                        seen += os.read(leader, 4096)
                    except OSError:
                        break
            self.assertIn(text, seen)

        read_until(b"(Enter: Yes)? ")
        os.write(leader, b"maybe\n")  # not a button: asked again
        read_until(b"maybe")
        os.write(leader, b"n\n")
        read_until(b"(Enter: Ignore)? ")
        os.write(leader, b"2\n")  # the second button: Retry
        read_until(b"answer 4")
        self.assertEqual(p.wait(timeout=20), 0)
        os.close(leader)
        self.assertIn(b"answer 7", seen)
        self.assertEqual(seen.count(b"(Enter: Yes)? "), 2)

    def test_console_streams_closed_or_full_end_clearly(self):
        path = os.path.join(self.work, "streams.vbs")
        with open(path, "w") as f:
            f.write('WScript.StdErr.WriteLine "at end: " & WScript.StdIn.AtEndOfStream & " [" & WScript.StdIn.ReadAll & "]"\n'
                    'For i = 1 To 3 : WScript.Echo String(70000, "x") : Next\n')

        def run(stdout, before=None):
            return subprocess.run([VBSRUN, path], stdout=stdout, stderr=subprocess.PIPE, timeout=20, env=self.env,
                                  cwd=self.work, preexec_fn=before)

        # A closed standard input is the end of input: Qt's own files must not take its place.
        closed_in = run(subprocess.DEVNULL, lambda: os.close(0))
        self.assertEqual((closed_in.returncode, closed_in.stderr.decode()), (0, "at end: True []\n"))
        with open("/dev/full", "wb") as full:
            on_full = run(full)
        self.assertNotEqual(on_full.returncode, 0)
        self.assertIn("cannot be written", on_full.stderr.decode())
        read_end, write_end = os.pipe()
        os.close(read_end)
        try:
            broken = run(write_end, lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN))
        finally:
            os.close(write_end)
        self.assertNotEqual(broken.returncode, 0)
        self.assertIn("cannot be written", broken.stderr.decode())
        closed_out = run(subprocess.DEVNULL, lambda: os.close(1))
        self.assertNotEqual(closed_out.returncode, 0)
        self.assertIn("cannot be written", closed_out.stderr.decode())

    def test_quit_codes_never_read_as_success(self):
        for given, status in ((3, 3), (255, 255), (256, 255), (-1, 255), (257, 1), (-256, 255), (0, 0)):
            code, out, err = self.run_script("WScript.Quit %d\n" % given)
            self.assertEqual(code, status, "WScript.Quit %d" % given)

    def test_files_that_are_not_vbscript_are_refused(self):
        for name in ("job.wsf", "tool.js"):
            code, out, err = self.run_script('WScript.Echo "ran"\n', name=name)
            self.assertEqual((code, out), (2, ""), name)
            self.assertIn("VBScript", err)


if __name__ == "__main__":
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
