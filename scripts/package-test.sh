#!/usr/bin/env bash
# Debian's own tests of the package (debian/tests, run by autopkgtest) against the built .deb, in a
# throwaway Debian root that never touches this machine: mmdebstrap makes a minimal root from the
# archive once and keeps it as a tarball, and autopkgtest-virt-unshare unpacks it afresh for every run,
# inside namespaces of its own. The root is Debian 13, whose SDL 1.2 is sdl12-compat, so the package is
# shown to install, resolve its dependencies and play where classic SDL 1.2 is gone; where the archive
# does not serve Debian 13, Debian 12 with sdl12-compat put in place of classic SDL 1.2
# (libsdl1.2-compat-shim) stands in.
#
#   scripts/package-test.sh OUT_DIR     (OUT_DIR holds tavok_*.deb from scripts/build-package.sh)
#
# The root is cached as OUT_DIR/pkgtest/RELEASE.tar (or in the folder TAVOK_PKGTEST_CACHE names, which
# CI points outside its fresh clone) and made again after a week; autopkgtest's log and the tests'
# screenshots go to OUT_DIR/pkgtest/out. Exit codes: 0 passed, 1 failed, 2 bad usage.
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: scripts/package-test.sh OUT_DIR" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(cd "$1" && pwd)
mapfile -t debs < <(find "$out" -maxdepth 1 -name 'tavok_*.deb')
[ ${#debs[@]} = 1 ] || { echo "package-test: not exactly one tavok_*.deb in $out (make package)"; exit 1; }
work=$out/pkgtest
cache=${TAVOK_PKGTEST_CACHE:-$work}
mkdir -p "$work" "$cache"
mirror=http://deb.debian.org/debian
# What the tests need beside the game, put into the cached root so a run does not fetch it every time.
# The game's own dependencies (SDL 1.2, its mixer and image libraries) are left out on purpose: apt
# resolves them from the package when autopkgtest installs it.
tools=xvfb,xauth,xdotool,x11-utils,imagemagick,libgl1-mesa-dri

make_root() {
    local release=$1 extra=$2 tarball=$cache/$1.tar
    if [ -f "$tarball" ] && [ -n "$(find "$tarball" -mtime -7)" ]; then
        return 0
    fi
    echo "package-test: making a $release root with mmdebstrap (cached as $tarball)"
    rm -rf "$tarball" "$cache/$release.new.tar"
    local start=$SECONDS
    # The format said outright: mmdebstrap otherwise guesses it from the name's ending, and a name it
    # does not know becomes a folder.
    mmdebstrap --variant=apt --format=tar --include="$tools$extra" "$release" "$cache/$release.new.tar" \
        "$mirror" > "$work/mmdebstrap-$release.log" 2>&1 ||
        { tail -n 20 "$work/mmdebstrap-$release.log"; rm -rf "$cache/$release.new.tar"; return 1; }
    mv "$cache/$release.new.tar" "$tarball"
    echo "package-test: root made in $((SECONDS - start)) s"
}

# autopkgtest-virt-unshare maps the root's users onto the subordinate ids of whoever runs it
# (/etc/subuid, /etc/subgid). useradd gives every new user a range, but root has none on Debian: give
# it one once, far above the ranges useradd hands out.
if [ "$(id -u)" = 0 ] && ! grep -qs '^root:' /etc/subuid; then
    echo "package-test: giving root subordinate ids 1000000-1065535 for autopkgtest-virt-unshare"
    usermod --add-subuids 1000000-1065535 --add-subgids 1000000-1065535 root
fi

release=trixie
if ! make_root trixie ""; then
    echo "package-test: no Debian 13 root; Debian 12 with sdl12-compat in place of classic SDL 1.2 instead"
    release=bookworm
    make_root bookworm ",libsdl1.2-compat-shim"
fi

# Only what the tests read from the source: debian/ and the end-to-end tests' driver.
src=$work/src
rm -rf "$src" "$work/out"
mkdir -p "$src/tests/hostile"
cp -a "$source_dir/debian" "$src/"
cp "$source_dir/tests/hostile/driver.sh" "$src/tests/hostile/"

echo "package-test: autopkgtest $(basename "${debs[0]}") in a fresh $release root"
start=$SECONDS
status=0
autopkgtest --output-dir "$work/out" --setup-commands 'apt-get update' "${debs[0]}" "$src/" \
    -- unshare --release "$release" --tarball "$cache/$release.tar" || status=$?
echo "package-test: autopkgtest ended with $status after $((SECONDS - start)) s; log in $work/out/log"
[ "$status" = 0 ] || exit 1
# The point of the root: the game played on sdl12-compat, the SDL 1.2 of current systems.
grep -q 'SDL 1.2: .*(source sdl12-compat ' "$work/out/log" ||
    { echo "package-test: the tests did not run on sdl12-compat"; exit 1; }
echo "package-test: passed on $(grep -m1 -o 'SDL 1.2: .*' "$work/out/log")"
