# The zoomed canvas: the tools work on the picture pixel under the pointer at any zoom (a brush
# dab at 4 times lands where it lands at 1:1; a Move drag at 1/2 moves by twice the pointer's
# way, as lumetra-edit move does), and the guide's picture of the zoomed canvas with its rulers.

E2E_SCENARIOS+=(
    brush_dab_at_4x_lands_on_the_same_pixel_as_at_1x
    move_drag_at_half_zoom_equals_the_batch_move
    guide_zoomed_canvas
)

CANVAS_DIR=$E2E_ROOT/canvas

# Ctrl + wheel with the pointer on the picture's top left corner, which keeps the view
# unscrolled; waits for the zoom's report: zoom_at_origin up|down REPORT
zoom_at_origin() {
    local button=4
    [ "$1" = down ] && button=5
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 0 0)
    xdotool keydown ctrl click "$button" keyup ctrl
    expect_soon "status_zero" "$2" "the zoom after Ctrl+wheel $1"
}

status_zero() {
    drv status 0
}

# Saves with S and waits until FILE has the pixels of EXPECTED: saved_like WHAT FILE EXPECTED
saved_like() {
    local try
    xdotool key s
    for try in $(seq 25); do
        same_pixels "$2" "$3" && break
        sleep 0.2
    done
    expect_true "$1" same_pixels "$2" "$3"
}

# The box (WxH+X+Y) of the pixels in which two pictures differ: changed_box A B
changed_box() {
    convert "$1" "$2" -compose difference -composite -threshold 0 -format '%@' info: \
        2>/dev/null
}

# Saves with S and waits until FILE differs from ORIGINAL; prints the box of the change:
# saved_change FILE ORIGINAL
saved_change() {
    local try
    xdotool key s
    for try in $(seq 25); do
        same_pixels "$1" "$2" || break
        sleep 0.2
    done
    changed_box "$2" "$1"
}

brush_dab_at_4x_lands_on_the_same_pixel_as_at_1x() {
    rm -rf "$CANVAS_DIR"
    mkdir -p "$CANVAS_DIR"
    cp "$E2E_PICTURES/ramps.bmp" "$CANVAS_DIR/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$CANVAS_DIR/work.bmp"
    start_lumetra
    open_picture "$(winpath "$CANVAS_DIR/work.bmp")"
    # One click of the brush (the tool at start) on picture pixel (30, 20) at 1:1.
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 30 20) click 1
    local at1
    at1=$(saved_change "$CANVAS_DIR/work.bmp" "$CANVAS_DIR/original.bmp")
    expect_true "the dab at 1:1 changed pixels (box \"$at1\")" test -n "$at1"
    xdotool key ctrl+z
    saved_like "Undo took the dab back" "$CANVAS_DIR/work.bmp" "$CANVAS_DIR/original.bmp"

    zoom_at_origin up "Zoom 2x"
    zoom_at_origin up "Zoom 4x"
    # Picture pixel (30, 20) is the block of window pixels from (120, 80) to (123, 83).
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 122 81) click 1
    local at4
    at4=$(saved_change "$CANVAS_DIR/work.bmp" "$CANVAS_DIR/original.bmp")
    expect_eq "$at4" "$at1" "the pixels a dab at 4x changes"
    close_lumetra
}

move_drag_at_half_zoom_equals_the_batch_move() {
    rm -rf "$CANVAS_DIR"
    mkdir -p "$CANVAS_DIR"
    cp "$E2E_PICTURES/ramps.bmp" "$CANVAS_DIR/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$CANVAS_DIR/work.bmp"
    start_lumetra
    open_picture "$(winpath "$CANVAS_DIR/work.bmp")"
    zoom_at_origin down "Zoom 1/2"
    # 10 and 8 window pixels at 1/2 are 20 and 16 picture pixels.
    local from to
    from=$(picture_point 15 10)
    to=$(picture_point 25 18)
    xdotool keydown shift
    # shellcheck disable=SC2086
    drag 1 $from $to
    xdotool keyup shift
    "$LUMETRA_EDIT" "$CANVAS_DIR/original.bmp" "$CANVAS_DIR/expected.bmp" move 20,16 >/dev/null
    saved_like "a Shift drag at 1/2 equals lumetra-edit move 20,16" "$CANVAS_DIR/work.bmp" \
        "$CANVAS_DIR/expected.bmp"
    close_lumetra
}

# The guide's picture of the canvas at twice the size, with the rulers marking the pointer
# (scripts/make-guide.sh takes it from the artifacts like the other guide pictures).
guide_zoomed_canvas() {
    mkdir -p "$E2E_ARTIFACTS/guide"
    put_setting Windows main.w REG_DWORD 700
    put_setting Windows main.h REG_DWORD 460
    start_lumetra
    local tool caption command
    for tool in "Brush Tools|502" "Echord Tool|503" "Image Browser|504" "Render Options|310"; do
        IFS='|' read -r caption command <<<"$tool"
        hide_tool_window "$caption" "$command"
    done
    open_picture "$(winpath "$E2E_TESTS/../../docs/demo.bmp")"
    zoom_at_origin up "Zoom 2x"
    # The pointer on the lower rising line fills the readout and marks both rulers.
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 260 180)
    sleep 0.3
    guide_shot LumetraWin zoomed-canvas
    close_lumetra
}
