# The Image Browser over a filter tree: a double click that filters the picture (checked through
# Save Image against the batch editor), a Shift double click that opens a working copy, Ctrl+C
# and Ctrl+X of its picture, and Add Folder with its subfolder question and the new tab.

E2E_SCENARIOS+=(
    browser_filter_copy_and_add_folder
)

BROWSER="Image Browser"

# The browser's caption, which names the selected file.
browser_caption() {
    drv windows | awk -F'|' '$2 ~ /Image Browser$/ { print $2; exit }'
}

# The file named by the caption once a selection has changed it.
selected_name() {
    local caption try
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        caption=$(browser_caption)
        [ "$caption" != "$BROWSER" ] && break
        sleep 0.2
    done
    echo "${caption% - Image Browser}"
}

# The number of the browser's tabs.
tab_count() {
    drv tab-names "$(browser_caption)" 1082 | grep -c . || true
}

test_tab_count_above() {
    [ "$(tab_count)" -gt "$1" ]
}

# Screen point of the middle of the first thumbnail cell of the shown tab.
first_cell() {
    local x y w h
    read -r x y w h <<<"$(drv item-rect "$(browser_caption)" 1081)"
    echo "$((x + 36)) $((y + 29))"
}

browser_filter_copy_and_add_folder() {
    local dir="$E2E_ROOT/browser" more='C:\more images' cell name
    rm -rf "$dir" "$WINEPREFIX/drive_c/more images"
    mkdir -p "$dir/filters/fades" "$dir/filters/bands" "$WINEPREFIX/drive_c/more images/deep"
    make_bmp "$dir/filters/fades/fade.bmp" -size 96x64 gradient:white-black -rotate 90
    make_bmp "$dir/filters/bands/bands.bmp" -size 80x60 gradient:red-blue
    make_bmp "$WINEPREFIX/drive_c/more images/deep/extra.bmp" -size 50x40 gradient:green-white
    cp "$E2E_PICTURES/ramps.bmp" "$dir/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$dir/work.bmp"
    put_setting Directories Filter REG_SZ "$(winpath "$dir/filters")\\"
    # Beside the main window and the other tool windows, where nothing covers it.
    put_setting Windows main.w REG_DWORD 600
    put_setting Windows main.h REG_DWORD 500
    put_setting Windows imgbr.x REG_DWORD 640
    put_setting Windows imgbr.y REG_DWORD 50
    put_setting Windows imgbr.w REG_DWORD 420
    put_setting Windows imgbr.h REG_DWORD 470
    start_lumetra
    open_picture "$(winpath "$dir/work.bmp")"
    show_tool_window "$BROWSER" 504

    # A click selects the first thumbnail of the shown tab and names it in the caption; a double
    # click filters the picture with it at 100 %.
    cell=$(first_cell)
    # shellcheck disable=SC2086
    xdotool mousemove $cell click 1
    name=$(selected_name)
    expect_true "the caption names a picture of the shown tab: $name" \
        test "$name" = fade.bmp -o "$name" = bands.bmp
    # shellcheck disable=SC2086
    xdotool mousemove $cell click --repeat 2 --delay 60 1
    focus_main
    press_and_wait_file "$dir/work.bmp" s
    "$LUMETRA_EDIT" "$dir/original.bmp" "$dir/expected.bmp" filter \
        "$(find "$dir/filters" -name "$name")" >/dev/null
    expect_true "the double click filtered as lumetra-edit filter $name" \
        same_pixels "$dir/work.bmp" "$dir/expected.bmp"

    # With Shift: a working copy whose path ends in "_copy.bmp"; Save Image writes it there and
    # leaves the browser's picture alone.
    cp "$(find "$dir/filters" -name "$name")" "$dir/before.bmp"
    xdotool keydown shift
    # shellcheck disable=SC2086
    xdotool mousemove $cell click --repeat 2 --delay 60 1
    xdotool keyup shift
    drv wait-title "$name""_copy.bmp - Lumetra"
    local copy
    copy="$(dirname "$(find "$dir/filters" -name "$name")")/${name}_copy.bmp"
    focus_main
    press_and_wait_file "$copy" s
    expect_true "Save Image wrote the working copy" same_pixels "$copy" "$dir/before.bmp"
    expect_true "the browser's picture is unchanged" \
        cmp -s "$(find "$dir/filters" -name "$name")" "$dir/before.bmp"

    # With the browser active, Ctrl+C and Ctrl+X put its picture on the clipboard, where another
    # program reads it, and leave the picture on the canvas (saved again above) alone.
    local key
    for key in ctrl+c ctrl+x; do
        drv clipboard-put-32 "$(winpath "$E2E_PICTURES/black.bmp")"
        activate_tool_window "$(browser_caption)"
        xdotool key "$key"
        expect_soon clipboard_size "$(identify -format '%wx%h' "$dir/before.bmp")" \
            "the browser's picture on the clipboard after $key"
        expect_true "$key put the browser's file on the clipboard" \
            same_pixels "$E2E_ROOT/clipboard.bmp" "$dir/before.bmp"
    done
    focus_main
    press_and_wait_file "$copy" s
    expect_true "the picture was left alone" same_pixels "$copy" "$dir/before.bmp"

    # Add Folder: Yes to the subfolder question makes a tab of the subfolder, which is shown.
    local tabs
    tabs=$(tab_count)
    click_item "$(browser_caption)" 5
    drv browse-to "Select Additional Image Folder" "$more" "$more"
    click_item "Select Additional Image Folder" 1
    expect_eq "$(drv wait-message-box)" \
        "Image Browser|Do you want to load subfolders of 
$more?" "the subfolder question"
    xdotool key Return
    wait_until "a tab more than the $tabs before" test_tab_count_above "$tabs"
    cell=$(first_cell)
    # shellcheck disable=SC2086
    xdotool mousemove $cell click 1
    expect_soon browser_caption "extra.bmp - Image Browser" "the new tab's picture selected"
    close_lumetra
}
