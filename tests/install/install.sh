#!/usr/bin/env bash
# The installed game: `cmake --install` into a private prefix, then the launcher on the PATH starts it
# from an unrelated folder for a player whose home is empty. The game must open its window, play, quit
# with code 0 from the pause menu, and keep its own folder (with res/ pointing at the installed data) in
# the player's data folder, leaving the folder it was started from untouched.
# Usage: install.sh BUILD_DIR SCRATCH_DIR
set -u
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/hostile/driver.sh
source "$here/../hostile/driver.sh"
scratch_case install "$2"

need_display
rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/elsewhere"
prefix=$scratch/prefix
cmake --install "$build_dir" --prefix "$prefix" > "$scratch/install.log" || fail "cmake --install failed"

for file in bin/tavok libexec/tavok/tavok share/applications/tavok.desktop \
    share/icons/hicolor/128x128/apps/tavok.png; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/tavok" ] || fail "the launcher is not executable"
installed=$(find "$prefix/share/tavok/res" -name '*.dat' | wc -l)
built=$(find "$build_dir/res" -name '*.dat' | wc -l)
[ "$installed" -gt 0 ] && [ "$installed" = "$built" ] || fail "$installed of $built resource files installed"
grep -q '^Exec=tavok$' "$prefix/share/applications/tavok.desktop" || fail "desktop entry does not start tavok"

run_and_quit() {
    start_in "$scratch/elsewhere" w 640 360
    shoot "$1"
    [ "$(pixel 600 180)" = "0,0,0" ] || fail "$shot is not the black play frame"
    quit_from_pause_menu "$1-pause"
}

# A player with an empty home and no XDG_DATA_HOME: the game lives in ~/.local/share/tavok.
export HOME=$scratch/home USERPROFILE=$scratch/home
unset XDG_DATA_HOME
tavok=$prefix/bin/tavok
run_and_quit first
play=$HOME/.local/share/tavok
[ "$(readlink "$play/res")" = "$prefix/share/tavok/res" ] || fail "$play/res does not point at the installed data"
# A second start finds its folder ready.
run_and_quit again
# XDG_DATA_HOME moves the folder.
export XDG_DATA_HOME=$scratch/data
run_and_quit xdg
[ "$(readlink "$XDG_DATA_HOME/tavok/res")" = "$prefix/share/tavok/res" ] || fail "XDG_DATA_HOME was not used"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the folder it was started from"
rm -rf "$scratch"
echo "ok (install)"
