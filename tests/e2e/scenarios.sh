# The end-to-end scenarios of pictures, sound files and the clipboard. Each function starts
# Lumetra.exe (the runner has emptied the settings and the sound folder), acts as a user would and
# checks what the program shows and writes. The runner (scripts/e2e.sh) calls them in order.

E2E_SCENARIOS=(
    selection_delete_undo_and_slot_files
    analyze_soundfile_agrees_with_the_batch_analyser
    clipboard_with_another_program
    unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten
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
    # A tall bright picture for a render long enough to be stopped.
    make_bmp "$p/bright.bmp" -size 300x200 xc:'#ffff00'
}

# Right-button selection, Delete, Undo and Redo through the undo slot files beside the program,
# New Image kept for Undo, and the exit snapshot in the newest slot file.
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

# Analyze Soundfile (A) on a grid typed into its dialog: the picture saved equals lumetra-analyze's,
# a file that is no soundfile is refused with a box, and F5 renders to the analysed length.
analyze_soundfile_agrees_with_the_batch_analyser() {
    local dir=$E2E_ROOT/analysis sound=$E2E_SOUNDS/tone.wav field
    fresh_dir "$dir"
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

CLIP_DIR=$E2E_ROOT/clipboard

# Waits until another program reads the part W x H + X + Y of the picture FILE from the
# clipboard: expect_clipboard WHAT FILE W H X Y
expect_clipboard() {
    convert "$2" -crop "$3x$4+$5+$6" +repage "$CLIP_DIR/region.png"
    expect_soon clipboard_size "$3x$4" "the size of $1 as another program reads it"
    expect_true "another program reads $1 as CF_BITMAP" \
        same_pixels "$E2E_ROOT/clipboard.png" "$CLIP_DIR/region.png"
}

# Cut, Copy and Paste with another program (the driver): Ctrl+C of a region, Ctrl+V into a
# selection of its size in another picture; a 32-bit top-down picture of another program pasted
# with no selection fills the picture of its size; Ctrl+X blacks out a region.
clipboard_with_another_program() {
    local ramps=$E2E_PICTURES/ramps.bmp work=$CLIP_DIR/work.bmp
    fresh_dir "$CLIP_DIR"
    cp "$E2E_PICTURES/tone.bmp" "$CLIP_DIR/target.bmp"
    cp "$ramps" "$work"
    start_lumetra
    open_picture "$ramps"
    select_region 10 20 60 50
    xdotool key ctrl+c
    expect_clipboard "the copied region" "$ramps" 50 30 10 20
    open_picture "$CLIP_DIR/target.bmp"
    select_region 100 40 150 70
    press_and_wait_file "$CLIP_DIR/target.bmp" ctrl+v s
    convert "$E2E_PICTURES/tone.bmp" "$CLIP_DIR/region.png" -geometry +100+40 -composite \
        "$CLIP_DIR/expected.png"
    expect_true "Ctrl+V put the region into the selection" \
        same_pixels "$CLIP_DIR/target.bmp" "$CLIP_DIR/expected.png"

    make_bmp "$CLIP_DIR/other.bmp" -size 120x60 gradient:'#00ffc0-#a01000' -fill '#ff00ff' \
        -draw 'rectangle 5,5 30,20'
    open_picture "$work"
    clipboard_put "$CLIP_DIR/other.bmp"
    press_and_wait_file "$work" ctrl+v s
    expect_true "the 32-bit picture was pasted" same_pixels "$work" "$CLIP_DIR/other.bmp"
    select_region 30 5 90 40
    press_and_wait_file "$work" ctrl+x s
    make_bmp "$CLIP_DIR/expected.bmp" "$CLIP_DIR/other.bmp" -fill black -draw 'rectangle 30,5 89,39'
    expect_true "Ctrl+X blacked out the region" same_pixels "$work" "$CLIP_DIR/expected.bmp"
    expect_clipboard "the cut region" "$CLIP_DIR/other.bmp" 60 35 30 5
    close_lumetra
}

# A user's work is never lost: a changed picture is asked for before the end, Cancel keeps it, a
# save that cannot be written says so, and no save puts BMP bytes under a JPEG's name.
unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten() {
    local dir=$E2E_ROOT/unsaved jpeg box
    fresh_dir "$dir"
    cp "$E2E_PICTURES/gradient.jpg" "$dir/photo.jpg"
    jpeg=$(md5sum <"$dir/photo.jpg")
    start_lumetra
    open_picture "$(winpath "$dir/photo.jpg")"
    xdotool key i
    drv wait-title "*photo.jpg - Lumetra"

    # Exit asks first; Cancel leaves the program, the picture and its mark as they were.
    focus_main
    xdotool key alt+f x
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to photo.jpg?" "File > Exit asks"
    drv answer-box 2
    expect_soon "drv message-box" "" "the question is gone after Cancel"
    expect_eq "$(drv title)" "*photo.jpg - Lumetra" "Cancel keeps the program and the mark"

    # S on a picture read from a JPEG goes to Save As with "photo.bmp" proposed. A file that cannot
    # be written (a folder holds the name the save writes first) is reported, and nothing changes.
    mkdir "$dir/photo.bmp.saving"
    focus_main
    file_dialog s "Save Bitmap" ""
    box=$(drv wait-message-box)
    expect_true "the write error is shown: $box" \
        bash -c '[[ "$1" == "Error writing bitmap file|Error writing "*photo.bmp*"Error "* ]]' _ "$box"
    drv answer-box 1
    expect_eq "$(drv title)" "*photo.jpg - Lumetra" "a failed save keeps the mark"
    rmdir "$dir/photo.bmp.saving"
    focus_main
    file_dialog s "Save Bitmap" ""
    drv wait-title "photo.bmp - Lumetra"
    expect_eq "$(md5sum <"$dir/photo.jpg")" "$jpeg" "the JPEG is untouched"
    expect_eq "$(head -c 2 "$dir/photo.bmp")" "BM" "photo.bmp is a BMP file"

    # Save As with a typed JPEG name writes a BMP file under that name with ".bmp" appended.
    file_dialog ctrl+s "Save Bitmap" "mytest.jpg"
    drv wait-title "mytest.jpg.bmp - Lumetra"
    expect_true "no mytest.jpg was written" test ! -e "$dir/mytest.jpg"
    expect_true "the picture went to mytest.jpg.bmp" same_pixels "$dir/photo.bmp" "$dir/mytest.jpg.bmp"

    # Yes at the close box saves before the end.
    xdotool key i
    drv wait-title "*mytest.jpg.bmp - Lumetra" command 113
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to mytest.jpg.bmp?" "the close asks"
    drv answer-box 6
    end_of_lumetra "after Yes"
    "$LUMETRA_EDIT" "$dir/photo.bmp" "$dir/inverted.bmp" invert >/dev/null
    expect_true "Yes saved the changed picture" same_pixels "$dir/inverted.bmp" "$dir/mytest.jpg.bmp"
}
