#!/usr/bin/env bash
# Every benchmark, from the build folder (make bench runs it in build-bench under a private X server):
# first each bench_* binary built from this folder, then the runner of every sub-folder (bench/system).
# Each prints its own figures; a benchmark that judges a goal prints one line per goal:
#   GOAL <id> | <what> | <figure> | limit <limit> | ratio <x.xx> | met (or NOT MET)
# At the end every such line is gathered into one table. The exit code is 1 when a goal is not met, 0
# otherwise. A benchmark's own verdict (the soak's flatness checks, say) is listed under the table but
# does not decide the exit code; one that dies from a signal, and so may have printed no goal, does.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0
verdicts=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# A benchmark's exit code: its own verdict, or a crash.
judge() {
    if [ "$2" -ge 128 ]; then
        verdicts+=("$1: ended by signal $(($2 - 128))")
        status=1
    elif [ "$2" -ne 0 ]; then
        verdicts+=("$1: exit code $2 (its own checks; see its output)")
    fi
}
for bench in ./bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== ${bench#./}"
    "$bench" 2>&1 | tee -a "$log"
    judge "${bench#./}" "${PIPESTATUS[0]}"
done
for runner in "$here"/*/run.sh; do
    [ -f "$runner" ] || continue
    echo "== $(basename "$(dirname "$runner")")"
    bash "$runner" 2>&1 | tee -a "$log"
    judge "$(basename "$(dirname "$runner")")" "${PIPESTATUS[0]}"
done
bash "$here/goal_summary.sh" "$log" || status=1
for verdict in "${verdicts[@]}"; do
    echo "note: $verdict"
done
exit $status
