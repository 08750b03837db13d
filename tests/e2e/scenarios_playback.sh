# Playback scenarios: the sound of a render played through the captured wave-out device (see
# scripts/e2e.sh: HOME/.asoundrc sends everything played into HOME/played.raw*, one file per
# opening of the device), the repeating play with Space, a render during playback, the sound
# options dialog, and a machine without any wave-out device.

E2E_SCENARIOS+=(
    playback_repeats_until_space_and_gives_way_to_a_render
    sound_options_sample_rate
    no_wave_device_at_start
)

SOUND_OPTIONS="Soundcard/Realtime Options"

# Takes a screenshot NAME.png and prints the light columns (four fifths light on average) inside
# the dark picture of WIDTH x HEIGHT at the top left of the canvas. The play-position line is
# drawn by inverting the pixels under it: shot_columns NAME WIDTH HEIGHT
shot_columns() {
    local name=$1 pw=$2 ph=$3 ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    [ "$ph" -le $((h - 7)) ] || ph=$((h - 7))
    import -window root "$E2E_ARTIFACTS/$name.png"
    convert "$E2E_ARTIFACTS/$name.png" -crop "${pw}x${ph}+$((ox + 7))+$((oy + 7))" +repage \
        -alpha off -colorspace gray -scale "${pw}x1!" -depth 8 txt:- |
        awk -F'[(,]' 'NR > 1 && $3 >= 204 { printf "%s%s", sep, $1; sep = " " } END { print "" }'
}

# The column of the play-position line: exactly one light column in the picture. Shots are taken
# up to 25 times in case one falls between erasing the old line and drawing the new one; the
# last one is kept as NAME.png: marker_column NAME WIDTH HEIGHT
marker_column() {
    local columns="" try
    for ((try = 0; try < 25; try++)); do
        columns=$(shot_columns "$@")
        [ "$(wc -w <<<"$columns")" -eq 1 ] && break
        sleep 0.1
    done
    log "screenshot $E2E_ARTIFACTS/$1.png: line at columns \"$columns\"" >&2
    if [ "$(wc -w <<<"$columns")" -ne 1 ]; then
        fail "not exactly one play-position line in the picture (columns: $columns)"
    fi
    echo "$columns"
}

# ---------------------------------------------------------------------------------------------

# Capture n is the n-th opening of the device: 0 the play after the first render, 1 the first
# repeating play, 2 the second one, cut short by a render whose own play is 3, and 4 the repeating
# play that the exit ends.
playback_repeats_until_space_and_gives_way_to_a_render() {
    start_lumetra
    # The toolbar's Play before any render (the button is not grayed like the menu item): nothing
    # to play, and the device is not opened.
    drv command 320 wait-status 0 "No sound to play back!"
    open_picture "$(winpath "$E2E_PICTURES/tone.bmp")"
    xdotool key alt+o n  # numbered sound files: each render keeps its own
    render F5
    local first=$E2E_SOUNDS/Lumetra00.wav second=$E2E_SOUNDS/Lumetra01.wav
    expect_true "the render's play is capture 0 and holds the sound" \
        capture equal "$first" "$HOME" 0 30
    wait_play_end

    # Space: the sound plays over and over, and a line on the picture follows the play.
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT"
    local column later
    column=$(marker_column playback_marker 200 100)
    sleep 0.4
    later=$(marker_column playback_marker_later 200 100)
    expect_true "the play-position line moves (column $column, then $later)" \
        test "$later" != "$column"
    log "capture 1 holds $(capture repeats "$first" "$HOME" 1 2 40) whole copies of the sound"
    # The Options menu opens (its first item's help text shows), but its sound options item,
    # grayed while the device is in use, does not open the dialog.
    xdotool key alt+o
    drv wait-status 0 "Include settings for latest rendering when saving image"
    xdotool key s
    sleep 0.4
    expect_eq "$(drv windows | grep -c "^#32770|$SOUND_OPTIONS|" || true)" 0 \
        "no sound options dialog while playing"
    xdotool key Escape Escape

    # Space again: no more refills; the queued buffers play out and the device closes.
    xdotool key space
    drv wait-status 0 ""
    local settled
    settled=$(capture settled "$first" "$HOME" 1 20)
    log "after the stop capture 1 holds (copies, frames): $settled"
    expect_true "the repeating play went round at least twice" test "${settled%% *}" -ge 2
    expect_eq "$(capture count "$HOME")" 2 "no further opening of the device"
    expect_eq "$(shot_columns playback_stopped 200 100)" "" "no play-position line once closed"
    # With the device closed, Options > Soundcard & Sample Rate opens again.
    xdotool key alt+o s
    drv wait-dialog "$SOUND_OPTIONS"
    xdotool key Escape
    drv wait-no-dialog "$SOUND_OPTIONS"

    # A render from the Sound menu while the sound repeats: the play is stopped first, then the
    # render plays its own sound once, from a new opening of the device.
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT"
    capture repeats "$first" "$HOME" 2 1 40 >/dev/null
    render alt+s Return
    expect_true "the second render wrote its own file" test -f "$second"
    settled=$(capture settled "$first" "$HOME" 2 20)
    log "the repeating play ended with (copies, frames): $settled"
    expect_true "the second render's sound was played once" capture equal "$second" "$HOME" 3 30
    wait_play_end

    # Closing the program while a sound repeats stops the device and ends normally.
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT"
    capture repeats "$second" "$HOME" 4 1 40 >/dev/null
    close_lumetra
    log "the play cut short by the exit: (copies, frames) $(capture settled "$second" "$HOME" 4 20)"
    expect_eq "$(capture count "$HOME")" 5 "five openings of the device in all"
}

# A lower sample rate and fewer buffers chosen in the sound options dialog: a warning about the
# picture's top pitch, the next render's WAV at that rate, played as rendered, and the rate kept
# in the registry.
chosen_rate() {
    drv dialog-text "$SOUND_OPTIONS" 1038
}

sound_options_sample_rate() {
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/tone.bmp")"
    # Options > Soundcard & Sample Rate.
    xdotool key alt+o s
    drv wait-dialog "$SOUND_OPTIONS"
    # The one device of the capture set-up, by the name the system gives it.
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1033)" "Out: default" "device shown"
    # Two down in the rate list, from 22050 to 11025, taken with Enter.
    click_item "$SOUND_OPTIONS" 1038
    xdotool key Down Down Return
    expect_soon chosen_rate 11025 "sample rate chosen"
    type_into_field "$SOUND_OPTIONS" 1035 4
    shot sound_options_dialog
    click_item "$SOUND_OPTIONS" 1
    drv wait-no-dialog "$SOUND_OPTIONS"

    # The picture's 8000 Hz top row lies above the new Nyquist frequency of 5512 Hz: a box (the
    # first time in a while) or the status text says so.
    local box nyquist="Max out frq (8000) exceeds half of selected sample rate (5512)!" try
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        box=$(drv --timeout 500 message-box 2>/dev/null || true)
        [ -n "$box" ] || [ "$(drv status 0)" = "$nyquist" ] && break
        sleep 0.2
    done
    if [ -n "$box" ]; then
        expect_true "Nyquist box: $box" \
            bash -c '[[ "$1" == "Lumetra Warning!|Your present highest image frequency (8000.00 Hz) exceeds"* ]]' _ "$box"
        xdotool key Return
        drv wait-no-dialog "Lumetra Warning!"
    else
        expect_eq "$(drv status 0)" "$nyquist" "Nyquist status text"
    fi

    render F5
    local wav=$E2E_SOUNDS/Lumetra.wav
    # 5 s over 201 slices at 11025 Hz: 274 frames per slice.
    expect_eq "$(u32 "$wav" 24) $(u32 "$wav" 44)" "11025 $((201 * 2 * 274 * 2))" \
        "WAV rate and data size"
    expect_true "the sound played at the new rate holds the rendered data" \
        capture equal "$wav" "$HOME" 0 30
    wait_play_end
    exit_lumetra
    read_settings
    expect_settings <<EOF
|Output sample rate=11025|Output buffers=$((0x04001000))
EOF
}

no_wave_device_at_start() {
    # Without the .asoundrc Wine finds no wave-out device at all (for processes started now).
    local rc=$HOME/.asoundrc
    mv "$rc" "$rc.away"
    trap 'mv "$HOME/.asoundrc.away" "$HOME/.asoundrc"' EXIT
    # The box comes up while the main window is being made, before it is shown.
    (cd "$E2E_APP" && exec wine "$E2E_APP/Lumetra.exe" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    echo $! >"$E2E_ROOT/lumetra.pid"
    expect_eq "$(drv --timeout 30000 --starting wait-message-box)" \
        "Sound System Failure 01|No wave output device available!" "the box at start"
    shot no_device_box
    click_item "Sound System Failure 01" 1 --starting
    drv --timeout 30000 wait-window
    sleep 0.3
    expect_eq "$(drv title)|$(drv message-box)" "$E2E_START_TITLE|" \
        "the program is up, no other box"

    # Rendering works and writes the sound file; the play after it says what is wrong.
    open_picture "$(winpath "$E2E_PICTURES/tone.bmp")"
    xdotool key F5
    local box wav=$E2E_SOUNDS/Lumetra.wav
    box=$(drv --timeout 30000 wait-message-box)
    log "after the render: $box"
    expect_true "the play after the render fails with the system's text" \
        bash -c '[[ "$1" == "Sound System Failure 02|"?* ]]' _ "$box"
    xdotool key Return
    drv wait-no-dialog "Sound System Failure 02"
    drv --timeout 30000 wait-status-prefix 1 "Time: " >/dev/null
    expect_eq "$(stat -c %s "$wav")" $((48 + 2 * 201 * 2 * 549)) "Lumetra.wav written"

    # Play (Space) reports the same.
    xdotool key space
    expect_eq "$(drv wait-message-box)" "$box" "Play reports the failure"
    xdotool key Return
    drv wait-no-dialog "Sound System Failure 02"

    # Save Sound As (Shift+S) writes the same sound.
    file_dialog shift+s "Save Soundfile" "$(winpath "$E2E_SOUNDS/saved_without_device.wav")"
    expect_true "Save Sound As wrote the same file" \
        cmp -s "$wav" "$E2E_SOUNDS/saved_without_device.wav"
    close_lumetra
}
