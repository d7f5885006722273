#!/usr/bin/env python3
"""Times each benchmark in our engine (vbsrun) and in Lua 5.4 side by side, best of seven
runs each, the two sides taking turns so that a slow spell of the machine falls on both,
with each side's start-up (an empty program) subtracted; checks that both print the same
checksum, and prints the ratios, their geometric mean and the worst.

    bench/run.py [path/to/vbsrun] [program ...]
"""
import math
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = ["fib", "loop", "float", "strings", "sort", "byref", "dict", "regexp", "classes", "text"]
RUNS = 7


def timed(command):
    start = time.perf_counter()
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    return time.perf_counter() - start, result.stdout.strip()


def best_times(commands, runs=RUNS):
    """The best time and the output of each command, the commands run in turns."""
    best = [None] * len(commands)
    output = [None] * len(commands)
    for _ in range(runs):
        for i, command in enumerate(commands):
            elapsed, output[i] = timed(command)
            best[i] = elapsed if best[i] is None else min(best[i], elapsed)
    return list(zip(best, output))


def main():
    args = sys.argv[1:]
    vbsrun = os.path.join(HERE, "..", "build", "tools", "vbsrun", "vbsrun")
    if args and os.path.sep in args[0]:
        vbsrun = args.pop(0)
    programs = args or PROGRAMS
    lua = "lua5.4"
    (ours_start, _), (lua_start, _) = best_times(
        [[vbsrun, os.path.join(HERE, "empty.vbs")], [lua, os.path.join(HERE, "empty.lua")]], 20)
    print("start-up: ours %.1f ms, lua %.1f ms (subtracted below)" % (ours_start * 1000, lua_start * 1000))
    print("%-8s %10s %10s %7s  %s" % ("program", "ours (s)", "lua (s)", "ratio", "checksum"))
    ratios = []
    for name in programs:
        (ours, ours_out), (theirs, lua_out) = best_times(
            [[vbsrun, os.path.join(HERE, name + ".vbs")], [lua, os.path.join(HERE, name + ".lua")]])
        if ours_out != lua_out:
            print("%s: checksums differ: ours %r, lua %r" % (name, ours_out, lua_out))
            return 1
        ours, theirs = max(ours - ours_start, 1e-6), max(theirs - lua_start, 1e-6)
        ratio = ours / theirs
        ratios.append((ratio, name))
        print("%-8s %10.3f %10.3f %7.2f  %s" % (name, ours, theirs, ratio, ours_out))
    geomean = math.exp(sum(math.log(r) for r, _ in ratios) / len(ratios))
    worst = max(ratios)
    print("geometric mean of ours / lua: %.2f; worst: %.2f (%s)" % (geomean, worst[0], worst[1]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
