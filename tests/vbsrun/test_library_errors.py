#!/usr/bin/env python3
"""Every member of the library objects, called with arguments it cannot take (arrays where
scalars belong) in every position and form: whatever the call raises, it raises at its own
statement. The statement after it, which reads a pending error the way many paths do, must
never be the one that fails. Usage: test_library_errors.py PATH/TO/vbsrun"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

VBSRUN = None

SETUP = """\
Set d = CreateObject("Scripting.Dictionary")
Set re = New RegExp
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
Set env = sh.Environment("PROCESS")
Set file = fso.CreateTextFile("scratch.txt", True)
Set matches = re.Execute("")
Set args = WScript.Arguments
"""

MEMBERS = {
    "d": "Add Exists Item Items Keys Remove RemoveAll Count CompareMode Key",
    "re": "Pattern IgnoreCase Global Multiline Test Execute Replace",
    "matches": "Count Item",
    "fso": "BuildPath CopyFile CreateFolder CreateTextFile DeleteFile DeleteFolder FileExists "
           "FolderExists GetAbsolutePathName GetBaseName GetExtensionName GetFile GetFileName GetFolder "
           "GetParentFolderName GetTempName MoveFile OpenTextFile MoveFolder CopyFolder Drives GetDrive "
           "GetDriveName DriveExists GetSpecialFolder",
    "file": "Write WriteLine WriteBlankLines Skip SkipLine Read ReadLine ReadAll AtEndOfStream Line Column Close",
    "Err": "Number Description Source Raise Clear HelpFile HelpContext",
    "WScript": "Echo Arguments ScriptName Sleep Name Version Interactive Timeout CreateObject GetObject",
    "args": "Count Length Item Named Unnamed",
    "WScript.StdOut": "Write WriteLine WriteBlankLines",
    "sh": "ExpandEnvironmentStrings Environment CurrentDirectory",
    "env": "Item Count Remove",
}

BAD = ["Array(1)", "Array(1), Array(1)", "Array(1), Array(1), Array(1)"]


def forms():
    for target, names in MEMBERS.items():
        for member in names.split():
            for bad in BAD:
                yield f"x = {target}.{member}({bad})"
                yield f"{target}.{member} {bad}"
                yield f"{target}.{member}({bad}) = Array(1)"


class LibraryErrorsTest(unittest.TestCase):
    def test_every_error_at_its_own_statement(self):
        call_line = SETUP.count("\n") + 1
        wrong = []
        checked = 0
        with tempfile.TemporaryDirectory() as folder:
            for form in forms():
                path = os.path.join(folder, "call.vbs")
                with open(path, "w") as f:
                    f.write(SETUP + form + "\ninnocent = CStr(1)\n")
                run = subprocess.run([VBSRUN, "//nologo", path], capture_output=True, timeout=30, cwd=folder)
                checked += 1
                err = run.stderr.decode("utf-8", "replace")
                if run.returncode == 0:
                    continue  # the call takes what it was given (or ignores it)
                m = re.search(r"\((\d+), \d+\) error (-?\d+)", err)
                if not m or int(m.group(1)) != call_line:
                    wrong.append(f"{form}: {err.strip()!r}")
        self.assertGreater(checked, 700)
        self.assertEqual(wrong, [])


if __name__ == "__main__":
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
