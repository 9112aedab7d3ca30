#!/usr/bin/env bash
# Builds the browser pages (incrementally) and runs the browser tests against them.
# Usage: run-web-tests.sh DESKTOP_BUILD_DIR WEB_BUILD_DIR [TEST_FILE...] (web_test.mjs when none is
# named). Exit 77: the tools are not installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
desktop_build=$(cd "$1" && pwd)
mkdir -p "$2"
web_build=$(cd "$2" && pwd)
shift 2
test_files=("${@:-web_test.mjs}")

for tool in emcc emcmake node; do
    if ! command -v "$tool" > /dev/null; then
        echo "skipped: $tool is not installed (make test-web installs it)"
        exit 77
    fi
done
if [ ! -x /usr/bin/chromium ] || [ ! -d "$here/node_modules/playwright-core" ]; then
    echo "skipped: Chromium or playwright-core is not installed (make test-web installs them)"
    exit 77
fi

export NODE_PATH=/usr/share/nodejs
if [ ! -f "$web_build/build.ninja" ]; then
    emcmake cmake -S "$source_dir" -B "$web_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DTAVOK_RES_DIR="$desktop_build/res" > /dev/null
fi
cmake --build "$web_build" > /dev/null

cd "$here"
TAVOK_BUILD_DIR=$desktop_build TAVOK_WEB_BUILD_DIR=$web_build \
    node --test --test-reporter=tap "${test_files[@]}"
