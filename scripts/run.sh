#!/usr/bin/env bash
# Installs what is missing, builds the program and renders the demo picture to a WAV file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh native
mkdir -p build/out
if [ -x build/native/bin/lumetra-render ]; then
  build/native/bin/lumetra-render docs/demo.bmp build/out/demo.wav
  echo "Rendered build/out/demo.wav"
else
  echo "The batch renderer is not built yet."
fi
