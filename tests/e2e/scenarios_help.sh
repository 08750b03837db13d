# Help: F1 asks the user's browser (a registered stand-in) for the guide beside the program, at
# the section of the active tool window.

E2E_SCENARIOS+=(
    f1_opens_the_guide_at_the_active_windows_section
)

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
