#!/usr/bin/env bash
# Installs what the browser edition needs: Debian's emscripten (with the parser its JavaScript optimizer
# loads), the header-only image decoder the page uses, headless Chromium and Firefox ESR for the browser
# tests, and the clients that drive them (from the npm registry, without browsers of their own).
# Idempotent: asks apt and npm only for what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten node-acorn libstb-dev chromium firefox-esr)

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

# The browser drivers are pinned in tests/web/package-lock.json; they use /usr/bin/chromium and
# /usr/bin/firefox-esr, never a browser downloaded by npm.
if [ ! -d tests/web/node_modules/playwright-core ] || [ ! -d tests/web/node_modules/puppeteer-core ]; then
    (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
