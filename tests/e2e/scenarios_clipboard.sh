# Cut, Copy and Paste with another program (the driver): what is copied is read back as the
# CF_BITMAP another program reads, what is pasted is checked through Save Image.

E2E_SCENARIOS+=(
    clipboard_with_another_program
)

CLIP_DIR=$E2E_ROOT/clipboard

# Waits until another program reads the part W x H + X + Y of the picture FILE from the
# clipboard: expect_clipboard WHAT FILE W H X Y
expect_clipboard() {
    convert "$2" -crop "$3x$4+$5+$6" +repage "$CLIP_DIR/region.png"
    expect_soon clipboard_size "$3x$4" "the size of $1 as another program reads it"
    expect_true "another program reads $1 as CF_BITMAP" \
        same_pixels "$E2E_ROOT/clipboard.png" "$CLIP_DIR/region.png"
}

# Ctrl+C of a region of one picture, Ctrl+V into a selection of the same size in another; a 32-bit
# top-down picture of another program pasted with no selection fills the picture of its size;
# Ctrl+X blacks out a region and puts it on the clipboard.
clipboard_with_another_program() {
    local ramps=$E2E_PICTURES/ramps.bmp work=$CLIP_DIR/work.bmp
    rm -rf "$CLIP_DIR"
    mkdir -p "$CLIP_DIR"
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
