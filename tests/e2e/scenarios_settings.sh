# What outlives a run: the settings in the registry, the soundfile folder and the recent-files
# list, read back after the program has ended (the values' rules are the unit and Windows tests').

E2E_SCENARIOS+=(
    settings_kept_across_restart
    settings_sfdir_and_folder_browser
    recent_files_across_runs
)

# expect_window CAPTION|LumetraWin "X Y [W H]": where a window of the program stands.
expect_window() {
    local rect
    rect=$(window_rect "$1")
    [ "$(wc -w <<<"$2")" -eq 4 ] || rect=$(cut -d' ' -f1-2 <<<"$rect")
    expect_eq "$rect" "$2" "place of $1"
}

# Settings changed with the mouse, the menus and a dialog are written at exit and are there again
# at the next start.
settings_kept_across_restart() {
    put_setting "" "Output sample rate" REG_DWORD 44100
    # The places the drags below start from.
    put_places main.x:50 main.y:50 main.w:540 main.h:280 brush.x:50 brush.y:330 echord.x:326 \
        echord.y:330 imgbr.x:370 imgbr.y:76 imgbr.w:370 imgbr.h:406
    start_lumetra
    # The brush dialog dragged by its caption to (140, 460); the main window dragged by its
    # caption to (180, 90), then by its lower left corner to 600 x 330 at (120, 90).
    drag 1 80 337 170 467
    drag 1 150 58 280 98
    drag 1 181 368 121 418
    expect_window "Brush Tools" "140 460"
    expect_window LumetraWin "120 90 600 330"
    # Options: Attach Render Info on, Save Sound at Every Render off, Named After Image and
    # Number Soundfiles on, selection Inverted.
    focus_main
    xdotool key alt+o r alt+o e alt+o i alt+o n alt+o l i
    # New Image with a typed size: it becomes the default picture size at exit.
    xdotool key ctrl+n
    drv wait-dialog "Create New Image" wait-active "Create New Image"
    xdotool type 420
    xdotool key Tab Home shift+End
    xdotool type 210
    xdotool key Tab Return
    drv wait-no-dialog "Create New Image"
    exit_lumetra
    read_settings
    # Render options: number 1, every render 0, named 1, stereo 1, soft 0, noise 15, counter 0,
    # undo 10, inverted.
    expect_settings <<VALUES
|Program options=4|Render options=$((0x8A0001ED - 4294967296))|Image width=420|Image height=210
|Output sample rate=44100
Windows|main.x=120|main.y=90|main.w=600|main.h=330|brush.x=140|brush.y=460
VALUES

    start_lumetra
    expect_window LumetraWin "120 90 600 330"
    expect_window "Brush Tools" "140 460"
    exit_lumetra
    expect_eq "$(identify -format '%w x %h' "$(ls -t "$E2E_APP"/Undo/Undo*.bmp | head -n 1)")" \
        "420 x 210" "the start picture of the stored size"
}

# The folder browser changes the soundfile folder (which "SFDIR" names while none is stored).
settings_sfdir_and_folder_browser() {
    # A folder on drive C: near the root of the browser's tree: deep down Z:\tmp, Wine's tree
    # loses a good part of the selections made by message.
    local other='C:\Töne 漢字' browser="Select Default Soundfile Folder"
    mkdir -p "$WINEPREFIX/drive_c/Töne 漢字"
    start_lumetra
    xdotool key alt+o f # Options > Set Soundfile Folder
    drv browse-to "$browser" "$other" "$other"
    expect_eq "$(drv item-enabled "$browser" 1) $(drv dialog-text "$browser" 14146)" \
        "1 $other" "OK enabled, the folder's path in the title line"
    click_item "$browser" 1
    drv wait-no-dialog "$browser" wait-status 0 "Soundfile path: $other"
    open_picture "$E2E_PICTURES/tone.bmp"
    render F5
    expect_true "the render's sound file in the chosen folder" \
        test -f "$WINEPREFIX/drive_c/Töne 漢字/Lumetra.wav"
    wait_play_end
    exit_lumetra
    read_settings
    expect_settings <<<"Directories|Soundfile=$other"
}

# Opens recent-files entry N (0 = the newest, at the top) from File > Recent Files.
choose_recent() {
    focus_main
    xdotool key alt+f f
    [ "$1" -eq 0 ] || xdotool key --repeat "$1" Down
    xdotool key Return
}

# The list across runs: pictures opened through the dialog, one beyond MAX_PATH that a list of an
# earlier run holds (Wine's file dialog cannot reach it), names outside ASCII (typed in their
# short form), all kept in short form in the registry, opened from the menu and saved there; a
# picture gone before a start is dropped.
recent_files_across_runs() {
    local folder="$E2E_ROOT/Bilder äöü 漢字" name="Grün & Blau 漢字.bmp" deep="$E2E_ROOT/deep"
    local plain="$E2E_ROOT/recent pictures/picture 01.bmp" i short=()
    rm -rf "$folder" "$deep" "${plain%/*}"
    for i in 1 2 3 4 5 6; do deep+="/folder $i with a name long enough to matter"; done
    mkdir -p "$folder" "$deep" "${plain%/*}"
    make_bmp "$folder/$name" -size 40x20 xc:'#00ff00'
    make_bmp "$folder/other.bmp" -size 30x20 xc:'#0000ff'
    make_bmp "$deep/deep picture.bmp" -size 44x22 xc:'#ff00ff'
    make_bmp "$plain" -size 21x10 xc:'#102030'
    expect_true "the deep picture's path is longer than MAX_PATH" \
        test "$(winpath "$deep/deep picture.bmp" | wc -c)" -gt 260
    # Short forms, newest first as the menu lists them.
    for i in "$plain" "$folder/$name" "$folder/other.bmp" "$deep/deep picture.bmp"; do
        short+=("$(drv short-path "$(winpath "$i")")")
    done
    put_setting RecentFiles 0 REG_SZ "${short[3]}"
    start_lumetra
    open_picture "${short[2]}"
    open_picture "${short[1]}"
    open_picture "$plain"
    exit_lumetra

    rm "$plain"
    start_lumetra
    choose_recent 0
    drv wait-title "$name - Lumetra"
    expect_true "the picture outside ASCII opened from the list" \
        canvas_shows "$folder/$name" recent_unicode
    choose_recent 2
    drv wait-title "deep picture.bmp - Lumetra"
    expect_true "the picture beyond MAX_PATH opened from the list" \
        canvas_shows "$deep/deep picture.bmp" recent_deep
    # The whole picture selected and deleted (Del), then Save Image (S) to its own path.
    select_region 0 0 44 22
    press_and_wait_file "$deep/deep picture.bmp" Delete s
    expect_eq "$(tail -c +55 "$deep/deep picture.bmp" | tr -d '\0' | wc -c)" 0 \
        "the blacked-out picture saved beyond MAX_PATH"
    exit_lumetra
    read_settings
    expect_eq "$(grep '^RecentFiles|' "$E2E_ROOT/settings.txt" | cut -d'|' -f2 | sort | tr '\n' ' ')" \
        "0 1 2 " "three entries: the one gone before the start is dropped"
}
