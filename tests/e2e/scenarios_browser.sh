# The Image Browser over a filter tree: a double click that filters the picture (checked through
# Save Image against the batch editor), a Shift double click that opens a working copy, Ctrl+C
# and Ctrl+X of its picture, and Add Folder with its subfolder question and the new tab.

E2E_SCENARIOS+=(
    browser_filter_copy_and_add_folder
)

# The browser's caption, which names the selected file.
browser_caption() { drv windows | awk -F'|' '$2 ~ /Image Browser$/ { print $2; exit }'; }

# Succeeds once the caption names a file; SEEN holds the caption.
browser_selected() {
    SEEN=$(browser_caption)
    [ "$SEEN" != "Image Browser" ]
}

# Succeeds once the browser has more than N tabs: more_tabs_than N
more_tabs_than() {
    SEEN="$(drv tab-names "$(browser_caption)" 1082 | grep -c . || true) tabs"
    [ "${SEEN% tabs}" -gt "$1" ]
}

# Clicks the middle of the first thumbnail cell of the shown tab: click_first_cell CLICK_OPTIONS...
click_first_cell() {
    local x y w h
    read -r x y w h <<<"$(drv item-rect "$(browser_caption)" 1081)"
    xdotool mousemove $((x + 36)) $((y + 29)) click "$@" 1
}

browser_filter_copy_and_add_folder() {
    local dir="$E2E_ROOT/browser" more='C:\more images' name file copy key tabs
    rm -rf "$dir" "$WINEPREFIX/drive_c/more images"
    mkdir -p "$dir/filters/fades" "$dir/filters/bands" "$WINEPREFIX/drive_c/more images/deep"
    make_bmp "$dir/filters/fades/fade.bmp" -size 96x64 gradient:white-black -rotate 90
    make_bmp "$dir/filters/bands/bands.bmp" -size 80x60 gradient:red-blue
    make_bmp "$WINEPREFIX/drive_c/more images/deep/extra.bmp" -size 50x40 gradient:green-white
    cp "$E2E_PICTURES/ramps.bmp" "$dir/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$dir/work.bmp"
    put_setting Directories Filter REG_SZ "$(winpath "$dir/filters")\\"
    # Beside the main window and the other tool windows, where nothing covers it.
    put_places main.w:600 main.h:500 imgbr.x:640 imgbr.y:50 imgbr.w:420 imgbr.h:470
    start_lumetra
    open_picture "$dir/work.bmp"
    show_tool_window "Image Browser" 504

    # A click selects the first thumbnail of the shown tab and names it in the caption; a double
    # click filters the picture with it at 100 %.
    click_first_cell
    wait_until "the caption to name the selected picture" browser_selected
    name=${SEEN% - Image Browser}
    file=$(find "$dir/filters" -name "$name")
    expect_true "the caption names a picture of the shown tab: $name" test -n "$file"
    click_first_cell --repeat 2 --delay 60
    focus_main
    press_and_wait_file "$dir/work.bmp" s
    "$LUMETRA_EDIT" "$dir/original.bmp" "$dir/expected.bmp" filter "$file" >/dev/null
    expect_true "the double click filtered as lumetra-edit filter $name" \
        same_pixels "$dir/work.bmp" "$dir/expected.bmp"

    # With Shift: a working copy whose path ends in "_copy.bmp"; Save Image writes it there and
    # leaves the browser's picture alone.
    cp "$file" "$dir/before.bmp"
    xdotool keydown shift
    click_first_cell --repeat 2 --delay 60
    xdotool keyup shift
    drv wait-title "${name}_copy.bmp - Lumetra"
    copy="${file%/*}/${name}_copy.bmp"
    focus_main
    press_and_wait_file "$copy" s
    expect_true "Save Image wrote the working copy" same_pixels "$copy" "$dir/before.bmp"
    expect_true "the browser's picture is unchanged" cmp -s "$file" "$dir/before.bmp"

    # With the browser active, Ctrl+C and Ctrl+X put its picture on the clipboard, where another
    # program reads it, and leave the picture on the canvas alone.
    for key in ctrl+c ctrl+x; do
        clipboard_put "$E2E_PICTURES/black.bmp"
        activate_tool_window "$(browser_caption)"
        xdotool key "$key"
        expect_soon clipboard_size "$(identify -format '%wx%h' "$file")" \
            "the browser's picture on the clipboard after $key"
        expect_true "$key put the browser's file on the clipboard" \
            same_pixels "$E2E_ROOT/clipboard.png" "$file"
    done
    focus_main
    press_and_wait_file "$copy" s
    expect_true "the picture was left alone" same_pixels "$copy" "$dir/before.bmp"

    # Add Folder: Yes to the subfolder question makes a tab of the subfolder, which is shown.
    tabs=$(drv tab-names "$(browser_caption)" 1082 | grep -c .)
    click_item "$(browser_caption)" 5
    drv browse-to "Select Additional Image Folder" "$more" "$more"
    click_item "Select Additional Image Folder" 1
    expect_eq "$(drv wait-message-box)" \
        "Image Browser|Do you want to load subfolders of 
$more?" "the subfolder question"
    xdotool key Return
    wait_until "a tab more than the $tabs before" more_tabs_than "$tabs"
    click_first_cell
    expect_soon browser_caption "extra.bmp - Image Browser" "the new tab's picture selected"
    close_lumetra
}
