#!/usr/bin/env bash
# The browser edition's test in Firefox ESR, under an X server of its own (Firefox's headless mode has
# no WebGL on this machine). Usage: run-firefox-tests.sh DESKTOP_BUILD_DIR WEB_BUILD_DIR
# Exit 77 where Firefox or its driver is not installed (`make test-web` installs them). `make test-web`
# in CI sets TAVOK_WEB_TOOLS_REQUIRED: there a missing Firefox is a failure instead, so the second engine
# is never skipped unseen (the `make test` before it, in a fresh clone, has not installed it yet).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -x /usr/bin/firefox-esr ] || [ ! -d "$here/node_modules/puppeteer-core" ]; then
    if [ -n "${TAVOK_WEB_TOOLS_REQUIRED:-}" ]; then
        echo "Firefox ESR or puppeteer-core is not installed (scripts/install-web-deps.sh installs them)" >&2
        exit 1
    fi
    echo "skipped: Firefox ESR or puppeteer-core is not installed (make test-web installs them)"
    exit 77
fi
if [ -n "${TAVOK_PRIVATE_DISPLAY:-}" ]; then
    exec bash "$here/run-web-tests.sh" "$1" "$2" firefox_test.mjs
fi
exec bash "$here/../../scripts/headless.sh" bash "$here/run-web-tests.sh" "$1" "$2" firefox_test.mjs
