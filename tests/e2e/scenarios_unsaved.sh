# A user's work is never lost: a changed picture is marked in the title and asked for before the
# program ends, Cancel keeps everything, a save that cannot be written says so, and no save puts
# BMP bytes under a JPEG's name.

E2E_SCENARIOS+=(
    unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten
)

box_text() {
    drv message-box
}

# Waits until the program this shell started has ended: wait_for_end WHAT
wait_for_end() {
    local pid i
    pid=$(cat "$E2E_ROOT/lumetra.pid")
    for i in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end $1 (box: \"$(box_text)\")"
    wait "$pid"
    rm -f "$E2E_ROOT/lumetra.pid"
    log "ok: the program ended $1"
}

unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten() {
    local dir=$E2E_ROOT/unsaved
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$E2E_PICTURES/gradient.jpg" "$dir/photo.jpg"
    local jpeg
    jpeg=$(md5sum <"$dir/photo.jpg")
    start_lumetra
    open_picture "$(winpath "$dir/photo.jpg")"
    xdotool key i
    drv wait-title "*photo.jpg - Lumetra"

    # Exit asks first; Cancel leaves the program, the picture and its mark as they were.
    focus_main
    xdotool key alt+f x
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to photo.jpg?" "File > Exit asks"
    shot unsaved_question
    drv answer-box 2
    expect_soon box_text "" "the question is gone after Cancel"
    expect_eq "$(drv title)" "*photo.jpg - Lumetra" "Cancel keeps the program and the mark"

    # S on a picture read from a JPEG goes to Save As with "photo.bmp" proposed. A file that cannot
    # be written (a folder holds the name the save writes first) is reported, and nothing changes.
    mkdir "$dir/photo.bmp.saving"
    focus_main
    xdotool key s
    drv wait-dialog "Save Bitmap"
    xdotool key Return
    drv wait-no-dialog "Save Bitmap"
    local box
    box=$(drv wait-message-box)
    case "$box" in
        "Error writing bitmap file|Error writing "*'photo.bmp'*'Error '*) log "ok: the write error is shown: $box" ;;
        *) fail "the write error box: got \"$box\"" ;;
    esac
    drv answer-box 1
    expect_eq "$(drv title)" "*photo.jpg - Lumetra" "a failed save keeps the mark"
    rmdir "$dir/photo.bmp.saving"
    focus_main
    xdotool key s
    drv wait-dialog "Save Bitmap"
    xdotool key Return
    drv wait-no-dialog "Save Bitmap" wait-title "photo.bmp - Lumetra" wait-status 0 "Saved photo.bmp"
    expect_eq "$(md5sum <"$dir/photo.jpg")" "$jpeg" "the JPEG is untouched"
    expect_eq "$(head -c 2 "$dir/photo.bmp")" "BM" "photo.bmp is a BMP file"

    # Save As with a typed JPEG name writes a BMP file under that name with ".bmp" appended.
    file_dialog ctrl+s "Save Bitmap" "mytest.jpg"
    drv wait-title "mytest.jpg.bmp - Lumetra"
    expect_true "no mytest.jpg was written" test ! -e "$dir/mytest.jpg"
    expect_true "the picture went to mytest.jpg.bmp" same_pixels "$dir/photo.bmp" "$dir/mytest.jpg.bmp"

    # Yes at the close box saves before the end.
    xdotool key i
    drv wait-title "*mytest.jpg.bmp - Lumetra"
    drv command 113
    expect_eq "$(drv wait-message-box)" "Lumetra|Save changes to mytest.jpg.bmp?" "the close asks"
    drv answer-box 6
    wait_for_end "after Yes"
    "$LUMETRA_EDIT" "$dir/photo.bmp" "$dir/inverted.bmp" invert >/dev/null
    expect_true "Yes saved the changed picture" same_pixels "$dir/inverted.bmp" "$dir/mytest.jpg.bmp"
}
