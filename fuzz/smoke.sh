#!/bin/sh
# A short fuzzing run for CTest: the seeds plus RUNS mutated inputs, with new inputs kept
# in a temporary corpus so the source tree stays untouched.
#   smoke.sh FUZZER SEED_DIR DICTIONARY RUNS
set -eu
fuzzer=$1 seeds=$2 dict=$3 runs=$4
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
exec "$fuzzer" -runs="$runs" -max_total_time=120 -timeout=10 -rss_limit_mb=2048 \
    -dict="$dict" -artifact_prefix="$corpus/" -print_final_stats=1 "$corpus" "$seeds"
