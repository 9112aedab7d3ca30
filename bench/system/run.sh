#!/usr/bin/env bash
# Every system benchmark, from the build folder (make bench runs it from build-bench through
# bench/run.sh, under a private X server when there is no display): start-up against its floor, peak
# memory of a whole game, the frame cost with full swarms, the swarm frame against other submissions
# of the same bodies, and the two-hour soak.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0
# Runs one benchmark; a crash (an exit code from a signal) is passed on as it is, any other failure as 1.
run() {
    "$@"
    local code=$?
    if [ $code -ge 128 ]; then
        status=$code
    elif [ $code -ne 0 ] && [ $status -eq 0 ]; then
        status=1
    fi
}
run bash "$here/startup.sh"
run bash "$here/memory.sh"
for bench in frame_bench swarm_bench soak; do
    if [ -x "bench/system/$bench" ]; then
        run "bench/system/$bench"
    fi
done
exit $status
