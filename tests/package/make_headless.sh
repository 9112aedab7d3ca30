#!/usr/bin/env bash
# Every make target that opens windows runs them on an X server of its own, whatever DISPLAY names: the
# dry run of each (make -n) must start its window-opening command through scripts/headless.sh, with
# DISPLAY set as on a desktop. Then the script itself must really hand its command a different, working
# display.
# Usage: make_headless.sh SOURCE_DIR
set -u
source_dir=$1
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# target, then what in its recipe opens windows
checks=(
    "test ctest"
    "test-compat ctest"
    "bench bench/run.sh"
    "test-asan ctest"
    "fuzz fuzz/run.sh"
)
for check in "${checks[@]}"; do
    read -r target runner <<<"$check"
    for display in :0 ""; do
        recipe=$(DISPLAY=$display make --no-print-directory -n -C "$source_dir" "$target" \
            BUILD_DIR=/nonexistent/tavok-build 2>&1 | sed -e ':a' -e '/\\$/N; s/\\\n//; ta')
        lines=$(grep -F -- "$runner" <<<"$recipe")
        [ -n "$lines" ] || { fail "make -n $target runs no $runner:"$'\n'"$recipe"; continue; }
        while IFS= read -r line; do
            case $line in
            *scripts/headless.sh*"$runner"*) ;;
            *) fail "make $target with DISPLAY='$display' runs $runner without a private X server: $line" ;;
            esac
        done <<<"$lines"
    done
done

# The private server: not the display of the caller, and one that answers.
if command -v Xvfb > /dev/null && command -v xdpyinfo > /dev/null; then
    seen=$(DISPLAY=:4242 bash "$source_dir/scripts/headless.sh" sh -c 'echo "$DISPLAY"; xdpyinfo > /dev/null && echo answers')
    first=$(head -n 1 <<<"$seen")
    [ "$first" != ":4242" ] && [ -n "$first" ] || fail "headless.sh kept the caller's display ($first)"
    grep -qx answers <<<"$seen" || fail "the private X server on $first does not answer"
    # The command's own exit code comes back.
    bash "$source_dir/scripts/headless.sh" sh -c 'exit 7'
    [ $? -eq 7 ] || fail "headless.sh lost the command's exit code"
else
    echo "Xvfb or xdpyinfo missing: the server itself was not tried"
fi

[ $status -eq 0 ] && echo "ok (make_headless)"
exit $status
