#!/usr/bin/env bash
# Plays the real executable under the X server the tests run in: opens its window, looks at what it
# draws and drives it with real key presses and a real close request.
# Usage: smoke.sh CASE TAVOK CLOSE_WINDOW SHOT_DIR
#   close   window opens with its caption, the play frame is black, a close request ends with code 0
#   pause   Escape opens the pause menu (green outlines on black); Right, Return quits with code 0
#   audio   no audio device: the red message screen in the window asked for; Escape ends with code 1
#   aspect  a 600x900 window: the red message screen; Escape ends with code 1
#   ladder  an invalid request is ignored, and a fullscreen request larger than the screen is skipped:
#           the ladder opens the largest fullscreen mode the screen shows
#   nodisplay  no X server to talk to: every rung fails and the game ends with code 1, no window
set -u
case_name=$1
tavok=$2
close_window=$3
shot_dir=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/hostile/driver.sh
source "$here/../hostile/driver.sh"

need_display
mkdir -p "$shot_dir"

# The size of the game's window (or the screen's with "-root"), as WIDTHxHEIGHT.
window_size() {
    xwininfo "${@:--root}" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# The red message screen of a WIDTH x HEIGHT window with white text in row Y between x = 0 and X:
# expect_message_screen WIDTH HEIGHT Y X. Escape then ends the game with code 1.
expect_message_screen() {
    shoot message
    expect_pixel $(($1 - 1)) $(($2 - 1)) 255,0,0
    row_has "$3" 0 "$4" 255,255,255 || fail "no white text at the top of $shot"
    press Escape
    expect_exit 1
}

case $case_name in
close)
    start_in "$PWD" w 640 360
    shoot play
    # Right of the play field (14 of 21 cell heights wide) the frame is the black clearing quad.
    expect_pixel 600 180 0,0,0
    expect_pixel 639 0 0,0,0
    "$close_window" "$window" || fail "close request not sent"
    expect_exit 0
    ;;
pause)
    start_in "$PWD" w 640 360
    press Escape
    shoot pause
    # The outermost copy of the menu, three quarters of the window, in full-brightness green.
    row_has 180 77 83 96,191,96 || fail "no outline at the left of $shot"
    row_has 180 557 563 96,191,96 || fail "no outline at the right of $shot"
    expect_pixel 40 180 0,0,0
    expect_pixel 600 340 0,0,0
    press Right
    press Return
    expect_exit 0
    ;;
audio)
    SDL_AUDIODRIVER=nosuchdriver start_in "$PWD" w 640 360
    size=$(window_size -id "$window")
    [ "$size" = 640x360 ] || fail "no audio device: the window is $size, not the 640x360 asked for"
    # "error" in white capitals at the top left: the E's upright.
    expect_message_screen 640 360 10 12
    ;;
aspect)
    start_in "$PWD" w 600 900
    expect_message_screen 600 900 25 20
    ;;
ladder)
    root=$(window_size -root)
    # The test server's 1920x1080 screen is rung 9: classic SDL refuses the eight larger modes, and
    # sdl12-compat, which would scale any of them to the screen, is never asked for them.
    for request in "w 50 50" "f 3840 2160"; do
        # shellcheck disable=SC2086
        start_in "$PWD" $request
        size=$(window_size -id "$window")
        if [ "$root" = 1920x1080 ]; then
            [ "$size" = 1920x1080 ] || fail "asked for $request: window is $size on a $root screen"
        fi
        "$close_window" "$window" || fail "close request not sent"
        expect_exit 0
    done
    ;;
nodisplay)
    # SDL would fall back to drawing characters on the terminal, which has no OpenGL either; keep it
    # to X so the test prints nothing.
    env -u DISPLAY SDL_VIDEODRIVER=x11 "$tavok" w 640 360 &
    pid=$!
    expect_exit 1
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "ok ($case_name)"
