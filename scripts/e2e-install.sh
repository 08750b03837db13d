#!/usr/bin/env bash
# End-to-end checks of the packages (made by scripts/package.sh) as a user gets them, under Wine in
# a fresh prefix on a private Xvfb display:
#   installer  silent install for the current user; the installed files are the ZIP's, registered
#              for uninstall, with a Start-menu entry; the program started from that entry with
#              an empty registry opens its starter library; the user's pictures and sounds
#              survive the silent uninstall, which removes everything else; an uninstall right
#              after an install leaves no program folder behind.
#   zip        unpacked into a folder, the program starts there the same way.
# Screenshots and logs go to build/windows/e2e-install-artifacts/.
#
#   scripts/e2e-install.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

version=$(sed -n 's/^#define LUMETRA_VERSION_TEXT "\(.*\)"$/\1/p' build/windows/generated/lumetra_version.h 2>/dev/null || true)
zip=$repo/build/packages/Lumetra-$version-win64.zip
setup=$repo/build/packages/Lumetra-$version-win64-setup.exe
for f in "$zip" "$setup"; do
    [ -f "$f" ] || { echo "e2e-install: $f is missing (scripts/package.sh)"; exit 1; }
done
[ -f build/windows/bin/lumetra_e2e.exe ] || { echo "e2e-install: the e2e driver is missing (scripts/build.sh windows)"; exit 1; }

mkdir -p build/windows
exec 9>"$repo/build/windows/e2e-install.lock"
flock 9

export E2E_ROOT=$repo/build/windows/e2e-install
export E2E_ARTIFACTS=$repo/build/windows/e2e-install-artifacts
rm -rf "$E2E_ROOT" "$E2E_ARTIFACTS"
mkdir -p "$E2E_ROOT" "$E2E_ARTIFACTS"
cp build/windows/bin/lumetra_e2e.exe build/windows/bin/lumetra_browser_standin.exe "$E2E_ROOT/"
export E2E_DRIVER=$E2E_ROOT/lumetra_e2e.exe E2E_TESTS=$repo/tests/e2e
source scripts/wine-env.sh
source tests/e2e/lib.sh

unset LUMETRA_KEEP_DISPLAY
lumetra_wine_start "$E2E_ROOT/wine"
finish() {
    local result=$?
    if [ $result -ne 0 ]; then
        shot failed >/dev/null 2>&1 || true
        report_screen
        echo "== e2e-install: FAILED; artifacts: $E2E_ARTIFACTS"
    fi
    kill_lumetra
    lumetra_wine_stop
}
trap finish EXIT
# Sounds go where the program puts them by default: beside itself.
unset SFDIR
# One wave-out device whose output lands in a file: playback runs without a sound card.
cat >"$HOME/.asoundrc" <<EOF
pcm.!default { type file; slave.pcm "null"; file "$HOME/played.raw"; format "raw"; truncate false }
EOF

UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumetra'
# The Windows user of the prefix: the one profile beside Public.
WINE_USER=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public -printf '%f\n' | head -n 1)
PROFILE=$WINEPREFIX/drive_c/users/$WINE_USER
START_MENU=$PROFILE/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Lumetra

# The unpacked ZIP: the files both packages must hold.
mkdir -p "$E2E_ROOT/zip"
unzip -q "$zip" -d "$E2E_ROOT/zip"
PACKAGED=$E2E_ROOT/zip/Lumetra-$version-win64

# A value of the uninstall registration, or nothing: uninstall_value NAME
uninstall_value() {
    wine reg query "$UNINSTALL_KEY" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v n="$1" '$1 == n { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}

# The uninstaller runs on from a copy of itself (Temp\~nsuN.tmp\Un.exe): nothing else starts
# before that copy has ended.
uninstaller_ended() { ! pgrep -f 'nsu[[:alnum:]]*\.tmp.Un' >/dev/null; }

# The relative paths of the files below a folder, sorted: files_below DIR
files_below() {
    (cd "$1" && find . -type f | LC_ALL=C sort)
}

# The program as it starts the first time from the folder APP (Linux path), started by the
# command that follows: no registry settings, the image browser with the starter library's tabs
# and no warning that the filter folder holds no pictures, the About box with the version.
first_start() {
    local app=$1
    shift
    reset_settings
    "$@"
    wait_for_start
    expect_eq "$(drv message-box)" "" "no message box at the first start"
    drv wait-dialog "Image Browser"
    # The starter library's tabs:
    expect_eq "$(drv tab-names "Image Browser" 1082 | tr '\n' '|')" "Combs|Fades|Textures|" "the browser's tabs"
    expect_true "the program made its undo folder beside itself" test -d "$app/Undo"
    drv command 555
    drv wait-dialog "About Lumetra"
    expect_eq "$(drv dialog-text "About Lumetra" 3301 | tr -d '\r' | head -n 1)" "Lumetra version $version" "the About box"
    xdotool key Return
    drv wait-no-dialog "About Lumetra"
}

installer() {
    echo "== e2e-install: installer"
    wine "$setup" /S
    local dir app
    dir=$(uninstall_value InstallLocation)
    app=$(winepath -u "$dir" 2>/dev/null)
    app=${app%/}
    expect_eq "$dir" "C:\\users\\$WINE_USER\\AppData\\Local\\Programs\\Lumetra" "the program folder (per user)"
    expect_eq "$(uninstall_value DisplayVersion)" "$version" "the version in Apps / Add or Remove Programs"
    expect_true "the installed files are the packaged ones ($(files_below "$PACKAGED" | wc -l))" \
        test "$(files_below "$app" | grep -v '^\./Uninstall\.exe$')" = "$(files_below "$PACKAGED")"
    expect_true "the installed files have the packaged contents" diff -r -x Uninstall.exe "$app" "$PACKAGED"
    expect_true "a Start-menu entry" test -f "$START_MENU/Lumetra.lnk"

    # Started as a user starts it: from the Start menu.
    first_start "$app" wine start "$(winepath -w "$START_MENU/Lumetra.lnk")"
    # F1 with the Brush Tools window active opens the installed guide at "Brush toolbox":
    register_standin_browser
    show_tool_window "Brush Tools" 502
    activate_tool_window "Brush Tools"
    xdotool key F1
    expect_help_opens "Brush toolbox" "$dir"

    # The user's work: a picture saved into the program's picture folder and one into
    # Documents, and a sound saved where the program puts sounds (beside itself).
    open_picture "$dir\\Images\\chords.bmp"
    shot installed_main_window
    file_dialog ctrl+s "Save Bitmap" "$(winepath -w "$PROFILE/Documents")\\my chords.bmp"
    file_dialog ctrl+s "Save Bitmap" "$dir\\Images\\my chords.bmp"
    render F5
    wait_play_end
    xdotool key shift+s
    drv wait-dialog "Save Soundfile"
    xdotool type --delay 2 "my chords.wav"
    xdotool key Return
    drv wait-no-dialog "Save Soundfile"
    close_lumetra
    expect_true "the program kept an undo snapshot beside itself" test -n "$(ls "$app/Undo")"
    local mine
    # Beside the installed files and the undo snapshots: the pictures, their render info, the
    # sound the render wrote (Lumetra.wav) and the one saved.
    mine=$(LC_ALL=C comm -23 <(files_below "$app") <({ files_below "$PACKAGED"; echo ./Uninstall.exe; } | LC_ALL=C sort) |
        grep -v '^\./Undo/' | tr '\n' ' ')
    expect_eq "$mine" "./Images/my chords.bmp ./Images/my chords.info ./Lumetra.wav ./my chords.wav " \
        "the user's files in the program folder"

    # Uninstalled silently as a deployment tool does, with the registered command. The
    # uninstaller runs on from a copy of itself; it has ended once it has removed its entry.
    local quiet exe
    quiet=$(uninstall_value QuietUninstallString)
    exe=${quiet#\"}
    exe=${exe%%\"*}
    expect_eq "${quiet##*\" }" "/S" "the silent uninstall command's option"
    wine "$exe" /S
    local i
    for i in $(seq 100); do
        [ -z "$(uninstall_value UninstallString)" ] && [ ! -e "$app/Uninstall.exe" ] && break
        sleep 0.3
    done
    wait_until "the end of the uninstaller" uninstaller_ended
    expect_eq "$(uninstall_value UninstallString)" "" "the uninstall registration after the uninstall"
    expect_eq "$(files_below "$app" | tr '\n' ' ')" "$mine" "what the uninstall left: the user's files"
    expect_eq "$(cd "$app" && find . -mindepth 1 -type d | tr '\n' ' ')" "./Images " "the folders left"
    expect_true "the picture in Documents is kept" test -s "$PROFILE/Documents/my chords.bmp"
    expect_true "the Start-menu entry is gone" test ! -e "$START_MENU"

    # Installed and uninstalled again with nothing of the user's inside: no folder is left.
    rm -rf "$app"
    wine "$setup" /S
    expect_true "installed again" test -f "$app/Lumetra.exe"
    wine "$app/Uninstall.exe" /S
    for i in $(seq 100); do
        [ ! -e "$app" ] && break
        sleep 0.3
    done
    wait_until "the end of the uninstaller" uninstaller_ended
    expect_true "the program folder is gone" test ! -e "$app"
}

portable_zip() {
    echo "== e2e-install: portable ZIP"
    local app="$WINEPREFIX/drive_c/Portable Lumetra"
    rm -rf "$app"
    cp -r "$PACKAGED" "$app"
    first_start "$app" start_from "$app"
    shot zip_first_start
    close_lumetra
}

# Starts the program from a folder by its Windows path, as a double click would.
start_from() {
    (cd "$1" && exec wine "$(winepath -w "$1/Lumetra.exe")" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    echo $! >"$E2E_ROOT/lumetra.pid"
}

start=$SECONDS
installer
kill_lumetra
portable_zip
echo "== e2e-install: passed ($((SECONDS - start)) s); artifacts: $E2E_ARTIFACTS"
