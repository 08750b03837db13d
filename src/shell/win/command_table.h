#pragma once
// The one table of the program's commands: for every menu item, accelerator and toolbar button,
// its id, what runs it, what it does while a render runs, and the rules that gray or check its
// menu item. Dispatch and the menu states both come from here.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "shell/shell_options.h"

namespace lumetra::win {

struct Program;

// What a command does when it arrives while a render runs (through the render's message pump):
// most are dropped, since the render holds the picture and the settings; display and window
// toggles run; Exit closes the window once the render is over.
enum class WhileRendering { Dropped, Runs, ClosesAfter };

// The facts the grayed and checked marks follow.
struct MenuFacts {
    bool playbackActive = false;
    bool soundfileOpen = false;    // a render is writing its sound file
    std::int64_t soundLength = 0;  // values in the latest sound
    ShellOptions options;
    bool hasUndoImage = false;
    bool hasPath = false;
    bool clipboardHasPicture = false;  // CF_DIB or CF_BITMAP
    bool toolbarVisible = false;
    bool brushOpen = false;
    bool echordOpen = false;
    bool browserOpen = false;
    bool renderOptionsOpen = false;
    bool rulersShown = false;
};

using CommandHandler = void (*)(Program& program, int id);
using MenuRule = bool (*)(const MenuFacts& facts);

struct Command {
    int first = 0;
    int last = 0;                  // first, or the end of a range of ids
    CommandHandler run = nullptr;  // null: a feature the program does not have yet
    WhileRendering whileRendering = WhileRendering::Dropped;
    MenuRule grayed = nullptr;   // null: grayed only when there is nothing to run
    MenuRule checked = nullptr;  // null: not a check item
};

std::span<const Command> commandTable();
const Command* findCommand(int id);

// Runs command `id`; an id without a command, or one the moment does not allow, does nothing.
void executeCommand(Program& program, int id);

struct MenuItemState {
    unsigned id = 0;
    bool grayed = false;
    std::optional<bool> checked;  // unset: not a check item
};

// The state of every menu item of the table for these facts (ranges are left to their owners).
std::vector<MenuItemState> menuStates(const MenuFacts& facts);
// Applies the states by command id; items missing from the menu are skipped.
void applyMenuStates(HMENU menu, const std::vector<MenuItemState>& states);

// The facts of the running program.
MenuFacts currentMenuFacts(const Program& program);
// The menu state update: runs each time the menu opens and before an accelerator of a menu item
// acts (the platform sends WM_INITMENU first and drops the command of a grayed item).
void updateMenuState(Program& program, HMENU menu);

}  // namespace lumetra::win
