#!/bin/sh
# Compiles the Windows resource script and checks the icon group and version.
set -eu
windres=$1
rc=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$windres" --preprocessor=cpp -I "$(dirname "$rc")" -i "$rc" -O coff -o "$out/resources.o"
"$windres" --preprocessor=cpp -I "$(dirname "$rc")" -i "$rc" -O rc -o "$out/resources.rc"
fail() { echo "windows resources: $*" >&2; exit 1; }
grep -q '"IDI_ICON1" 14 /\* RT_GROUP_ICON \*/' "$out/resources.rc" || fail "no icon group IDI_ICON1"
grep -q 'FILEVERSION 1, 0, 0, 0' "$out/resources.rc" || fail "file version is not 1.0.0.0"
grep -q 'PRODUCTVERSION 1, 0, 0, 0' "$out/resources.rc" || fail "product version is not 1.0.0.0"
grep -q 'VALUE "Translation", 0x409, 1200' "$out/resources.rc" || fail "not US English, Unicode"
# The icon image: 128 x 118 at 32 bits per pixel.
ico=$(dirname "$rc")/ico/log.ico
header=$(od -An -tu1 -j6 -N16 "$ico" | tr -s ' ')
set -- $header
[ "$1" = 128 ] && [ "$2" = 118 ] && [ "${7}" = 32 ] || fail "log.ico is not 128 x 118 x 32: $header"
echo "windows resources: ok"
