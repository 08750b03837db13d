#!/usr/bin/env bash
# Assembles the user guide into a folder that is installed beside the program as guide\:
#
#   scripts/make-guide.sh [OUT]        (OUT: default build/guide; emptied first)
#
# 1. docs/guide as written: the page, its style sheet and the committed pictures;
# 2. over those, the screenshots of the last end-to-end run (made by guide_screenshots of
#    scripts/e2e-pictures.sh into build/windows/e2e-artifacts/guide/, or $E2E_GUIDE_SHOTS), when
#    there are any;
# 3. the rendered example: docs/demo.bmp as a picture, its sound made by lumetra-render
#    (build/native/bin/lumetra-render, or $LUMETRA_RENDER) and that sound's spectrogram drawn by
#    sox, when both tools are there; otherwise the committed pictures stay and the sound is
#    left out.
# It prints where each part came from.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
out=$(realpath -m "${1:-build/guide}")
render=${LUMETRA_RENDER:-$repo/build/native/bin/lumetra-render}
shots=${E2E_GUIDE_SHOTS:-$repo/build/windows/e2e-artifacts/guide}

case "$out" in
    / | "$repo" | "$repo/docs" | "$repo/docs/guide"*) echo "make-guide: will not empty $out" >&2; exit 2 ;;
esac
rm -rf "$out"
mkdir -p "$out"
cp -r docs/guide/. "$out/"
mkdir -p "$out/images"
echo "make-guide: pages from docs/guide"

if compgen -G "$shots/*.png" >/dev/null; then
    cp "$shots"/*.png "$out/images/"
    echo "make-guide: screenshots from $shots"
else
    echo "make-guide: committed screenshots (no end-to-end screenshots in $shots)"
fi

if [ -x "$render" ] && command -v sox >/dev/null; then
    "$render" docs/demo.bmp "$out/images/example.wav" >/dev/null
    sox "$out/images/example.wav" -n spectrogram -x 600 -y 200 -z 90 \
        -t "docs/demo.bmp rendered by lumetra-render" -c "left channel above, right below" \
        -o "$out/images/example-spectrogram.png"
    if command -v convert >/dev/null; then
        convert docs/demo.bmp -scale 200% "$out/images/example-picture.png"
    fi
    echo "make-guide: example rendered with $render, spectrogram by sox"
else
    # Without its sound the page offers none.
    sed -i '/images\/example\.wav/d' "$out/index.html"
    echo "make-guide: committed example pictures (lumetra-render or sox missing), no sound"
fi
echo "make-guide: the guide is in $out"
