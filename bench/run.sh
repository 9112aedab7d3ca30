#!/usr/bin/env bash
# Every benchmark, from the build folder (make bench runs it in build-bench under a private X server):
# first each bench_* binary built from this folder, then the runner of every sub-folder (bench/system).
# Each prints its own figures; a benchmark that judges a goal prints one line per goal:
#   GOAL <id> | <what> | <figure> | limit <limit> | ratio <x.xx> | met (or NOT MET)
# At the end every such line is gathered into one table. The exit code is 1 when a goal is not met or
# a benchmark failed to run, 0 otherwise.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for bench in ./bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== ${bench#./}"
    "$bench" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
for runner in "$here"/*/run.sh; do
    [ -f "$runner" ] || continue
    echo "== $(basename "$(dirname "$runner")")"
    bash "$runner" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
bash "$here/goal_summary.sh" "$log" || status=1
exit $status
