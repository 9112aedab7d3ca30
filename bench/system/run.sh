#!/usr/bin/env bash
# Every system benchmark, from the build folder (make bench runs it from build-bench through
# bench/run.sh, under a private X server when there is no display).
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bash "$here/startup.sh"
bash "$here/memory.sh"
if [ -x bench/system/frame_bench ]; then
    bench/system/frame_bench
fi
