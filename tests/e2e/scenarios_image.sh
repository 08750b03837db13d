# The Colors and Image commands, the overlays from a file and the three drag tools in the real
# program, each checked through Save Image against the batch editor, which runs the same core, and
# each taken back with Undo.

E2E_SCENARIOS+=(
    image_operations_agree_with_the_batch_editor
)

IMAGE_DIR=$E2E_ROOT/image

# Saves the picture over its file (S) and compares it with what lumetra-edit makes of the
# original with OPERATION, then takes the step back: saved_as_edit WHAT OPERATION...
saved_as_edit() {
    local what=$1
    shift
    press_and_wait_file "$IMAGE_DIR/work.bmp" s
    "$LUMETRA_EDIT" "$IMAGE_DIR/original.bmp" "$IMAGE_DIR/expected.bmp" "$@" >/dev/null
    expect_true "$what equals lumetra-edit $*" same_pixels "$IMAGE_DIR/work.bmp" \
        "$IMAGE_DIR/expected.bmp"
    xdotool key ctrl+z
}

pixels_differ() {
    ! same_pixels "$1" "$2"
}

# A left-button drag on the canvas with MODIFIERS held, between picture points:
# tool_drag MODIFIERS X0 Y0 X1 Y1
tool_drag() {
    local from to
    from=$(picture_point "$2" "$3")
    to=$(picture_point "$4" "$5")
    xdotool keydown "$1"
    # shellcheck disable=SC2086
    drag 1 $from $to
    xdotool keyup "$1"
}

image_operations_agree_with_the_batch_editor() {
    rm -rf "$IMAGE_DIR"
    mkdir -p "$IMAGE_DIR"
    cp "$E2E_PICTURES/ramps.bmp" "$IMAGE_DIR/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$IMAGE_DIR/work.bmp"
    start_lumetra
    open_picture "$(winpath "$IMAGE_DIR/work.bmp")"

    local keys operation
    while read -r keys operation; do
        xdotool key "$keys"
        # Alt accelerators leave the menu bar active under Wine.
        [[ $keys == alt+* ]] && xdotool key Escape
        # shellcheck disable=SC2086
        saved_as_edit "key $keys" $operation
    done <<'KEYS'
i invert
n normalize
b brighten
shift+b darken
k contrast
ctrl+b clear-excess-blue
ctrl+Right mirror
ctrl+Up flip
alt+2 double-h
alt+shift+2 half-h
ctrl+2 double-v
ctrl+shift+2 half-v
Delete delete
KEYS

    # Shift+O and Shift+F: a picture from the Open dialog, overlaid with OR.
    local tone
    tone=$(winpath "$E2E_PICTURES/tone.bmp")
    file_dialog shift+o "Open a bitmap file" "$tone"
    saved_as_edit "Shift+O" or-overlay "$E2E_PICTURES/tone.bmp"
    file_dialog shift+f "Open a bitmap file" "$tone"
    saved_as_edit "Shift+F" or-overlay "$E2E_PICTURES/tone.bmp"

    # Shift drags move, Ctrl drags zoom and turn, Ctrl+Shift drags shear; the screen (Xvfb's)
    # sets the units of the deformations.
    local screen
    screen=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { sub("x", ",", $2); print $2 }')
    tool_drag shift 30 20 50 35
    saved_as_edit "a Shift drag" move 20,15
    tool_drag ctrl 60 30 70 20
    saved_as_edit "a Ctrl drag" zoom-rotate 60,30 70,20 --screen "${screen:-1280,1024}"
    tool_drag ctrl+shift 40 30 55 38
    saved_as_edit "a Ctrl+Shift drag" skew-flip 40,30 55,38 --screen "${screen:-1280,1024}"

    # A plain left drag is a brush stroke (patch A1 at start: red fading into green).
    local from to
    from=$(picture_point 10 10)
    to=$(picture_point 100 45)
    # shellcheck disable=SC2086
    drag 1 $from $to
    press_and_wait_file "$IMAGE_DIR/work.bmp" s
    expect_true "a brush stroke paints" pixels_differ "$IMAGE_DIR/work.bmp" "$IMAGE_DIR/original.bmp"
    press_and_wait_file "$IMAGE_DIR/work.bmp" ctrl+z s
    expect_true "Undo took every step back" same_pixels "$IMAGE_DIR/work.bmp" \
        "$IMAGE_DIR/original.bmp"
    close_lumetra
}
