#!/usr/bin/env bash
# Start-up against its floor, both measured from process start, the median of several runs each.
#   game:  the real executable with the real res/, from exec to the end of its first presented play
#          frame (first_frame_probe.so, preloaded, stops the clock at the first buffer swap once GL has
#          finished it, then ends the process);
#   floor: startup_floor reading, unscrambling and decoding every file of the same res/ without OpenGL,
#          on one thread, with the game's own decoders;
#   floor on two threads: the same, every other file decoded by a second thread (what decoding on both
#          cores could at best save);
#   floor through SDL_image: one thread, every picture decoded by SDL_image as before the game had a
#          picture decoder of its own (for comparison only);
#   window: startup_window opening the game's window, GL state and audio device and presenting one
#          cleared frame (same probe), the part of start-up that no data work can avoid.
# The game decodes its pictures on a second thread while it opens the window, so its start-up can come
# close to the window alone plus the uploads and the first play frame; the goal still compares it with
# 1.1 x (floor + window). The probe also gives the time at which each program's window was open, which
# splits start-up into the part the decoding thread can hide in and the part after it.
# Usage (from the build folder, with a display): bash ../bench/system/startup.sh [RUNS]
set -eu
runs=${1:-7}
build_dir=$(pwd)
probe=$build_dir/bench/system/first_frame_probe.so
floor=$build_dir/bench/system/startup_floor
window=$build_dir/bench/system/startup_window
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/profile/Desktop"
ln -s "$build_dir/res" "$scratch/res"
export USERPROFILE=$scratch/profile SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

now_ns() { date +%s%N; }

median() { sort -n | awk '{ a[NR] = $1 } END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m }'; }

# Warm the file cache and the driver once, so that every run measures the same thing.
(cd "$scratch" && TAVOK_PROBE_START_NS=$(now_ns) TAVOK_PROBE_OUT=$scratch/warm LD_PRELOAD=$probe "$build_dir/tavok" w 1280 720)
TAVOK_PROBE_START_NS=$(now_ns) "$floor" "$build_dir/res" > /dev/null

: > "$scratch/game.txt"
: > "$scratch/floor.txt"
: > "$scratch/floor2.txt"
: > "$scratch/floor_sdl.txt"
: > "$scratch/window.txt"
: > "$scratch/game_open.txt"
: > "$scratch/window_open.txt"
for _ in $(seq "$runs"); do
    (cd "$scratch" && TAVOK_PROBE_START_NS=$(now_ns) TAVOK_PROBE_OUT=$scratch/one LD_PRELOAD=$probe \
        "$build_dir/tavok" w 1280 720)
    awk '{ print $1 }' "$scratch/one" >> "$scratch/game.txt"
    awk '{ print $2 }' "$scratch/one" >> "$scratch/game_open.txt"
    TAVOK_PROBE_START_NS=$(now_ns) "$floor" "$build_dir/res" | awk '{ print $1 }' >> "$scratch/floor.txt"
    TAVOK_PROBE_START_NS=$(now_ns) "$floor" "$build_dir/res" 2 | awk '{ print $1 }' >> "$scratch/floor2.txt"
    TAVOK_PROBE_START_NS=$(now_ns) "$floor" "$build_dir/res" 1 sdl | awk '{ print $1 }' >> "$scratch/floor_sdl.txt"
    TAVOK_PROBE_START_NS=$(now_ns) TAVOK_PROBE_OUT=$scratch/one LD_PRELOAD=$probe "$window" 1280 720
    awk '{ print $1 }' "$scratch/one" >> "$scratch/window.txt"
    awk '{ print $2 }' "$scratch/one" >> "$scratch/window_open.txt"
done
counts=$(TAVOK_PROBE_START_NS=$(now_ns) "$floor" "$build_dir/res" | awk '{ print $2 " images, " $3 " music tracks" }')
game=$(median < "$scratch/game.txt")
floor_ms=$(median < "$scratch/floor.txt")
floor2_ms=$(median < "$scratch/floor2.txt")
floor_sdl_ms=$(median < "$scratch/floor_sdl.txt")
window_ms=$(median < "$scratch/window.txt")
game_open_ms=$(median < "$scratch/game_open.txt")
window_open_ms=$(median < "$scratch/window_open.txt")
echo "start-up to first play frame (1280x720 window): median $game ms of $runs runs ($(tr '\n' ' ' < "$scratch/game.txt")ms)"
echo "floor, read + unscramble + decode every file ($counts): median $floor_ms ms ($(tr '\n' ' ' < "$scratch/floor.txt")ms)"
echo "floor on two threads: median $floor2_ms ms ($(tr '\n' ' ' < "$scratch/floor2.txt")ms)"
echo "floor with every picture through SDL_image: median $floor_sdl_ms ms ($(tr '\n' ' ' < "$scratch/floor_sdl.txt")ms)"
echo "window, GL state and audio device alone, one cleared frame: median $window_ms ms ($(tr '\n' ' ' < "$scratch/window.txt")ms)"
echo "window open (SDL_SetVideoMode returned): game median $game_open_ms ms, startup_window median $window_open_ms ms"
awk -v g="$game" -v f="$floor_ms" -v f2="$floor2_ms" -v w="$window_ms" -v go="$game_open_ms" -v wo="$window_open_ms" 'BEGIN {
    printf "ratio start-up / floor: %.2f\n", g / f
    printf "ratio start-up / (floor + window): %.2f\n", g / (f + w)
    printf "two threads take the floor from %.1f to %.1f ms (%.2f x)\n", f, f2, f2 / f
    printf "after the window opened: game %.1f ms (uploads, world, first play frame), startup_window %.1f ms (audio, cleared frame)\n", g - go, w - wo
    printf "overlap: the decoding thread has the %.1f ms until the window is open to hide the %.1f ms floor in (floor / that time: %.2f; at most 1 hides it all)\n", go, f, f / go
    printf "start-up / max(floor, window): %.2f\n", g / (f > w ? f : w)
    limit = 1.1 * (f + w)
    printf "GOAL startup | first play frame vs 1.1 x (decode floor + platform share) | %.1f ms | limit %.1f ms | ratio %.2f | %s\n",
        g, limit, g / limit, g <= limit ? "met" : "NOT MET" }'
