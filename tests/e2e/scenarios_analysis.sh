# Analyze Soundfile in the real program: A opens a WAV that the batch renderer wrote, the grid
# dialog takes the numbers typed into it, the picture saved with Save Image equals what
# lumetra-analyze makes of the same sound on the same grid, a file that is no soundfile is refused
# with a box, and F5 then renders the analysed picture to the analysed sound's length.

E2E_SCENARIOS+=(
    analyze_soundfile_agrees_with_the_batch_analyser
)

ANALYSIS_DIR=$E2E_ROOT/analysis

# The data bytes of a WAV file with the program's 48-byte header, as frames of 16-bit stereo.
stereo_frames() {
    echo $(($(u32 "$1" 44) / 4))
}

analyze_soundfile_agrees_with_the_batch_analyser() {
    rm -rf "$ANALYSIS_DIR"
    mkdir -p "$ANALYSIS_DIR"
    local sound=$E2E_SOUNDS/tone.wav expected=$ANALYSIS_DIR/expected.bmp
    local saved=$ANALYSIS_DIR/saved.bmp
    # 200 columns for 5 s: 201 slices of 549 frames at 22050 Hz.
    "$LUMETRA_RENDER" "$E2E_PICTURES/tone.bmp" "$sound" >/dev/null
    # The Windows build of the batch analyser: the program's arithmetic to the last bit.
    wine "$LUMETRA_ANALYZE_EXE" --low 100 --high 4000 --rows 64 --pps 50 "$(winpath "$sound")" \
        "$(winpath "$expected")" >/dev/null

    start_lumetra
    file_dialog a "Analyze a soundfile" "$(winpath "$sound")"
    drv wait-dialog "Analyze Soundfile"
    type_into_field "Analyze Soundfile" 3310 100
    type_into_field "Analyze Soundfile" 3311 4000
    type_into_field "Analyze Soundfile" 3312 64
    type_into_field "Analyze Soundfile" 3313 50
    xdotool key Return
    drv wait-no-dialog "Analyze Soundfile"
    drv wait-title "tone.wav - Lumetra"
    expect_eq "$(drv wait-status-prefix 0 "Analysed")" "Analysed tone.wav" "status after the analysis"

    # The analysed picture has no file yet: Save Image asks where it goes.
    file_dialog s "Save Bitmap" "$(winpath "$saved")"
    drv wait-title "saved.bmp - Lumetra"
    expect_true "the saved picture has lumetra-analyze's pixels" same_pixels "$saved" "$expected"
    expect_eq "$(tr -d '\r' <"$ANALYSIS_DIR/saved.info")" \
        "$(tr -d '\r' <"$ANALYSIS_DIR/expected.info")" "the .info file of the saved picture"

    # A picture taken for a sound: a box says so, and the analysed picture stays.
    file_dialog a "Analyze a soundfile" "$(winpath "$E2E_PICTURES/tone.bmp")"
    local box
    box=$(drv wait-message-box)
    expect_eq "${box%%|*}" "Analyze Soundfile" "caption of the box for a file that is no soundfile"
    expect_true "the box says why: $box" grep -qF "tone.bmp: Not a RIFF/WAVE soundfile" <<<"$box"
    xdotool key Return
    drv wait-no-dialog "Analyze Soundfile"
    expect_eq "$(drv title)" "saved.bmp - Lumetra" "the title after the refused file"

    # 5.0045 s over 250 columns: 251 slices of trunc(22050 * 5.0045 / 251 + 0.5) = 440 frames.
    render F5
    expect_eq "$(stereo_frames "$E2E_SOUNDS/Lumetra.wav")" $((251 * 440)) \
        "frames of the render (the analysed sound has $(stereo_frames "$sound"))"
    close_lumetra
}
