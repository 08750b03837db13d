# Sound: renders played through the captured wave-out device, the repeating play, a render stopped
# with Esc, the sound options dialog, and a machine without a wave-out device.

E2E_SCENARIOS+=(
    playback_repeats_until_space_and_gives_way_to_a_render
    sound_options_sample_rate
    no_wave_device_at_start
)

SOUND_OPTIONS="Soundcard/Realtime Options"
chosen_rate() { drv dialog-text "$SOUND_OPTIONS" 1038; }

play_repeating() {
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT"
}

# Capture n is the n-th opening of the device: 0 the play after the first render, 1 the first
# repeating play, 2 the second one, cut short by a render whose own play is 3, and 4 the repeating
# play of a render stopped with Esc, which the exit ends.
playback_repeats_until_space_and_gives_way_to_a_render() {
    local first=$E2E_SOUNDS/Lumetra00.wav second=$E2E_SOUNDS/Lumetra01.wav
    start_lumetra
    open_picture "$E2E_PICTURES/tone.bmp"
    xdotool key alt+o n # numbered sound files: each render keeps its own
    render F5
    "$LUMETRA_RENDER" "$E2E_PICTURES/tone.bmp" "$E2E_ROOT/reference.wav" >/dev/null
    expect_true "Lumetra00.wav equals the batch renderer's file" cmp "$first" "$E2E_ROOT/reference.wav"
    expect_true "the render's play is capture 0 and holds the sound" \
        capture equal "$first" "$HOME" 0 30
    wait_play_end

    # Space: the sound plays over and over.
    play_repeating
    expect_true "the repeating play went round twice" capture repeats "$first" "$HOME" 1 2 40
    # Space again: no more refills; the queued buffers play out and the device closes.
    xdotool key space
    wait_play_end
    expect_eq "$(capture count "$HOME")" 2 "no further opening of the device"

    # A render from the Sound menu while the sound repeats: the play is stopped first, then the
    # render plays its own sound once, from a new opening of the device.
    play_repeating
    capture repeats "$first" "$HOME" 2 1 40 >/dev/null
    render alt+s Return
    expect_true "the second render's sound was played once" capture equal "$second" "$HOME" 3 30
    wait_play_end

    # Esc held during a render stops it; 600 s of sound, typed into the Render Options window
    # (Tools menu), make it long enough. A stopped render plays nothing by itself.
    open_picture "$E2E_PICTURES/bright.bmp"
    xdotool key alt+t r
    drv wait-dialog "Render Options"
    type_into_field "Render Options" 1032 600
    focus_main
    xdotool key F5
    expect_eq "$(drv wait-status-prefix 0 "Generating")" \
        "Generating 599.99 secs (Hold down Esc to terminate)" "the render takes the typed time"
    xdotool keydown Escape
    log "status after Esc: $(drv --timeout 30000 wait-status-prefix 0 "Generated ")"
    xdotool keyup Escape
    # 300 columns for 600 s: 301 slices of 43953 stereo frames.
    local size full=$((48 + 2 * 301 * 2 * 43953))
    size=$(stat -c %s "$E2E_SOUNDS/Lumetra02.wav")
    expect_true "the stopped render wrote less than the whole sound ($size of $full bytes)" \
        test "$size" -lt "$full"
    expect_eq "$(capture count "$HOME")" 4 "no play after the stopped render"

    # Closing the program while the shortened sound repeats stops the device and ends normally.
    play_repeating
    capture repeats "$E2E_SOUNDS/Lumetra02.wav" "$HOME" 4 1 40 >/dev/null
    close_lumetra
    expect_eq "$(capture count "$HOME")" 5 "five openings of the device in all"
}

# The warning that the picture's top pitch lies above half the sample rate: a box (the first
# time in a while, left in SEEN) or the status text.
top_pitch_warned() {
    SEEN=$(drv --timeout 500 message-box 2>/dev/null || true)
    [ -n "$SEEN" ] || [[ "$(drv status 0)" == "Max out frq (8000) exceeds half"* ]]
}

# A lower sample rate and fewer buffers chosen in the sound options dialog: a warning about the
# picture's top pitch, the next render's WAV at that rate, played as rendered, and the rate kept
# in the registry.
sound_options_sample_rate() {
    start_lumetra
    open_picture "$E2E_PICTURES/tone.bmp"
    # Options > Soundcard & Sample Rate shows the capture set-up's one device by its system name;
    # two down in the rate list, from 22050 to 11025, taken with Enter.
    xdotool key alt+o s
    drv wait-dialog "$SOUND_OPTIONS"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1033)" "Out: default" "device shown"
    click_item "$SOUND_OPTIONS" 1038
    xdotool key Down Down Return
    expect_soon chosen_rate 11025 "sample rate chosen"
    type_into_field "$SOUND_OPTIONS" 1035 4
    click_item "$SOUND_OPTIONS" 1
    drv wait-no-dialog "$SOUND_OPTIONS"
    wait_until "a warning about the 8000 Hz top row" top_pitch_warned
    if [ -n "$SEEN" ]; then
        xdotool key Return
        drv wait-no-dialog "Lumetra Warning!"
    fi

    render F5
    local wav=$E2E_SOUNDS/Lumetra.wav
    expect_eq "$(u32 "$wav" 24)" 11025 "the WAV's sample rate"
    expect_true "the sound played at the new rate holds the rendered data" \
        capture equal "$wav" "$HOME" 0 30
    wait_play_end
    exit_lumetra
    read_settings
    expect_settings <<<"|Output sample rate=11025|Output buffers=$((0x04001000))"
}

no_wave_device_at_start() {
    # Without the .asoundrc Wine finds no wave-out device at all (for processes started now).
    local rc=$HOME/.asoundrc
    mv "$rc" "$rc.away"
    trap 'mv "$HOME/.asoundrc.away" "$HOME/.asoundrc"' EXIT
    # The box comes up while the main window is being made, before it is shown.
    launch_lumetra
    expect_eq "$(drv --timeout 30000 --starting wait-message-box)" \
        "Sound System Failure 01|No wave output device available!" "the box at start"
    click_item "Sound System Failure 01" 1 --starting
    drv --timeout 30000 wait-window wait-idle
    expect_eq "$(drv title)|$(drv message-box)" "$E2E_START_TITLE|" \
        "the program is up, no other box"

    # Rendering writes the sound file; the play after it, and Play (Space), say what is wrong.
    open_picture "$E2E_PICTURES/tone.bmp"
    xdotool key F5
    local box wav=$E2E_SOUNDS/Lumetra.wav
    box=$(drv --timeout 30000 wait-message-box)
    expect_true "the play after the render fails with the system's text: $box" \
        bash -c '[[ "$1" == "Sound System Failure 02|"?* ]]' _ "$box"
    xdotool key Return
    drv wait-no-dialog "Sound System Failure 02"
    drv --timeout 30000 wait-status-prefix 1 "Time: " >/dev/null
    expect_true "Lumetra.wav written" test -s "$wav"
    xdotool key space
    expect_eq "$(drv wait-message-box)" "$box" "Play reports the failure"
    xdotool key Return
    drv wait-no-dialog "Sound System Failure 02"
    close_lumetra
}
