#!/usr/bin/env bash
# Hostile files end to end: the real executable meets a broken res/ folder and must show the fatal
# message naming the file (code 1), then leave with exit code 1 on Escape; never crash, hang or eat
# memory. An existing print_me.html on the desktop is checked byte for byte after every case.
# Usage: hostile.sh CASE TAVOK RES_DIR SCRATCH_DIR [HOSTILE_PAYLOAD]
#   missing_res    no res/ folder at all
#   empty_file     a texture file of 0 bytes
#   truncated_png  a texture file cut to half its length
#   wrong_key      a texture file scrambled with another key
#   not_audio      a music file holding text (loaded at the first key press)
#   directory      a directory where a texture file should be
#   huge_sparse    a 4 GiB sparse file in place of a texture
#   unwritable_cwd the game started by an ordinary user from a folder it cannot write: plays normally
#   chained_ogg    music whose second chained link declares 1 Hz, 2 Hz or 67 MHz (one run each)
#   not_png        a texture file holding a valid BMP picture
#   huge_png       a texture file holding a well-formed 16000 x 16000 PNG
#   fifo_res       a FIFO where a texture file should be
#   fifo_marker    a FIFO named like the marker file in the working folder: found, removed, game plays
#   quit_signal    SIGQUIT while the game runs ends it with code 0, twenty times over
#   wrapping_size  "w 4294967936 360": out of range, so the ladder opens a fullscreen mode instead
#   ending_signals SIGHUP and the other signals that ask a process to stop end the game with code 0 on
#                  every screen; SIGPIPE and SIGXFSZ leave it playing
#   fifo_joystick  SDL_JOYSTICK_DEVICE naming a FIFO and a regular file: the game starts and plays
#   no_display     neither X nor Wayland: one line on standard error, code 1, nothing on the terminal
# The last two run on classic SDL 1.2 and again on sdl12-compat when it is installed.
# HOSTILE_PAYLOAD is the program that writes the hostile music and pictures (tests/hostile).
set -u
tavok=$2
res_dir=$3
payload=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/hostile/driver.sh
source "$here/driver.sh"
scratch_case "$1" "$4"

need_display
[ -d "$res_dir" ] || fail "no generated res/ at $res_dir"

if [ "$case_name" = unwritable_cwd ]; then
    # The other user may be unable to enter the build tree (a clone under /root, mode 700): this case
    # runs from a folder of its own under /tmp, with copies of the game and its data.
    scratch=$(mktemp -d /tmp/tavok-hostile.XXXXXX)
    chmod 755 "$scratch"
fi
rm -rf "$scratch"
mkdir -p "$scratch/play/res" "$scratch/profile/Desktop" "$shot_dir"
play=$scratch/play
# res/ as links to the generated files, so that a case replaces only the one file it breaks (copies
# for the case whose player may not follow the links into the build tree). One cp for all ~650 files:
# under the sanitizers every process starts with the GL driver preloaded, which costs a tenth of a second.
res_abs=$(cd "$res_dir" && pwd)
if [ "$case_name" = unwritable_cwd ]; then
    cp "$res_abs"/*.dat "$play/res/"
else
    cp -s "$res_abs"/*.dat "$play/res/"
fi

# A page from an earlier finished game; the game must never touch it.
page=$scratch/profile/Desktop/print_me.html
printf '<html><!-- printed before -->\0' > "$page"
cp "$page" "$scratch/page-before"
export USERPROFILE=$scratch/profile

# Replaces res/NAME with a real file holding the given bytes (read from stdin), scrambled with KEY
# (hex, 8 bytes) or with the game's key when KEY is "game". The program goes on the command line, so
# that standard input stays the data; the file written must be as long as the data.
scrambled_file() {
    local name=$1 key=$2 raw=$scratch/raw-$1
    rm -f "$play/res/$name"
    cat > "$raw"
    [ -s "$raw" ] || fail "no bytes to scramble into $name"
    python3 -c '
import sys
source, path, key = sys.argv[1], sys.argv[2], sys.argv[3]
key = bytes.fromhex("5C11E4702B9846D3" if key == "game" else key)
data = bytearray(open(source, "rb").read())
total = 0
for step in range(len(data)):
    j = len(data) - 1 - step
    total = (total + data[j] + key[step % 8]) & 0xFF
    data[j] = total
open(path, "wb").write(bytes(data))
' "$raw" "$play/res/$name" "$key" || fail "could not scramble $name"
    [ "$(stat -c %s "$play/res/$name")" = "$(stat -c %s "$raw")" ] ||
        fail "res/$name holds $(stat -c %s "$play/res/$name") bytes, not the $(stat -c %s "$raw") given"
}

# Replaces res/NAME with a file written by the hostile payload program (KIND and its arguments).
payload_file() {
    local name=$1
    shift
    [ -x "$payload" ] || fail "no hostile payload program"
    rm -f "$play/res/$name"
    "$payload" "$1" "$play/res/$name" "${@:2}" || fail "could not write $name"
}

# The payload of a generated file, unscrambled with the game's key.
payload_of() {
    python3 - "$res_dir/$1" <<'PY'
import sys
key = bytes.fromhex("5C11E4702B9846D3")
data = bytearray(open(sys.argv[1], "rb").read())
previous = 0
for step in range(len(data)):
    j = len(data) - 1 - step
    stored = data[j]
    data[j] = (stored - previous - key[step % 8]) & 0xFF
    previous = stored
sys.stdout.buffer.write(bytes(data))
PY
}

# The SDL 1.2 implementations to run a case on: "" for the classic library, then the folder of
# sdl12-compat when it is installed (scripts/install-deps.sh compat).
sdl_libraries() {
    echo ""
    ls -d /usr/lib/*/sdl12-compat 2> /dev/null | head -n 1
}

expect_message_then_escape() {
    shoot message
    expect_resource_message "$1"
    press Escape
    expect_exit 1
}

case $case_name in
missing_res)
    rm -rf "$play/res"
    start_in "$play" w 640 360
    shoot message
    [ "$(pixel 639 359)" = "255,0,0" ] || fail "$shot is not the red message screen"
    expect_row 15 "could not load resource file:"
    # Every texture fails and the last report wins: some "<number>.dat" name, starting at column 0.
    message_row 14 | grep -Eq '^#{5,12}\.+$' || fail "no file name on row 14 of $shot"
    expect_row 11 "reinstalling"
    press Escape
    expect_exit 1
    ;;
empty_file)
    rm -f "$play/res/1190.dat"
    : > "$play/res/1190.dat"
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
truncated_png)
    size=$(stat -c %s "$res_dir/71000.dat")
    rm -f "$play/res/71000.dat"
    head -c $((size / 2)) "$res_dir/71000.dat" > "$play/res/71000.dat"
    start_in "$play" w 640 360
    expect_message_then_escape 71000.dat
    ;;
wrong_key)
    payload_of 1190.dat | head -c 8 | grep -q PNG || fail "1190.dat is not a PNG"
    payload_of 1190.dat | scrambled_file 1190.dat 0102030405060708
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
not_audio)
    printf 'this is a letter, not a piece of music\n' | scrambled_file 1.dat game
    start_in "$play" w 640 360
    # The first direction key starts music track 1.
    press Right
    expect_message_then_escape res/1.dat
    ;;
directory)
    rm -f "$play/res/1190.dat"
    mkdir "$play/res/1190.dat"
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
huge_sparse)
    rm -f "$play/res/1190.dat"
    truncate -s 4G "$play/res/1190.dat"
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    rm -f "$play/res/1190.dat"
    ;;
chained_ogg)
    # SDL_mixer builds a new rate converter at the second link, about a second into the music; a rate
    # that far from the device's overran its table and crashed the game (code 139).
    for rate in 1 2 67130914; do
        case_name=chained_ogg-$rate
        payload_file 1.dat chained_ogg "$rate"
        start_in "$play" w 640 360
        press Right
        sleep 2
        kill -0 "$pid" 2>/dev/null || fail "the game died with the music playing"
        expect_message_then_escape res/1.dat
    done
    case_name=chained_ogg
    ;;
not_png)
    payload_file 1190.dat bitmap
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
huge_png)
    payload_file 1190.dat big_png 16000 16000
    [ "$(stat -c %s "$play/res/1190.dat")" -lt 2000000 ] || fail "the picture file is not small"
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
fifo_res)
    rm -f "$play/res/1190.dat"
    mkfifo "$play/res/1190.dat"
    start_in "$play" w 640 360
    expect_message_then_escape 1190.dat
    ;;
fifo_marker)
    mkfifo "$play/delete_me.html"
    start_in "$play" w 640 360
    [ -e "$play/delete_me.html" ] && fail "the marker was not removed"
    shoot dark
    # The finished field: no avatars, no revealed room, black where the play field is.
    [ "$(pixel 100 300)" = "0,0,0" ] || fail "$shot is not the dark field"
    quit_from_pause_menu pause
    ;;
quit_signal)
    for run in $(seq 20); do
        case_name=quit_signal-$run
        start_in "$play" w 640 360
        kill -QUIT "$pid"
        expect_exit 0
    done
    case_name=quit_signal
    ;;
wrapping_size)
    start_in "$play" w 4294967936 360
    size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" != 640x360 ] || fail "the width wrapped: the window is $size"
    root=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = "$root" ] || fail "the ladder's first fitting rung is the screen's size, not $size"
    press Escape
    press Right
    press Return
    expect_exit 0
    ;;
ending_signals)
    # Before: SIGHUP ended the game by the signal (code 129), as did the others of the first list.
    # (SIGALRM is left out: classic SDL 1.2 ignores it itself.)
    for sig in HUP USR1 USR2 VTALRM PROF XCPU; do
        case_name=ending_signals-$sig
        start_in "$play" w 640 360
        kill -"$sig" "$pid"
        expect_exit 0
    done
    case_name=ending_signals-pause
    start_in "$play" w 640 360
    press Escape
    shoot pause
    expect_pause_menu
    kill -HUP "$pid"
    expect_exit 0
    case_name=ending_signals-message
    rm -f "$play/res/1190.dat"
    : > "$play/res/1190.dat"
    start_in "$play" w 640 360
    shoot message
    expect_resource_message 1190.dat
    kill -HUP "$pid"
    expect_exit 0
    rm -f "$play/res/1190.dat"
    for sig in PIPE XFSZ; do
        case_name=ending_signals-$sig
        start_in "$play" w 640 360
        kill -"$sig" "$pid"
        sleep 0.5
        kill -0 "$pid" 2> /dev/null || fail "SIG$sig ended the game"
        kill -TERM "$pid"
        expect_exit 0
    done
    case_name=ending_signals
    ;;
fifo_joystick)
    # Before: SDL waited for ever in open() on the FIFO, with no window.
    mkfifo "$scratch/pad"
    printf 'not a joystick\n' > "$scratch/not-a-pad"
    export SDL_JOYSTICK_DEVICE="$scratch/pad:$scratch/not-a-pad::$scratch/nowhere"
    while read -r library; do
        case_name=fifo_joystick${library:+-compat}
        LD_LIBRARY_PATH=$library start_in "$play" w 640 360
        shoot play
        [ "$(pixel 600 180)" = "0,0,0" ] || fail "$shot is not the black play frame"
        quit_from_pause_menu pause
    done < <(sdl_libraries)
    unset SDL_JOYSTICK_DEVICE
    case_name=fifo_joystick
    ;;
no_display)
    # Before: classic SDL 1.2 fell back on libcaca and wrote 3.5 KB of escape codes, one burst per display
    # mode tried; SDL2 opened an invisible off-screen window and the game ran unseen for ever. Standard
    # input is a terminal when there is one, as when started by hand.
    while read -r library; do
        case_name=no_display${library:+-compat}
        status=0
        (cd "$play" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR LD_LIBRARY_PATH="$library" \
            TERM=xterm timeout 60 "$tavok" > "$scratch/out" 2> "$scratch/err") || status=$?
        [ "$status" = 1 ] || fail "exit code $status, expected 1"
        [ -s "$scratch/out" ] && fail "the game wrote $(stat -c %s "$scratch/out") bytes to standard output"
        [ "$(cat "$scratch/err")" = "taVok: no display could be opened" ] ||
            fail "standard error held: $(head -c 300 "$scratch/err" | cat -v)"
    done < <(sdl_libraries)
    case_name=no_display
    ;;
unwritable_cwd)
    # Root writes anywhere, so the game runs as nobody, from a folder nobody may not write to, with a
    # copy of the X authority it can read.
    [ "$(id -u)" = 0 ] || fail "needs root to start the game as another user"
    chmod -R a+rX "$scratch"
    chmod 555 "$play"
    auth=$scratch/Xauthority
    if [ -n "${XAUTHORITY:-}" ]; then
        cp "$XAUTHORITY" "$auth"
        chmod 644 "$auth"
    fi
    mkdir -p "$scratch/bin"
    cp "$tavok" "$scratch/bin/tavok"
    chmod 755 "$scratch/bin" "$scratch/bin/tavok"
    real_tavok=$scratch/bin/tavok
    tavok=$scratch/as-nobody.sh
    printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups env XAUTHORITY=%s %s "$@"\n' \
        "$auth" "$real_tavok" > "$tavok"
    chmod 755 "$tavok"
    setpriv --reuid=65534 --regid=65534 --clear-groups touch "$play/probe" 2>/dev/null &&
        fail "the play folder is writable by nobody"
    start_in "$play" w 640 360
    shoot play
    # Play goes on as usual: the black play frame, the pause menu, quit with code 0.
    [ "$(pixel 600 180)" = "0,0,0" ] || fail "$shot is not the black play frame"
    quit_from_pause_menu pause
    chmod 755 "$play"
    [ -e "$play/delete_me.html" ] && fail "a marker file appeared in the unwritable folder"
    ;;
*)
    fail "unknown case"
    ;;
esac

cmp -s "$page" "$scratch/page-before" || fail "print_me.html on the desktop was changed"
rm -rf "$scratch"
echo "ok ($case_name)"
