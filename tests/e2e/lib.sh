# Helpers for the end-to-end scenarios (sourced by scripts/e2e.sh). A scenario is a shell
# function that runs with `set -e` in a subshell: the first failing step ends it. Scenarios drive
# the program as a user does (keys and the mouse through xdotool, menu clicks and the close box
# through the driver) and read what a user can see or get: titles, windows, dialog and
# status-bar texts, message boxes, screenshots, the files it writes, the registry after it ended.
#
# Set by the runner: E2E_ROOT (work folder), E2E_APP (folder holding the Lumetra.exe under test),
# E2E_DRIVER (lumetra_e2e.exe), E2E_ARTIFACTS (screenshots and logs), E2E_PICTURES, E2E_SOUNDS,
# E2E_TESTS (this folder).

E2E_START_TITLE="Lumetra - Spectral Canvas Tone Machine"
E2E_SETTINGS_KEY='Software\Velloforge\Lumetra'
PLAYING_TEXT="Playing sound. Hit Space bar to stop."

# How long a wait for the program may take before it counts as failed. A loaded machine (other
# builds, a first start of Wine) makes the program slow, never wrong: waits are long, and they end
# as soon as their condition holds.
E2E_TIMEOUT_MS=${E2E_TIMEOUT_MS:-30000}
E2E_WAIT_TRIES=$((E2E_TIMEOUT_MS / 200))

# lumetra_e2e.exe with its arguments (see `drv` with no arguments for the list of commands). A
# caller's own --timeout comes later and wins.
drv() {
    wine "$E2E_DRIVER" --timeout "$E2E_TIMEOUT_MS" "$@"
}

# Runs a step whose own output is not wanted, but shows that output when the step fails:
# quiet COMMAND...
quiet() {
    local out code=0
    out=$("$@" 2>&1) || code=$?
    [ $code -eq 0 ] && return 0
    fail "\`$*\` exited with $code: ${out:-no output}"
}

# The ERR trap of a scenario: names the step that failed, where, and the functions it ran in, so
# that no `set -e` stop goes unexplained: step_failed CODE COMMAND LINE
step_failed() {
    local i where="${FUNCNAME[1]} (${BASH_SOURCE[1]##*/}:$3)"
    for ((i = 2; i < ${#FUNCNAME[@]}; i++)); do
        [ "${FUNCNAME[i]}" != main ] || break
        where+=" < ${FUNCNAME[i]} (${BASH_SOURCE[i]##*/}:${BASH_LINENO[i - 1]})"
    done
    printf '    FAILED: step `%s` exited with %s in %s\n' "$2" "$1" "$where" >&2
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

# Like expect_eq, but asks READER (a command, with its words, that prints a value) again until
# it gives EXPECTED or the wait's time is up, for what the program updates a moment after an
# input: expect_soon READER EXPECTED WHAT
expect_soon() {
    local value try reader
    read -ra reader <<<"$1"
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        value=$("${reader[@]}")
        [ "$value" = "$2" ] && break
        sleep 0.2
    done
    expect_eq "$value" "$2" "$3"
}

# The modification time of a file in nanoseconds; 0 while it does not exist.
file_time() {
    stat -c %.9Y "$1" 2>/dev/null | tr -d . || echo 0
}

# Presses KEYS and waits until the program has written FILE anew (its time changes), for keys
# that save: press_and_wait_file FILE KEYS...
press_and_wait_file() {
    local file=$1 before try
    shift
    before=$(file_time "$file")
    xdotool key "$@"
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        [ "$(file_time "$file")" != "$before" ] && return 0
        sleep 0.2
    done
    fail "waited for $* to write $file; it was not written (time still $before)"
}

# Waits until COMMAND... succeeds, for up to the wait's time. COMMAND may name what it last saw
# in SEEN: wait_until WHAT COMMAND...
wait_until() {
    local what=$1 try
    shift
    SEEN=""
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        "$@" && return 0
        sleep 0.2
    done
    fail "waited for $what; \`$*\` never succeeded${SEEN:+ (last seen: $SEEN)}"
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

# ---------------------------------------------------------------------------------------------
# The program's process

# Starts Lumetra.exe and waits until its main window and the tool windows it shows at start are up
# and it waits for input. The process id goes to $E2E_ROOT/lumetra.pid. A start that fails says
# whether the process still runs, what windows it has and what it wrote.
start_lumetra() {
    local pid
    (cd "$E2E_APP" && exec wine "$E2E_APP/Lumetra.exe" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    pid=$!
    echo $pid >"$E2E_ROOT/lumetra.pid"
    local out code=0
    out=$(drv --timeout 60000 wait-window wait-idle 2>&1) || code=$?
    [ $code -eq 0 ] && return 0
    kill -0 "$pid" 2>/dev/null && log "the program runs (pid $pid)" || log "the program has ended"
    log "its windows: $(drv --timeout 500 windows 2>&1 | tr '\n' ';')"
    log "its output: $(tail -n 5 "$E2E_ARTIFACTS/lumetra.log" | tr '\n' ';')"
    fail "waited 60 s for the main window and the program's first idle: $out"
}

# Removes the program's settings; succeeds when there were none.
reset_settings() {
    wine reg delete 'HKCU\Software\Velloforge' /f >/dev/null 2>&1 || true
    wine reg query 'HKCU\Software\Velloforge' >/dev/null 2>&1 &&
        fail "the settings key is still there after reg delete"
    return 0
}

# Where every scenario starts: no settings, no sound files, nothing played.
clean_slate() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    forget_captures
}

# Ends the program this suite started, if it still runs (a failed scenario may leave it, or a
# message box, behind). Only our own process is killed, by its id.
kill_lumetra() {
    if [ -f "$E2E_ROOT/lumetra.pid" ] && kill -0 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null; then
        kill -9 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null || true
    fi
    rm -f "$E2E_ROOT/lumetra.pid"
}

# Closes the program with its close box and checks that it ends with code 0. A changed picture
# is left unsaved: the save question is answered No.
close_lumetra() {
    expect_eq "$(drv --timeout 20000 close-unsaved)" 0 "exit code after the close box"
    rm -f "$E2E_ROOT/lumetra.pid"
}

# File > Exit through the keyboard; the settings are written on the way out, and a changed
# picture is left unsaved.
exit_lumetra() {
    focus_main
    xdotool key alt+f x
    end_of_lumetra "after File > Exit"
}

# Waits until the program, started by this shell, has ended, and checks its exit code; a "Save
# changes to" question on the way is answered No: end_of_lumetra WHAT
end_of_lumetra() {
    local pid box="" code=0 try
    pid=$(cat "$E2E_ROOT/lumetra.pid")
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        kill -0 "$pid" 2>/dev/null || break
        box=$(drv --timeout 1000 message-box 2>/dev/null || true)
        case "$box" in *"|Save changes to "*) drv --timeout 1000 answer-box 7 || true ;; esac
        sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && fail "waited for the program to end $1; it runs on (box: \"$box\")"
    wait "$pid" || code=$?
    rm -f "$E2E_ROOT/lumetra.pid"
    expect_eq "$code" 0 "exit code $1"
}

# ---------------------------------------------------------------------------------------------
# Windows, keys and the mouse

# The rectangle "x y w h" of a visible top-level window of the program by its caption or, for
# the main window, its class LumetraWin.
window_rect() {
    drv windows | awk -F'|' -v c="$1" '$1 == c || $2 == c { print $3; exit }'
}

# Keys go to the window with the focus: a click on the main window's caption gives it back after
# a tool window had it (near the caption's left end, where no tool window stands). Only then: two
# clicks there within the double-click time would maximize the window.
focus_main() {
    local x y w h
    drv --timeout 0 wait-active LumetraWin 2>/dev/null && return 0
    read -r x y w h <<<"$(window_rect LumetraWin)"
    xdotool mousemove $((x + 40)) $((y + 8)) click 1
    drv wait-active LumetraWin
}

# Clicks the middle of a dialog item: click_item CAPTION ID [DRIVER_OPTION...]
click_item() {
    local x y w h
    read -r x y w h <<<"$(drv "${@:3}" item-rect "$1" "$2")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Clicks a dialog item with Shift held: shift_click_item CAPTION ID
shift_click_item() {
    xdotool keydown shift
    click_item "$1" "$2"
    xdotool keyup shift
}

# A tool window, shown with its menu command unless it is open already (the command toggles):
# show_tool_window CAPTION COMMAND
show_tool_window() {
    drv windows | grep -q "|$1|" || drv command "$2"
    drv wait-dialog "$1"
}

# Types TEXT into an edit field of a dialog: a click into it, its text replaced, and Tab to leave
# it (the program takes a field's value when it loses the focus): type_into_field CAPTION ID TEXT
type_into_field() {
    click_item "$1" "$2"
    drv wait-active "$1"
    xdotool key Home shift+End
    xdotool type "$3"
    xdotool key Tab
}

# Drags with the mouse button BUTTON from screen point (X0, Y0) to (X1, Y1), by way of a point
# in between: drag BUTTON X0 Y0 X1 Y1
drag() {
    xdotool mousemove "$2" "$3" mousedown "$1"
    sleep 0.1
    xdotool mousemove $((($2 + $4) / 2)) $((($3 + $5) / 2))
    sleep 0.1
    xdotool mousemove "$4" "$5"
    sleep 0.1
    xdotool mouseup "$1"
    sleep 0.1
}

# Screen position of picture point (X, Y) while the canvas is not scrolled: picture_point X Y
picture_point() {
    local ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    echo "$((ox + 7 + $1)) $((oy + 7 + $2))"
}

# Ctrl + wheel with the pointer on the picture's top left corner, which keeps the view
# unscrolled; waits for the zoom's report: zoom_at_origin up|down REPORT
zoom_at_origin() {
    local button=4
    [ "$1" = down ] && button=5
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 0 0)
    xdotool keydown ctrl click "$button" keyup ctrl
    drv wait-status 0 "$2"
}

# Screenshot of the whole Xvfb screen into the artifacts: shot NAME
shot() {
    import -window root "$E2E_ARTIFACTS/$1.png"
    log "screenshot $E2E_ARTIFACTS/$1.png"
}

# Succeeds when two pictures (files of any format ImageMagick reads; a BMP may carry more behind
# its pixels) have the same size and the same pixels: same_pixels A B
same_pixels() {
    compare -define bmp:ignore-filesize=true -metric AE "$1" "$2" null: 2>/dev/null
}

# Succeeds once the canvas shows exactly the pixels of the picture FILE at its top left (the
# picture is drawn 1:1 at (7, 7)), within the wait's time; the last shot is kept as NAME.png:
# canvas_shows FILE NAME
canvas_shows() {
    local ox oy w h size try
    read -r ox oy w h <<<"$(drv canvas-origin)"
    size=$(identify -format '%wx%h' "$1")
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        import -window root -crop "$size+$((ox + 7))+$((oy + 7))" +repage "$E2E_ARTIFACTS/$2.png"
        same_pixels "$E2E_ARTIFACTS/$2.png" "$1" && return 0
        sleep 0.2
    done
    log "the canvas never showed $1: its last shot is $E2E_ARTIFACTS/$2.png"
    return 1
}

# ---------------------------------------------------------------------------------------------
# Files through the program's dialogs

# Opens a file dialog with its key, types the path into it (nothing: the proposed name stays) and
# confirms it with Return: file_dialog KEY CAPTION WINDOWS_PATH
file_dialog() {
    xdotool key "$1"
    drv wait-dialog "$2"
    [ -z "$3" ] || xdotool type --delay 2 "$3"
    xdotool key Return
    drv wait-no-dialog "$2"
}

# Opens a picture through the Open dialog and waits for the title that names it. The closed
# dialog leaves no window active when no tool window is shown: the main window is given the
# activation, for the keys that follow. open_picture WINDOWS_PATH
open_picture() {
    file_dialog ctrl+o "Open a bitmap file" "$1"
    drv wait-title "${1##*\\} - Lumetra"
    focus_main
}

# Starts a render with KEYS and waits until it has finished: the timing text in status part 1
# ends every render. The first render of a run may come from F5; later ones come from the Sound
# menu, whose opening empties part 1 before the command (render KEYS...).
render() {
    focus_main
    xdotool key "$@"
    drv --timeout 60000 wait-status-prefix 1 "Time: " >/dev/null
}

# Waits until the play that follows a render has ended and the device is closed. The status
# text goes as the last buffer is queued; the device closes once the queued buffers have played
# out, and closing it closes its capture file. A Play before that goes on from where the sound
# ended, on the same opening of the device.
wait_play_end() {
    drv --timeout 30000 wait-status 0 ""
    local try
    for try in $(seq 150); do
        capture_open || return 0
        sleep 0.2
    done
    fail "the wave-out device is still open 30 s after the play ended"
}

# True while some process has a capture file open.
capture_open() {
    find /proc/[0-9]*/fd -lname "$HOME/played.raw*" -print -quit 2>/dev/null | grep -q .
}

# A 24-bit uncompressed BMP as the program writes and reads them: make_bmp OUT ARGS...
make_bmp() {
    local out=$1
    shift
    convert "$@" +antialias -type TrueColor -define bmp:format=bmp3 "BMP3:$out"
}

# The little-endian unsigned 32-bit number at a byte offset of a file: u32 FILE OFFSET
u32() {
    od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '
}

# ---------------------------------------------------------------------------------------------
# Played sound: HOME/.asoundrc sends everything played into HOME/played.raw, played.raw.0001, ...
# one file per opening of the wave-out device (see playback_capture.py).

capture() {
    python3 "$E2E_TESTS/playback_capture.py" "$@"
}

# Capture files of earlier scenarios would shift the numbering.
forget_captures() {
    rm -f "$HOME"/played.raw*
}

# The size WxH of the clipboard's picture as another program reads it (saved to
# $E2E_ROOT/clipboard.bmp); nothing while there is none.
clipboard_size() {
    drv --timeout 2000 clipboard-save-bitmap "$(winpath "$E2E_ROOT/clipboard.bmp")" 2>/dev/null ||
        true
}

# ---------------------------------------------------------------------------------------------
# The settings in the registry, read with the driver after the program has ended.

# Puts a value under the settings key: put_setting SUBKEY NAME TYPE DATA
put_setting() {
    quiet wine reg add "HKCU\\$E2E_SETTINGS_KEY${1:+\\$1}" /v "$2" /t "$3" /d "$4" /f
}

# Reads the settings key and its subkeys once, for `setting` and `expect_settings`.
read_settings() {
    local file=$E2E_ROOT/settings.reg
    rm -f "$file"
    wine reg export "HKCU\\$E2E_SETTINGS_KEY" "$(winpath "$E2E_ROOT")\\settings.reg" /y \
        >/dev/null 2>&1 || true
    if [ -f "$file" ]; then python3 "$E2E_TESTS/registry_export.py" "$file"; fi \
        >"$E2E_ROOT/settings.txt"
    cat "$E2E_ROOT/settings.txt" >>"$E2E_ARTIFACTS/settings_${FUNCNAME[1]}.txt"
}

# TYPE|DATA of a value as read_settings found it (DWORDs as signed numbers, binary data as hex
# digits); nothing when it is missing: setting SUBKEY NAME
setting() {
    awk -F'|' -v k="$1" -v n="$2" '$1 == k && $2 == n { print $3 "|" $4 }' "$E2E_ROOT/settings.txt"
}

# The names of the values of a subkey, one a line, sorted.
setting_names() {
    awk -F'|' -v k="$1" '$1 == k { print $2 }' "$E2E_ROOT/settings.txt" | sort
}

# Checks values that read_settings found, given on stdin as lines SUBKEY|NAME=EXPECTED|NAME=...
# EXPECTED is the data alone, or TYPE:DATA where the type matters.
expect_settings() {
    local key pairs pair want got
    while IFS='|' read -r key pairs; do
        while [ -n "$pairs" ]; do
            pair=${pairs%%|*}
            [ "$pair" = "$pairs" ] && pairs="" || pairs=${pairs#*|}
            want=${pair#*=}
            got=$(setting "$key" "${pair%%=*}")
            if [[ "$want" == REG_*:* ]]; then got=${got/|/:}; else got=${got#*|}; fi
            expect_eq "$got" "$want" "registry ${key:+$key\\}${pair%%=*}"
        done
    done
}

# ---------------------------------------------------------------------------------------------
# Help: a stand-in for the user's browser, registered in the run's prefix as the program that
# opens ".html" files. It writes the address it was asked to open into $E2E_ROOT/help-request.txt
# (tests/e2e/standin).

# Makes the stand-in the user's browser and forgets an earlier request. The user's own choice
# lives under HKCU\Software\Classes; Wine's view of the classes shows only the machine's
# (HKLM\Software\Classes), so the stand-in is registered in both.
register_standin_browser() {
    local standin=${E2E_STANDIN:-$E2E_ROOT/lumetra_browser_standin.exe} command root
    command="\"$(winpath "$standin")\" \"$(winpath "$E2E_ROOT")\\help-request.txt\" \"%1\""
    for root in 'HKCU\Software\Classes' 'HKLM\Software\Classes'; do
        wine reg add "$root\\.html" /ve /d Lumetra.E2EPage /f >/dev/null 2>&1
        wine reg add "$root\\Lumetra.E2EPage\\shell\\open\\command" /ve /d "$command" /f \
            >/dev/null 2>&1
    done
    rm -f "$E2E_ROOT/help-request.txt"
}

# The file: URL of a path (a Linux path, or a Windows one such as "C:\Program Files\Lumetra"),
# escaped as the program escapes it.
file_url() {
    local path=$1
    [[ "$path" =~ ^[A-Za-z]: ]] || path=$(winpath "$path")
    python3 -c 'import sys, urllib.parse
print("file:///" + urllib.parse.quote(sys.argv[1].replace("\\", "/"), safe="/:"))' "$path"
}

# Gives a tool window the activation with a click on its caption: activate_tool_window CAPTION
activate_tool_window() {
    local x y w h
    read -r x y w h <<<"$(window_rect "$1")"
    xdotool mousemove $((x + 30)) $((y + 6)) click 1
    drv wait-active "$1"
}

# Waits for the stand-in to be started and checks that it was asked for the guide beside the
# program, at the section of a help keyword or anchor ("Brush toolbox" or "brush-toolbox"), or
# at the contents ("contents"): expect_help_opens SECTION [PROGRAM_FOLDER]
# PROGRAM_FOLDER is where Lumetra.exe lies (default $E2E_APP).
expect_help_opens() {
    local request=$E2E_ROOT/help-request.txt folder=${2:-$E2E_APP} anchor url try
    folder=${folder%/}
    folder=${folder%\\}
    anchor=$(printf '%s' "$1" | tr 'A-Z ' 'a-z-')
    [ "$anchor" = contents ] && anchor=""
    for try in $(seq 100); do
        [ -f "$request" ] && break
        sleep 0.1
    done
    [ -f "$request" ] || fail "the browser was not asked to open anything"
    url=$(head -n 1 "$request")
    rm -f "$request"
    expect_eq "$url" "$(file_url "$folder")/guide/index.html${anchor:+#$anchor}" \
        "the page the browser was asked to open"
}
