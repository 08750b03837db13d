# Editing in the real program: each key, tool window button and drag reaches its operation on the
# picture under the pointer at any zoom. Every step is saved with Save Image and compared with what
# the batch editor (the same core) makes of the picture saved before it; the numbers themselves
# are the unit tests'. Tool window patches are kept across a restart.

E2E_SCENARIOS+=(
    edits_agree_with_the_batch_editor
    echord_patch_kept_across_restart
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

# One click of the brush on window point (X, Y) of the picture, seen through Save Image; the box
# (WxH+X+Y) of the pixels it changed goes to DAB_BOX: dab X Y
dab() {
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point "$1" "$2") click 1
    press_and_wait_file "$EDIT_DIR/work.bmp" s
    DAB_BOX=$(convert "$EDIT_DIR/before.bmp" "$EDIT_DIR/work.bmp" -compose difference \
        -composite -threshold 0 -format '%@' info: 2>/dev/null)
}

# A left-button drag between window points of the picture with MODIFIERS held:
# tool_drag MODIFIERS X0 Y0 X1 Y1
tool_drag() {
    xdotool keydown "$1"
    # shellcheck disable=SC2046
    drag 1 $(picture_point "$2" "$3") $(picture_point "$4" "$5")
    xdotool keyup "$1"
}

edits_agree_with_the_batch_editor() {
    rm -rf "$EDIT_DIR"
    mkdir -p "$EDIT_DIR"
    # A pure blue corner for Clear Excess Blue.
    make_bmp "$EDIT_DIR/work.bmp" "$E2E_PICTURES/ramps.bmp" -fill '#0000ff' -draw 'rectangle 0,0 15,10'
    cp "$EDIT_DIR/work.bmp" "$EDIT_DIR/before.bmp"
    start_lumetra
    open_picture "$EDIT_DIR/work.bmp"

    # The brush (the tool at start) paints the picture pixel under the pointer: picture pixel
    # (30, 20) at 1:1 and at 4 times, where it is the window block (120, 80) to (123, 83).
    local at1
    dab 30 20
    at1=$DAB_BOX
    expect_true "the dab at 1:1 changed pixels (box \"$at1\")" test -n "$at1"
    press_and_wait_file "$EDIT_DIR/work.bmp" ctrl+z s
    expect_true "Undo took the dab back" same_pixels "$EDIT_DIR/work.bmp" "$EDIT_DIR/before.bmp"
    zoom_at_origin up "Zoom 2x"
    zoom_at_origin up "Zoom 4x"
    dab 122 81
    expect_eq "$DAB_BOX" "$at1" "the pixels a dab at 4x changes"
    cp "$EDIT_DIR/work.bmp" "$EDIT_DIR/before.bmp"
    # At 1/2 a Shift drag moves by twice the pointer's way: 10 and 8 window pixels.
    zoom_at_origin down "Zoom 2x"
    zoom_at_origin down "Zoom 1:1"
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
        # shellcheck disable=SC2086
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

# The Echord Tool's readout, its lines sorted (the slider moved last may head them) and joined by
# "|", tabs shown as "_".
echord_readout() { drv dialog-text "$ECHORD" 1134 | tr '\t' _ | LC_ALL=C sort | paste -sd'|'; }

# Patch A2 changed with the Num slider by keyboard and stored in slot B3 with Shift is recalled
# from B3 after a restart.
echord_patch_kept_across_restart() {
    start_lumetra
    show_tool_window "$ECHORD" 503
    click_item "$ECHORD" 1232
    # The click that gives the slider the focus pages it somewhere: Home, then three steps.
    click_item "$ECHORD" 2301
    xdotool key Home Right Right Right
    expect_soon echord_readout " Fade:_10%| Hop:_5| Num:_3" "readout after moving Num"
    click_item "$ECHORD" 1222
    xdotool keydown shift
    click_item "$ECHORD" 1233
    xdotool keyup shift
    exit_lumetra

    start_lumetra
    show_tool_window "$ECHORD" 503
    click_item "$ECHORD" 1222
    click_item "$ECHORD" 1233
    expect_soon echord_readout " Fade:_10%| Hop:_5| Num:_3" "slot B3 recalled after a restart"
    close_lumetra
}
