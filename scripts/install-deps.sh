#!/usr/bin/env bash
# Installs the Debian packages a taVok job needs, one group per job, so that starting the game does not
# wait for the test, sanitizer or packaging tools. Idempotent: it only asks apt for packages that are not
# installed yet, and does nothing at all when everything is present.
#
#   scripts/install-deps.sh [GROUP...]     groups: run test bench asan fuzz package compat pkgtest repro
#                                          (default: run)
set -euo pipefail

# Building the game, generating its data (libpng and Vorbis for the asset generator) and starting it.
run=(
    build-essential cmake ninja-build pkg-config
    libsdl1.2-dev libsdl-mixer1.2-dev libsdl-image1.2-dev
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
    libpng-dev libvorbis-dev libogg-dev
)
# A private X server and the tools the end-to-end tests drive and photograph the game with.
headless=(xvfb xauth x11-utils xdotool imagemagick libx11-dev)
test=("${run[@]}" "${headless[@]}" libgtest-dev googletest)
bench=("${run[@]}" "${headless[@]}")
asan=("${test[@]}" clang libclang-rt-14-dev)
fuzz=("${run[@]}" "${headless[@]}" clang libclang-rt-14-dev)
# Building the Debian package and checking it the way the archive does.
package=("${run[@]}" dpkg-dev debhelper fakeroot lintian appstream desktop-file-utils)
# The suite again on sdl12-compat (SDL 1.2 on SDL2, the SDL 1.2 of current systems), which installs beside
# classic SDL 1.2 in its own folder (/usr/lib/<arch>/sdl12-compat) and is put in front by LD_LIBRARY_PATH.
compat=("${test[@]}" libsdl1.2-compat)
# Debian's own tests of the installed package (debian/tests) in a throwaway root that mmdebstrap makes
# from the archive and autopkgtest unpacks afresh for every run (make package-test).
pkgtest=("${package[@]}" autopkgtest mmdebstrap uidmap)
# Two builds of the package compared byte for byte, and the differences shown when there are any.
repro=("${package[@]}" diffoscope-minimal)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(run)

wanted=()
for group in "${groups[@]}"; do
    case $group in
    run | test | bench | asan | fuzz | package | compat | pkgtest | repro) ;;
    *)
        echo "install-deps: unknown group '$group' (run, test, bench, asan, fuzz, package, compat, pkgtest, repro)" >&2
        exit 2
        ;;
    esac
    declare -n list=$group
    wanted+=("${list[@]}")
    unset -n list
done

# One dpkg-query for the whole list: asking package by package takes seconds.
mapfile -t unique < <(printf '%s\n' "${wanted[@]}" | sort -u)
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${unique[@]}" 2>/dev/null |
    awk '$NF == "installed" && $(NF-1) == "ok" { sub(/:.*/, "", $1); print $1 }' || true)
missing=()
for p in "${unique[@]}"; do
    if ! grep -qxF -- "$p" <<<"$installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "installing (${groups[*]}): ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Another job's apt may hold the lock (two targets started side by side): wait for it instead of failing.
lock=(-o DPkg::Lock::Timeout=600)
"${sudo_cmd[@]}" apt-get "${lock[@]}" update
"${sudo_cmd[@]}" apt-get "${lock[@]}" install -y --no-install-recommends "${missing[@]}"
