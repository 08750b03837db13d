# Playback scenarios: the sound of a render played through the captured wave-out device (see
# scripts/e2e.sh: HOME/.asoundrc sends everything played into HOME/played.raw*, one file per
# opening of the device), the repeating play with Space, a render during playback, the sound
# options dialog, and a machine without any wave-out device.

E2E_SCENARIOS+=(
    playback_repeats_until_space
    render_during_playback_stops_it
    sound_options_sample_rate
    no_wave_device_at_start
)

PLAYING_TEXT="Playing sound. Hit Space bar to stop."
SOUND_OPTIONS="Soundcard/Realtime Options"

capture() {
    python3 "$E2E_TESTS/playback_capture.py" "$@"
}

# Capture files of earlier scenarios would shift the numbering.
forget_captures() {
    rm -f "$HOME"/played.raw*
}

# Renders the open picture with F5 and waits until the render and its automatic play are over:
# render_and_play_once VALUES
render_and_play_once() {
    xdotool key F5
    drv --timeout 30000 wait-doc sound-length "$1" wait-doc render-running 0
    # The automatic play ends by itself; then the device is closed and "&Play Latest Sound" back.
    drv --timeout 30000 wait-menu-state 420 enabled wait-menu-state 320 enabled
}

# The newest WAV file of the sound folder.
newest_wav() {
    ls -t "$E2E_SOUNDS"/*.wav | head -n 1
}

# Takes a screenshot NAME.png and prints the light columns inside the (black) picture of
# WIDTH x HEIGHT at the top left of the canvas: shot_columns NAME WIDTH HEIGHT
shot_columns() {
    local name=$1 pw=$2 ph=$3 ox oy w h
    read -r ox oy w h <<<"$(drv canvas-origin)"
    [ "$ph" -le $((h - 7)) ] || ph=$((h - 7))
    import -window root "$E2E_ARTIFACTS/$name.png"
    convert "$E2E_ARTIFACTS/$name.png" -crop "${pw}x${ph}+$((ox + 7))+$((oy + 7))" +repage \
        -depth 8 ppm:- | python3 "$E2E_TESTS/play_marker.py"
}

# The column of the play-position line: exactly one light column in the picture. Shots are taken
# up to five times in case one falls between erasing the old line and drawing the new one; the
# last one is kept as NAME.png: marker_column NAME WIDTH HEIGHT
marker_column() {
    local columns="" try
    for try in 1 2 3 4 5; do
        columns=$(shot_columns "$@")
        [ "$(wc -w <<<"$columns")" -eq 1 ] && break
        drv sleep 100 >/dev/null
    done
    log "screenshot $E2E_ARTIFACTS/$1.png: line at columns \"$columns\"" >&2
    if [ "$(wc -w <<<"$columns")" -ne 1 ]; then
        fail "not exactly one play-position line in the picture (columns: $columns)"
    fi
    echo "$columns"
}

# ---------------------------------------------------------------------------------------------

playback_repeats_until_space() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    forget_captures
    start_lumetra
    # Play before any render (the toolbar's button is not grayed like the menu item): nothing
    # to play, and the device is not opened.
    drv command 320
    expect_eq "$(drv wait-status 0 "No sound to play back!")" "No sound to play back!" \
        "status after Play without a sound"
    expect_eq "$(drv menu-state 320) / $(drv menu-state 322)" "grayed / missing" \
        "Play item as it was"
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    render_and_play_once $((201 * 2 * 549))
    local wav
    wav=$(newest_wav)
    expect_true "the render's play is capture 0 and holds the sound" capture equal "$wav" "$HOME" 0
    expect_eq "$(drv status 0)" "" "status part 0 after the play has ended"

    # Space: the sound plays over and over.
    xdotool key space
    expect_eq "$(drv wait-status 0 "$PLAYING_TEXT")" "$PLAYING_TEXT" "status while playing"
    expect_eq "$(drv menu-state 322)" enabled "the stop item stands in the menu"
    expect_eq "$(drv menu-state 320)" missing "in place of the play item"
    expect_eq "$(drv menu-state 420)" grayed "sound options grayed while playing"
    local first later
    first=$(marker_column playback_marker 200 100)
    drv sleep 400
    later=$(marker_column playback_marker_later 200 100)
    expect_true "the play-position line moves (column $first, then $later)" test "$later" != "$first"
    local copies
    copies=$(capture repeats "$wav" "$HOME" 1 2 40)
    log "capture 1 holds $copies whole copies of the sound so far"

    # Space again: no more refills; the queued buffers play out and the device closes.
    xdotool key space
    expect_eq "$(drv wait-status 0 "")" "" "status emptied by the stop"
    drv wait-menu-state 320 enabled
    expect_eq "$(drv menu-state 322)" missing "the stop item is gone"
    drv --timeout 20000 wait-menu-state 420 enabled
    local settled
    settled=$(capture settled "$wav" "$HOME" 1 20)
    log "after the stop capture 1 holds (copies, frames): $settled"
    expect_true "the repeating play went round at least twice" test "${settled%% *}" -ge 2
    expect_eq "$(capture count "$HOME")" 2 "no further opening of the device"
    expect_eq "$(shot_columns playback_stopped 200 100)" "" "no play-position line once closed"

    # Play again: a fresh opening of the device, from the start of the sound.
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT" >/dev/null
    capture repeats "$wav" "$HOME" 2 1 40 >/dev/null
    xdotool key space
    drv wait-menu-state 320 enabled
    drv --timeout 20000 wait-menu-state 420 enabled
    expect_eq "$(capture count "$HOME")" 3 "the second play opened the device once more"
    close_lumetra
}

render_during_playback_stops_it() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    forget_captures
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    drv command 415  # numbered soundfiles: each render keeps its own WAV
    render_and_play_once $((201 * 2 * 549))
    local first second
    first=$(newest_wav)
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT" >/dev/null
    capture repeats "$first" "$HOME" 1 1 40 >/dev/null

    # F5 while the sound repeats: playback is stopped first, then the render runs and plays its
    # own sound once.
    xdotool key F5
    drv --timeout 30000 wait-doc render-running 0
    expect_true "the second render wrote its own file" test -f "$E2E_SOUNDS/Lumetra01.wav"
    second=$E2E_SOUNDS/Lumetra01.wav
    local settled
    settled=$(capture settled "$first" "$HOME" 1 20)
    log "the repeating play ended with (copies, frames): $settled (whole copies of the first sound, then a cut)"
    expect_true "the second render's sound was played once, from a new opening of the device" \
        capture equal "$second" "$HOME" 2 30
    drv --timeout 30000 wait-menu-state 420 enabled
    expect_eq "$(drv menu-state 320)" enabled "Play back after the render's play"
    expect_eq "$(capture count "$HOME")" 3 "three openings of the device in all"

    # Closing the program while a sound repeats stops the device and ends normally.
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT" >/dev/null
    capture repeats "$second" "$HOME" 3 1 40 >/dev/null
    close_lumetra
    settled=$(capture settled "$second" "$HOME" 3 20)
    log "the play cut short by the exit: (copies, frames) $settled"
}

sound_options_sample_rate() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    forget_captures
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    expect_eq "$(drv menu-state 420)" enabled "sound options before any playback"
    drv command 420 wait-dialog "$SOUND_OPTIONS"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1034)" 4096 "buffer size shown"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1035)" 8 "buffer count shown"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1038)" 22050 "sample rate shown"
    expect_eq "$(drv item-enabled "$SOUND_OPTIONS" 1039)" 0 "stereo box disabled"
    log "device shown: \"$(drv dialog-text "$SOUND_OPTIONS" 1033)\""

    # As a user: open the sample rate list, two down from 22050 to 11025, take it with Enter.
    local x y w h
    read -r x y w h <<<"$(drv item-rect "$SOUND_OPTIONS" 1038)"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    drv sleep 300
    xdotool key Down Down Return
    drv sleep 200
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1038)" 11025 "sample rate chosen"
    # And four buffers, typed into the count field.
    type_into_field "$SOUND_OPTIONS" 1035 4
    shot sound_options_dialog
    read -r x y w h <<<"$(drv item-rect "$SOUND_OPTIONS" 1)"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    drv wait-no-dialog "$SOUND_OPTIONS"

    # The picture's 8000 Hz top row lies above the new Nyquist frequency of 5512 Hz: a box (the
    # first time in a while) or the status text says so.
    local box
    box=$(drv --timeout 3000 wait-message-box 2>/dev/null || true)
    if [ -n "$box" ]; then
        expect_true "Nyquist box: $box" \
            bash -c '[[ "$1" == "Lumetra Warning!|Your present highest image frequency (8000.00 Hz) exceeds"* ]]' _ "$box"
        xdotool key Return
        drv sleep 300
    else
        expect_eq "$(drv status 0)" "Max out frq (8000) exceeds half of selected sample rate (5512)!" \
            "Nyquist status text"
    fi

    # Cancel keeps what OK took: choose 48000 and cancel.
    drv command 420 wait-dialog "$SOUND_OPTIONS"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1038) $(drv dialog-text "$SOUND_OPTIONS" 1035)" \
        "11025 4" "the dialog shows the new rate and count"
    read -r x y w h <<<"$(drv item-rect "$SOUND_OPTIONS" 1038)"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    drv sleep 300
    xdotool key Home Return
    drv sleep 200
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1038)" 48000 "48000 chosen before Cancel"
    xdotool key Escape
    drv wait-no-dialog "$SOUND_OPTIONS"

    # 5 s over 201 slices at 11025 Hz: 274 frames per slice.
    local values=$((201 * 2 * 274)) wav
    render_and_play_once "$values"
    wav=$(newest_wav)
    expect_eq "$(u32 "$wav" 24) $(u32 "$wav" 28) $(u16 "$wav" 22)" "11025 44100 2" \
        "WAV rate, byte rate and channels"
    expect_eq "$(u32 "$wav" 44)" $((2 * values)) "WAV data size"
    expect_true "the sound played at the new rate holds the rendered data" \
        capture equal "$wav" "$HOME" 0 30
    close_lumetra
    if wine reg query "$E2E_SETTINGS_KEY" /v "Output sample rate" >/dev/null 2>&1; then
        expect_true "the sample rate is stored at exit" \
            bash -c 'wine reg query "$1" /v "Output sample rate" | grep -qi "0x2b11"' _ \
            "$E2E_SETTINGS_KEY"
    else
        log "the sample rate is not stored in this build"
    fi
}

no_wave_device_at_start() {
    # Without the .asoundrc Wine finds no wave-out device at all (for processes started now).
    local rc=$HOME/.asoundrc
    mv "$rc" "$rc.away"
    trap 'mv "$HOME/.asoundrc.away" "$HOME/.asoundrc"' EXIT
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    forget_captures
    # The box comes up while the main window is being made, before it is shown.
    (cd "$E2E_APP" && exec wine "$E2E_APP/Lumetra.exe" >>"$E2E_ARTIFACTS/lumetra.log" 2>&1) &
    echo $! >"$E2E_ROOT/lumetra.pid"
    expect_eq "$(drv --timeout 30000 --starting wait-message-box)" \
        "Sound System Failure 01|No wave output device available!" "the box at start"
    shot no_device_box
    drv --starting click "Sound System Failure 01" 1
    drv --timeout 30000 wait-window
    drv sleep 300
    expect_eq "$(drv title)" "$E2E_START_TITLE" "the program is up"
    expect_eq "$(drv message-box)" "" "only one box at start"

    # Rendering works and writes the sound file; the play after it says what is wrong.
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    xdotool key F5
    local values=$((201 * 2 * 549)) box wav=$E2E_SOUNDS/Lumetra.wav
    box=$(drv --timeout 30000 wait-message-box)
    log "after the render: $box"
    expect_true "the play after the render fails with the system's text" \
        bash -c '[[ "$1" == "Sound System Failure 02|"?* ]]' _ "$box"
    drv click "Sound System Failure 02" 1
    drv wait-no-dialog "Sound System Failure 02" wait-doc render-running 0
    expect_eq "$(drv doc sound-length)" "$values" "sound kept in memory"
    expect_eq "$(stat -c %s "$wav")" $((48 + 2 * values)) "Lumetra.wav written"
    expect_eq "$(drv menu-state 320) / $(drv menu-state 322)" "enabled / missing" \
        "Play not swapped for Stop"

    # Play (Space) reports the same.
    xdotool key space
    expect_eq "$(drv wait-message-box)" "$box" "Play reports the failure"
    drv click "Sound System Failure 02" 1
    drv wait-no-dialog "Sound System Failure 02"
    expect_true "status does not claim to be playing" \
        bash -c '[[ "$(wine "$E2E_DRIVER" status 0)" != "Playing"* ]]'
    expect_eq "$(drv menu-state 420)" enabled "sound options still available"

    # Save Sound As writes the same sound.
    xdotool key shift+s
    drv wait-dialog "Save Soundfile"
    xdotool type --delay 5 "$(winpath "$E2E_SOUNDS/saved_without_device.wav")"
    xdotool key Return
    drv wait-no-dialog "Save Soundfile"
    expect_true "Save Sound As wrote the same file" \
        cmp -s "$wav" "$E2E_SOUNDS/saved_without_device.wav"

    # The options dialog lists no device.
    drv command 420 wait-dialog "$SOUND_OPTIONS"
    expect_eq "$(drv dialog-text "$SOUND_OPTIONS" 1033)" "" "no device in the list"
    xdotool key Escape
    drv wait-no-dialog "$SOUND_OPTIONS"
    expect_eq "$(capture count "$HOME")" 0 "nothing captured"
    close_lumetra
}
