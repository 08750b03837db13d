# The end-to-end scenarios. Each function starts Lumetra.exe with empty settings, acts as a user
# would (commands through the driver, real keys and mouse through xdotool) and checks what the
# program shows and writes. The runner (scripts/e2e.sh) calls them in this order.

E2E_SCENARIOS=(
    start_and_exit
    new_image_dialog
    open_bmp_jpeg_gif
    menu_states_before_render
    render_f5_writes_numbered_wav
    black_picture_has_nothing_to_render
    selection_drag
    save_as_and_reopen
    escape_stops_render
    main_window_with_tool_windows
    about_box
    screenshots_at_200_percent
)

# Pictures shared by the scenarios (made once per run by make_pictures).
make_pictures() {
    local p=$E2E_PICTURES
    mkdir -p "$p"
    # One red line across most of row 49 of a 200 x 100 picture: a single tone in the left channel.
    make_bmp "$p/tone.bmp" -size 200x100 xc:black -fill '#ff0000' -draw 'rectangle 20,49 179,49'
    # Colour everywhere: red, green and blue ramps.
    make_bmp "$p/ramps.bmp" -size 120x60 gradient:'#ff2000-#00ff40' \
        \( -size 120x60 gradient:'#000000-#0000ff' -rotate 90 \) -compose plus -composite
    make_bmp "$p/black.bmp" -size 64x32 xc:black
    convert -size 80x40 gradient:'#ff8000-#00ff80' -quality 95 "$p/gradient.jpg"
    convert -size 60x30 pattern:checkerboard -fill '#20c040' -opaque black "$p/checker.gif"
    # A tall bright picture for a render long enough to be stopped.
    make_bmp "$p/bright.bmp" -size 300x200 xc:'#ffff00'
}

# ---------------------------------------------------------------------------------------------

start_and_exit() {
    reset_settings
    start_lumetra
    expect_eq "$(drv title)" "$E2E_START_TITLE" "start title"
    expect_eq "$(drv status 0)" "" "status part 0 at start"
    local windows
    windows=$(drv windows)
    printf '%s\n' "$windows" >"$E2E_ARTIFACTS/start_windows.txt"
    expect_true "brush dialog shown at start" grep -q '|Brush Tools|' <<<"$windows"
    expect_true "render options hidden at start" bash -c '! grep -q "|Render Options|" <<<"$1"' _ "$windows"
    shot start
    # Exit (113) runs the shutdown sequence, which stores the settings.
    expect_eq "$(drv command 113 wait-exit)" 0 "exit code after File > Exit"
    rm -f "$E2E_ROOT/lumetra.pid"
    if wine reg query "$E2E_SETTINGS_KEY\Windows" /v main.x >/dev/null 2>&1; then
        log "settings were stored at exit"
    else
        log "no settings stored at exit (the settings store is not part of this build)"
    fi
}

new_image_dialog() {
    reset_settings
    start_lumetra
    drv command 101 wait-dialog "Create New Image" sleep 200
    # A user types into W, moves on with Tab (the field is taken when it loses the focus), types
    # into H, moves on, and confirms with Enter (the default button is "&New Image").
    drv set-dialog-text "Create New Image" 1037 400
    xdotool key Tab
    drv sleep 100 set-dialog-text "Create New Image" 1039 200
    xdotool key Tab
    drv sleep 100
    shot new_image_dialog
    xdotool key Return
    drv wait-no-dialog "Create New Image"
    expect_eq "$(drv doc width)" 400 "new picture width"
    expect_eq "$(drv doc height)" 200 "new picture height"
    expect_eq "$(drv title)" "$E2E_START_TITLE" "title after New Image"
    close_lumetra
}

open_bmp_jpeg_gif() {
    reset_settings
    start_lumetra
    # The BMP through the real Open dialog, typed as a user would.
    xdotool key ctrl+o
    drv wait-dialog "Open a bitmap file"
    xdotool type --delay 5 "$(winpath "$E2E_PICTURES/tone.bmp")"
    xdotool key Return
    drv wait-no-dialog "Open a bitmap file" wait-title "tone.bmp - Lumetra"
    expect_eq "$(drv doc-text path)" "$(winpath "$E2E_PICTURES/tone.bmp")" "document path"
    # Then each kind through the program's test request (the same code after the dialog).
    local name w h
    for entry in tone.bmp:200:100 gradient.jpg:80:40 checker.gif:60:30; do
        IFS=: read -r name w h <<<"$entry"
        drv open "$(winpath "$E2E_PICTURES/$name")"
        expect_eq "$(drv title)" "$name - Lumetra" "title after opening $name"
        expect_eq "$(drv doc width) x $(drv doc height)" "$w x $h" "size of $name"
    done
    shot_main open_gif
    close_lumetra
}

menu_states_before_render() {
    reset_settings
    start_lumetra
    expect_eq "$(drv menu-state 107)" grayed "Save Sound As before any render"
    expect_eq "$(drv menu-state 320)" grayed "Play Latest Sound before any render"
    expect_eq "$(drv menu-state 104)" missing "Analyze Soundfile (removed at start)"
    expect_eq "$(drv menu-state 103)" grayed "Refresh From File without a path"
    expect_eq "$(drv menu-state 413)" "enabled checked" "Save Sound at Every Render (default on)"
    expect_eq "$(drv menu-state 401)" enabled "Attach Render Info (default off)"
    expect_eq "$(drv menu-state 258)" "enabled checked" "selection style Brighten (default)"
    expect_eq "$(drv menu-state 257)" enabled "selection style Outline Only"
    # The keys of grayed items do nothing: Shift+S would open the save-sound dialog.
    xdotool key shift+s
    drv sleep 500
    expect_eq "$(drv windows | grep -c '^#32770|Save Soundfile|' || true)" 0 \
        "no save dialog after Shift+S"
    xdotool key space
    drv sleep 300
    expect_eq "$(drv status 0)" "" "status after Space with no sound"
    # Toggles reach the menu checks.
    drv command 415
    expect_eq "$(drv menu-state 415)" "enabled checked" "Number Soundfiles after toggling"
    drv command 259
    expect_eq "$(drv menu-state 259) / $(drv menu-state 258)" "enabled checked / enabled" \
        "selection style Inverted"
    close_lumetra
}

# Samples of a WAV file with a 48-byte header, as raw bytes.
wav_data() {
    tail -c +49 "$1"
}

render_f5_writes_numbered_wav() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    drv command 415
    expect_eq "$(drv menu-state 415)" "enabled checked" "Number Soundfiles on"
    # 200 columns at 22050 Hz for 5 s: 549 frames per column, 201 slices, stereo.
    local values=$((201 * 2 * 549)) wav="$E2E_SOUNDS/Lumetra00.wav"
    xdotool key F5
    # The render's "Generated ..." text in part 0 gives way to the playback's at once; the
    # timing text in part 1 stays.
    drv --timeout 30000 wait-doc sound-length "$values" wait-doc render-running 0
    expect_true "timing text in status part 1" \
        bash -c '[[ "$(wine "$E2E_DRIVER" status 1)" == "Time: "*" x real-time)" ]]'
    expect_true "Lumetra00.wav written" test -f "$wav"
    expect_eq "$(stat -c %s "$wav")" $((48 + 2 * values)) "WAV file size"
    expect_eq "$(head -c 4 "$wav")$(u32 "$wav" 4)" "RIFF$((2 * values + 40))" "RIFF size"
    expect_eq "$(u32 "$wav" 16) $(u16 "$wav" 22) $(u32 "$wav" 24)" "20 2 22050" \
        "fmt chunk size, channels, rate"
    expect_eq "$(u32 "$wav" 44)" $((2 * values)) "data size"
    expect_eq "$(drv menu-state 107)" enabled "Save Sound As after a render"

    # The sound itself: a tone at the pitch of row 50 from the bottom (50 Hz x 160^(50/99) =
    # 649 Hz) in the left channel, silence in the right one (measured by sox).
    sox "$wav" -n remix 1 stat 2>"$E2E_ARTIFACTS/left_stat.txt"
    sox "$wav" -n remix 2 stat 2>"$E2E_ARTIFACTS/right_stat.txt"
    local freq peak right
    freq=$(awk -F: '/Rough   frequency/ {print int($2)}' "$E2E_ARTIFACTS/left_stat.txt")
    peak=$(awk -F: '/Maximum amplitude/ {print $2 + 0}' "$E2E_ARTIFACTS/left_stat.txt")
    right=$(awk -F: '/Maximum amplitude/ {print $2 + 0}' "$E2E_ARTIFACTS/right_stat.txt")
    expect_true "left channel tone near 649 Hz (sox: $freq Hz)" test "$freq" -ge 620 -a "$freq" -le 680
    expect_true "left channel loud (peak $peak)" awk -v p="$peak" 'BEGIN { exit !(p > 0.3) }'
    expect_true "right channel silent (peak $right)" awk -v p="$right" 'BEGIN { exit !(p == 0) }'
    # And exactly the samples of the batch renderer for the same picture, when it is built.
    local reference=${LUMETRA_RENDER:-}
    if [ -n "$reference" ] && [ -x "$reference" ]; then
        "$reference" "$E2E_PICTURES/tone.bmp" "$E2E_ROOT/reference.wav" >/dev/null
        expect_true "same samples as lumetra-render" \
            cmp -s <(wav_data "$wav") <(wav_data "$E2E_ROOT/reference.wav")
        expect_true "same header as lumetra-render" \
            cmp -s <(head -c 48 "$wav") <(head -c 48 "$E2E_ROOT/reference.wav")
    else
        log "lumetra-render is not built: sample equality not checked"
    fi

    # Now Shift+S works: the save dialog comes up (and Esc closes it).
    xdotool key shift+s
    drv wait-dialog "Save Soundfile"
    xdotool key Escape
    drv wait-no-dialog "Save Soundfile"

    # The automatic playback after the render went to the captured wave-out device.
    expect_true "the render's sound was played once" \
        python3 "$E2E_TESTS/played_sound.py" "$wav" "$HOME" 30
    # While it played, "&Play Latest Sound" stood as "Stop sound playback" (322); afterwards the
    # item is back.
    drv wait-menu-state 320 enabled
    expect_eq "$(drv menu-state 322)" missing "the stop item is gone after playback"

    # A second render takes the next number.
    xdotool key F5
    drv --timeout 30000 wait-status-prefix 0 "Playing sound" wait-doc render-running 0 >/dev/null
    expect_true "Lumetra01.wav written by the second render" test -f "$E2E_SOUNDS/Lumetra01.wav"
    close_lumetra
}

black_picture_has_nothing_to_render() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/black.bmp")"
    xdotool key F5
    expect_eq "$(drv wait-status 0 "No image data to render!")" "No image data to render!" \
        "status after F5 on a black picture"
    expect_eq "$(ls "$E2E_SOUNDS"/*.wav 2>/dev/null | wc -l)" 0 "no sound file written"
    expect_eq "$(drv menu-state 107)" grayed "Save Sound As still grayed"
    close_lumetra
}

selection_drag() {
    reset_settings
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/tone.bmp")"
    local x0 y0 x1 y1
    read -r x0 y0 <<<"$(picture_point 10 20)"
    read -r x1 y1 <<<"$(picture_point 60 50)"
    xdotool mousemove "$x0" "$y0" mousedown 3
    drv sleep 100
    xdotool mousemove $((x0 + 20)) $((y0 + 10))
    drv sleep 100
    xdotool mousemove "$x1" "$y1"
    expect_eq "$(drv wait-status 1 "10, 20, (50, 30)")" "10, 20, (50, 30)" \
        "status while dragging"
    shot_main selection_dragging
    xdotool mouseup 3
    expect_eq "$(drv wait-doc drag-mode 0 status 1)" "10, 20, 60, 50" "status after the drag"
    expect_eq "$(drv doc selection-left) $(drv doc selection-top) $(drv doc selection-right) $(drv doc selection-bottom)" \
        "10 20 60 50" "selection"
    # Pointer readout: time and pitch under the mouse (part 2).
    read -r x1 y1 <<<"$(picture_point 100 99)"
    xdotool mousemove "$x1" "$y1"
    expect_eq "$(drv wait-status 2 "2.50 sec, 50.00 Hz")" "2.50 sec, 50.00 Hz" \
        "pointer readout over the bottom row"
    shot_main selection_done
    # A right click that ends where it started clears the selection.
    read -r x0 y0 <<<"$(picture_point 30 30)"
    xdotool mousemove "$x0" "$y0" mousedown 3
    drv sleep 100
    xdotool mouseup 3
    expect_eq "$(drv wait-status 1 "No selection")" "No selection" "status after a click"
    expect_eq "$(drv doc selection-right)" 0 "selection cleared"
    close_lumetra
}

save_as_and_reopen() {
    reset_settings
    start_lumetra
    local out="$E2E_ROOT/saved/ramps_copy.bmp"
    mkdir -p "$E2E_ROOT/saved"
    rm -f "$E2E_ROOT"/saved/*
    drv open "$(winpath "$E2E_PICTURES/ramps.bmp")"
    local hash
    hash=$(drv doc pixel-hash)
    drv command 401
    expect_eq "$(drv menu-state 401)" "enabled checked" "Attach Render Info on"
    xdotool key F5
    drv --timeout 30000 wait-doc sound-length $((121 * 2 * 911)) wait-doc render-running 0
    expect_eq "$(drv doc render-info-valid)" 1 "render info after the render"
    # The render plays its sound once, and the end of that play empties the status line; stop
    # it (the queued buffers play out) so that it cannot empty the line read after reopening.
    drv wait-status-prefix 0 "Playing" >/dev/null
    xdotool key space
    drv wait-menu-state 320 enabled
    drv save-as "$(winpath "$out")"
    expect_eq "$(drv title)" "ramps_copy.bmp - Lumetra" "title after Save Image As"
    # 120 x 60 pixels, rows of 360 bytes, the 164-byte render info behind the pixels.
    expect_eq "$(stat -c %s "$out")" $((54 + 360 * 60 + 164)) "saved file size"
    expect_eq "$(u32 "$out" 2)" $((54 + 360 * 60)) "BMP file size field (without the record)"
    expect_eq "$(tail -c 164 "$out" | head -c 4)" "rdnr" "render info record behind the pixels"
    expect_true "saved pixels equal the opened picture" \
        cmp -s <(tail -c +55 "$E2E_PICTURES/ramps.bmp") <(head -c $((54 + 360 * 60)) "$out" | tail -c +55)
    local info="${out%.bmp}.info"
    expect_true ".info file written" test -f "$info"
    cp "$info" "$E2E_ARTIFACTS/ramps_copy.info"
    expect_eq "$(grep -c '^CMD 300 	// Render' "$info")" 1 "CMD line of the .info file"
    expect_eq "$(grep '^SIZE' "$info" | tr -d '\r')" "SIZE 120, 60" "SIZE line of the .info file"
    expect_eq "$(grep '^PARMS' "$info" | tr -d '\r')" \
        "PARMS 50.0000, 8000.0000, 10.00, 5.00 	// low, high, amp, time" "PARMS line"

    # Reopen: same pixels, and the record is found behind them.
    drv command 101 wait-dialog "Create New Image" click "Create New Image" 1185 \
        wait-no-dialog "Create New Image"
    drv open "$(winpath "$out")"
    expect_eq "$(drv doc pixel-hash)" "$hash" "pixels after reopening"
    expect_eq "$(drv status 0)" "Render info updated by image" "status after reopening"
    expect_eq "$(drv doc render-info-valid)" 1 "render info of the reopened image"
    close_lumetra
}

# Types TEXT into an edit field of a dialog as a user would: click into it, replace its text,
# and leave it with Tab (the program takes a field's value when it loses the focus).
type_into_field() {
    local x y w h
    read -r x y w h <<<"$(drv item-rect "$1" "$2")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    drv sleep 100 set-dialog-text "$1" "$2" "$3"
    xdotool key Tab
    drv sleep 150
}

escape_stops_render() {
    reset_settings
    rm -f "$E2E_SOUNDS"/*.wav
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/bright.bmp")"
    # 600 s of sound, set in the Render Options window: long enough to be stopped by hand.
    drv command 310 wait-dialog "Render Options"
    type_into_field "Render Options" 1032 600
    expect_eq "$(drv doc output-time-milli)" 600000 "output time taken from the Time field"
    expect_eq "$(drv dialog-text "Render Options" 1042)" "2000.00 millisec" "Time/pixel field"
    xdotool key F5
    drv wait-status-prefix 0 "Generating" >/dev/null
    expect_eq "$(drv doc render-running)" 1 "render running"
    drv sleep 300
    xdotool keydown Escape
    local text
    text=$(drv --timeout 30000 wait-status-prefix 0 "Generated ")
    xdotool keyup Escape
    drv wait-doc render-running 0
    log "status after Esc: $text"
    local wav="$E2E_SOUNDS/Lumetra.wav" size full
    expect_true "Lumetra.wav written" test -f "$wav"
    size=$(stat -c %s "$wav")
    # 300 columns for 600 s: 43953 frames per column, 301 slices, stereo.
    full=$((48 + 2 * 301 * 2 * 43953))
    expect_true "the stopped render wrote less than the whole sound ($size of about $full bytes)" \
        test "$size" -lt "$full"
    expect_eq "$(u32 "$wav" 44) $(u32 "$wav" 4)" "$((size - 48)) $((size - 8))" \
        "data and RIFF sizes patched to what was written"
    expect_eq "$(drv doc render-info-valid)" 0 "no render info after a stopped render"
    expect_eq "$(drv menu-state 320)" enabled "the shortened sound can be played"
    close_lumetra
}

main_window_with_tool_windows() {
    reset_settings
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/ramps.bmp")"
    # Render Options starts hidden; the Tools menu command shows it.
    drv command 310
    drv sleep 400
    expect_eq "$(drv menu-state 310)" "enabled checked" "Render Options shown"
    drv windows >"$E2E_ARTIFACTS/tool_windows.txt"
    shot main_with_tool_windows
    shot_main main_window
    close_lumetra
}

about_box() {
    reset_settings
    start_lumetra
    drv command 555 wait-dialog "About Lumetra"
    expect_eq "$(drv dialog-text "About Lumetra" 1213)" "Spectral Canvas Tone Machine" "About subtitle"
    expect_true "About version text" \
        bash -c '[[ "$(wine "$E2E_DRIVER" dialog-text "About Lumetra" 3301)" == Lumetra* ]]'
    shot about_box
    xdotool key Return
    drv wait-no-dialog "About Lumetra"
    close_lumetra
}

# The same at 200% (192 dots per inch): the pictures for that scale, fonts and dialog layout.
screenshots_at_200_percent() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
    # Back to 96 however the scenario ends (it runs in its own subshell).
    trap "wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1" EXIT
    reset_settings
    start_lumetra
    drv open "$(winpath "$E2E_PICTURES/ramps.bmp")"
    drv command 310 sleep 400
    shot main_with_tool_windows_200
    close_lumetra
}
