#!/usr/bin/env bash
# The Debian package end to end: built from a copy of the sources (Release, no tests), unpacked into a
# scratch root with dpkg -x, its file list checked against Debian's places for a game, and the unpacked
# launcher started from an unrelated folder for a player with an empty home: the window carries the
# game's icon, the first key reveals the bottom room, the pause menu quits with code 0, and the game's
# folder (with res/ pointing at the packaged data) is made in the player's data folder.
# Usage: package.sh SOURCE_DIR SCRATCH_DIR      (exit 77 when the packaging tools are not installed)
set -u
source_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/hostile/driver.sh
source "$here/../hostile/driver.sh"
scratch_case package "$2"

for tool in dpkg-buildpackage dh dpkg-checkbuilddeps; do
    if ! command -v "$tool" > /dev/null; then
        echo "$tool is not installed (scripts/install-deps.sh package): skipped"
        exit 77
    fi
done
need_display
rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/elsewhere"

bash "$source_dir/scripts/build-package.sh" "$scratch/out" > "$scratch/build.log" 2>&1 ||
    { tail -n 40 "$scratch/build.log"; fail "the package did not build"; }
deb=$(find "$scratch/out" -maxdepth 1 -name 'tavok_*.deb')
[ "$(wc -l <<<"$deb")" = 1 ] && [ -f "$deb" ] || fail "not exactly one tavok_*.deb: $deb"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

[ "$(dpkg-deb -f "$deb" Package)" = tavok ] || fail "the package is not called tavok"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl1.2debian' || fail "the package does not depend on SDL"

root=$scratch/root
dpkg -x "$deb" "$root" || fail "dpkg -x failed"

# Exactly these files, and res/ with one file per resource the generator makes: nothing of the tests,
# benchmarks or tools.
expected="usr/games/tavok
usr/lib/games/tavok/tavok
usr/share/applications/tavok.desktop
usr/share/doc/tavok/changelog.gz
usr/share/doc/tavok/copyright
usr/share/icons/hicolor/128x128/apps/tavok.png
usr/share/icons/hicolor/16x16/apps/tavok.png
usr/share/icons/hicolor/256x256/apps/tavok.png
usr/share/icons/hicolor/32x32/apps/tavok.png
usr/share/icons/hicolor/48x48/apps/tavok.png
usr/share/icons/hicolor/64x64/apps/tavok.png
usr/share/man/man6/tavok.6.gz
usr/share/metainfo/tavok.metainfo.xml"
found=$(cd "$root" && find . ! -type d | sed 's|^\./||' | grep -v '^usr/share/games/tavok/res/' | sort)
[ "$found" = "$expected" ] || fail "the package's files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$found"))"
packaged=$(find "$root/usr/share/games/tavok/res" -type f -name '*.dat' | wc -l)
built=$(find "$root/usr/share/games/tavok/res" -type f | wc -l)
[ "$packaged" -ge 647 ] && [ "$packaged" = "$built" ] || fail "res/ holds $built files, $packaged of them .dat"
for size in 16 32 48 64 128 256; do
    seen=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x$size/apps/tavok.png")
    [ "$seen" = "${size}x$size" ] || fail "the ${size}x$size icon is $seen"
done
[ -x "$root/usr/games/tavok" ] && [ -x "$root/usr/lib/games/tavok/tavok" ] || fail "programs not executable"
grep -q '^Exec=tavok$' "$root/usr/share/applications/tavok.desktop" || fail "the desktop entry does not start tavok"
zcat "$root/usr/share/man/man6/tavok.6.gz" | grep -q '^\.SH EXIT STATUS' || fail "the manual page has no exit codes"

# The unpacked game, started through its launcher from another folder.
export HOME=$scratch/home USERPROFILE=$scratch/home
unset XDG_DATA_HOME
tavok=$root/usr/games/tavok
start_in "$scratch/elsewhere" w 640 360
xprop -id "$window" WM_HINTS | grep -q 'bitmap id # to use for icon' || fail "the window has no icon"
xprop -id "$window" WM_NAME | grep -q '= "taVok"$' || fail "the caption is not taVok"
# The bottom room of the 640x360 window lies in the middle of its lowest fifth: black until the first key.
room0=160x50+240+305
brightness() {
    convert "$shot" -crop "$room0" +repage -colorspace gray -format '%[fx:int(1000*mean)]' info:-
}
shoot before-key
[ "$(brightness)" = 0 ] || fail "$shot: the bottom room shows before any key"
press Right
sleep 1.5
shoot first-key
[ "$(brightness)" -gt 100 ] || fail "$shot: the first key did not reveal the bottom room ($(brightness))"
[ "$(pixel 320 20)" = "0,0,0" ] || fail "$shot: the rooms above show already"
quit_from_pause_menu pause

play=$HOME/.local/share/tavok
[ "$(readlink "$play/res")" = "$root/usr/share/games/tavok/res" ] ||
    fail "$play/res does not point at the packaged data"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the folder it was started from"
rm -rf "$scratch"
echo "ok (package)"
