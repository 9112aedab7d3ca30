#!/usr/bin/env bash
# Takes the README's picture of play from the real game: starts it in a 1280x720 window on a private X
# server, walks the player's figure to the button row and presses every button of the bottom room, then
# saves the window as a small PNG (the rooms the presses opened, the rest still dark).
# Usage: scripts/docs-screenshot.sh [BUILD_DIR] [OUTPUT]   (defaults: build, docs/screenshot.png)
# Needs a built game with its data (make build) and xvfb-run, xdotool and ImageMagick
# (scripts/install-deps.sh installs them).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
output=${2:-$root/docs/screenshot.png}
case $output in /*) ;; *) output=$PWD/$output ;; esac

if [ -z "${TAVOK_SCREENSHOT_INNER:-}" ]; then
    # Run again under a private server of our own, so no real display is ever touched.
    exec env TAVOK_SCREENSHOT_INNER=1 SDL_AUDIODRIVER=dummy \
        xvfb-run -a -s "-noreset -screen 0 1920x1080x24" bash "$0" "$build" "$output"
fi

# A scratch working folder: the game finds res/ there, and a marker file in the build folder (from a
# finished game) cannot turn the picture into the dark end screen.
work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
ln -s "$build/res" "$work/res"

cd "$work"
"$build/tavok" w 1280 720 &
pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --name '^taVok$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "docs-screenshot: the game's window did not open" >&2; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5

# One key press the game sees at a frame; a step or a press takes half a second to play out.
press() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
    sleep 0.5
}

# The figure starts anywhere on the bottom room's floor: walls stop it at the left column and the button
# row, which gives it a known place, (3, 2). Then it stands under each button in turn, faces it and acts.
for _ in 1 2 3 4 5 6 7 8; do press Left; done
press Up
press Up
press Right
for _ in 1 2 3 4 5; do
    press Right
    press Up
    press Return
done
# Let the opened rooms fade in completely.
sleep 3
import -window "$window" "$work/shot.png"
# Pixel art and large black areas: a 64-colour palette keeps the file small without visible loss.
convert "$work/shot.png" -dither None -colors 64 "PNG8:$output"
echo "docs-screenshot: wrote $output ($(stat -c %s "$output") bytes)"
