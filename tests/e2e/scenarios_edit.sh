# Editing in the real program: each key, tool window button and drag reaches its operation, seen
# through Save Image against the batch editor (the same core).

E2E_SCENARIOS+=(
    edits_agree_with_the_batch_editor
    browser_filter_and_copy
)

EDIT_DIR=$E2E_ROOT/edit
BRUSH="Brush Tools"
ECHORD="Echord Tool"

# Saves the picture over its file (S) and compares it with lumetra-edit OPERATION applied to the
# picture saved before, which it must change (else a key that did nothing would pass):
# saved_as_edit WHAT OPERATION...
saved_as_edit() {
    local what=$1 w=$EDIT_DIR/work.bmp b=$EDIT_DIR/before.bmp e=$EDIT_DIR/expected.bmp
    shift
    press_and_wait_file "$w" s
    "$LUMETRA_EDIT" "$b" "$e" "$@" >/dev/null
    expect_true "$what equals lumetra-edit $*, which changes the picture" \
        eval 'same_pixels "$w" "$e" && ! same_pixels "$b" "$e"'
    cp "$w" "$b"
}

# A left-button drag between window points of the picture with MODIFIERS held:
# tool_drag MODIFIERS X0 Y0 X1 Y1
tool_drag() {
    xdotool keydown "$1"
    drag 1 $(picture_point "$2" "$3") $(picture_point "$4" "$5")
    xdotool keyup "$1"
}

edits_agree_with_the_batch_editor() {
    fresh_dir "$EDIT_DIR"
    # A pure blue corner for Clear Excess Blue.
    make_bmp "$EDIT_DIR/work.bmp" "$E2E_PICTURES/ramps.bmp" -fill '#0000ff' -draw 'rectangle 0,0 15,10'
    cp "$EDIT_DIR/work.bmp" "$EDIT_DIR/before.bmp"
    start_lumetra
    open_picture "$EDIT_DIR/work.bmp"

    # At 1/2 a Shift drag moves by twice the pointer's way: 10 and 8 window pixels.
    zoom_at_origin down "Zoom 1/2"
    tool_drag shift 15 10 25 18
    saved_as_edit "a Shift drag at 1/2" move 20,16
    zoom_at_origin up "Zoom 1:1"

    # Keys in an order in which each one changes the picture; Shift+O and Shift+F overlay a
    # picture from the Open dialog with OR.
    local keys operation screen mix radio
    while read -r keys operation; do
        case $keys in
            shift+[of]) file_dialog "$keys" "Open a bitmap file" "$(winpath "${operation#* }")" ;;
            *) xdotool key "$keys" ;;
        esac
        # Alt accelerators leave the menu bar active under Wine.
        [[ $keys == alt+* ]] && xdotool key Escape
        saved_as_edit "key $keys" $operation
    done <<KEYS
ctrl+b clear-excess-blue
shift+o or-overlay $E2E_PICTURES/tone.bmp
shift+f or-overlay $E2E_PICTURES/bright.bmp
i invert
b brighten
shift+b darken
n normalize
k contrast
ctrl+Right mirror
ctrl+Up flip
alt+2 double-h
alt+shift+2 half-h
ctrl+2 double-v
ctrl+shift+2 half-v
KEYS

    # Ctrl drags zoom and turn, Ctrl+Shift drags shear; the screen (Xvfb's) sets their units.
    screen=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { sub("x", ",", $2); print $2 }')
    tool_drag ctrl 60 30 70 20
    saved_as_edit "a Ctrl drag" zoom-rotate 60,30 70,20 --screen "${screen:-1280,1024}"
    tool_drag ctrl+shift 40 30 55 38
    saved_as_edit "a Ctrl+Shift drag" skew-flip 40,30 55,38 --screen "${screen:-1280,1024}"

    # Apply Brush (F12) with each mix chosen in the Brush Tools window, Apply Color Boiler (C)
    # with its patch B6, and the Echord Tool's Apply with its patch A2.
    show_tool_window "$BRUSH" 502
    while read -r mix radio; do
        click_item "$BRUSH" "$radio"
        focus_main
        xdotool key F12
        saved_as_edit "Apply Brush with $mix" brush --mix "$mix"
    done <<'MIXES'
cover 1711
add 1712
filter 1713
boil 1714
MIXES
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1236
    focus_main
    xdotool key c
    saved_as_edit "Apply Color Boiler with B6" boil 2,30,0,-100 --colours 0xFFFFFF,0xFFFFFF \
        --shape round --fade right
    show_tool_window "$ECHORD" 503
    click_item "$ECHORD" 1232
    click_item "$ECHORD" 1037
    focus_main
    saved_as_edit "the Echord Tool's Apply with A2" echord --patch A2
    close_lumetra
}

# The Image Browser over a filter tree: a double click filters the picture, a Shift double click
# opens a working copy, Ctrl+C and Ctrl+X copy its picture.
# The browser's caption, which names the selected file.
browser_caption() { drv windows | awk -F'|' '$2 ~ /Image Browser$/ { print $2; exit }'; }

# Succeeds once the caption names a file; SEEN holds the caption.
browser_selected() {
    SEEN=$(browser_caption)
    [ "$SEEN" != "Image Browser" ]
}

# Clicks the middle of the first thumbnail cell of the shown tab: click_first_cell CLICK_OPTIONS...
click_first_cell() {
    local x y w h
    read -r x y w h <<<"$(drv item-rect "$(browser_caption)" 1081)"
    xdotool mousemove $((x + 36)) $((y + 29)) click "$@" 1
}

browser_filter_and_copy() {
    local dir="$E2E_ROOT/browser" name file copy key
    fresh_dir "$dir/filters/fades" "$dir/filters/bands"
    make_bmp "$dir/filters/fades/fade.bmp" -size 96x64 gradient:white-black -rotate 90
    make_bmp "$dir/filters/bands/bands.bmp" -size 80x60 gradient:red-blue
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
    close_lumetra
}
