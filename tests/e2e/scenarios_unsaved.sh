# A user's work is never lost: a changed picture is marked in the title and asked for before the
# program ends, Cancel keeps everything, a save that cannot be written says so, and no save puts
# BMP bytes under a JPEG's name.

E2E_SCENARIOS+=(
    unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten
)

unsaved_changes_are_asked_for_and_a_jpeg_is_never_overwritten() {
    local dir=$E2E_ROOT/unsaved jpeg box
    rm -rf "$dir"
    mkdir -p "$dir"
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
