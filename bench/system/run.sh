#!/usr/bin/env bash
# Every system benchmark, from the build folder (make bench runs it from build-bench through
# bench/run.sh, under a private X server when there is no display): start-up against its floor, peak
# memory of a whole game, the frame cost with full swarms, the swarm frame against other submissions
# of the same bodies, and the two-hour soak.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0
bash "$here/startup.sh" || status=1
bash "$here/memory.sh" || status=1
if [ -x bench/system/frame_bench ]; then
    bench/system/frame_bench || status=1
fi
if [ -x bench/system/swarm_bench ]; then
    bench/system/swarm_bench || status=1
fi
if [ -x bench/system/soak ]; then
    bench/system/soak || status=1
fi
exit $status
