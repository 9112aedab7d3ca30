#!/usr/bin/env bash
# Packs a built page folder for a static host: a zip holding the folder as tavok/, with a gzip copy
# (NAME.gz) beside each large file that gzip makes at least a tenth smaller, for hosts that send those in
# place of the file. The music and pictures inside tavok-res.data are compressed already, so it gets none.
# Usage: make-dist.sh PAGE_DIR ZIP_FILE
set -euo pipefail
page_dir=$(cd "$1" && pwd)
zip_file=$(readlink -f "$2")
[ -f "$page_dir/tavok.html" ] && [ -f "$page_dir/tavok-sw.js" ] || {
    echo "make-dist: $page_dir is not a built page folder (make web builds it)" >&2
    exit 1
}
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp -r "$page_dir" "$staging/tavok"
find "$staging/tavok" -name '*.gz' -delete
while IFS= read -r -d '' file; do
    size=$(stat -c %s "$file")
    [ "$size" -ge 16384 ] || continue
    gzip -9 -n -c "$file" > "$file.gz"
    if [ $(( $(stat -c %s "$file.gz") * 10 )) -gt $(( size * 9 )) ]; then
        rm "$file.gz"
    fi
done < <(find "$staging/tavok" -type f -print0)
rm -f "$zip_file"
(cd "$staging" && cmake -E tar cf "$zip_file" --format=zip tavok)
echo "the zip for a static host: $zip_file"
