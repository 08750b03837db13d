#pragma once
// Loading and saving the settings that outlive a run: the core's one-pass settings store over the
// registry, between the program state and the records the store fills.

#include <windows.h>

#include <string>

#include "shell/settings_store.h"
#include "base/settings_value_store.h"
#include "tools/patch_blocks.h"

namespace lumetra::win {

// Fills the default render settings, the shell options, the sound options, the window layout
// (moved back onto this screen where it lies off it), the stored folders and the patch
// libraries from the registry; whatever cannot be read keeps its default.
void loadSettings();
// Writes them all, with the main window's placement taken first.
void saveSettings();

// The same over any value store, for a given screen and main-window placement (the tests use a
// scratch key). True when every key could be opened.
bool loadSettings(SettingsValueStore& store, ScreenSize screen);
bool saveSettings(SettingsValueStore& store, const MainWindowPlacement& mainWindow);

// The main window's normal-position rectangle and show state; the layout's rectangle when there
// is no window any more (a fatal error before the main window stood).
MainWindowPlacement mainWindowPlacement(HWND window);
ScreenSize screenSize();

// The patch libraries live for the whole run; the tools that use them read and change them here.
BrushPatchBlock& brushPatches();
EchordPatchTable& echordPatches();

// "Error %d: %s" for the last value the last save could not write; empty when all were written.
const std::string& lastSettingsError();

}  // namespace lumetra::win
