#!/usr/bin/env bash
# Builds what the packages hold and makes them with CPack into build/packages/:
#   Lumetra-VERSION-win64.zip         portable: unpack anywhere and start Lumetra.exe
#   Lumetra-VERSION-win64-setup.exe   installer for the current user (Start menu, uninstaller)
# Both hold Lumetra.exe, lumetra-render.exe, lumetra-edit.exe, lumetra-analyze.exe, the user
# guide (guide\), the demo pictures (Images\, with the guide's demo.bmp), the filter pack (Filters\) and README.txt.
#
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh

# The guide: assembled by scripts/make-guide.sh where it exists, else the pages as they are.
guide=
if [ -x scripts/make-guide.sh ]; then
    scripts/make-guide.sh "$root/build/guide"
    guide=$root/build/guide
elif [ -f docs/guide/index.html ]; then
    guide=$root/docs/guide
else
    echo "package: no user guide to package (neither scripts/make-guide.sh nor docs/guide/)" >&2
fi

echo "== build windows (the packaged programs and the starter library)"
cmake --preset windows -DLUMETRA_GUIDE_DIR="$guide" >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Lumetra lumetra-render lumetra-edit lumetra-analyze \
    starter_library

echo "== packages"
rm -rf build/packages
# The same bytes from every run and in both packages: stripping stamps the programs with this
# time (the last commit's) instead of the moment.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 0)
export SOURCE_DATE_EPOCH
(cd build/windows && cpack >/dev/null)
version=$(sed -n 's/^#define LUMETRA_VERSION_TEXT "\(.*\)"$/\1/p' build/windows/generated/lumetra_version.h)
zip=build/packages/Lumetra-$version-win64.zip
setup=build/packages/Lumetra-$version-win64-setup.exe
rm -rf build/packages/_CPack_Packages

# What a user gets, and nothing more: the four programs and the three folders.
top=$(unzip -Z1 "$zip" | sed -n "s|^Lumetra-$version-win64/\([^/]*\).*|\1|p" | LC_ALL=C sort -u | tr '\n' ' ')
want="Filters Images Lumetra.exe README.txt ${guide:+guide }lumetra-analyze.exe lumetra-edit.exe lumetra-render.exe "
if [ "$top" != "$want" ]; then
    echo "package: the ZIP holds \"$top\", expected \"$want\"" >&2
    exit 1
fi
[ -s "$setup" ] || { echo "package: $setup was not made" >&2; exit 1; }
# Each program's version resource carries the version of CMakeLists.txt.
for exe in Lumetra.exe lumetra-render.exe lumetra-edit.exe lumetra-analyze.exe; do
    unzip -p "$zip" "Lumetra-$version-win64/$exe" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO
ms, ls, pms, pls = struct.unpack_from("<4I", data, at + 8) if at >= 0 else (0, 0, 0, 0)
versions = {"%d.%d.%d" % (m >> 16, m & 0xFFFF, l >> 16) for m, l in ((ms, ls), (pms, pls))}
sys.exit(0 if versions == {sys.argv[1]} else "package: %s has the version %s" % (sys.argv[2], versions))
' "$version" "$exe"
done
ls -l "$zip" "$setup" | awk '{ print $5, $9 }'
