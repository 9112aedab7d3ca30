#!/usr/bin/env bash
# Packs a res/ folder into a page folder as tavok-res.data with its loader tavok-res.js, mounted at
# /res in the page's file system. Usage: pack-res.sh RES_DIR PAGE_DIR
set -euo pipefail
res_dir=$(cd "$1" && pwd)
page_dir=$2
packager=$(dirname "$(readlink -f "$(command -v emcc)")")/tools/file_packager
[ -x "$packager" ] || packager=/usr/share/emscripten/tools/file_packager
mkdir -p "$page_dir"
cd "$page_dir"
log=$(mktemp)
if ! "$packager" tavok-res.data --preload "$res_dir@/res" --js-output=tavok-res.js > "$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"
