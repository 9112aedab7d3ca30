#!/usr/bin/env bash
# Builds the Debian package twice, from two clean copies of the sources in differently named folders,
# under a different time zone, locale and umask, one after the other, and compares the two .deb files
# byte for byte. dpkg-buildpackage takes SOURCE_DATE_EPOCH from debian/changelog, so file times in the
# package do not depend on when it was built; what else could leak (the build folder's path, the order
# in which the file system lists files, the generator's output) must not make a difference either.
#
#   scripts/package-repro.sh OUT_DIR
#
# Leaves OUT_DIR/a and OUT_DIR/b with each build's .deb and log; when they differ, diffoscope's report
# is OUT_DIR/diffoscope.txt. Exit codes: 0 identical, 1 different or a build failed, 2 bad usage.
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: scripts/package-repro.sh OUT_DIR" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
rm -rf "$out/a" "$out/b" "$out/diffoscope.txt"

# build NAME TZ LANG UMASK: one build in OUT_DIR/NAME, from its own copy of the sources.
build() {
    local start=$SECONDS
    echo "package-repro: build $1 (TZ=$2 LANG=$3 umask $4)"
    (umask "$4" && TZ=$2 LANG=$3 LC_ALL=$3 bash "$source_dir/scripts/build-package.sh" "$out/$1" > "$out/$1.log" 2>&1) ||
        { tail -n 30 "$out/$1.log"; echo "package-repro: build $1 failed; log $out/$1.log"; exit 1; }
    echo "package-repro: build $1 took $((SECONDS - start)) s"
}
build a UTC C.UTF-8 0022
build b Pacific/Kiritimati C 0002

deb_a=$(find "$out/a" -maxdepth 1 -name 'tavok_*.deb')
deb_b=$(find "$out/b" -maxdepth 1 -name 'tavok_*.deb')
if cmp "$deb_a" "$deb_b"; then
    echo "package-repro: identical, $(stat -c %s "$deb_a") bytes, sha256 $(sha256sum < "$deb_a" | cut -d' ' -f1)"
    exit 0
fi
echo "package-repro: the two packages differ"
if command -v diffoscope > /dev/null; then
    diffoscope --text "$out/diffoscope.txt" "$deb_a" "$deb_b" || true
    head -n 60 "$out/diffoscope.txt"
    echo "package-repro: diffoscope's whole report is $out/diffoscope.txt"
fi
exit 1
