#!/usr/bin/env python3
"""Hostile scripts that mean something: callbacks at every argument position.

A mutation fuzzer finds byte faults; this finds the faults of meaning. Every script it
writes is valid VBScript that calls the engine's built-in functions and library members
with arguments that run script code while native code works on them: objects whose
default property, or whose Class_Terminate, reassigns, ReDims or erases the arrays,
empties the Dictionary, redefines globals with ExecuteGlobal, or raises an error.

Each script runs under vbsrun (the sanitizer build) with a time limit, and is reported as
a finding when the process
  - crashes or prints an AddressSanitizer or UndefinedBehaviorSanitizer report,
  - leaves an error pending: a statement after a call fails although it cannot fail
    (the call's error reached the wrong statement),
  - or runs more than a second past its time limit.
Findings are kept with their script in the output folder; each becomes a regression
script before it is fixed.

    fuzz/hostile.py --vbsrun build-asan/tools/vbsrun/vbsrun --seconds 3600 --out hostile-findings
"""
import argparse
import os
import random
import re
import stat
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# What a callback does to the things the calls work on.
ACTIONS = [
    "arr = Empty",
    "arr = 5",
    "ReDim arr(2)",
    "ReDim Preserve arr(0)",
    "ReDim Preserve arr(1000)",
    "Erase arr",
    "Erase fixedArr",
    "fixedArr(1) = Empty",
    "arr(0) = Empty",
    "d.RemoveAll",
    "d.Add \"k\" & Rnd, New Plain",
    "If d.Exists(\"a\") Then d.Remove \"a\"",
    "Set d = Nothing",
    "Set d = CreateObject(\"Scripting.Dictionary\")",
    "s = Empty",
    "s = String(1000, \"z\")",
    "Set re = Nothing",
    "ExecuteGlobal \"Dim g\" & Int(Rnd * 1000) & \" : arr = Array(1)\"",
    "Execute \"arr = Array(2, 3)\"",
    "Err.Raise 5",
    "Set o = Nothing",
    "Set holder.field = Nothing",
    "holder.field = Array(1, 2)",
]

# What a callback's default property gives back.
RESULTS = ["1", "0", "-1", "\"a\"", "\"\"", "Null", "Empty", "2.5", "\"1,2\"", "Array(1, 2)", "#1/1/2000#"]

LIBRARY = {
    "d": "Add Exists Item Items Keys Remove RemoveAll Count CompareMode Key",
    "re": "Pattern IgnoreCase Global Multiline Test Execute Replace",
    "fso": "BuildPath CopyFile CreateFolder CreateTextFile DeleteFile DeleteFolder FileExists FolderExists "
           "GetAbsolutePathName GetBaseName GetExtensionName GetFile GetFileName GetFolder GetParentFolderName "
           "GetTempName MoveFile OpenTextFile GetDriveName DriveExists GetSpecialFolder",
    "file": "Write WriteLine WriteBlankLines Read ReadLine ReadAll AtEndOfStream Line Close SkipLine",
    "Err": "Number Description Source Raise Clear",
    "sh": "ExpandEnvironmentStrings Environment CurrentDirectory",
    "holder": "field Method",
    "shapp": "Namespace NameSpace IsServiceRunning CanStartStopService GetSystemInformation Windows",
    "here": "CopyHere MoveHere NewFolder ParseName Items GetDetailsOf Title Self ParentFolder",
}

# Builtins that would wait for input, end the script or leave the machine.
SKIPPED = {"msgbox", "inputbox", "createobject", "getobject", "eval", "execute", "executeglobal", "getref"}


def builtins():
    """Name, least and most arguments of each row of the engine's table of built-ins."""
    rows = []
    folder = os.path.join(ROOT, "vbscript", "runtime")
    for name in sorted(os.listdir(folder)):
        if name.endswith(".cpp"):
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                for m in re.finditer(r'\{"(\w+)", (\d+), (\d+), \w+', f.read()):
                    if m.group(1).lower() not in SKIPPED:
                        rows.append((m.group(1), int(m.group(2)), min(int(m.group(3)), 4)))
    return rows


def prelude(rng):
    classes = []
    for i, action in enumerate(ACTIONS):
        result = rng.choice(RESULTS)
        classes.append(
            f"Class Cb{i}\n"
            f"    Public Default Property Get V\n"
            f"        On Error Resume Next\n"
            f"        {action}\n"
            f"        V = {result}\n"
            f"    End Property\n"
            f"    Sub Class_Terminate\n"
            f"        {action}\n"
            f"    End Sub\n"
            f"End Class\n")
    return ("Class Plain\n    Public Default Property Get V\n        V = 7\n    End Property\nEnd Class\n"
            "Class Holder\n    Public field\n    Public Function Method(a, b)\n        Method = a\n    End Function\n"
            "End Class\n" + "".join(classes) +
            "Dim arr, fixedArr(4), d, s, re, fso, file, sh, o, holder, shapp, here\n"
            "' The containers hold callbacks of their own: the calls walk them.\n"
            "Sub Reset(k)\n"
            "    On Error Resume Next\n"
            "    Dim cb\n"
            "    Execute \"Set cb = New Cb\" & k\n"
            "    arr = Array(1, \"two\", cb, 4.5)\n"
            "    Set fixedArr(2) = cb\n"
            "    Set o = cb\n"
            "    Set d = CreateObject(\"Scripting.Dictionary\")\n"
            "    d.Add \"a\", cb\n"
            "    d.Add \"b\", 2\n"
            "    s = \"hello, world\"\n"
            "    Set re = New RegExp\n"
            "    re.Pattern = \"o\"\n"
            "    Set fso = CreateObject(\"Scripting.FileSystemObject\")\n"
            "    Set file = fso.OpenTextFile(\"scratch.txt\", 8, True)\n"
            "    Set sh = CreateObject(\"WScript.Shell\")\n"
            "    Set holder = New Holder\n"
            "    Set shapp = CreateObject(\"Shell.Application\")\n"
            "    Set here = shapp.Namespace(sh.CurrentDirectory)\n"
            "    holder.field = Array(cb, 2, 3)\n"
            "End Sub\n"
            "Reset 0\n"
            "On Error Resume Next\n")


def argument(rng, position_callback):
    if position_callback:
        k = rng.randrange(len(ACTIONS))
        return rng.choice([f"New Cb{k}", f"Array(1, New Cb{k}, \"x\")", f"Array(New Cb{k})"])
    return rng.choice(["arr", "fixedArr", "d", "s", "arr(0)", "arr(1)", "holder.field", "holder.field(0)",
                       "1", "0", "-1", "\"abc\"", "\"\"", "Null", "Empty", "2.5", "#1/1/2000#", "True",
                       "Array(\"a\", \"b\")", "d(\"a\")", "o"])


# Statements on the containers themselves: element reads and writes, Erase, ReDim and
# For Each, each with a hostile value where the engine converts or lets go of one.
CONTAINER_STATEMENTS = [
    "x = arr({a})", "arr({a}) = {a}", "Set arr({a}) = New Cb{k}", "x = fixedArr({a})", "fixedArr({a}) = {a}",
    "x = holder.field({a})", "holder.field({a}) = {a}", "d({a}) = {a}", "Set d({a}) = New Cb{k}",
    "d.Remove \"a\"", "Erase arr", "Erase fixedArr", "ReDim Preserve arr({a})", "arr(2) = Empty",
    "For Each v In arr : x = v & \"\" : Next", "For Each v In d : x = d(v) & \"\" : Next",
    "x = UBound(arr, {a})", "With holder : .field = {a} : End With", "x = arr(0) & arr(2) & d(\"a\")",
    "Set o = Nothing", "d.Add {a}, {a}", "x = Join(arr, {a})", "x = Filter(arr, {a})",
]


def container_statement(rng):
    template = rng.choice(CONTAINER_STATEMENTS)
    while "{a}" in template:
        template = template.replace("{a}", argument(rng, rng.random() < 0.5), 1)
    return template.replace("{k}", str(rng.randrange(len(ACTIONS))))


def statement(rng, line, calls):
    if rng.random() < 0.35:
        return (f"Err.Clear : {container_statement(rng)}\n"
                f"Err.Clear : innocent = CStr({line})\n"
                f"If Err.Number <> 0 Then WScript.StdErr.WriteLine \"LOST after line {line}: \" & Err.Number\n"
                + (f"Reset {rng.randrange(len(ACTIONS))}\n" if rng.random() < 0.3 else ""))
    target, name, lo, hi = rng.choice(calls)
    n = rng.randint(lo, hi)
    hostile = rng.randrange(n) if n else -1
    args = ", ".join(argument(rng, i == hostile or rng.random() < 0.15) for i in range(n))
    callee = f"{target}.{name}" if target else name
    form = rng.randrange(3 if target else 2) # (a built-in is never assigned to)
    if form == 0 or not n:
        call = f"x = {callee}({args})" if n else f"x = {callee}"
    elif form == 1:
        call = f"{callee} {args}"
    else:
        call = f"{callee}({args}) = New Cb{rng.randrange(len(ACTIONS))}"
    # The statement after the call cannot fail: if it does, the call's error was left pending.
    return (f"Err.Clear : {call}\n"
            f"Err.Clear : innocent = CStr({line})\n"
            f"If Err.Number <> 0 Then WScript.StdErr.WriteLine \"LOST after line {line}: \" & Err.Number\n"
            + (f"Reset {rng.randrange(len(ACTIONS))}\n" if rng.random() < 0.3 else ""))


def script(rng, calls, statements):
    text = prelude(rng)
    for _ in range(statements):
        line = text.count("\n") + 1
        text += statement(rng, line, calls)
    return text + "WScript.Echo \"end\"\n"


def reachable_by_others(program):
    """Whether a user other than the owner can run the program: every folder above it
    searchable and the file executable by others."""
    path = os.path.abspath(program)
    if not os.stat(path).st_mode & stat.S_IXOTH:
        return False
    while path != os.path.dirname(path):
        path = os.path.dirname(path)
        if not os.stat(path).st_mode & stat.S_IXOTH:
            return False
    return True


def run_one(vbsrun, text, limit):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "hostile.vbs")
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1",
                   UBSAN_OPTIONS="print_stacktrace=1", HOME=folder, XDG_CONFIG_HOME=folder,
                   XDG_STATE_HOME=folder, TMPDIR=folder)
        # Scripts copy, move and delete files: as root they would reach the whole machine, so
        # they run as nobody, who can write in this folder only.
        drop = None
        if os.geteuid() == 0 and reachable_by_others(vbsrun):
            os.chmod(folder, 0o777)
            os.chmod(path, 0o666)
            drop = lambda: (os.setgroups([]), os.setgid(65534), os.setuid(65534))
        started = time.monotonic()
        try:
            run = subprocess.run([vbsrun, "--timeout", str(limit), path], capture_output=True, cwd=folder,
                                 env=env, timeout=limit + 60, preexec_fn=drop)
        except subprocess.TimeoutExpired:
            return "limit overrun (no end)", ""
        took = time.monotonic() - started
    err = run.stderr.decode("utf-8", "replace")
    if run.returncode < 0 or "AddressSanitizer" in err or "LeakSanitizer" in err:
        return "crash or sanitizer report", err
    if "runtime error:" in err:
        return "undefined behaviour", err
    if "LOST after" in err:
        return "error left pending", err
    if run.returncode not in (0, 1):
        return f"exit code {run.returncode}", err
    if took > limit + 1.5:  # a second past the limit, and the sanitizer build's own start
        return f"limit overrun ({took:.1f} s)", err
    return None, err


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--vbsrun", required=True)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--runs", type=int, default=0, help="stop after this many scripts (0: by time)")
    parser.add_argument("--statements", type=int, default=40)
    parser.add_argument("--limit", type=int, default=2, help="the scripts' time limit in seconds")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--out", default="hostile-findings")
    args = parser.parse_args()

    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    calls = [("", name, lo, hi) for name, lo, hi in builtins()]
    for target, names in LIBRARY.items():
        for name in names.split():
            calls.append((target, name, 0, 3))
    deadline = time.monotonic() + args.seconds
    runs = findings = 0
    while (args.runs and runs < args.runs) or (not args.runs and time.monotonic() < deadline):
        text = script(rng, calls, args.statements)
        verdict, err = run_one(os.path.abspath(args.vbsrun), text, args.limit)
        runs += 1
        if verdict:
            findings += 1
            os.makedirs(args.out, exist_ok=True)
            base = os.path.join(args.out, f"finding-{seed}-{runs}")
            with open(base + ".vbs", "w", encoding="utf-8") as f:
                f.write(text)
            with open(base + ".txt", "w", encoding="utf-8") as f:
                f.write(verdict + "\n\n" + err)
            print(f"{verdict}: {base}.vbs", flush=True)
    print(f"seed {seed}: {runs} scripts, {len(calls)} callees, {findings} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
