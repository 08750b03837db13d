# Help and the user guide: F1 asks the user's browser (a registered stand-in) for the guide
# beside the program, at the section of the active tool window; and the pictures of the guide,
# taken from the program as it is now.

E2E_SCENARIOS+=(
    f1_opens_the_guide_at_the_active_windows_section
    guide_screenshots
    guide_zoomed_canvas
)

f1_opens_the_guide_at_the_active_windows_section() {
    register_standin_browser
    start_lumetra
    focus_main
    xdotool key F1
    expect_help_opens contents
    show_tool_window "Render Options" 310
    activate_tool_window "Render Options"
    xdotool key F1
    expect_help_opens "Render options"
    # The Help menu's item, once the main window is active again.
    focus_main
    xdotool key alt+h Return
    expect_help_opens contents

    # Without the guide beside the program, a warning says where it belongs. The guide is put
    # back before anything is checked, for the scenarios that follow.
    mv "$E2E_APP/guide" "$E2E_ROOT/guide.away"
    xdotool key F1
    local box
    box=$(drv wait-message-box || true)
    mv "$E2E_ROOT/guide.away" "$E2E_APP/guide"
    expect_eq "${box%%|*}" "Lumetra Warning!" "caption of the box without a guide"
    expect_true "the box names the missing page" \
        grep -qF "$(winpath "$E2E_APP")\\guide\\index.html" <<<"${box#*|}"
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

# Hides a tool window with its menu command when it is shown: hide_tool_window CAPTION COMMAND
hide_tool_window() {
    if drv windows | grep -q "|$1|"; then
        drv command "$2"
        drv wait-no-dialog "$1"
    fi
}

# The pictures of the user guide (scripts/make-guide.sh takes them from the artifacts): the main
# window with the demo picture after a render, each tool window alone, the sound options. The program has the packaged starter library beside it, as a
# user has it (build it with the windows preset's starter_library target); the scenarios' own
# filter folder comes back after.
guide_screenshots() {
    local tools=("Brush Tools|502|brush-tools" "Echord Tool|503|echord-tool"
        "Image Browser|504|image-browser" "Render Options|310|render-options") tool caption command name
    local starter=$E2E_TESTS/../../build/windows/starter
    [ -d "$starter/Filters" ] || fail "no packaged starter library in $starter"
    mkdir -p "$E2E_ARTIFACTS/guide"
    mv "$E2E_APP/Filters" "$E2E_ROOT/scenario-filters"
    cp -r "$starter/Images" "$starter/Filters" "$E2E_APP/"
    # Room for the demo picture beside the canvas's grey.
    put_setting Windows main.w REG_DWORD 640
    put_setting Windows main.h REG_DWORD 380
    start_lumetra
    for tool in "${tools[@]}"; do
        IFS='|' read -r caption command name <<<"$tool"
        hide_tool_window "$caption" "$command"
    done
    open_picture "$(winpath "$E2E_APP/Images/demo.bmp")"
    render F5
    wait_play_end
    # The pointer over the picture fills the readout of time and pitch.
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 150 40)
    guide_shot LumetraWin main-window
    for tool in "${tools[@]}"; do
        IFS='|' read -r caption command name <<<"$tool"
        show_tool_window "$caption" "$command"
        guide_shot "$caption" "$name"
        hide_tool_window "$caption" "$command"
    done
    drv command 420
    drv wait-dialog "Soundcard/Realtime Options"
    guide_shot "Soundcard/Realtime Options" sound-options
    xdotool key Escape
    drv wait-no-dialog "Soundcard/Realtime Options"

    close_lumetra
    rm -rf "$E2E_APP/Images" "$E2E_APP/Filters"
    mv "$E2E_ROOT/scenario-filters" "$E2E_APP/Filters"
}

# The guide's picture of the canvas at twice the size, with the rulers marking the pointer.
guide_zoomed_canvas() {
    local tool
    mkdir -p "$E2E_ARTIFACTS/guide"
    put_setting Windows main.w REG_DWORD 700
    put_setting Windows main.h REG_DWORD 460
    start_lumetra
    for tool in "Brush Tools|502" "Echord Tool|503" "Image Browser|504" "Render Options|310"; do
        hide_tool_window "${tool%|*}" "${tool#*|}"
    done
    open_picture "$(winpath "$E2E_TESTS/../../docs/demo.bmp")"
    zoom_at_origin up "Zoom 2x"
    # The pointer on the lower rising line fills the readout and marks both rulers.
    # shellcheck disable=SC2046
    xdotool mousemove $(picture_point 260 180)
    guide_shot LumetraWin zoomed-canvas
    close_lumetra
}
