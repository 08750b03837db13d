# Helpers for the end-to-end scenarios (sourced by scripts/e2e.sh). A scenario is a shell
# function that runs with `set -e` in a subshell: the first failing step ends it.
#
# Set by the runner: E2E_ROOT (work folder), E2E_APP (folder holding the Lumetra.exe under test),
# E2E_DRIVER (lumetra_e2e.exe), E2E_ARTIFACTS (screenshots and logs), E2E_PICTURES, E2E_SOUNDS.

# The start title, shown while no named image is loaded.
E2E_START_TITLE="Lumetra - Spectral Canvas Tone Machine"
# Registry key of the program's settings.
E2E_SETTINGS_KEY='HKCU\Software\Velloforge\Lumetra'

# lumetra_e2e.exe with its arguments (see `drv` with no arguments for the list of commands).
drv() {
    wine "$E2E_DRIVER" "$@"
}

# A Linux path as the program sees it (Wine's drive Z: is the root folder).
winpath() {
    local p
    p=$(readlink -f "$1")
    printf 'Z:%s' "${p//\//\\}"
}

log() {
    printf '    %s\n' "$*"
}

fail() {
    printf '    FAILED: %s\n' "$*" >&2
    return 1
}

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
    if [ "$1" != "$2" ]; then
        fail "$3: got \"$1\", expected \"$2\""
    fi
    log "ok: $3 = \"$2\""
}

# expect_true WHAT COMMAND...
expect_true() {
    local what=$1
    shift
    if ! "$@"; then
        fail "$what"
    fi
    log "ok: $what"
}

# Starts Lumetra.exe and waits for its main window. The process id goes to $E2E_ROOT/lumetra.pid.
start_lumetra() {
    (cd "$E2E_APP" && exec wine "$E2E_APP/Lumetra.exe" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    echo $! >"$E2E_ROOT/lumetra.pid"
    drv --timeout 30000 wait-window
    # Let the tool windows come up and paint before anything is measured.
    drv sleep 300
}

reset_settings() {
    wine reg delete 'HKCU\Software\Velloforge' /f >/dev/null 2>&1 || true
}

lumetra_running() {
    [ -f "$E2E_ROOT/lumetra.pid" ] && kill -0 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null
}

# Ends the program this suite started, if it still runs (a failed scenario may leave it, or a
# message box, behind). Only our own process is killed, by its id.
kill_lumetra() {
    if lumetra_running; then
        kill "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null || true
        sleep 0.3
        kill -9 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null || true
    fi
    rm -f "$E2E_ROOT/lumetra.pid"
}

# Closes the program through its close box message and checks that it ends with code 0.
close_lumetra() {
    local code
    code=$(drv --timeout 20000 close)
    rm -f "$E2E_ROOT/lumetra.pid"
    expect_eq "$code" 0 "exit code"
}

# Screenshot of the whole Xvfb screen into the artifacts: shot NAME
shot() {
    import -window root "$E2E_ARTIFACTS/$1.png"
    log "screenshot $E2E_ARTIFACTS/$1.png"
}

# Screenshot cropped to the main window: shot_main NAME
shot_main() {
    local x y w h
    read -r x y w h <<<"$(drv window-rect)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$E2E_ARTIFACTS/$1.png"
    log "screenshot $E2E_ARTIFACTS/$1.png"
}

# Screen position of picture point (X, Y) while the canvas is not scrolled: picture_point X Y
picture_point() {
    local ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    echo "$((ox + 7 + $1)) $((oy + 7 + $2))"
}

# A 24-bit uncompressed BMP as the program writes and reads them: make_bmp OUT ARGS...
make_bmp() {
    local out=$1
    shift
    convert "$@" +antialias -type TrueColor -define bmp:format=bmp3 "BMP3:$out"
}

# Little-endian unsigned 32-bit number at a byte offset of a file: u32 FILE OFFSET
u32() {
    od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '
}

u16() {
    od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '
}
