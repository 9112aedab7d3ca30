#!/usr/bin/env bash
# The layer check itself, on a small tree laid out like the game's and held to the real table: it
# passes what the table allows (downward includes, a documented service from below, app and game
# together, the browser test page's test code) and fails, naming the include, on each kind of wrong one.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source_root="${1:-$(cd "$here/../.." && pwd)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

mkdir -p "$work"/{docs,app,input,audio,resources,render,game,web,tests/support}
cp "$source_root/docs/layers.md" "$work/docs/"
header() { # header <path> [included...]
    local path="$1"
    shift
    { echo "#pragma once"; for inc in "$@"; do echo "#include \"$inc\""; done; } > "$work/$path"
}
header resources/cipher.h
header resources/resource_file.h resources/cipher.h
header resources/resource_manager.h render/texture.h audio/sound.h resources/resource_file.h
header render/texture.h resources/resource_file.h app/random.h
header audio/sound.h resources/resource_file.h
header input/key_state.h
header app/random.h
header app/services.h
header app/viewport.h
header app/fatal.h
header game/world.h app/services.h app/viewport.h input/key_state.h resources/resource_manager.h
header app/game.h game/world.h
header tests/support/scratch.h app/game.h
header tests/world_test.h tests/support/scratch.h game/world.h
header web/main_web.cpp app/game.h tests/support/scratch.h

expect_pass() {
    if ! output="$(bash "$here/check_layers.sh" "$work")"; then
        echo "FAIL: a tree that keeps the layers was refused:"
        echo "$output"
        failures=$((failures + 1))
    fi
}

# expect_fault <file> <line to add> <words the report must hold>: adds the line, runs the check, puts
# the file back.
expect_fault() {
    local file="$1" line="$2" words="$3"
    local saved=""
    [ -f "$work/$file" ] && saved="$(cat "$work/$file")"
    echo "$line" >> "$work/$file"
    local output status=0
    output="$(bash "$here/check_layers.sh" "$work")" || status=$?
    if [ "$status" -eq 0 ]; then
        echo "FAIL: $file with $line passed the check"
        failures=$((failures + 1))
    elif ! grep -qF "$words" <<< "$output"; then
        echo "FAIL: $file with $line was refused without saying \"$words\":"
        echo "$output"
        failures=$((failures + 1))
    fi
    if [ -n "$saved" ]; then echo "$saved" > "$work/$file"; else rm -f "$work/$file"; fi
}

expect_pass
# One wrong include a line: the file, the line added to it, and what the check must say about it.
faults=0
while IFS=$'\t' read -r file line words; do
    expect_fault "$file" "$line" "$words"
    faults=$((faults + 1))
done <<'TABLE'
render/texture.h	#include "app/viewport.h"	render/texture.h:4 includes app/viewport.h: it runs up from layer devices (render/) to layer play (app/)
render/texture.h	#include "app/fatal_extra.h"	is not a documented service
audio/sound.h	#include "render/texture.h"	audio/ and render/ sit side by side in layer devices
resources/resource_file.h	#include "resources/resource_manager.h"	runs up from layer files (resources/resource_file) to layer cache (resources/resource_manager)
game/world.h	#include "tests/support/scratch.h"	the game never includes test, tool, bench or fuzz code
resources/new_reader.cpp	// nothing yet	resources/new_reader.cpp belongs to no layer
input/key_state.h	#include "key_map.h"	"key_map.h", which is no header by its path from the project root
web/page_files.cpp	#include "tests/support/scratch.h"	web/page_files.cpp:1 includes tests/support/scratch.h: the game never includes test
game/world.h	#include "web/page_files.h"	runs up from layer play (game/) to layer browser (web/)
TABLE
# Everything was put back: the tree passes again.
expect_pass

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "the layer check passes a tree that keeps the order and names each of $faults wrong includes"
