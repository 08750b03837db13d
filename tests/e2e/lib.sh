# Helpers for the end-to-end scenarios (sourced by scripts/e2e.sh and scripts/e2e-install.sh). A
# scenario is a shell function run with `set -e` in a subshell; it drives the program as a user
# does (xdotool; menu clicks and the close box through the driver) and reads what a user can see
# or get. The runner sets E2E_ROOT, E2E_APP (folder of the Lumetra.exe under test), E2E_DRIVER,
# E2E_ARTIFACTS, E2E_PICTURES, E2E_SOUNDS and E2E_TESTS (this folder).

E2E_START_TITLE="Lumetra - Spectral Canvas Tone Machine"
E2E_SETTINGS_KEY='Software\Velloforge\Lumetra'
PLAYING_TEXT="Playing sound. Hit Space bar to stop."

# A loaded machine makes the program slow, never wrong: waits are long, and they end as soon as
# their condition holds.
E2E_TIMEOUT_MS=${E2E_TIMEOUT_MS:-30000}
E2E_WAIT_TRIES=$((E2E_TIMEOUT_MS / 200))

# lumetra_e2e.exe with its commands (`drv` alone lists them); a later --timeout wins.
drv() { wine "$E2E_DRIVER" --timeout "$E2E_TIMEOUT_MS" "$@"; }

# The ERR trap of a scenario: no `set -e` stop goes unexplained: step_failed CODE COMMAND LINE
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

log() { printf '    %s\n' "$*"; }
fail() {
    printf '    FAILED: %s\n' "$*" >&2
    return 1
}
# expect_eq ACTUAL EXPECTED WHAT; expect_true WHAT COMMAND...
expect_eq() { [ "$1" = "$2" ] && log "ok: $3 = \"$2\"" || fail "$3: got \"$1\", expected \"$2\""; }
expect_true() { "${@:2}" && log "ok: $1" || fail "$1"; }

# Waits until COMMAND... succeeds; COMMAND may name what it last saw in SEEN:
# wait_until WHAT COMMAND...
wait_until() {
    local try
    SEEN=""
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        "${@:2}" && return 0
        sleep 0.2
    done
    fail "waited for $1; \`${*:2}\` never succeeded${SEEN:+ (last seen: $SEEN)}"
}

# Like expect_eq, but asks READER (a command with its words) again until it prints EXPECTED:
# expect_soon READER EXPECTED WHAT
expect_soon() {
    local reader
    read -ra reader <<<"$1"
    reads() { SEEN=$("${reader[@]}") && [ "$SEEN" = "$1" ]; }
    wait_until "$3 to be \"$2\"" reads "$2" && log "ok: $3 = \"$2\""
}

# Empties or makes folders: fresh_dir DIR...
fresh_dir() { rm -rf "$@" && mkdir -p "$@"; }

# The modification time of a file in nanoseconds; 0 while it does not exist.
file_time() { stat -c %.9Y "$1" 2>/dev/null | tr -d . || echo 0; }
file_time_is_not() {
    SEEN="time $(file_time "$1")"
    [ "$(file_time "$1")" != "$2" ]
}

# Presses KEYS that save and waits until FILE is written anew: press_and_wait_file FILE KEYS...
press_and_wait_file() {
    local before
    before=$(file_time "$1")
    xdotool key "${@:2}"
    wait_until "${*:2} to write $1" file_time_is_not "$1" "$before"
}

# Starts Lumetra.exe in the background, its process id in $E2E_ROOT/lumetra.pid.
launch_lumetra() {
    (cd "$E2E_APP" && exec wine "$E2E_APP/Lumetra.exe" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    echo $! >"$E2E_ROOT/lumetra.pid"
}

# Starts Lumetra.exe and waits until it waits for input.
start_lumetra() { launch_lumetra && wait_for_start; }

# Waits for the started program's main window and first idle; a failed start says what it saw.
wait_for_start() {
    local out
    out=$(drv --timeout 60000 wait-window wait-idle 2>&1) && return 0
    log "its process: $(ps -o stat= -p "$(cat "$E2E_ROOT/lumetra.pid" 2>/dev/null)" || echo none)"
    report_screen
    log "its output: $(tail -n 5 "$E2E_ARTIFACTS/lumetra.log" | tr '\n' ';')"
    fail "waited 60 s for the main window and the program's first idle: $out"
}

# What a failed run left: the program's box (even one before its window shows) and every window.
report_screen() {
    drv --timeout 500 --starting message-box 2>/dev/null | sed 's/^/    message box: /' || true
    drv --timeout 2000 all-windows 2>/dev/null | sed 's/^/    on the screen: /' || true
}

# Removes the program's settings. Right after the program's end a deletion does not always hold
# under Wine: it is made again until it does.
settings_deleted() {
    wine reg delete 'HKCU\Software\Velloforge' /f >/dev/null 2>&1 || true
    SEEN="the key still there"
    ! wine reg query 'HKCU\Software\Velloforge' >/dev/null 2>&1
}
reset_settings() { wait_until "the settings key to be gone after reg delete" settings_deleted; }

# Where every scenario starts: no settings, no sound files, no capture files.
clean_slate() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav "$HOME"/played.raw*
}

# Ends the program if a failed scenario left it running: only our own process, by its id.
kill_lumetra() {
    [ ! -f "$E2E_ROOT/lumetra.pid" ] || kill -9 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null || true
    rm -f "$E2E_ROOT/lumetra.pid"
}

# The close box, a save question answered No; the program must end with code 0.
close_lumetra() {
    expect_eq "$(drv --timeout 20000 close-unsaved)" 0 "exit code after the close box"
    rm -f "$E2E_ROOT/lumetra.pid"
}

# File > Exit by keyboard; the settings are written on the way out.
exit_lumetra() {
    focus_main
    xdotool key alt+f x
    end_of_lumetra "after File > Exit"
}

lumetra_ended() {
    kill -0 "$(cat "$E2E_ROOT/lumetra.pid")" 2>/dev/null || return 0
    SEEN=$(drv --timeout 1000 message-box 2>/dev/null || true)
    case "$SEEN" in *"|Save changes to "*) drv --timeout 1000 answer-box 7 || true ;; esac
    return 1
}

# Waits for the program's end (a "Save changes to" question answered No) and checks its exit
# code: end_of_lumetra WHAT
end_of_lumetra() {
    local code=0
    wait_until "the program to end $1" lumetra_ended
    wait "$(cat "$E2E_ROOT/lumetra.pid")" || code=$?
    rm -f "$E2E_ROOT/lumetra.pid"
    expect_eq "$code" 0 "exit code $1"
}

# The rectangle "x y w h" of a visible top-level window by its caption (or class LumetraWin).
window_rect() { drv windows | awk -F'|' -v c="$1" '$1 == c || $2 == c { print $3; exit }'; }

# Activates a window with a click on its caption at (DX, DY) from its corner, unless it is active
# already: a second click within the double-click time would maximize or roll it up.
# activate_window CAPTION [DX DY]
activate_window() {
    local x y w h
    drv --timeout 0 wait-active "$1" 2>/dev/null && return 0
    read -r x y w h <<<"$(window_rect "$1")"
    xdotool mousemove $((x + ${2:-30})) $((y + ${3:-6})) click 1
    drv wait-active "$1"
}
activate_tool_window() { activate_window "$1"; }
# Keys go to the active window; no tool window stands on the left end of the main caption.
focus_main() { activate_window LumetraWin 40 8; }

# Clicks the middle of a dialog item: click_item CAPTION ID [DRIVER_OPTION...]
click_item() {
    local x y w h
    read -r x y w h <<<"$(drv "${@:3}" item-rect "$1" "$2")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Shows a tool window with its menu command, which toggles: show_tool_window CAPTION ID
show_tool_window() { drv windows | grep -q "|$1|" || drv command "$2" && drv wait-dialog "$1"; }

# Types TEXT into a dialog's edit field; the program takes it as Tab leaves the field:
# type_into_field CAPTION ID TEXT
type_into_field() {
    click_item "$1" "$2"
    drv wait-active "$1"
    xdotool key Home shift+End
    xdotool type "$3"
    xdotool key Tab
}

# Drags with BUTTON by way of a point in between, moves a moment apart so that Wine sees them:
# drag BUTTON X0 Y0 X1 Y1
drag() {
    xdotool mousemove "$2" "$3" mousedown "$1" sleep 0.1 \
        mousemove $((($2 + $4) / 2)) $((($3 + $5) / 2)) sleep 0.1 mousemove "$4" "$5" sleep 0.1 \
        mouseup "$1" sleep 0.1
}

# Screen position of picture point (X, Y) while the canvas is not scrolled: picture_point X Y
picture_point() {
    local ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    echo "$((ox + 7 + $1)) $((oy + 7 + $2))"
}

# Selects a picture rectangle with the right button and waits for the status that names it (or
# STATUS): select_region X0 Y0 X1 Y1 [STATUS]
select_region() {
    drag 3 $(picture_point "$1" "$2") $(picture_point "$3" "$4")
    drv wait-status 1 "${5:-$1, $2, $3, $4}"
}

# Ctrl + wheel on the picture's corner, which keeps the view unscrolled: zoom_at_origin up|down REPORT
zoom_at_origin() {
    xdotool mousemove $(picture_point 0 0) keydown ctrl click $([ "$1" = up ] && echo 4 || echo 5) keyup ctrl
    drv wait-status 0 "$2"
}

shot() { import -window root "$E2E_ARTIFACTS/$1.png" && log "screenshot $E2E_ARTIFACTS/$1.png"; }

# Two pictures have the same size and pixels (a BMP may carry more behind them): same_pixels A B
same_pixels() { compare -define bmp:ignore-filesize=true -metric AE "$1" "$2" null: 2>/dev/null; }

canvas_shot_is() {
    local ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    import -window root -crop "$(identify -format '%wx%h' "$1")+$((ox + 7))+$((oy + 7))" +repage \
        "$E2E_ARTIFACTS/$2.png"
    same_pixels "$E2E_ARTIFACTS/$2.png" "$1"
}

# Waits until the canvas shows the pixels of FILE (drawn 1:1 at (7, 7)): canvas_shows FILE NAME
canvas_shows() {
    wait_until "the canvas to show $1 (last shot $E2E_ARTIFACTS/$2.png)" canvas_shot_is "$1" "$2"
}

# A file dialog opened with its key, a path typed (or the proposed one kept), Return:
# file_dialog KEY CAPTION WINDOWS_PATH
file_dialog() {
    xdotool key "$1"
    drv wait-dialog "$2"
    [ -z "$3" ] || xdotool type --delay 2 "$3"
    xdotool key Return
    drv wait-no-dialog "$2"
}

# Opens a picture through the Open dialog and waits for its title: open_picture LINUX_OR_WIN_PATH
open_picture() {
    local path=$1
    [[ "$path" =~ ^[A-Za-z]: ]] || path=$(winpath "$path")
    file_dialog ctrl+o "Open a bitmap file" "$path"
    drv wait-title "${path##*\\} - Lumetra"
    focus_main
}

# Starts a render with KEYS and waits for the timing text that ends every render: render KEYS...
render() {
    focus_main
    xdotool key "$@"
    drv --timeout 60000 wait-status-prefix 1 "Time: " >/dev/null
}

# No capture file open (HOME/.asoundrc sends everything played into HOME/played.raw, then
# played.raw.0001, ... one file per opening of the wave-out device; see playback_capture.py).
captures_closed() {
    ! find /proc/[0-9]*/fd -lname "$HOME/played.raw*" -print -quit 2>/dev/null | grep -q .
}

# Waits until a play has ended and the device is closed (the status text goes as the last buffer
# is queued; a Play before the close goes on on the same opening of the device).
wait_play_end() {
    drv --timeout 30000 wait-status 0 ""
    wait_until "the wave-out device to close after the play" captures_closed
}

capture() { python3 "$E2E_TESTS/playback_capture.py" "$@"; }

# A 24-bit uncompressed BMP as the program writes them: make_bmp OUT ARGS...
make_bmp() { convert "${@:2}" +antialias -type TrueColor -define bmp:format=bmp3 "BMP3:$1"; }

# The little-endian unsigned 32-bit number at a byte offset of a file: u32 FILE OFFSET
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }

# Puts a picture on the clipboard as another program does: clipboard_put FILE
clipboard_put() {
    convert "$1" -depth 8 "bgra:$E2E_ROOT/clipboard-in.raw"
    drv clipboard-put-32 $(identify -format '%w %h' "$1") "$(winpath "$E2E_ROOT/clipboard-in.raw")"
}

# The size WxH of the clipboard's picture as another program reads it into
# $E2E_ROOT/clipboard.png; nothing while there is none.
clipboard_size() {
    local size
    size=$(drv --timeout 2000 clipboard-save-bitmap "$(winpath "$E2E_ROOT/clipboard.raw")" \
        2>/dev/null) || return 0
    convert -size "$size" -depth 8 "bgra:$E2E_ROOT/clipboard.raw" -alpha off "$E2E_ROOT/clipboard.png"
    echo "$size"
}

# Puts a value under the settings key: put_setting SUBKEY NAME TYPE DATA
put_setting() {
    local out
    out=$(wine reg add "HKCU\\$E2E_SETTINGS_KEY${1:+\\$1}" /v "$2" /t "$3" /d "$4" /f 2>&1) ||
        fail "could not put $1\\$2 ($3) $4 into the registry: $out"
}

# Puts window places (DWORDs of the Windows subkey): put_places NAME:VALUE...
put_places() {
    local place
    for place in "$@"; do put_setting Windows "${place%%:*}" REG_DWORD "${place#*:}"; done
}

# Reads the settings key after the program has ended into settings.txt, lines of
# SUBKEY|NAME|TYPE|DATA (DWORDs signed, binary as hex digits), for `expect_settings`.
read_settings() {
    local file=$E2E_ROOT/settings.reg
    rm -f "$file"
    wine reg export "HKCU\\$E2E_SETTINGS_KEY" "$(winpath "$E2E_ROOT")\\settings.reg" /y \
        >/dev/null 2>&1 || true
    if [ -f "$file" ]; then python3 "$E2E_TESTS/registry_export.py" "$file"; fi \
        >"$E2E_ROOT/settings.txt"
    cat "$E2E_ROOT/settings.txt" >>"$E2E_ARTIFACTS/settings_${FUNCNAME[1]}.txt"
}

# Checks values that read_settings found, given on stdin as lines SUBKEY|NAME=DATA|NAME=...
expect_settings() {
    local key pairs pair
    while IFS='|' read -r key pairs; do
        while [ -n "$pairs" ]; do
            pair=${pairs%%|*}
            [ "$pair" = "$pairs" ] && pairs="" || pairs=${pairs#*|}
            expect_eq "$(awk -F'|' -v k="$key" -v n="${pair%%=*}" '$1 == k && $2 == n { print $4 }' \
                "$E2E_ROOT/settings.txt")" "${pair#*=}" "registry ${key:+$key\\}${pair%%=*}"
        done
    done
}

# Help: the stand-in browser (tests/e2e/standin) writes the address it was asked to open into
# $E2E_ROOT/help-request.txt. It is registered for the user and, as Wine's view of the classes
# shows only the machine's, for the machine too.
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

# Checks that the stand-in was asked for the guide beside the program (default $E2E_APP) at a
# help keyword's section or the "contents": expect_help_opens SECTION [PROGRAM_FOLDER]
expect_help_opens() {
    local request=$E2E_ROOT/help-request.txt folder=${2:-$E2E_APP} anchor url
    folder=${folder%/}
    folder=${folder%\\}
    [[ "$folder" =~ ^[A-Za-z]: ]] || folder=$(winpath "$folder")
    anchor=$(printf '%s' "$1" | tr 'A-Z ' 'a-z-')
    [ "$anchor" = contents ] && anchor=""
    wait_until "the browser to be asked for a page" test -f "$request"
    url=$(head -n 1 "$request")
    rm -f "$request"
    expect_eq "$url" "$(python3 -c 'import sys, urllib.parse
print("file:///" + urllib.parse.quote(sys.argv[1].replace("\\", "/"), safe="/:"))' \
        "$folder")/guide/index.html${anchor:+#$anchor}" "the page the browser was asked to open"
}
