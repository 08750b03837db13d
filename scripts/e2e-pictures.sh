# The pictures of the user guide and the README, taken from the program as it is now by the
# end-to-end runner (scripts/e2e.sh sources this file with the scenarios; its helpers are
# tests/e2e/lib.sh's). These are no tests: they only photograph what the program shows.
#   guide_screenshots, guide_zoomed_canvas: into build/windows/e2e-artifacts/guide/, which
#     scripts/make-guide.sh takes (both run with every full end-to-end run);
#   readme_screenshot: docs/screenshot.png, only when named: `scripts/e2e.sh readme_screenshot`.

E2E_SCENARIOS+=(
    guide_screenshots
    guide_zoomed_canvas
)

GUIDE_TOOLS=("Brush Tools|502|brush-tools" "Echord Tool|503|echord-tool"
    "Image Browser|504|image-browser" "Render Options|310|render-options")

# Hides a tool window with its menu command, which toggles: hide_tool_window CAPTION ID
hide_tool_window() { ! drv windows | grep -q "|$1|" || drv command "$2" wait-no-dialog "$1"; }

# Saves the part WxH+X+Y of the screen once two shots a moment apart agree (it has been painted):
# settled_shot GEOMETRY OUT [IMPORT_OPTION...]
settled_shot() {
    local try
    import -window root -crop "$1" +repage "${@:3}" "$2"
    for ((try = 0; try < E2E_WAIT_TRIES; try++)); do
        import -window root -crop "$1" +repage "${@:3}" "$2.new.png"
        same_pixels "$2" "$2.new.png" && break
        mv "$2.new.png" "$2"
    done
    rm -f "$2.new.png"
}

# Crops one window out of the screen into $E2E_ARTIFACTS/guide/NAME.png: guide_shot CAPTION NAME
guide_shot() {
    local x y w h
    read -r x y w h <<<"$(window_rect "$1")"
    [ -n "$w" ] || fail "no window \"$1\" to photograph"
    settled_shot "${w}x${h}+${x}+${y}" "$E2E_ARTIFACTS/guide/$2.png"
    log "guide picture $2.png (${w}x${h})"
}

# The program in a main window of W x H with no tool window shown, the picture PATH open:
# guide_start W H PATH
guide_start() {
    local tool caption command
    mkdir -p "$E2E_ARTIFACTS/guide"
    put_places main.w:"$1" main.h:"$2"
    start_lumetra
    for tool in "${GUIDE_TOOLS[@]}"; do
        IFS='|' read -r caption command _ <<<"$tool"
        hide_tool_window "$caption" "$command"
    done
    open_picture "$3"
}

# The main window with the demo picture after a render, each tool window alone, the sound
# options. The program has the packaged starter library beside it, as a user has it (the windows
# preset's starter_library target); the scenarios' own filter folder comes back after.
guide_screenshots() {
    local starter=$E2E_TESTS/../../build/windows/starter tool caption command name
    [ -d "$starter/Filters" ] || fail "no packaged starter library in $starter"
    mv "$E2E_APP/Filters" "$E2E_ROOT/scenario-filters"
    cp -r "$starter/Images" "$starter/Filters" "$E2E_APP/"
    guide_start 640 380 "$E2E_APP/Images/demo.bmp"
    render F5
    wait_play_end
    # The pointer over the picture fills the readout of time and pitch.
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 150 40)
    guide_shot LumetraWin main-window
    for tool in "${GUIDE_TOOLS[@]}"; do
        IFS='|' read -r caption command name <<<"$tool"
        show_tool_window "$caption" "$command"
        guide_shot "$caption" "$name"
        hide_tool_window "$caption" "$command"
    done
    drv command 420 wait-dialog "Soundcard/Realtime Options"
    guide_shot "Soundcard/Realtime Options" sound-options
    xdotool key Escape
    drv wait-no-dialog "Soundcard/Realtime Options"
    close_lumetra
    rm -rf "$E2E_APP/Images" "$E2E_APP/Filters"
    mv "$E2E_ROOT/scenario-filters" "$E2E_APP/Filters"
}

# The canvas at twice the size, with the rulers marking the pointer on the lower rising line.
guide_zoomed_canvas() {
    guide_start 700 460 "$E2E_TESTS/../../docs/demo.bmp"
    zoom_at_origin up "Zoom 2x"
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 260 180)
    guide_shot LumetraWin zoomed-canvas
    close_lumetra
}

# The starter library's chord progression rendered beside the image browser and the tool windows.
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
