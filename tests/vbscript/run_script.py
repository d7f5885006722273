#!/usr/bin/env python3
"""Runs one .vbs file through vbsrun and checks it against the expectations written in it.

    ' expect: TEXT             the next line of standard output
    ' expect error N: TEXT     the script ends with this error (stderr, exit code 1)
    ' expect exit: N           the exit code (WScript.Quit)
    ' stdin: TEXT              a line given on standard input
    ' args: --execute ...      options for vbsrun before the file
    ' expect status: TEXT      (with --execute) the next status-line text, from stderr
"""
import os
import re
import subprocess
import sys
import tempfile


def main():
    vbsrun, script = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    with open(script, encoding="utf-8") as f:
        source = f.read()
    expected = [m.group(1) for m in re.finditer(r"' expect: ?(.*)$", source, re.M)]
    error = re.search(r"' expect error (-?\d+): (.*)$", source, re.M)
    exit_code = re.search(r"' expect exit: (-?\d+)$", source, re.M)
    stdin = "".join(m.group(1) + "\n" for m in re.finditer(r"' stdin: ?(.*)$", source, re.M))
    options = re.search(r"' args: (.*)$", source, re.M)
    statuses = [m.group(1) for m in re.finditer(r"' expect status: ?(.*)$", source, re.M)]
    command = [vbsrun] + (options.group(1).split() if options else []) + [script]
    # Each script runs in a folder of its own, which is also its home and its XDG folders,
    # so that its file commands and per-user state (the registry store, special folders)
    # touch nothing else.
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, ".config"),
                   XDG_DATA_HOME=os.path.join(folder, ".local", "share"),
                   XDG_STATE_HOME=os.path.join(folder, ".local", "state"),
                   XDG_CACHE_HOME=os.path.join(folder, ".cache"))
        run = subprocess.run(command, input=stdin.encode(), capture_output=True, timeout=60, cwd=folder, env=env)
    out = run.stdout.decode("utf-8").splitlines()
    err = run.stderr.decode("utf-8")
    failures = []
    if out != expected:
        failures.append("stdout differs:\n  expected: %r\n  actual:   %r" % (expected, out))
    want_code = int(exit_code.group(1)) if exit_code else (1 if error else 0)
    if run.returncode != want_code:
        failures.append("exit code %d, expected %d" % (run.returncode, want_code))
    if error:
        pattern = r"\(\d+, \d+\) error %s: %s$" % (error.group(1), re.escape(error.group(2)))
        if not re.search(pattern, err, re.M):
            failures.append("stderr %r lacks error %s: %s" % (err, error.group(1), error.group(2)))
    elif err and not options:
        failures.append("unexpected stderr: %r" % err)
    if options and "--execute" in options.group(1):
        shown = [line[len("status: "):] for line in err.splitlines() if line.startswith("status: ")]
        if shown != statuses:
            failures.append("status lines differ:\n  expected: %r\n  actual:   %r" % (statuses, shown))
    if failures:
        print("\n".join(failures))
        return 1
    print("ok: %d lines" % len(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
