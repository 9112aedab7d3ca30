# Drives the real executable under the test X server: starts it in a folder, waits for its window,
# presses keys, takes screenshots and reads the fatal message screen's layout. Sourced by the smoke
# tests, the hostile file tests, the install and package tests and the leak and memory checks; the
# caller sets tavok (the program or launcher to start), case_name and shot_dir (where screenshots go),
# the last two directly or through scratch_case.
#
# The message screen is 32 x 18 character cells; in a 640x360 window each is 20 x 20 pixels, row 17 at
# the top. A cell "holds a glyph" when any of its pixels is white.

# No sound card is needed: the dummy driver stands in unless the caller chose another.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# The case's screenshots go to DIR and its own files to DIR/CASE: scratch_case CASE DIR.
scratch_case() {
    case_name=$1
    shot_dir=$2
    scratch=$2/$1
}

# Ends the script as skipped (ctest's code 77) when there is no X server to play on.
need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "no X display: skipped"
        exit 77
    fi
}

fail() {
    echo "FAIL (${case_name:-?}): $*"
    if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null
    fi
    exit 1
}

# start DIR ARGUMENTS...: runs the game in DIR and waits for its window.
start_in() {
    local dir=$1
    shift
    (cd "$dir" && exec "$tavok" "$@") &
    pid=$!
    window=
    for _ in $(seq 150); do
        window=$(xdotool search --name '^taVok$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the game ended before its window showed"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window named taVok"
    xwininfo -id "$window" | grep -q '"taVok"' || fail "caption is not exactly taVok"
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.7
}

# Holds a key long enough for the game to see it at a frame, then lets go.
press() {
    xdotool keydown "$1"
    sleep 0.25
    xdotool keyup "$1"
    sleep 0.25
}

shoot() {
    shot="$shot_dir/${case_name}-$1.png"
    import -window "$window" "$shot" || fail "screenshot failed"
}

# The colour at (x, y) of the last screenshot, as "r,g,b".
pixel() {
    local at="p{$1,$2}"
    convert "$shot" -format "%[fx:int(255*$at.r)],%[fx:int(255*$at.g)],%[fx:int(255*$at.b)]" info:-
}

expect_pixel() {
    local seen
    seen=$(pixel "$1" "$2")
    [ "$seen" = "$3" ] || fail "pixel ($1,$2) of $shot is $seen, expected $3"
}

# Whether any pixel of row y between x0 and x1 has the colour.
row_has() {
    local x
    for x in $(seq "$2" "$3"); do
        [ "$(pixel "$x" "$1")" = "$4" ] && return 0
    done
    return 1
}

# The cells of message row ROW (17 at the top) as a string of 32 characters: '#' where the cell holds
# a glyph, '.' where it is empty.
message_row() {
    local top=$(((17 - $1) * 20))
    convert "$shot" -crop "640x20+0+$top" +repage -fill black -fuzz 25% +opaque white \
        -scale '32x1!' -depth 8 txt:- |
        awk -F'[(),: ]+' 'NR > 1 { printf "%s", ($4 > 0 ? "#" : ".") }'
    echo
}

# What a line of text looks like in message_row terms: a glyph for every character but a space.
row_pattern() {
    local text=$1 out="" i
    for ((i = 0; i < 32; i++)); do
        if [ $i -lt ${#text} ] && [ "${text:$i:1}" != " " ]; then
            out+="#"
        else
            out+="."
        fi
    done
    echo "$out"
}

expect_row() {
    local seen expected
    seen=$(message_row "$1")
    expected=$(row_pattern "$2")
    [ "$seen" = "$expected" ] || fail "message row $1 of $shot is $seen, expected $expected (\"$2\")"
}

# The code 1 message in a 640x360 window: red everywhere text is not, and the lines of "could not load
# resource file:", the name, "try:" and "reinstalling" where they belong.
expect_resource_message() {
    local name=$1
    [ "$(pixel 639 359)" = "255,0,0" ] || fail "$shot is not the red message screen"
    expect_row 17 "error"
    expect_row 16 "-----"
    expect_row 15 "could not load resource file:"
    expect_row 14 "$name"
    expect_row 13 ""
    expect_row 12 "try:"
    expect_row 11 "reinstalling"
}

# The pause menu of a 640x360 window: the outermost outline, three quarters of the window, in full
# green on black.
expect_pause_menu() {
    local x found=
    for x in $(seq 77 83); do
        [ "$(pixel "$x" 180)" = "96,191,96" ] && found=yes
    done
    [ -n "$found" ] || fail "$shot is not the pause menu"
    [ "$(pixel 40 180)" = "0,0,0" ] || fail "$shot is not the pause menu"
}

# From the play screen: Escape, a screenshot of the pause menu named SHOT, then Right and Return on the
# cross, which must end the game with code 0: quit_from_pause_menu SHOT.
quit_from_pause_menu() {
    press Escape
    shoot "$1"
    expect_pause_menu
    press Right
    press Return
    expect_exit 0
}

# Waits up to ten seconds for the game to end and puts its exit code in exit_code.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the game is still running"
    wait "$pid"
    exit_code=$?
    pid=
}

expect_exit() {
    wait_exit
    [ "$exit_code" = "$1" ] || fail "exit code $exit_code, expected $1"
}
