# The Echord Tool window: a recalled patch applied to the picture (checked through Save Image
# against the batch editor), the readout after slider moves, and a stored patch kept across a
# restart.

E2E_SCENARIOS+=(
    echord_apply_readout_and_patches
)

ECHORD="Echord Tool"

show_echord() {
    show_tool_window "$ECHORD" 503
}

# The readout's three lines joined by "|", tabs shown as "_".
echord_readout() {
    dialog_lines "$ECHORD" 1134
}

echord_apply_readout_and_patches() {
    local out="$E2E_ROOT/echord"
    rm -rf "$out"
    mkdir -p "$out"
    cp "$E2E_PICTURES/tone.bmp" "$out/tone.bmp"
    start_lumetra
    open_picture "$(winpath "$out/tone.bmp")"
    show_echord
    expect_soon echord_readout " Hop:_13| Num:_4| Fade:_16%" "readout of patch A1 at start"

    # Patch A2 (two copies, alternating swap) applied, and the picture saved over its file.
    click_item "$ECHORD" 1232
    expect_soon echord_readout " Hop:_5| Num:_2| Fade:_10%" "readout after recalling A2"
    click_item "$ECHORD" 1037
    focus_main
    press_and_wait_file "$out/tone.bmp" s
    "$LUMETRA_EDIT" "$E2E_PICTURES/tone.bmp" "$out/expected.bmp" echord --patch A2 >/dev/null
    expect_true "the applied patch equals the batch editor's" same_pixels "$out/tone.bmp" \
        "$out/expected.bmp"
    press_and_wait_file "$out/tone.bmp" ctrl+z s
    expect_true "Undo brings the picture back" same_pixels "$out/tone.bmp" "$E2E_PICTURES/tone.bmp"

    # The Num slider by keyboard (the click that gives it the focus pages it somewhere): Home,
    # then three steps. Num goes to the top of the readout.
    click_item "$ECHORD" 2301
    xdotool key Home Right Right Right
    expect_soon echord_readout " Num:_3| Hop:_5| Fade:_10%" "readout after moving Num"
    shot echord_tool
    # Stored in slot B3 with Shift; Shift on "00" stores nothing.
    click_item "$ECHORD" 1222
    shift_click_item "$ECHORD" 1233
    shift_click_item "$ECHORD" 1240
    exit_lumetra

    start_lumetra
    show_echord
    click_item "$ECHORD" 1222
    click_item "$ECHORD" 1233
    expect_soon echord_readout " Hop:_5| Num:_3| Fade:_10%" "slot B3 recalled after a restart"
    click_item "$ECHORD" 1240
    expect_soon echord_readout " Hop:_0| Num:_0| Fade:_0%" "slot B00 kept its empty record"
    close_lumetra
}
