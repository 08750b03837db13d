# The README's screenshot, taken from the current program (not a test; scripts/e2e.sh does not
# run it by itself): `E2E_EXTRA=tests/e2e/readme_screenshot.sh scripts/e2e.sh readme_screenshot`
# writes docs/screenshot.png, the starter library's chord progression rendered beside the tools.
readme_screenshot() {
    local repo=$E2E_TESTS/../..
    cp -r "$repo/build/windows/starter/Images" "$repo/build/windows/starter/Filters" "$E2E_APP/"
    put_places main.x:8 main.y:8 main.w:700 main.h:400 imgbr.x:716 imgbr.y:8 brush.x:8 \
        brush.y:416 echord.x:320 echord.y:416
    start_lumetra
    open_picture "$E2E_APP/Images/chords.bmp"
    render F5
    wait_play_end
    settled_shot 1088x740+0+0 "$repo/docs/screenshot.png" -strip
    log "wrote docs/screenshot.png"
    close_lumetra
}
