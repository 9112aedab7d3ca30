#!/usr/bin/env bash
# Installs the Debian packages taVok needs to build, run and test. Idempotent: it only asks apt for
# packages that are not installed yet, and does nothing at all when everything is present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libsdl1.2-dev libsdl-mixer1.2-dev libsdl-image1.2-dev
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
    libpng-dev libvorbis-dev libogg-dev
    libgtest-dev googletest libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick
    clang libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
