# The end-to-end scenarios of pictures and sound files. Each function starts Lumetra.exe (the
# runner has emptied the settings and the sound folder), acts as a user would and checks what the
# program shows and writes. The runner (scripts/e2e.sh) calls them in this order.

E2E_SCENARIOS=(
    render_writes_the_batch_renderers_wav
    save_as_with_render_info_and_reopen
    escape_stops_render
    selection_delete_undo_and_slot_files
    undo_without_a_usable_undo_folder
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

# F5 renders the picture into a WAV file of the sound folder that equals, byte for byte, what the
# batch renderer makes of it, and plays it once on the wave-out device. Before there is a sound,
# the keys of the grayed Save Sound As and Play do nothing.
render_writes_the_batch_renderers_wav() {
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/black.bmp")"
    xdotool key F5
    drv wait-status 0 "No image data to render!"
    # Space would say "No sound to play back!" and Shift+S open the save dialog.
    xdotool key shift+s space
    sleep 0.5
    expect_eq "$(drv windows | grep -c '^#32770|Save Soundfile|' || true) / $(drv status 0)" \
        "0 / No image data to render!" "no save dialog and no play without a sound"

    # Options > Number Soundfiles, then the tone.
    xdotool key alt+o n
    open_picture "$(winpath "$E2E_PICTURES/tone.bmp")"
    render F5
    local wav="$E2E_SOUNDS/Lumetra00.wav" reference="$E2E_ROOT/reference.wav"
    "$LUMETRA_RENDER" "$E2E_PICTURES/tone.bmp" "$reference" >/dev/null
    expect_true "Lumetra00.wav equals the batch renderer's file ($(stat -c %s "$wav") bytes)" \
        cmp "$wav" "$reference"
    expect_true "the render's sound was played once" capture equal "$wav" "$HOME" 0 30
    # Now Shift+S brings up the save dialog.
    xdotool key shift+s
    drv wait-dialog "Save Soundfile"
    xdotool key Escape
    drv wait-no-dialog "Save Soundfile"
    # The next render, from the Sound menu, takes the next number.
    render alt+s Return
    expect_true "Lumetra01.wav written by the second render" test -f "$E2E_SOUNDS/Lumetra01.wav"
    close_lumetra
}

# A JPEG and a GIF open through the Open dialog; a rendered BMP saved under a typed name keeps its
# pixels and carries its render info behind them and in a ".info" file; opened again, the
# record is found. (The record's bytes and the ".info" text are the unit tests'.)
save_as_with_render_info_and_reopen() {
    local out="$E2E_ROOT/saved/ramps_copy.bmp"
    rm -rf "$E2E_ROOT/saved"
    mkdir -p "$E2E_ROOT/saved"
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/gradient.jpg")"
    shot open_jpeg
    open_picture "$(winpath "$E2E_PICTURES/checker.gif")"
    open_picture "$(winpath "$E2E_PICTURES/ramps.bmp")"
    # Options > Attach Render Info to BMP.
    xdotool key alt+o r
    render F5
    wait_play_end
    file_dialog ctrl+s "Save Bitmap" "$(winpath "$out")"
    drv wait-title "ramps_copy.bmp - Lumetra"
    # 120 x 60 pixels, rows of 360 bytes, the 164-byte render info behind the pixels.
    expect_eq "$(stat -c %s "$out")" $((54 + 360 * 60 + 164)) "saved file size"
    expect_true "saved pixels equal the opened picture" same_pixels "$E2E_PICTURES/ramps.bmp" "$out"
    cp "${out%.bmp}.info" "$E2E_ARTIFACTS/ramps_copy.info"
    expect_eq "$(grep '^SIZE' "${out%.bmp}.info" | tr -d '\r')" "SIZE 120, 60" "the .info file"
    # The saved file opens again (a picture opened over itself is read anew).
    open_picture "$(winpath "$out")"
    expect_eq "$(drv status 0)" "Render info updated by image" "status after reopening"
    close_lumetra
}

escape_stops_render() {
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/bright.bmp")"
    # 600 s of sound, set in the Render Options window (Tools menu): long enough to be stopped.
    xdotool key alt+t r
    drv wait-dialog "Render Options"
    type_into_field "Render Options" 1032 600
    shot main_with_tool_windows
    focus_main
    xdotool key F5
    # 300 columns for 600 s: 43953 frames per column, 301 slices, stereo.
    expect_eq "$(drv wait-status-prefix 0 "Generating")" \
        "Generating 599.99 secs (Hold down Esc to terminate)" "the render takes the typed time"
    sleep 0.3
    xdotool keydown Escape
    local text
    text=$(drv --timeout 30000 wait-status-prefix 0 "Generated ")
    xdotool keyup Escape
    log "status after Esc: $text"
    local wav="$E2E_SOUNDS/Lumetra.wav" size full
    size=$(stat -c %s "$wav")
    full=$((48 + 2 * 301 * 2 * 43953))
    expect_true "the stopped render wrote less than the whole sound ($size of about $full bytes)" \
        test "$size" -lt "$full"
    # The shortened sound is there to be played (a stopped render plays nothing by itself).
    expect_eq "$(capture count "$HOME")" 0 "no play after the stopped render"
    xdotool key space
    drv wait-status 0 "$PLAYING_TEXT"
    xdotool key space
    drv wait-status 0 ""
    close_lumetra
}

# Right-button selection with the mouse, Delete, Undo and Redo with their keys, the undo slot files
# beside the program, New Image kept for Undo, and the exit snapshot in the newest slot file. (The
# status texts of a selection and the pointer readout are the canvas window's tests'.)
selection_delete_undo_and_slot_files() {
    rm -rf "$E2E_APP/Undo"
    start_lumetra
    local tone=$E2E_PICTURES/tone.bmp ramps=$E2E_PICTURES/ramps.bmp undo=$E2E_APP/Undo
    open_picture "$(winpath "$tone")"
    open_picture "$(winpath "$ramps")"

    local x0 y0 x1 y1
    read -r x0 y0 <<<"$(picture_point 10 20)"
    read -r x1 y1 <<<"$(picture_point 60 50)"
    drag 3 "$x0" "$y0" "$x1" "$y1"
    drv wait-status 1 "10, 20, 60, 50"
    shot selection_done

    # Del blacks out the selection; a right click where it started clears the selection, so that
    # the canvas shows the plain pixels.
    local deleted=$E2E_ROOT/ramps_deleted.bmp
    make_bmp "$deleted" "$ramps" -fill black -draw 'rectangle 10,20 59,49'
    xdotool key Delete
    read -r x0 y0 <<<"$(picture_point 30 30)"
    drag 3 "$x0" "$y0" "$x0" "$y0"
    drv wait-status 1 "No selection"
    expect_true "Del blacked out the selection" canvas_shows "$deleted" undo_deleted
    # Ctrl+Z and Ctrl+Y step through the ring, whose older pictures come back from the slot files
    # (Undo1.bmp, ... in the Undo folder beside the program); they are seen on the canvas.
    local step key file
    for step in ctrl+z:ramps ctrl+y:deleted ctrl+z:ramps ctrl+z:tone ctrl+y:ramps; do
        key=${step%%:*}
        file=$ramps
        [ "${step#*:}" = deleted ] && file=$deleted
        [ "${step#*:}" = tone ] && file=$tone
        xdotool key "$key"
        expect_true "$key shows the ${step#*:} picture" canvas_shows "$file" "undo_${step/:/_}"
    done

    # New Image asks for the changed picture first; left unsaved (No), the new one (Enter takes
    # its default size) gives the start title back and keeps the picture before it for Undo.
    xdotool key ctrl+n
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to ramps.bmp?" "New Image asks first"
    drv answer-box 7
    drv wait-dialog "Create New Image" wait-active "Create New Image"
    xdotool key Return
    drv wait-no-dialog "Create New Image" wait-title "$E2E_START_TITLE"
    xdotool key ctrl+z
    expect_true "Undo after New Image brings the picture back" canvas_shows "$ramps" undo_new
    exit_lumetra
    local newest
    newest=$(ls -t "$undo"/Undo*.bmp | head -n 1)
    expect_true "the exit snapshot ($newest) holds the picture at exit" same_pixels "$ramps" "$newest"
    expect_eq "$(ls "$undo" | grep -vc '^Undo[0-9]*\.bmp$' || true)" 0 \
        "no other file in the Undo folder"
}

# A file in the place of the undo folder: the snapshots stay in memory, one step of Undo and Redo
# still works, a step that would need a slot file does nothing and says nothing, and the exit is
# clean.
undo_without_a_usable_undo_folder() {
    rm -rf "$E2E_APP/Undo"
    printf 'not a folder' >"$E2E_APP/Undo"
    # Whatever happens below, the folder comes back for the scenarios after this one.
    trap 'rm -f "$E2E_APP/Undo"; mkdir -p "$E2E_APP/Undo"' EXIT
    start_lumetra
    local tone=$E2E_PICTURES/tone.bmp ramps=$E2E_PICTURES/ramps.bmp
    open_picture "$(winpath "$tone")"
    open_picture "$(winpath "$ramps")"
    local step shown=ramps
    for step in ctrl+z:tone ctrl+y:ramps ctrl+z:tone ctrl+z:tone; do
        xdotool key "${step%%:*}"
        # A step that leaves the picture as it is shows at once: give it time to do anything.
        [ "${step#*:}" != "$shown" ] || sleep 0.5
        shown=${step#*:}
        expect_true "${step%%:*} shows the ${step#*:} picture" \
            canvas_shows "$E2E_PICTURES/${step#*:}.bmp" "no_undo_folder_${step#*:}"
    done
    expect_eq "$(drv message-box)" "" "no message box"
    exit_lumetra
    expect_eq "$(cat "$E2E_APP/Undo")" "not a folder" "the file in the folder's place untouched"
}

# At 200% (192 dots per inch): the pictures for that scale, fonts and dialog layout.
screenshots_at_200_percent() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
    # Back to 96 however the scenario ends (it runs in its own subshell).
    trap "wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1" EXIT
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/ramps.bmp")"
    xdotool key alt+t r
    drv wait-dialog "Render Options" sleep 300
    shot main_with_tool_windows_200
    close_lumetra
}
