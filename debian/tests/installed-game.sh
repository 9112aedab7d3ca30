#!/usr/bin/env bash
# Plays the installed game (/usr/games/tavok, the launcher a player starts) in a 640x360 window with
# real key presses, using the same driver as the project's own end-to-end tests. Screenshots go to the
# test's artifacts. Usage: installed-game.sh play|missing-data
set -u
case_name=$1
tavok=/usr/games/tavok
scratch=${AUTOPKGTEST_TMP:-$(mktemp -d)}
shot_dir=${AUTOPKGTEST_ARTIFACTS:-$scratch}
# shellcheck source=tests/hostile/driver.sh
source tests/hostile/driver.sh
need_display
mkdir -p "$shot_dir" "$scratch/home" "$scratch/elsewhere"
export HOME=$scratch/home
unset XDG_DATA_HOME

# Which SDL 1.2 the game loads here, classic or sdl12-compat, for the log: the library the dynamic
# linker picks, the package that ships it and that package's source.
sdl=$(readlink -f "$(ldd /usr/lib/games/tavok/tavok | awk '/libSDL-1\.2/ {print $3}')")
sdl_package=$(dpkg -S "$sdl" 2>/dev/null | cut -d: -f1 | head -n 1)
echo "SDL 1.2: $sdl from $sdl_package (source $(dpkg-query -W -f='${source:Package} ${Version}' "$sdl_package"))"

case $case_name in
play)
    start_in "$scratch/elsewhere" w 640 360
    # The bottom room of the 640x360 window lies in the middle of its lowest fifth: black until the
    # first key lights it.
    brightness() {
        convert "$shot" -crop 160x50+240+305 +repage -colorspace gray -format '%[fx:int(1000*mean)]' info:-
    }
    shoot before-key
    [ "$(brightness)" = 0 ] || fail "$shot: the bottom room shows before any key"
    press Right
    sleep 1.5
    shoot first-key
    [ "$(brightness)" -gt 100 ] || fail "$shot: the first key did not light the bottom room ($(brightness))"
    quit_from_pause_menu pause
    ;;
missing-data)
    data=/usr/share/games/tavok/res
    [ -f "$data/1190.dat" ] || fail "the installed data has no 1190.dat"
    mv "$data/1190.dat" "$scratch/"
    trap 'mv "$scratch/1190.dat" "$data/"' EXIT
    start_in "$scratch/elsewhere" w 640 360
    shoot message
    expect_resource_message 1190.dat
    press Escape
    expect_exit 1
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok ($case_name)"
