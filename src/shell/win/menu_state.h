#pragma once
// The grayed and checked states of the main menu as a pure function of the program state, and
// applying them to a menu. The menu state update runs each time the menu opens and before an
// accelerator of a menu item acts (the platform sends WM_INITMENU first and drops the command of
// a grayed item).

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/shell_options.h"

namespace lumetra::win {

struct MenuStateInput {
    bool playbackActive = false;
    bool soundfileOpen = false;    // a render is writing its sound file
    std::int64_t soundLength = 0;  // values in the latest sound
    ShellOptions options;
    bool hasUndoImage = false;
    bool hasPath = false;
    bool clipboardHasDib = false;
    bool toolbarVisible = false;
    bool brushOpen = false;
    bool echordOpen = false;
    bool browserOpen = false;
    bool renderOptionsOpen = false;
};

struct MenuItemState {
    unsigned id = 0;
    std::optional<bool> grayed;   // unset: the rule says nothing about enabling
    std::optional<bool> checked;  // unset: not a check item
};

std::vector<MenuItemState> computeMenuStates(const MenuStateInput& input);

// Applies the states by command id; items missing from the menu are skipped.
void applyMenuStates(HMENU menu, const std::vector<MenuItemState>& states);

// The state of the running program.
MenuStateInput currentMenuStateInput();

// The menu state update on the main window's menu.
void updateMenuState(HMENU menu);

}  // namespace lumetra::win
