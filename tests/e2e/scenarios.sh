# The end-to-end scenarios of pictures and sound files. Each function starts Lumetra.exe (the
# runner has emptied the settings and the sound folder), acts as a user would and checks what the
# program shows and writes. The runner (scripts/e2e.sh) calls them in this order.

E2E_SCENARIOS=(
    render_save_and_reopen
    selection_delete_undo_and_slot_files
)

# Pictures shared by the scenarios (made once per run by make_pictures).
make_pictures() {
    local p=$E2E_PICTURES
    mkdir -p "$p"
    # One red line across most of row 49 of a 200 x 100 picture: a single tone in the left channel.
    make_bmp "$p/tone.bmp" -size 200x100 xc:black -fill '#ff0000' -draw 'rectangle 20,49 179,49'
    make_bmp "$p/ramps.bmp" -size 120x60 gradient:'#ff2000-#00ff40' \
        \( -size 120x60 gradient:'#000000-#0000ff' -rotate 90 \) -compose plus -composite
    make_bmp "$p/black.bmp" -size 64x32 xc:black
    convert -size 80x40 gradient:'#ff8000-#00ff80' -quality 95 "$p/gradient.jpg"
    convert -size 60x30 pattern:checkerboard -fill '#20c040' -opaque black "$p/checker.gif"
    # A tall bright picture for a render long enough to be stopped.
    make_bmp "$p/bright.bmp" -size 300x200 xc:'#ffff00'
}

# A GIF opens through the Open dialog (a JPEG in the unsaved-changes scenario). A rendered picture
# saved with its render info keeps its pixels and writes a ".info" file; opened again over itself,
# the record behind the pixels is found. (The record's bytes are the unit tests'.)
render_save_and_reopen() {
    local tone=$E2E_PICTURES/tone.bmp out=$E2E_ROOT/saved/tone_copy.bmp
    rm -rf "$E2E_ROOT/saved"
    mkdir -p "$E2E_ROOT/saved"
    start_lumetra
    open_picture "$E2E_PICTURES/checker.gif"
    open_picture "$tone"
    xdotool key alt+o r # Options > Attach Render Info to BMP
    render F5
    wait_play_end
    file_dialog ctrl+s "Save Bitmap" "$(winpath "$out")"
    drv wait-title "tone_copy.bmp - Lumetra"
    expect_true "saved pixels equal the opened picture" same_pixels "$tone" "$out"
    # 200 x 100 pixels, rows of 600 bytes, the 164-byte render info behind the pixels.
    expect_eq "$(stat -c %s "$out")" $((54 + 600 * 100 + 164)) "saved file size"
    expect_eq "$(grep '^SIZE' "${out%.bmp}.info" | tr -d '\r')" "SIZE 200, 100" "the .info file"
    open_picture "$out"
    expect_eq "$(drv status 0)" "Render info updated by image" "status after reopening"
    close_lumetra
}

# Right-button selection with the mouse, Delete, Undo and Redo with their keys through the undo
# slot files beside the program, New Image kept for Undo, and the exit snapshot in the newest
# slot file. (The status texts of a selection are the canvas window's tests'.)
selection_delete_undo_and_slot_files() {
    local tone=$E2E_PICTURES/tone.bmp ramps=$E2E_PICTURES/ramps.bmp undo=$E2E_APP/Undo
    local deleted=$E2E_ROOT/ramps_deleted.bmp step file
    rm -rf "$undo"
    start_lumetra
    open_picture "$tone"
    open_picture "$ramps"
    select_region 10 20 60 50
    # Del blacks out the selection; a right click clears the selection, so that the canvas shows
    # the plain pixels.
    make_bmp "$deleted" "$ramps" -fill black -draw 'rectangle 10,20 59,49'
    xdotool key Delete
    select_region 30 30 30 30 "No selection"
    expect_true "Del blacked out the selection" canvas_shows "$deleted" undo_deleted
    # Ctrl+Z and Ctrl+Y step through the ring, whose older pictures come from the slot files.
    for step in ctrl+z:ramps ctrl+z:tone ctrl+y:ramps ctrl+y:ramps_deleted; do
        file=$E2E_PICTURES/${step#*:}.bmp
        [ "${step#*:}" = ramps_deleted ] && file=$deleted
        xdotool key "${step%%:*}"
        expect_true "${step%%:*} shows ${file##*/}" canvas_shows "$file" "undo_${step/:/_}"
    done
    # New Image asks for the changed picture first; left unsaved (No), the new one (Enter takes
    # its default size) gives the start title back and keeps the picture before it for Undo.
    xdotool key ctrl+n
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to ramps.bmp?" "New Image asks first"
    drv answer-box 7 wait-dialog "Create New Image" wait-active "Create New Image"
    xdotool key Return
    drv wait-no-dialog "Create New Image" wait-title "$E2E_START_TITLE"
    xdotool key ctrl+z
    expect_true "Undo after New Image brings the picture back" canvas_shows "$deleted" undo_new
    exit_lumetra
    expect_true "the exit snapshot holds the picture at exit" \
        same_pixels "$deleted" "$(ls -t "$undo"/Undo*.bmp | head -n 1)"
    expect_eq "$(ls "$undo" | grep -vc '^Undo[0-9]*\.bmp$' || true)" 0 "other files in Undo"
}
