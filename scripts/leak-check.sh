#!/usr/bin/env bash
# Leak check of the real executable: a sanitized build of the game (AddressSanitizer with
# LeakSanitizer) is played headlessly twice, and each run must end with its usual exit code and without
# a single leak report. Only the system-library leaks of scripts/lsan.supp are suppressed.
#   1. play: start, a few hundred frames with moves and acts, the pause menu, quit (exit code 0);
#   2. fatal: a broken texture file, the fatal message screen, Escape (exit code 1).
#
# Usage: scripts/leak-check.sh [SANITIZED_BUILD_DIR]   (default build-asan; make test-asan builds it)
# It plays on an X server of its own (scripts/headless.sh), never on the caller's desktop.
set -u
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(cd "${1:-$source_dir/build-asan}" && pwd)
if [ -z "${TAVOK_PRIVATE_DISPLAY:-}" ] || [ "${DISPLAY:-}" != "$TAVOK_PRIVATE_DISPLAY" ]; then
    exec bash "$source_dir/scripts/headless.sh" "$0" "$build_dir"
fi
grep -q 'TAVOK_SANITIZE:BOOL=ON' "$build_dir/CMakeCache.txt" 2>/dev/null ||
    { echo "leak-check: $build_dir is not a sanitized build (configure with -DTAVOK_SANITIZE=ON)"; exit 2; }
[ -d "$build_dir/res" ] || { echo "leak-check: no res/ in $build_dir"; exit 2; }

# The leak check is the point of this script, whatever the caller's sanitizer options say.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"

scratch=$(mktemp -d)
trap '[ -n "${KEEP_SCRATCH:-}" ] || rm -rf "$scratch"' EXIT
shot_dir=$scratch
tavok=$scratch/sanitized-tavok.sh
report=$scratch/stderr.txt
# The game's stderr goes to a file: the sanitizer reports are read from there.
printf '#!/bin/sh\nexec bash %s %s "$@" 2>>%s\n' "$source_dir/scripts/sanitizer-env.sh" "$build_dir/tavok" \
    "$report" > "$tavok"
chmod 755 "$tavok"
# shellcheck source=tests/hostile/driver.sh
source "$source_dir/tests/hostile/driver.sh"

mkdir -p "$scratch/profile/Desktop" "$scratch/play" "$scratch/broken/res"
export USERPROFILE=$scratch/profile
ln -s "$build_dir/res" "$scratch/play/res"

# Waits for the end, then: no sanitizer report at all, and the expected exit code.
expect_clean_exit() {
    wait_exit
    if grep -q -E 'LeakSanitizer|AddressSanitizer|runtime error' "$report"; then
        grep -v '^ALSA lib' "$report"
        fail "the sanitizers reported a fault (above)"
    fi
    [ "$exit_code" = "$1" ] || fail "exit code $exit_code, expected $1"
    : > "$report"
    echo "ok ($case_name): exit code $1, no leak reported"
}

case_name=play
: > "$report"
start_in "$scratch/play" w 640 360
for key in Right Up Left Return Down Right Return Up Up Left Return; do
    press "$key"
done
sleep 2
press Escape
press Right
press Left
press Right
press Return
expect_clean_exit 0

case_name=fatal
for file in "$build_dir"/res/*.dat; do
    ln -s "$file" "$scratch/broken/res/$(basename "$file")"
done
rm "$scratch/broken/res/1190.dat"
: > "$scratch/broken/res/1190.dat"
start_in "$scratch/broken" w 640 360
shoot message
expect_resource_message 1190.dat
press Escape
expect_clean_exit 1
