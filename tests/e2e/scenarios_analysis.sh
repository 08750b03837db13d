# Analyze Soundfile in the real program: A opens a WAV that the batch renderer wrote, the grid
# dialog takes the numbers typed into it, the picture saved with Save Image equals what
# lumetra-analyze makes of the same sound on the same grid, a file that is no soundfile is refused
# with a box, and F5 then renders the analysed picture to the analysed sound's length.

E2E_SCENARIOS+=(
    analyze_soundfile_agrees_with_the_batch_analyser
)

analyze_soundfile_agrees_with_the_batch_analyser() {
    local dir=$E2E_ROOT/analysis sound=$E2E_SOUNDS/tone.wav field
    rm -rf "$dir"
    mkdir -p "$dir"
    "$LUMETRA_RENDER" "$E2E_PICTURES/tone.bmp" "$sound" >/dev/null
    # The Windows build of the batch analyser: the program's arithmetic to the last bit.
    wine "$LUMETRA_ANALYZE_EXE" --low 100 --high 4000 --rows 64 --pps 50 "$(winpath "$sound")" \
        "$(winpath "$dir/expected.bmp")" >/dev/null

    start_lumetra
    file_dialog a "Analyze a soundfile" "$(winpath "$sound")"
    drv wait-dialog "Analyze Soundfile"
    for field in 3310:100 3311:4000 3312:64 3313:50; do
        type_into_field "Analyze Soundfile" "${field%%:*}" "${field#*:}"
    done
    xdotool key Return
    drv wait-no-dialog "Analyze Soundfile" wait-title "tone.wav - Lumetra"
    # The analysed picture has no file yet: Save Image asks where it goes.
    file_dialog s "Save Bitmap" "$(winpath "$dir/saved.bmp")"
    drv wait-title "saved.bmp - Lumetra"
    expect_true "the saved picture has lumetra-analyze's pixels" \
        same_pixels "$dir/saved.bmp" "$dir/expected.bmp"
    expect_eq "$(tr -d '\r' <"$dir/saved.info")" "$(tr -d '\r' <"$dir/expected.info")" \
        "the .info file of the saved picture"

    # A picture taken for a sound: a box says so, and the analysed picture stays.
    file_dialog a "Analyze a soundfile" "$(winpath "$E2E_PICTURES/tone.bmp")"
    expect_eq "$(drv wait-message-box | cut -d'|' -f1)" "Analyze Soundfile" "the refusal's box"
    xdotool key Return
    drv wait-no-dialog "Analyze Soundfile"
    expect_eq "$(drv title)" "saved.bmp - Lumetra" "the title after the refused file"

    # 5.0045 s over 250 columns: 251 slices of trunc(22050 * 5.0045 / 251 + 0.5) = 440 frames.
    render F5
    expect_eq "$(($(u32 "$E2E_SOUNDS/Lumetra.wav" 44) / 4))" $((251 * 440)) \
        "stereo frames of the render of the analysed picture"
    close_lumetra
}
