#!/usr/bin/env bash
# Every benchmark, from the build folder (make bench runs it in build-bench under a private X server):
# first each bench_* binary built from this folder, then the runner of every sub-folder (bench/system).
# Each prints its own figures.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0
for bench in ./bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== ${bench#./}"
    "$bench" || status=1
done
for runner in "$here"/*/run.sh; do
    [ -f "$runner" ] || continue
    echo "== $(basename "$(dirname "$runner")")"
    bash "$runner" || status=1
done
exit $status
