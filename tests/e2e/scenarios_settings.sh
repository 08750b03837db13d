# End-to-end scenarios of what outlives a run: the settings in the registry, the program folders
# and "SFDIR", the folder browser, the recent-files list and its menu, and the undo ring with
# Undo and Redo. Each starts from the settings it writes itself and reads the registry back with
# `reg query` after the program has ended.

E2E_SCENARIOS+=(
    settings_fresh_defaults
    settings_kept_across_restart
    settings_offscreen_windows_return
    settings_wrong_types_and_vanished_folders
    settings_sfdir_and_folder_browser
    recent_eleven_pictures
    recent_unicode_long_and_vanished_files
    undo_redo_open_delete_and_new_image
    undo_without_a_usable_undo_folder
)

# ---------------------------------------------------------------------------------------------
# Registry helpers. KEY is relative to the settings key ("" for the key itself, "Windows", ...).

# The data of a value as `reg query` prints it (DWORDs as 0x..., binary as hex digits); fails when
# the value is missing.
reg_data() {
    local key=$E2E_SETTINGS_KEY${1:+\\$1} out
    out=$(wine reg query "$key" /v "$2" 2>/dev/null | tr -d '\r') || return 1
    sed -n "s/^    $2    REG_[A-Z_]*    //p; s/^    $2    REG_[A-Z_]*\$//p" <<<"$out" | head -n 1
}

reg_type() {
    local key=$E2E_SETTINGS_KEY${1:+\\$1}
    wine reg query "$key" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    \(REG_[A-Z_]*\).*/\1/p" | head -n 1
}

# A DWORD value as a signed decimal number.
reg_int() {
    local hex value
    hex=$(reg_data "$1" "$2") || return 1
    value=$((hex))
    [ "$value" -gt 2147483647 ] && value=$((value - 4294967296))
    echo "$value"
}

# expect_reg KEY NAME EXPECTED: a DWORD value (decimal) or a string value.
expect_reg() {
    local type actual
    type=$(reg_type "$1" "$2")
    if [ "$type" = REG_DWORD ]; then
        actual=$(reg_int "$1" "$2")
    else
        actual=$(reg_data "$1" "$2" || echo "<missing>")
    fi
    expect_eq "$actual" "$3" "registry ${1:+$1\\}$2"
}

reg_put() {
    local key=$E2E_SETTINGS_KEY${1:+\\$1}
    wine reg add "$key" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

# Names of the values of a key, one a line.
reg_names() {
    local key=$E2E_SETTINGS_KEY${1:+\\$1}
    wine reg query "$key" 2>/dev/null | tr -d '\r' | sed -n 's/^    \(.*\)    REG_[A-Z_]*.*/\1/p'
}

exit_lumetra() {
    expect_eq "$(drv command 113 wait-exit)" 0 "exit code after File > Exit"
    rm -f "$E2E_ROOT/lumetra.pid"
}

# The app folder as the program names it, with its trailing backslash.
app_folder() {
    printf '%s\\' "$(winpath "$E2E_APP")"
}

# Opens the folder browser of COMMAND and selects PATH in it until its OK button is enabled (1)
# or disabled (0): browse_in COMMAND CAPTION PATH WANT. Wine's folder tree now and then misses a
# selection made by its message (nothing gets highlighted); the browser is then closed and opened
# again.
browse_in() {
    local attempt i state
    for attempt in 1 2 3; do
        drv command "$1" wait-dialog "$2" sleep 300
        drv browse-select "$2" "$3"
        # The browser opens on the current folder, whose OK is enabled too: a folder counts as
        # selected once its path shows in the status line.
        for i in $(seq 20); do
            state=$(drv item-enabled "$2" 1)
            if [ "$state" = "$4" ]; then
                [ "$4" = 0 ] && return 0
                [ "$(drv dialog-text "$2" 14147)" = "$3" ] && return 0
            fi
            drv sleep 100
        done
        log "the folder tree missed the selection of $3; once more"
        drv click "$2" 2 wait-no-dialog "$2"
    done
    fail "OK of \"$2\" for $3: enabled $state, expected $4"
}

# The rectangle of a visible top-level window of the program: window_rect CAPTION -> x y w h
window_rect() {
    drv windows | awk -F'|' -v c="$1" '$2 == c { print $3 }'
}

# ---------------------------------------------------------------------------------------------

# An empty registry gives exactly the documented defaults, and the first exit writes them.
settings_fresh_defaults() {
    reset_settings
    rm -rf "$E2E_APP/Images" "$E2E_APP/Analyses" "$E2E_APP/Undo"
    start_lumetra
    expect_eq "$(drv doc width) x $(drv doc height)" "300 x 150" "default picture size"
    expect_eq "$(drv doc low-frequency-milli) $(drv doc high-frequency-milli)" "50000 8000000" \
        "default pitch range in thousandths"
    expect_eq "$(drv doc output-time-milli) $(drv doc amp-factor-milli)" "5000 10000" \
        "default output time and amplitude"
    expect_eq "$(drv menu-state 413)" "enabled checked" "Save Sound at Every Render on"
    expect_eq "$(drv menu-state 401) $(drv menu-state 414) $(drv menu-state 415)" \
        "enabled enabled enabled" "Attach Render Info, Named After Image, Number Soundfiles off"
    expect_eq "$(drv menu-state 258)" "enabled checked" "selection style Brighten"
    expect_eq "$(drv window-rect)" "50 50 540 280" "main window place"
    expect_eq "$(drv doc render-options-open) $(drv doc brush-open) $(drv doc echord-open) $(drv doc browser-open)" \
        "0 1 1 1" "render options hidden, the other tool windows shown"
    expect_eq "$(window_rect "Brush Tools" | cut -d' ' -f1-2)" "50 330" "brush dialog below the main window"
    expect_eq "$(window_rect "Echord Tool" | cut -d' ' -f1-2)" "326 330" "Echord dialog beside it"
    expect_eq "$(window_rect "Image Browser")" "370 76 370 330" "image browser"
    local base
    base=$(app_folder)
    expect_eq "$(drv doc-text base-folder)" "$base" "program folder"
    expect_eq "$(drv doc-text image-folder)" "${base}Images\\" "image folder"
    expect_eq "$(drv doc-text filter-folder)" "${base}Filters\\" "filter folder"
    expect_eq "$(drv doc-text analyses-folder)" "${base}Analyses\\" "analyses folder"
    expect_eq "$(drv doc-text undo-folder)" "${base}Undo\\" "undo folder"
    expect_eq "$(drv doc-text soundfile-folder)" "$SFDIR\\" "soundfile folder from SFDIR"
    for folder in Images Filters Undo Analyses; do
        expect_true "folder $folder made beside the program" test -d "$E2E_APP/$folder"
    done
    expect_eq "$(drv doc recent-count) $(drv doc recent-menu-grayed)" "0 1" \
        "no recent files, the submenu grayed"
    exit_lumetra

    expect_reg "" "Image width" 300
    expect_reg "" "Image height" 150
    expect_reg "" "Output buffers" $((0x08001000))
    expect_reg "" "Output sample rate" 22050
    expect_reg "" "Output device" 0
    expect_reg "" "Render options" $((0x4A0001EA))
    expect_reg "" "Program options" 0
    expect_reg "" "Output time" 5000
    expect_reg "" "Pitch:Low" 50000
    expect_reg "" "Pitch:High" 8000000
    expect_reg "" "Output amp" 10000
    expect_eq "$(reg_type "" "Patches: Brush") $(reg_data "" "Patches: Brush" | tr -d '\n' | wc -c)" \
        "REG_BINARY $((576 * 2))" "brush patches stored whole"
    expect_eq "$(reg_type "" "Patches: Echord") $(reg_data "" "Patches: Echord" | tr -d '\n' | wc -c)" \
        "REG_BINARY $((1040 * 2))" "Echord patches stored whole"
    local name value
    for entry in main.x:50 main.y:50 main.w:540 main.h:280 main.cmdshow:1 brush.x:50 brush.y:330 \
        brush.show:5 echord.x:326 echord.y:330 echord.show:5 rndr.x:300 rndr.y:96 rndr.show:0 \
        imgbr.x:370 imgbr.y:76 imgbr.w:370 imgbr.h:406 imgbr.show:5; do
        IFS=: read -r name value <<<"$entry"
        expect_reg Windows "$name" "$value"
    done
    expect_reg Directories Image "${base}Images\\"
    expect_reg Directories Filter "${base}Filters\\"
    expect_reg Directories Soundfile "$SFDIR\\"
    expect_reg Directories "Analysed sounds" "${base}Analyses\\"
    expect_eq "$(reg_names RecentFiles | wc -l)" 0 "no recent-file values"
    # The canvas stored a last snapshot when it was destroyed: the picture as it was at exit.
    expect_eq "$(identify -format '%w x %h' "$E2E_APP/Undo/Undo1.bmp")" "300 x 150" \
        "exit snapshot in Undo1.bmp"
}

# Settings changed through the menus, a dialog and the windows are written at exit and are
# there again at the next start.
settings_kept_across_restart() {
    reset_settings
    reg_put "" "Output sample rate" REG_DWORD 44100
    start_lumetra
    # The Echord dialog rolled up by a double click on its caption (first, while nothing covers
    # it), the main window moved and sized, the brush dialog moved.
    local x y w h
    read -r x y w h <<<"$(window_rect "Echord Tool")"
    xdotool mousemove $((x + w / 2)) $((y + 6)) click --repeat 2 --delay 80 1
    drv wait-doc echord-open 0
    read -r x y w h <<<"$(window_rect "Echord Tool")"
    expect_true "Echord dialog rolled up to its caption ($h pixels)" test "$h" -lt 50
    drv place main 120 90 600 330 place "Brush Tools" 140 460 0 0
    drv sleep 200
    read -r x y w h <<<"$(window_rect "Brush Tools")"
    expect_eq "$x $y" "140 460" "brush dialog moved"
    drv command 401 command 413 command 414 command 415 command 259 command 310
    drv wait-doc render-options-open 1
    # New Image through its dialog: its size becomes the default picture size at exit.
    drv command 101 wait-dialog "Create New Image" sleep 200
    drv set-dialog-text "Create New Image" 1037 420
    xdotool key Tab
    drv sleep 100 set-dialog-text "Create New Image" 1039 210
    xdotool key Tab
    drv sleep 100
    xdotool key Return
    drv wait-no-dialog "Create New Image" wait-doc width 420
    shot settings_changed
    exit_lumetra

    expect_reg "" "Program options" 4
    # Number 1, every render 0, named 1, stereo 1, soft 0, noise 15, counter 0, undo 10, inverted.
    expect_reg "" "Render options" $((0x8A0001ED - 4294967296))
    expect_reg "" "Image width" 420
    expect_reg "" "Image height" 210
    expect_reg "" "Output sample rate" 44100
    expect_reg Windows main.x 120
    expect_reg Windows main.y 90
    expect_reg Windows main.w 600
    expect_reg Windows main.h 330
    expect_reg Windows brush.x 140
    expect_reg Windows brush.y 460
    expect_reg Windows echord.show 6
    expect_reg Windows rndr.show 5

    start_lumetra
    expect_eq "$(drv menu-state 401) / $(drv menu-state 413)" "enabled checked / enabled" \
        "Attach Render Info on, Save Sound at Every Render off"
    expect_eq "$(drv menu-state 414) / $(drv menu-state 415)" "enabled checked / enabled checked" \
        "Named After Image and Number Soundfiles on"
    expect_eq "$(drv menu-state 259) / $(drv menu-state 258)" "enabled checked / enabled" \
        "selection style Inverted"
    expect_eq "$(drv doc selection-style)" 2 "selection style"
    expect_eq "$(drv doc width) x $(drv doc height)" "420 x 210" "picture size from the defaults"
    expect_eq "$(drv window-rect)" "120 90 600 330" "main window where it was left"
    expect_eq "$(window_rect "Brush Tools" | cut -d' ' -f1-2)" "140 460" "brush dialog"
    expect_eq "$(drv doc render-options-open) $(drv doc echord-open)" "1 0" \
        "render options open, Echord rolled up"
    read -r x y w h <<<"$(window_rect "Echord Tool")"
    expect_true "Echord dialog shown rolled up ($h pixels)" test -n "$h" -a "${h:-99}" -lt 50
    shot settings_restored
    # Unrolled by its menu toggle, as a user would bring it back.
    drv command 503 wait-doc echord-open 1
    exit_lumetra
    expect_reg Windows echord.show 5
    expect_reg "" "Render options" $((0x8A0001ED - 4294967296))
}

# Saved places that lie off this screen come back onto it, following the main window.
settings_offscreen_windows_return() {
    reset_settings
    reg_put Windows main.x REG_DWORD 3000
    reg_put Windows main.y REG_DWORD $((4294967296 - 500))
    reg_put Windows brush.x REG_DWORD 5000
    reg_put Windows brush.y REG_DWORD 5000
    reg_put Windows echord.x REG_DWORD $((4294967296 - 300))
    reg_put Windows echord.y REG_DWORD 100
    reg_put Windows rndr.x REG_DWORD 4000
    reg_put Windows rndr.y REG_DWORD 100
    reg_put Windows rndr.show REG_DWORD 5
    reg_put Windows imgbr.x REG_DWORD 9999
    reg_put Windows main.cmdshow REG_DWORD 77
    start_lumetra
    expect_eq "$(drv window-rect)" "50 50 540 280" "main window back at its default place"
    expect_eq "$(window_rect "Brush Tools" | cut -d' ' -f1-2)" "50 330" "brush dialog below it"
    expect_eq "$(window_rect "Echord Tool" | cut -d' ' -f1-2)" "80 345" \
        "Echord dialog beside the brush dialog"
    expect_eq "$(window_rect "Render Options" | cut -d' ' -f1-2)" "330 130" \
        "render options dialog over the main window"
    expect_eq "$(window_rect "Image Browser")" "370 76 370 330" "image browser at its default"
    shot settings_offscreen_returned
    exit_lumetra
    expect_reg Windows main.x 50
    expect_reg Windows main.y 50
    expect_reg Windows brush.x 50
    expect_reg Windows echord.x 80
    expect_reg Windows rndr.x 330
    expect_reg Windows imgbr.x 370
}

# Values of the wrong type or size, folders that have gone or are read-only: the program starts,
# takes its defaults for them, and writes sound values at exit.
settings_wrong_types_and_vanished_folders() {
    reset_settings
    local gone readonly
    gone=$E2E_ROOT/gone-folder
    readonly=$E2E_ROOT/read-only-folder
    mkdir -p "$gone" "$readonly"
    rmdir "$gone"
    reg_put "" "Image width" REG_SZ "wide"
    reg_put "" "Image height" REG_BINARY 0102
    reg_put "" "Output sample rate" REG_BINARY 00
    reg_put "" "Render options" REG_QWORD 1
    reg_put "" "Patches: Echord" REG_BINARY 0102030405
    reg_put Windows main.x REG_SZ "far away"
    reg_put Windows main.y REG_BINARY 0a000000
    reg_put Directories Image REG_SZ "$(winpath "$E2E_ROOT")\\gone-folder\\"
    reg_put Directories Filter REG_DWORD 7
    reg_put RecentFiles 7 REG_DWORD 1
    reg_put RecentFiles 3 REG_SZ "C:"
    reg_put RecentFiles 4 REG_SZ "$(winpath "$E2E_PICTURES")\\missing.bmp"
    start_lumetra
    expect_eq "$(drv doc width) x $(drv doc height)" "300 x 150" "picture size from the defaults"
    expect_eq "$(drv window-rect)" "50 50 540 280" "main window at its default place"
    expect_eq "$(drv menu-state 413) / $(drv menu-state 258)" \
        "enabled checked / enabled checked" "render options from the defaults"
    expect_eq "$(drv doc-text image-folder)" "$(app_folder)Images\\" \
        "vanished image folder replaced by the default"
    expect_eq "$(drv doc-text filter-folder)" "$(app_folder)Filters\\" \
        "filter folder of the wrong type replaced by the default"
    expect_eq "$(drv doc recent-count)" 0 "no recent entry from unusable values"
    exit_lumetra
    expect_eq "$(reg_type "" "Image width") $(reg_int "" "Image width")" "REG_DWORD 300" \
        "Image width rewritten as a DWORD"
    expect_eq "$(reg_type "" "Image height") $(reg_int "" "Image height")" "REG_DWORD 150" \
        "Image height rewritten as a DWORD"
    expect_eq "$(reg_type "" "Render options") $(reg_int "" "Render options")" \
        "REG_DWORD $((0x4A0001EA))" "Render options rewritten as a DWORD"
    expect_eq "$(reg_data "" "Patches: Echord" | tr -d '\n' | wc -c)" $((1040 * 2)) \
        "Echord patches written whole"
    expect_eq "$(reg_type Windows main.x) $(reg_int Windows main.x)" "REG_DWORD 50" "main.x"
    expect_reg Directories Image "$(app_folder)Images\\"
    expect_eq "$(reg_type Directories Filter)" REG_SZ "Filter rewritten as a string"
    expect_eq "$(reg_names RecentFiles | wc -l)" 0 "the unusable recent-file values are gone"

    # A stored image folder that is read-only is not used either.
    reset_settings
    chmod a-w "$readonly"
    reg_put Directories Image REG_SZ "$(winpath "$readonly")\\"
    start_lumetra
    local shown
    shown=$(drv doc-text image-folder)
    chmod u+w "$readonly"
    expect_eq "$shown" "$(app_folder)Images\\" "read-only image folder replaced by the default"
    close_lumetra
}

# "SFDIR" names the soundfile folder when none is stored; the folder browser changes it and the
# filter folder, and only folders with a drive letter can be chosen.
settings_sfdir_and_folder_browser() {
    reset_settings
    local other="$E2E_ROOT/Klänge 漢字" filters="$E2E_ROOT/more filters"
    mkdir -p "$other" "$filters"
    # SFDIR without its trailing backslash gets one.
    SFDIR=$(winpath "$other") start_lumetra
    expect_eq "$(drv doc-text soundfile-folder)" "$(winpath "$other")\\" \
        "soundfile folder from SFDIR, with a backslash added"
    close_lumetra

    # The browser chooses another folder than SFDIR's.
    other="$E2E_ROOT/Töne 漢字"
    mkdir -p "$other"
    reset_settings
    start_lumetra
    expect_eq "$(drv doc-text soundfile-folder)" "$SFDIR\\" "soundfile folder from SFDIR"
    local browser="Select Default Soundfile Folder"
    # A virtual folder without a file-system path cannot be confirmed.
    browse_in 412 "$browser" "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}" 0
    log "ok: OK disabled for My Computer"
    expect_eq "$(drv dialog-text "$browser" 14147)" "" "no path in the status line"
    shot folder_browser
    drv click "$browser" 2 wait-no-dialog "$browser"

    browse_in 412 "$browser" "$(winpath "$other")" 1
    log "ok: OK enabled for a folder"
    expect_eq "$(drv dialog-text "$browser" 14147)" "$(winpath "$other")" \
        "the folder's path in the status line"
    expect_eq "$(drv dialog-text "$browser" 14146)" "$(winpath "$other")" \
        "the folder's path in the title line"
    drv click "$browser" 1 wait-no-dialog "$browser"
    drv wait-status 0 "Soundfile path: $(winpath "$other")" >/dev/null
    expect_eq "$(drv doc-text soundfile-folder)" "$(winpath "$other")" "new soundfile folder"

    # Choosing the folder that is already set changes nothing.
    browse_in 412 "$browser" "$(winpath "$other")" 1
    drv click "$browser" 1 wait-no-dialog "$browser"
    expect_eq "$(drv doc-text soundfile-folder)" "$(winpath "$other")" \
        "soundfile folder after choosing it again"

    browse_in 402 "Select Default Filter Folder" "$(winpath "$filters")" 1
    expect_eq "$(drv dialog-text "Select Default Filter Folder" 14147)" "$(winpath "$filters")" \
        "the filter folder's path in the status line"
    drv click "Select Default Filter Folder" 1 wait-no-dialog "Select Default Filter Folder"
    drv wait-status 0 "Filter path: $(winpath "$filters")" >/dev/null

    # A cancelled browser leaves everything as it is.
    drv command 412 wait-dialog "Select Default Soundfile Folder" sleep 300
    drv click "Select Default Soundfile Folder" 2 wait-no-dialog "Select Default Soundfile Folder"
    expect_eq "$(drv doc-text soundfile-folder)" "$(winpath "$other")" \
        "soundfile folder kept after Cancel"
    exit_lumetra
    expect_reg Directories Filter "$(winpath "$filters")"

    # The stored folder wins over SFDIR at the next start; it gets its backslash there.
    start_lumetra
    expect_eq "$(drv doc-text soundfile-folder)" "$(winpath "$other")\\" \
        "stored soundfile folder kept"
    expect_eq "$(drv doc-text filter-folder)" "$(winpath "$filters")" "stored filter folder kept"
    close_lumetra
}

# Eleven pictures opened in turn leave the last ten, newest first; the list and its menu survive
# a restart.
recent_eleven_pictures() {
    reset_settings
    local folder="$E2E_ROOT/recent pictures" i
    rm -rf "$folder"
    mkdir -p "$folder"
    for i in 01 02 03 04 05 06 07 08 09 10 11; do
        make_bmp "$folder/picture $i.bmp" -size $((20 + 10#$i))x10 xc:'#102030'
    done
    start_lumetra
    expect_eq "$(drv doc recent-menu-grayed)" 1 "Recent Files grayed while the list is empty"
    for i in 01 02 03 04 05 06 07 08 09 10 11; do
        drv open "$(winpath "$folder/picture $i.bmp")"
    done
    expect_eq "$(drv doc recent-count) $(drv doc recent-menu-items)" "10 10" "ten entries"
    expect_eq "$(drv doc recent-menu-grayed)" 0 "Recent Files enabled"
    local menu=""
    for i in 0 1 2 3 4 5 6 7 8 9; do menu+="$(drv doc-text recent-menu-$i)|"; done
    expect_eq "$menu" "picture 11.bmp|picture 10.bmp|picture 09.bmp|picture 08.bmp|picture 07.bmp|picture 06.bmp|picture 05.bmp|picture 04.bmp|picture 03.bmp|picture 02.bmp|" \
        "menu newest first, the first picture gone"
    local newest oldest
    newest=$(drv doc-text recent-9)
    oldest=$(drv doc-text recent-0)
    expect_true "entries kept in short form ($newest)" \
        bash -c '[[ "$1" == *"~"* && "$1" != *" "* ]]' _ "$newest"
    # Opening a listed picture again, by its long or its short name, changes nothing.
    drv open "$(winpath "$folder/picture 05.bmp")"
    drv open "$oldest"
    expect_eq "$(drv doc recent-count) $(drv doc-text recent-9) $(drv doc-text recent-0)" \
        "10 $newest $oldest" "list unchanged by pictures already in it"
    # Highlighting an entry shows its stored path in status part 0.
    xdotool key alt+f
    drv sleep 300
    xdotool key f
    drv wait-status 0 "$newest" >/dev/null
    shot recent_menu
    xdotool key Escape Escape Escape
    drv sleep 200
    # Choosing an entry opens it, titled with its long name.
    drv command 3405 wait-title "picture 07.bmp - Lumetra"
    expect_eq "$(drv doc width)" 27 "the chosen picture"
    exit_lumetra
    expect_eq "$(reg_names RecentFiles | sort | tr '\n' ' ')" "0 1 2 3 4 5 6 7 8 9 " \
        "values 0 to 9 in the registry"
    expect_reg RecentFiles 0 "$oldest"
    expect_reg RecentFiles 9 "$newest"

    # At the next start the list comes back; a picture that has gone meanwhile is dropped.
    rm "$folder/picture 05.bmp"
    start_lumetra
    expect_eq "$(drv doc recent-count)" 9 "nine entries after one picture vanished"
    expect_eq "$(drv doc-text recent-menu-0) / $(drv doc-text recent-menu-8)" \
        "picture 11.bmp / picture 02.bmp" "menu after the restart"
    exit_lumetra
    expect_eq "$(reg_names RecentFiles | sort | tr '\n' ' ')" "0 1 2 3 4 5 6 7 8 " \
        "values 0 to 8 after the save"
}

# Names outside ASCII and paths beyond MAX_PATH survive the list, the menu, the registry and the
# title; a listed picture that has gone fails with the loader's warning and stays listed.
recent_unicode_long_and_vanished_files() {
    reset_settings
    local folder="$E2E_ROOT/Bilder äöü 漢字" name="Grün & Blau 漢字.bmp" deep="$E2E_ROOT/deep" i
    rm -rf "$folder" "$deep"
    for i in 1 2 3 4 5 6; do deep+="/folder $i with a name long enough to matter"; done
    mkdir -p "$folder" "$deep"
    make_bmp "$folder/$name" -size 40x20 xc:'#00ff00'
    make_bmp "$folder/other.bmp" -size 30x20 xc:'#0000ff'
    make_bmp "$deep/deep picture.bmp" -size 44x22 xc:'#ff00ff'
    expect_true "the deep picture's path is longer than MAX_PATH" \
        test "$(winpath "$deep/deep picture.bmp" | wc -c)" -gt 260
    start_lumetra
    drv open "$(winpath "$folder/$name")" open "$(winpath "$folder/other.bmp")"
    drv open "$(winpath "$deep/deep picture.bmp")"
    expect_eq "$(drv title) / $(drv doc width)" "deep picture.bmp - Lumetra / 44" \
        "the picture beyond MAX_PATH opened"
    drv save-as "$(winpath "$deep/saved copy.bmp")"
    expect_eq "$(identify -format '%w x %h' "$deep/saved copy.bmp")" "44 x 22" \
        "saved beyond MAX_PATH"
    expect_eq "$(drv doc-text recent-menu-0) / $(drv doc-text recent-menu-2)" \
        "deep picture.bmp / Grün && Blau 漢字.bmp" \
        "menu texts of the long names (the ampersand doubled so that it shows)"
    exit_lumetra
    start_lumetra
    expect_eq "$(drv doc recent-count) $(drv doc-text recent-menu-2)" "3 Grün && Blau 漢字.bmp" \
        "the list after a restart"
    drv command 3400 wait-title "$name - Lumetra"
    expect_eq "$(drv doc width)" 40 "the picture outside ASCII opened from the list"
    drv command 3402 wait-title "deep picture.bmp - Lumetra"
    expect_eq "$(drv doc width)" 44 "the picture beyond MAX_PATH opened from the list"
    rm "$folder/other.bmp"
    drv command 3401
    local box
    box=$(drv wait-message-box)
    expect_true "the loader warns about the vanished picture ($box)" \
        bash -c '[[ "$1" == "Error reading bitmap file|Could not open "* ]]' _ "$box"
    xdotool key Return
    drv sleep 300
    expect_eq "$(drv doc recent-count)" 3 "the vanished entry stays listed"
    close_lumetra
}

# Open over a picture, Delete and New Image store snapshots; Undo and Redo bring back the pixels
# before and after, and the exit leaves the picture at exit in the newest slot file.
undo_redo_open_delete_and_new_image() {
    reset_settings
    rm -rf "$E2E_APP/Undo"
    start_lumetra
    expect_eq "$(drv menu-state 201)" enabled "Undo offered from the start"
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    local tone ramps
    tone=$(drv doc pixel-hash)
    drv open "$(winpath "$E2E_PICTURES/ramps.bmp")"
    ramps=$(drv doc pixel-hash)
    expect_eq "$(drv doc undo-index)" 3 "two snapshots stored (slots 1 and 2)"

    # Redo directly after a snapshot does nothing.
    drv command 202 sleep 200
    expect_eq "$(drv doc pixel-hash)" "$ramps" "Redo after a snapshot changes nothing"

    # Delete (the Del key) blacks out the selection; Undo brings it back and keeps the selection.
    local x0 y0 x1 y1 deleted
    read -r x0 y0 <<<"$(picture_point 10 10)"
    read -r x1 y1 <<<"$(picture_point 50 40)"
    xdotool mousemove "$x0" "$y0" mousedown 3
    drv sleep 100
    xdotool mousemove $((x0 + 5)) $((y0 + 5))
    drv sleep 100
    xdotool mousemove "$x1" "$y1"
    drv sleep 100
    xdotool mouseup 3
    drv wait-doc drag-mode 0 wait-doc selection-right 50
    xdotool key Delete
    drv wait-doc undo-index 4
    deleted=$(drv doc pixel-hash)
    expect_true "Delete changed the picture" test "$deleted" != "$ramps"
    xdotool key ctrl+z
    drv wait-doc pixel-hash "$ramps"
    expect_eq "$(drv doc selection-left) $(drv doc selection-top) $(drv doc selection-right) $(drv doc selection-bottom)" \
        "10 10 50 40" "selection kept by Undo"
    xdotool key ctrl+y
    drv wait-doc pixel-hash "$deleted"
    xdotool key ctrl+z
    drv wait-doc pixel-hash "$ramps"
    expect_true "slot files written" test -f "$E2E_APP/Undo/Undo1.bmp" -a -f "$E2E_APP/Undo/Undo2.bmp"
    expect_eq "$(identify -format '%w x %h' "$E2E_APP/Undo/Undo2.bmp")" "200 x 100" \
        "slot 2 holds the tone picture"
    xdotool key ctrl+z
    drv wait-doc pixel-hash "$tone"
    expect_eq "$(drv doc width) x $(drv doc height)" "200 x 100" "size before the open"
    xdotool key ctrl+y
    drv wait-doc pixel-hash "$ramps"
    expect_eq "$(drv doc width) x $(drv doc height)" "120 x 60" "size after the open"
    drv command 201 wait-doc pixel-hash "$tone"
    drv command 201 wait-doc width 300
    drv command 202 wait-doc pixel-hash "$tone"
    drv command 202 wait-doc pixel-hash "$ramps"

    # New Image keeps the previous picture in memory for Undo.
    drv command 101 wait-dialog "Create New Image" sleep 200
    xdotool key Return
    drv wait-no-dialog "Create New Image"
    local blank
    blank=$(drv doc pixel-hash)
    drv command 201 wait-doc pixel-hash "$ramps"
    drv command 202 wait-doc pixel-hash "$blank"
    local slot size
    slot=$(drv doc undo-index)
    size="$(drv doc width) x $(drv doc height)"
    exit_lumetra
    expect_eq "$(identify -format '%w x %h' "$E2E_APP/Undo/Undo$slot.bmp")" "$size" \
        "the exit snapshot holds the picture at exit"
    expect_true "no temporary slot file left" \
        bash -c '! ls "$1"/Undo/*.tmp >/dev/null 2>&1' _ "$E2E_APP"
}

# An undo folder that cannot be made or written to (a file stands in its place): the snapshots
# stay in memory, one step of Undo and Redo still works, a step that would need a slot file does
# nothing, and the exit is clean.
undo_without_a_usable_undo_folder() {
    reset_settings
    rm -rf "$E2E_APP/Undo"
    printf 'not a folder' >"$E2E_APP/Undo"
    # Whatever happens below, the folder comes back for the scenarios after this one.
    trap 'rm -f "$E2E_APP/Undo"; mkdir -p "$E2E_APP/Undo"' EXIT
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    local tone ramps
    tone=$(drv doc pixel-hash)
    drv open "$(winpath "$E2E_PICTURES/ramps.bmp")"
    ramps=$(drv doc pixel-hash)
    xdotool key ctrl+z
    drv wait-doc pixel-hash "$tone"
    xdotool key ctrl+y
    drv wait-doc pixel-hash "$ramps"
    xdotool key ctrl+z
    drv wait-doc pixel-hash "$tone"
    # The older picture would come from slot 1, which could not be written.
    xdotool key ctrl+z
    drv sleep 300
    expect_eq "$(drv doc pixel-hash)|$(drv message-box)" "$tone|" \
        "Undo without its slot file changes nothing and says nothing"
    exit_lumetra
    expect_eq "$(cat "$E2E_APP/Undo")" "not a folder" "the file in the folder's place untouched"
}
