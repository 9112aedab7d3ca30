#!/usr/bin/env bash
# Holds the layer order written down in docs/layers.md: reads every #include "..." of the project and
# fails on one that runs up a layer (other than to a documented service), reaches sideways between
# units that sit side by side, or pulls test and tool code into the game (but for the files the table
# allows it by name); also on a game file that the table does not place. Usage: check_layers.sh
# [project root]; exit 0 when the tree keeps the order.
set -euo pipefail

root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
table="$root/docs/layers.md"
if [ ! -f "$table" ]; then
    echo "layers: no layer table at $table"
    exit 1
fi
cd "$root"

game_dirs=(app input audio resources render game web)
all_dirs=()
for d in "${game_dirs[@]}" tests tools bench fuzz; do
    [ -d "$d" ] && all_dirs+=("$d")
done

# One record per file ("F <path>") and per project include ("I <path> <line> <included>").
records() {
    local files
    files="$(find "${all_dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)"
    sed 's/^/F /' <<< "$files"
    tr '\n' '\0' <<< "$files" | xargs -0 grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
        sed -E 's/^([^:]*):([0-9]+):[^"]*"([^"]*)".*/I \1 \2 \3/' || true
}

records | awk -v table="$table" -v root="$root" '
function unitOf(path,    stem, folder) {
    stem = path
    sub(/\.[^.\/]*$/, "", stem)
    if (stem in layerOf) return stem
    folder = path
    sub(/\/.*$/, "/", folder)
    if (folder in layerOf) return folder
    if (folder in outside) return "outside"
    return ""
}
function isGameFile(path,    folder) {
    folder = path
    sub(/\/.*$/, "", folder)
    return folder in gameDir
}
function exists(path,    line, status) {
    status = (getline line < path)
    close(path)
    return status >= 0
}
function fault(message) {
    print "layers: " message
    faults++
}
BEGIN {
    split("app input audio resources render game web", dirs, " ")
    for (i in dirs) gameDir[dirs[i]] = 1
    inBlock = 0
    while ((getline row < table) > 0) {
        if (row ~ /^```layers/) { inBlock = 1; continue }
        if (inBlock && row ~ /^```/) { inBlock = 0; continue }
        if (!inBlock) continue
        if (row ~ /^layer /) {
            layers++
            name = row
            sub(/^layer /, "", name)
            sub(/:.*$/, "", name)
            layerName[layers] = name
            members = row
            sub(/^[^:]*:/, "", members)
            groupCount = split(members, groups, "|")
            for (g = 1; g <= groupCount; g++) {
                unitCount = split(groups[g], units, " ")
                for (u = 1; u <= unitCount; u++) {
                    layerOf[units[u]] = layers
                    groupOf[units[u]] = layers "." g
                }
            }
        } else if (row ~ /^service /) {
            split(row, words, " ")
            service[words[2]] = 1
            serviceList = serviceList (serviceList == "" ? "" : ", ") words[2]
        } else if (row ~ /^outside /) {
            count = split(row, words, " ")
            for (w = 2; w <= count; w++) outside[words[w]] = 1
        } else if (row ~ /^allow /) {
            count = split(row, words, " ")
            for (w = 3; w <= count; w++) allowed[words[2], words[w]] = 1
        }
    }
    if (layers == 0) {
        fault("the table in " table " names no layers")
    }
    for (s in service) {
        if (!exists(root "/" s)) fault("the documented service " s " does not exist")
    }
}
$1 == "F" {
    files++
    if (isGameFile($2) && unitOf($2) == "") {
        fault($2 " belongs to no layer: place it in docs/layers.md")
    }
    next
}
$1 == "I" {
    includes++
    file = $2
    where = $2 ":" $3
    included = $4
    from = unitOf(file)
    to = unitOf(included)
    if (!isGameFile(file) || from == "") next
    if (to == "outside") {
        folder = included
        sub(/\/.*$/, "/", folder)
        if ((file, folder) in allowed) next
        fault(where " includes " included ": the game never includes test, tool, bench or fuzz code")
        next
    }
    if (to == "") {
        if (!exists(root "/" included))
            fault(where " includes \"" included "\", which is no header by its path from the project root")
        next
    }
    if (groupOf[to] == groupOf[from] || layerOf[to] < layerOf[from]) next
    if (included in service) next
    if (layerOf[to] == layerOf[from]) {
        fault(where " includes " included ": " from " and " to " sit side by side in layer " \
              layerName[layerOf[from]] " and may not include each other")
    } else {
        fault(where " includes " included ": it runs up from layer " layerName[layerOf[from]] " (" from \
              ") to layer " layerName[layerOf[to]] " (" to "), and " included \
              " is not a documented service (" serviceList ")")
    }
}
END {
    printf "layers: %d includes in %d files checked against %d layers, %d fault%s\n", includes, files, \
           layers, faults, faults == 1 ? "" : "s"
    exit faults > 0 ? 1 : 0
}
'
