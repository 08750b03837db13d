#pragma once
// Loading and saving the settings that outlive a run: the core's one-pass settings store over the
// registry, straight into the program's settings record.

#include <windows.h>

#include <string>

#include "base/settings_value_store.h"
#include "shell/settings_store.h"

namespace lumetra::win {

struct Program;

// Fills the program's settings from the registry (window places moved back onto this screen
// where they lie off it); whatever cannot be read keeps its default.
void loadSettings(Program& program);
// Writes them all, with the main window's placement taken first. "Error %d: %s" for the last
// value that could not be written; empty when all were written.
std::string saveSettings(Program& program);

// The same over any value store, for a given screen and main-window placement (the tests use a
// scratch key). True when every key could be opened.
bool loadSettings(PersistedSettings& settings, SettingsValueStore& store, ScreenSize screen);
bool saveSettings(PersistedSettings& settings, SettingsValueStore& store,
                  const MainWindowPlacement& mainWindow, std::string& error);

// The main window's normal-position rectangle and show state; the layout's rectangle when there
// is no window any more (a fatal error before the main window stood).
MainWindowPlacement mainWindowPlacement(HWND window, const WindowLayout& layout);
ScreenSize screenSize();

}  // namespace lumetra::win
