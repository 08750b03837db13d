# The Brush Tools window: a patch with the colour boiler widens the window and fills the boiler
# readout, a slider moved by keyboard changes it, and a stored patch is kept across a restart.

E2E_SCENARIOS+=(
    brush_boiler_readout_and_patches
    brush_mixes_and_boiler_agree_with_the_batch_editor
)

BRUSH="Brush Tools"

show_brush() {
    show_tool_window "$BRUSH" 502
}

# The boiler readout's two lines joined by "|".
brush_readout() {
    dialog_lines "$BRUSH" 1084
}

brush_width() {
    window_rect "$BRUSH" | awk '{ print $3 }'
}

brush_boiler_readout_and_patches() {
    start_lumetra
    show_brush
    expect_soon brush_readout " Heat:   0     Blr:   0%| Cycle:  0     Sh:   0%" \
        "boiler readout at start"
    local narrow
    narrow=$(brush_width)

    # B6 boils with a shift beyond its slider's range.
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1236
    expect_soon brush_readout " Heat:   2     Blr:  30%| Cycle:  0     Sh:-200%" \
        "boiler readout of patch B6"
    expect_true "Boil widens the window" test "$(brush_width)" -gt "$narrow"

    # Heat to its low end by keyboard.
    click_item "$BRUSH" 1149
    xdotool key Home
    expect_soon brush_readout " Heat: -50     Blr:  30%| Cycle:  0     Sh:-200%" \
        "boiler readout after moving Heat"
    shot brush_tools
    shift_click_item "$BRUSH" 1238
    exit_lumetra

    start_lumetra
    show_brush
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1231
    expect_soon brush_width "$narrow" "width when a mix other than Boil narrows the window"
    click_item "$BRUSH" 1238
    expect_soon brush_readout " Heat: -50     Blr:  30%| Cycle:  0     Sh:-200%" \
        "slot B8 recalled after a restart"
    close_lumetra
}

# Apply Brush to Image (F12) with each mix chosen in the window, and Apply Color Boiler (C) with
# patch B6, each saved with Save Image and compared with lumetra-edit, then taken back.
brush_mixes_and_boiler_agree_with_the_batch_editor() {
    local dir="$E2E_ROOT/brush" mix radio
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$E2E_PICTURES/ramps.bmp" "$dir/original.bmp"
    cp "$E2E_PICTURES/ramps.bmp" "$dir/work.bmp"
    start_lumetra
    open_picture "$(winpath "$dir/work.bmp")"
    show_brush
    while read -r mix radio; do
        click_item "$BRUSH" "$radio"
        focus_main
        # Apply Brush presses less than a second apart share one undo snapshot; each one here is
        # undone on its own.
        outlast_undo_merge
        press_and_wait_file "$dir/work.bmp" F12 s
        "$LUMETRA_EDIT" "$dir/original.bmp" "$dir/expected.bmp" brush --mix "$mix" >/dev/null
        expect_true "Apply Brush with $mix equals lumetra-edit" same_pixels "$dir/work.bmp" \
            "$dir/expected.bmp"
        xdotool key ctrl+z
    done <<'MIXES'
cover 1711
add 1712
filter 1713
boil 1714
MIXES
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1236
    focus_main
    press_and_wait_file "$dir/work.bmp" c s
    "$LUMETRA_EDIT" "$dir/original.bmp" "$dir/expected.bmp" boil 2,30,0,-100 \
        --colours 0xFFFFFF,0xFFFFFF --shape round --fade right >/dev/null
    expect_true "Apply Color Boiler with B6 equals lumetra-edit" same_pixels "$dir/work.bmp" \
        "$dir/expected.bmp"
    close_lumetra
}
