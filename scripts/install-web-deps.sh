#!/usr/bin/env bash
# Installs what the browser edition needs: Debian's emscripten (with the parser its JavaScript optimizer
# loads), the header-only image decoder the page uses, headless Chromium for the browser tests, and the
# DevTools-protocol client that drives it (from the npm registry, without a browser of its own).
# Idempotent: asks apt and npm only for what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten node-acorn libstb-dev chromium)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    lock=(-o DPkg::Lock::Timeout=600)   # another job's apt may hold the lock: wait for it
    "${sudo_cmd[@]}" apt-get "${lock[@]}" update -qq
    "${sudo_cmd[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser driver is pinned in tests/web/package-lock.json; it uses /usr/bin/chromium.
if [ ! -d tests/web/node_modules/playwright-core ]; then
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
fi
