# The Brush Tools window: a patch with the colour boiler widens the window and fills the boiler
# readout, a slider moved by keyboard changes it, and a stored patch is kept across a restart.

E2E_SCENARIOS+=(
    brush_boiler_readout_and_patches
)

BRUSH="Brush Tools"

# The Brush Tools window, shown with its menu command unless it is open already.
show_brush() {
    drv windows | grep -q "|$BRUSH|" || drv command 502
    drv wait-dialog "$BRUSH"
}

# The boiler readout's two lines joined by "|".
brush_readout() {
    local text
    text=$(drv dialog-text "$BRUSH" 1084)
    printf '%s' "$text" | tr '\n' '|'
}

brush_width() {
    window_rect "$BRUSH" | awk '{ print $3 }'
}

brush_boiler_readout_and_patches() {
    start_lumetra
    show_brush
    expect_eq "$(brush_readout)" " Heat:   0     Blr:   0%| Cycle:  0     Sh:   0%" \
        "boiler readout at start"
    local narrow
    narrow=$(brush_width)

    # B6 boils with a shift beyond its slider's range.
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1236
    sleep 0.3
    expect_eq "$(brush_readout)" " Heat:   2     Blr:  30%| Cycle:  0     Sh:-200%" \
        "boiler readout of patch B6"
    expect_true "Boil widens the window" test "$(brush_width)" -gt "$narrow"

    # Heat to its low end by keyboard.
    click_item "$BRUSH" 1149
    xdotool key Home
    sleep 0.3
    expect_eq "$(brush_readout)" " Heat: -50     Blr:  30%| Cycle:  0     Sh:-200%" \
        "boiler readout after moving Heat"
    shot brush_tools
    shift_click_item "$BRUSH" 1238
    exit_lumetra

    start_lumetra
    show_brush
    click_item "$BRUSH" 1222
    click_item "$BRUSH" 1231
    sleep 0.3
    expect_true "a mix other than Boil narrows the window" test "$(brush_width)" -eq "$narrow"
    click_item "$BRUSH" 1238
    sleep 0.3
    expect_eq "$(brush_readout)" " Heat: -50     Blr:  30%| Cycle:  0     Sh:-200%" \
        "slot B8 recalled after a restart"
    close_lumetra
}
