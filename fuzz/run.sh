#!/usr/bin/env bash
# Runs the fuzz targets one after another for a fixed time each and sums up what they did. Run from the
# fuzz build folder (`make fuzz` does: cd build-fuzz && bash ../fuzz/run.sh $(FUZZ_SECONDS)):
#
#   bash ../fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 60; without TARGETs every fuzz_* program of the build runs. The corpus
# of each target grows in fuzz-work/corpus/<target> and is kept between runs; seeds are made afresh by
# every run (hand-made ones, and a few of the game's own files when res/ exists in this build or in
# ../build). FUZZ_EXTRA_ARGS adds libFuzzer options (e.g. -malloc_limit_mb=4096). A crash, leak, timeout or out-of-memory input is saved in
# fuzz-work/crashes/<target>/ and makes the script fail; replay one with
#   bash ../scripts/sanitizer-env.sh fuzz/<target> fuzz-work/crashes/<target>/<file>
set -uo pipefail

seconds=${1:-60}
shift || true
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(pwd)
bin_dir=$build_dir/fuzz
work=$build_dir/fuzz-work
sanitize=("bash" "$source_dir/scripts/sanitizer-env.sh")
# An allocation no machine can make (over a terabyte, from a size computed with an overflow inside a
# decoder) returns null as the C library would, and the decoder fails as it does in the game; sizes that
# could be allocated still meet libFuzzer's malloc limit.
export ASAN_OPTIONS="allocator_may_return_null=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

if [ ! -x "$bin_dir/make_seeds" ]; then
    echo "run.sh: no fuzz build here ($bin_dir/make_seeds missing); run it from build-fuzz" >&2
    exit 2
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in "$bin_dir"/fuzz_*; do
        [ -x "$program" ] && targets+=("$(basename "$program")")
    done
fi

res_dir=""
for candidate in "$build_dir/res" "$source_dir/build/res"; do
    if [ -d "$candidate" ]; then
        res_dir=$candidate
        break
    fi
done

mkdir -p "$work/logs"
seeds=$(mktemp -d "$work/seeds.XXXXXX")
trap 'rm -rf "$seeds"' EXIT
"${sanitize[@]}" "$bin_dir/make_seeds" "$seeds" $res_dir > /dev/null || exit 2

# Longest input per target: long enough for the headers and first blocks a decoder looks at, short
# enough that the fuzzer mutates quickly.
max_len_of() {
    case "$1" in
    fuzz_command_line) echo 256 ;;
    fuzz_memory_reader) echo 16384 ;;
    fuzz_mesh) echo 8192 ;;
    fuzz_music | fuzz_sound) echo 65536 ;;
    *) echo 32768 ;;
    esac
}

failed=0
summary=$(mktemp)
printf '%-20s %10s %8s %8s  %s\n' target executions exec/s corpus result > "$summary"
for target in "${targets[@]}"; do
    corpus=$work/corpus/$target
    crashes=$work/crashes/$target
    log=$work/logs/$target.log
    mkdir -p "$corpus" "$crashes" "$seeds/$target"
    # A target with a dictionary of its format's words (fuzz/<target>.dict) gets it.
    dict=()
    [ -f "$source_dir/fuzz/$target.dict" ] && dict=("-dict=$source_dir/fuzz/$target.dict")
    # SDL_mixer's Ogg music player keeps a private conversion buffer (8 KiB, made anew whenever a chained
    # file's next link has another format) that it now and then loses while such a file is played, sought
    # and freed: the report's stack ends inside SDL_mixer (next to SDL_BuildAudioCVT), the buffer is
    # never the game's to free, and the lone input does not leak again when replayed. Leaks are therefore
    # not counted for the music target here; every music the game loads is still checked for leaks by
    # the sanitized suite and the leak check, which play real music and free it.
    leaks=()
    [ "$target" = fuzz_music ] && leaks=(-detect_leaks=0)
    nice -n 10 "${sanitize[@]}" "$bin_dir/$target" -max_total_time="$seconds" -max_len="$(max_len_of "$target")" \
        -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" "${dict[@]}" "${leaks[@]}" \
        ${FUZZ_EXTRA_ARGS:-} "$corpus" "$seeds/$target" > "$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ -z "$runs" ]; then
        # Fork mode (FUZZ_EXTRA_ARGS="-fork=1 -ignore_crashes=1 ..."): the parent's last progress line.
        runs=$(sed -n 's/^#\([0-9]*\): cov:.*/\1/p' "$log" | tail -1)
        speed=$(sed -n 's/^#[0-9]*: cov:.* exec\/s:\{0,1\} \([0-9]*\).*/\1/p' "$log" | tail -1)
    fi
    size=$(find "$corpus" -type f | wc -l)
    if [ $status -eq 0 ]; then
        result=ok
    else
        result="FAILED (exit $status, see $log)"
        failed=1
        grep -m1 -E 'ERROR: |SUMMARY: |deadly signal|Test unit written' "$log" | sed 's/^/    /' >&2 || true
    fi
    printf '%-20s %10s %8s %8s  %s\n' "$target" "${runs:-?}" "${speed:-?}" "$size" "$result" >> "$summary"
done
cat "$summary"
rm -f "$summary"
exit $failed
