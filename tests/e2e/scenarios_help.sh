# Help and the user guide: F1 asks the user's browser (a registered stand-in) for the guide
# beside the program, at the section of the active tool window; and the pictures of the guide,
# taken from the program as it is now (scripts/make-guide.sh takes them from the artifacts).

E2E_SCENARIOS+=(
    f1_opens_the_guide_at_the_active_windows_section
    guide_screenshots
    guide_zoomed_canvas
)

GUIDE_TOOLS=("Brush Tools|502|brush-tools" "Echord Tool|503|echord-tool"
    "Image Browser|504|image-browser" "Render Options|310|render-options")

f1_opens_the_guide_at_the_active_windows_section() {
    local box
    register_standin_browser
    start_lumetra
    focus_main
    xdotool key F1
    expect_help_opens contents
    show_tool_window "Render Options" 310
    activate_tool_window "Render Options"
    xdotool key F1
    expect_help_opens "Render options"
    focus_main
    xdotool key alt+h Return # the Help menu's item
    expect_help_opens contents
    # Without the guide beside the program, a warning names where it belongs. The guide is put
    # back before anything is checked, for the scenarios that follow.
    mv "$E2E_APP/guide" "$E2E_ROOT/guide.away"
    xdotool key F1
    box=$(drv wait-message-box || true)
    mv "$E2E_ROOT/guide.away" "$E2E_APP/guide"
    expect_eq "${box%%|*}" "Lumetra Warning!" "caption of the box without a guide"
    expect_true "the box names the missing page: $box" \
        grep -qF "$(winpath "$E2E_APP")\\guide\\index.html" <<<"$box"
    xdotool key Return
    drv wait-no-dialog "Lumetra Warning!"
    expect_true "nothing else was asked of the browser" test ! -f "$E2E_ROOT/help-request.txt"
    close_lumetra
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
