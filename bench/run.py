#!/usr/bin/env python3
"""Times each benchmark in our engine (vbsrun) and in Lua 5.4, side by side, best of
three runs each, checks that both print the same checksum, and prints the ratios and
their geometric mean.

    bench/run.py [path/to/vbsrun]
"""
import math
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAMS = ["fib", "loop", "float", "strings", "sort", "byref"]


def best_time(command, runs=3):
    best, output = None, None
    for _ in range(runs):
        start = time.perf_counter()
        result = subprocess.run(command, capture_output=True, text=True, check=True)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
        output = result.stdout.strip()
    return best, output


def main():
    vbsrun = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "tools", "vbsrun", "vbsrun")
    lua = "lua5.4"
    ratios = []
    print("%-8s %10s %10s %7s  %s" % ("program", "ours (s)", "lua (s)", "ratio", "checksum"))
    for name in PROGRAMS:
        ours, ours_out = best_time([vbsrun, os.path.join(HERE, name + ".vbs")])
        theirs, lua_out = best_time([lua, os.path.join(HERE, name + ".lua")])
        if ours_out != lua_out:
            print("%s: checksums differ: ours %r, lua %r" % (name, ours_out, lua_out))
            return 1
        ratio = ours / theirs
        ratios.append(ratio)
        print("%-8s %10.3f %10.3f %7.2f  %s" % (name, ours, theirs, ratio, ours_out))
    geomean = math.exp(sum(math.log(r) for r in ratios) / len(ratios))
    print("geometric mean of ours / lua: %.2f" % geomean)
    return 0


if __name__ == "__main__":
    sys.exit(main())
