#!/usr/bin/env bash
# Runs every benchmark binary (an executable named bench_* anywhere under bench/) of the build
# directory it is started in; make bench runs it in build-bench under a private X server. Each binary
# prints its own figures.
set -u
status=0
while IFS= read -r bench; do
    echo "== ${bench#./}"
    "$bench" || status=1
done < <(find ./bench -type f -perm -u+x -name 'bench_*' | sort)
exit $status
