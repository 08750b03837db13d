# Cut, Copy and Paste between pictures of the program and with another program (the driver): what
# is pasted is checked through Save Image, what is copied through the CF_BITMAP another program
# reads.

E2E_SCENARIOS+=(
    copy_and_paste_between_two_pictures
    cut_blacks_out_the_region_and_undo_brings_it_back
    a_32_bit_picture_of_another_program_is_pasted
    copy_and_cut_from_the_image_browser
)

CLIP_DIR=$E2E_ROOT/clipboard

# Selects the picture rectangle from (X0, Y0) to (X1, Y1) with the right mouse button:
# select_region X0 Y0 X1 Y1
select_region() {
    local x0 y0 x1 y1
    read -r x0 y0 <<<"$(picture_point "$1" "$2")"
    read -r x1 y1 <<<"$(picture_point "$3" "$4")"
    drag 3 "$x0" "$y0" "$x1" "$y1"
    drv wait-status 1 "$1, $2, $3, $4"
}

# Presses KEYS, then Save Image (S) over the picture's own file, and waits for the file:
# save_picture FILE [KEYS...]
save_picture() {
    press_and_wait_file "$1" "${@:2}" s
}

# The size of the clipboard's picture as another program reads it (saved to read.bmp); nothing
# while there is none.
clipboard_size() {
    drv --timeout 2000 clipboard-save-bitmap "$(winpath "$CLIP_DIR/read.bmp")" 2>/dev/null || true
}

# A 50 x 30 region of one picture, copied with Ctrl+C, is what another program reads as CF_BITMAP
# and, pasted with Ctrl+V into a 50 x 30 selection of another picture, lands there 1:1.
copy_and_paste_between_two_pictures() {
    rm -rf "$CLIP_DIR"
    mkdir -p "$CLIP_DIR"
    cp "$E2E_PICTURES/tone.bmp" "$CLIP_DIR/target.bmp"
    start_lumetra
    open_picture "$(winpath "$E2E_PICTURES/ramps.bmp")"
    select_region 10 20 60 50
    xdotool key ctrl+c
    convert "$E2E_PICTURES/ramps.bmp" -crop 50x30+10+20 +repage "$CLIP_DIR/region.png"
    expect_soon clipboard_size 50x30 "the region's size as another program reads it"
    expect_true "another program reads the region as CF_BITMAP" \
        same_pixels "$CLIP_DIR/read.bmp" "$CLIP_DIR/region.png"

    open_picture "$(winpath "$CLIP_DIR/target.bmp")"
    select_region 100 40 150 70
    save_picture "$CLIP_DIR/target.bmp" ctrl+v
    shot clipboard_pasted
    convert "$E2E_PICTURES/tone.bmp" "$CLIP_DIR/region.png" -geometry +100+40 -composite \
        "$CLIP_DIR/expected.png"
    expect_true "Ctrl+V put the region into the selection" \
        same_pixels "$CLIP_DIR/target.bmp" "$CLIP_DIR/expected.png"
    close_lumetra
}

# Ctrl+X puts the region on the clipboard and blacks it out; Ctrl+Z takes the black back.
cut_blacks_out_the_region_and_undo_brings_it_back() {
    rm -rf "$CLIP_DIR"
    mkdir -p "$CLIP_DIR"
    cp "$E2E_PICTURES/ramps.bmp" "$CLIP_DIR/work.bmp"
    start_lumetra
    open_picture "$(winpath "$CLIP_DIR/work.bmp")"
    select_region 30 5 90 40
    save_picture "$CLIP_DIR/work.bmp" ctrl+x
    make_bmp "$CLIP_DIR/expected.bmp" "$E2E_PICTURES/ramps.bmp" -fill black \
        -draw 'rectangle 30,5 89,39'
    expect_true "Ctrl+X blacked out the region" \
        same_pixels "$CLIP_DIR/work.bmp" "$CLIP_DIR/expected.bmp"
    drv clipboard-save-bitmap "$(winpath "$CLIP_DIR/read.bmp")" >/dev/null
    convert "$E2E_PICTURES/ramps.bmp" -crop 60x35+30+5 +repage "$CLIP_DIR/region.png"
    expect_true "the cut region is on the clipboard" \
        same_pixels "$CLIP_DIR/read.bmp" "$CLIP_DIR/region.png"
    save_picture "$CLIP_DIR/work.bmp" ctrl+z
    expect_true "Ctrl+Z brought the region back" \
        same_pixels "$CLIP_DIR/work.bmp" "$E2E_PICTURES/ramps.bmp"
    close_lumetra
}

# Another program puts a picture of 32 bits a pixel on the clipboard (top-down, bit-field masks);
# Ctrl+V with no selection fills the picture of the same size with it.
a_32_bit_picture_of_another_program_is_pasted() {
    rm -rf "$CLIP_DIR"
    mkdir -p "$CLIP_DIR"
    cp "$E2E_PICTURES/ramps.bmp" "$CLIP_DIR/work.bmp"
    make_bmp "$CLIP_DIR/other.bmp" -size 120x60 gradient:'#00ffc0-#a01000' -fill '#ff00ff' \
        -draw 'rectangle 5,5 30,20'
    start_lumetra
    open_picture "$(winpath "$CLIP_DIR/work.bmp")"
    drv clipboard-put-32 "$(winpath "$CLIP_DIR/other.bmp")"
    save_picture "$CLIP_DIR/work.bmp" ctrl+v
    expect_true "the 32-bit picture was pasted" \
        same_pixels "$CLIP_DIR/work.bmp" "$CLIP_DIR/other.bmp"
    close_lumetra
}

# With the Image Browser the active window, Ctrl+C and Ctrl+X put its selected file on the
# clipboard, and the picture on the canvas stays as it was.
copy_and_cut_from_the_image_browser() {
    rm -rf "$CLIP_DIR"
    mkdir -p "$CLIP_DIR/filters/fades"
    make_bmp "$CLIP_DIR/filters/fades/fade.bmp" -size 96x64 gradient:white-'#3060a0' -rotate 90
    cp "$E2E_PICTURES/ramps.bmp" "$CLIP_DIR/work.bmp"
    put_setting Directories Filter REG_SZ "$(winpath "$CLIP_DIR/filters")\\"
    put_setting Windows main.w REG_DWORD 600
    put_setting Windows main.h REG_DWORD 500
    put_setting Windows imgbr.x REG_DWORD 640
    put_setting Windows imgbr.y REG_DWORD 50
    put_setting Windows imgbr.w REG_DWORD 420
    put_setting Windows imgbr.h REG_DWORD 470
    start_lumetra
    open_picture "$(winpath "$CLIP_DIR/work.bmp")"
    show_tool_window "Image Browser" 504
    local x y w h
    read -r x y w h <<<"$(drv item-rect "Image Browser" 1081)"
    xdotool mousemove $((x + 36)) $((y + 29)) click 1
    drv wait-dialog "fade.bmp - Image Browser"
    xdotool key ctrl+c
    expect_soon clipboard_size 64x96 "the browser's picture on the clipboard"
    expect_true "Ctrl+C put the browser's file on the clipboard" \
        same_pixels "$CLIP_DIR/read.bmp" "$CLIP_DIR/filters/fades/fade.bmp"

    drv clipboard-put-32 "$(winpath "$E2E_PICTURES/ramps.bmp")"
    xdotool key ctrl+x
    expect_soon clipboard_size 64x96 "the browser's picture on the clipboard after Ctrl+X"
    expect_true "Ctrl+X put the browser's file on the clipboard" \
        same_pixels "$CLIP_DIR/read.bmp" "$CLIP_DIR/filters/fades/fade.bmp"
    shot clipboard_browser_cut
    focus_main
    save_picture "$CLIP_DIR/work.bmp"
    expect_true "the picture was left alone" \
        same_pixels "$CLIP_DIR/work.bmp" "$E2E_PICTURES/ramps.bmp"
    close_lumetra
}
