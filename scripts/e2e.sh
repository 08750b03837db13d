#!/usr/bin/env bash
# End-to-end scenarios: runs the cross-built Lumetra.exe under Wine on a private Xvfb display in a
# fresh Wine prefix, drives it as a user does with xdotool and tests/e2e's driver, and checks what
# it shows and writes. Screenshots and logs go to build/windows/e2e-artifacts/.
#
#   scripts/e2e.sh [SCENARIO...]     (default: all; needs `scripts/build.sh windows native` first)
#
# E2E_EXTRA=FILE adds the shell functions of FILE as further scenarios (for trying things out).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
bin=$repo/build/windows/bin

for tool in wine xdotool Xvfb import convert compare identify python3; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/install-deps.sh)"; exit 1; }
done
for exe in Lumetra.exe lumetra-analyze.exe lumetra_e2e.exe lumetra_browser_standin.exe; do
    [ -f "$bin/$exe" ] || { echo "e2e: $bin/$exe is missing (scripts/build.sh windows)"; exit 1; }
done
# The batch renderer whose files the program must reproduce byte for byte.
export LUMETRA_RENDER=${LUMETRA_RENDER:-$repo/build/native/bin/lumetra-render}
export LUMETRA_EDIT=${LUMETRA_EDIT:-$repo/build/native/bin/lumetra-edit}
for tool in "$LUMETRA_RENDER" "$LUMETRA_EDIT"; do
    [ -x "$tool" ] || { echo "e2e: $tool is missing (scripts/build.sh native)"; exit 1; }
done

# One run at a time in this build folder: a second run waits for the first.
mkdir -p "$repo/build/windows"
exec 9>"$repo/build/windows/e2e.lock"
flock 9

export E2E_ROOT=$repo/build/windows/e2e
export E2E_ARTIFACTS=$repo/build/windows/e2e-artifacts
rm -rf "$E2E_ROOT" "$E2E_ARTIFACTS"
mkdir -p "$E2E_ROOT/app" "$E2E_ROOT/sounds" "$E2E_ARTIFACTS"
export E2E_APP=$E2E_ROOT/app E2E_SOUNDS=$E2E_ROOT/sounds E2E_PICTURES=$E2E_ROOT/pictures
# The program keeps its folders (Images, Filters, Undo, ...) beside itself: give it its own.
cp "$bin/Lumetra.exe" "$E2E_APP/"
cp "$bin/lumetra_e2e.exe" "$bin/lumetra_browser_standin.exe" "$E2E_ROOT/"
# The user guide beside the program, where its help command looks for it.
cp -r "$repo/docs/guide" "$E2E_APP/guide"
export E2E_DRIVER=$E2E_ROOT/lumetra_e2e.exe E2E_TESTS=$repo/tests/e2e
# The batch analyser of the same build, whose pictures the program must reproduce exactly.
export LUMETRA_ANALYZE_EXE=$bin/lumetra-analyze.exe

source scripts/wine-env.sh
source tests/e2e/lib.sh
# Every tests/e2e/scenarios*.sh adds its scenarios to E2E_SCENARIOS.
for suite in tests/e2e/scenarios*.sh; do source "$suite"; done
# The guide's and the README's pictures, taken from the program under test.
source scripts/e2e-pictures.sh
[ -n "${E2E_EXTRA:-}" ] && source "$E2E_EXTRA"

# A fresh prefix and display for this suite; ended (with every process we started) on exit.
unset LUMETRA_KEEP_DISPLAY
lumetra_wine_start "$E2E_ROOT/wine"
cleanup() {
    kill_lumetra
    lumetra_wine_stop
}
trap cleanup EXIT

# One wave-out device whose output lands in a file: playback runs without a sound card.
cat >"$HOME/.asoundrc" <<EOF
pcm.!default { type file; slave.pcm "null"; file "$HOME/played.raw"; format "raw"; truncate false }
EOF
# Sound files go to the folder named by SFDIR.
export SFDIR
SFDIR=$(winpath "$E2E_SOUNDS")

make_pictures
# One filter picture in a subfolder of the program's filter folder, so that the image browser
# finds a tab at start instead of warning that there is none.
mkdir -p "$E2E_APP/Filters/Starter"
cp "$E2E_PICTURES/ramps.bmp" "$E2E_APP/Filters/Starter/"

scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] || scenarios=("${E2E_SCENARIOS[@]}")
passed=()
failed=()
for scenario in "${scenarios[@]}"; do
    echo "== e2e: $scenario"
    start=$SECONDS
    # Not inside an `if`: there bash would ignore the scenario's `set -e`. The ERR trap, which
    # functions and command substitutions inherit (-E), names a failing step and where it stood.
    set +e
    (
        set -eE
        trap 'step_failed $? "$BASH_COMMAND" $LINENO' ERR
        clean_slate
        "$scenario"
    )
    result=$?
    set -e
    if [ $result -eq 0 ]; then
        passed+=("$scenario")
        echo "   passed ($((SECONDS - start)) s)"
    else
        failed+=("$scenario")
        shot "failed_$scenario" >/dev/null 2>&1 || true
        report_screen
        echo "   FAILED ($((SECONDS - start)) s)"
    fi
    kill_lumetra
done

echo "== e2e: ${#passed[@]} passed, ${#failed[@]} failed${failed[*]:+: ${failed[*]}}"
echo "   artifacts: $E2E_ARTIFACTS"
[ ${#failed[@]} -eq 0 ]
