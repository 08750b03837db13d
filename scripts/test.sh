#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: native unit tests, the same
# under AddressSanitizer and UBSan, the cross-built tests under Wine, the end-to-end scenarios,
# the packages with their install, start and uninstall under Wine, and short fuzz runs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
scripts/build.sh native native-asan windows

echo "== native unit tests"
ctest --preset native -j "$(nproc)"

echo "== unit tests under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset native-asan -j "$(nproc)"

echo "== Windows tests under Wine"
source scripts/wine-env.sh
rm -rf "$root/build/windows/wine"
lumetra_wine_start "$root/build/windows/wine"
trap lumetra_wine_stop EXIT
ctest --preset windows
lumetra_wine_stop
trap - EXIT

echo "== end-to-end scenarios under Wine"
scripts/e2e.sh

echo "== packages"
scripts/package.sh
echo "== install, start and uninstall the packages under Wine"
scripts/e2e-install.sh

if [ -x scripts/fuzz.sh ]; then
  echo "== short fuzz runs"
  scripts/fuzz.sh 20
fi
echo "== all tests passed"
