#!/usr/bin/env bash
# Peak memory of a whole game: the real executable under /usr/bin/time -v, started, played for a while
# with moves and acts, paused and quit from the pause menu; prints the largest resident set.
# Usage (from the build folder, with a display): bash ../bench/system/memory.sh
set -u
build_dir=$(pwd)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
shot_dir=$scratch
case_name=memory
mkdir -p "$scratch/profile/Desktop" "$scratch/play"
ln -s "$build_dir/res" "$scratch/play/res"
export USERPROFILE=$scratch/profile SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
tavok=$scratch/timed-tavok.sh
printf '#!/bin/sh\nexec /usr/bin/time -v -o %s %s "$@"\n' "$scratch/time.txt" "$build_dir/tavok" > "$tavok"
chmod 755 "$tavok"
# shellcheck source=tests/hostile/driver.sh
source "$source_dir/tests/hostile/driver.sh"

start_in "$scratch/play" w 1280 720
for key in Right Up Left Return Down Right Return Up Left Return; do
    press "$key"
done
sleep 5
press Escape
press Right
press Return
expect_exit 0
awk -F': ' '/Maximum resident set size/ { printf "peak memory of a whole game (1280x720 window): %.1f MiB resident\n", $2 / 1024 }
            /Elapsed \(wall clock\)/ { print "  wall clock: " $2 }' "$scratch/time.txt"
