#!/usr/bin/env bash
# Builds the Debian package from a copy of the sources, so that neither the work tree nor its parent
# folder (where dpkg-buildpackage puts its results) collects build output.
#
#   scripts/build-package.sh OUT_DIR [--check]
#
# Leaves OUT_DIR/tavok_VERSION_ARCH.deb and the build log OUT_DIR/build.log. With --check, the package
# is also unpacked into OUT_DIR/root and checked with lintian, appstreamcli and desktop-file-validate;
# any error or warning fails. Exit codes: 0 done, 1 failed, 2 bad usage.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ] || { [ $# -eq 2 ] && [ "$2" != --check ]; }; then
    echo "usage: scripts/build-package.sh OUT_DIR [--check]" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
check=${2:-}

version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
copy=$out/src/tavok-$version
rm -rf "$out/src" "$out/root" "$out"/tavok_*.deb
mkdir -p "$copy"

# The sources as the work tree has them, without build folders or anything git ignores.
echo "package: copying the sources into $copy"
if git -C "$source_dir" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -xf - -C "$copy"
else
    (cd "$source_dir" && tar --exclude='./build*' --exclude=./.git -cf - .) | tar -xf - -C "$copy"
fi

echo "package: dpkg-buildpackage -us -uc -b (also logged in $out/build.log)"
if ! (cd "$copy" && dpkg-buildpackage -us -uc -b) 2>&1 | tee "$out/build.log"; then
    echo "package: dpkg-buildpackage failed; the log is $out/build.log"
    exit 1
fi
deb=$(find "$out/src" -maxdepth 1 -name 'tavok_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "package: no tavok_*.deb was made"; exit 1; }
mv "$deb" "$out/"
deb=$out/$(basename "$deb")
rm -rf "$out/src"
echo "package: $deb, $(stat -c %s "$deb") bytes"

if [ "$check" = --check ]; then
    dpkg -x "$deb" "$out/root"
    status=0
    echo "package: lintian"
    lintian --fail-on error,warning "$deb" || status=1
    echo "package: appstreamcli validate (without the network)"
    appstreamcli validate --no-net "$out/root/usr/share/metainfo/tavok.metainfo.xml" || status=1
    echo "package: desktop-file-validate"
    desktop-file-validate "$out/root/usr/share/applications/tavok.desktop" || status=1
    exit $status
fi
