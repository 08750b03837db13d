#pragma once
// Every setting that outlives a run, read in one pass at start and written in one pass at exit,
// through one routine so that both directions visit the values in the same order.

#include <string>

#include "base/settings_value_store.h"
#include "render/render_settings.h"
#include "render/sound_options.h"
#include "shell/program_folders.h"
#include "shell/shell_options.h"
#include "shell/window_layout.h"
#include "tools/brush_patches.h"
#include "tools/echord_patches.h"
#include "tools/patch_blocks.h"

namespace lumetra {

// The records the settings pass fills and reads. Before a load they hold the defaults (the patch
// tables their built-in contents); whatever cannot be read keeps them.
struct PersistedSettings {
    RenderSettings renderDefaults;
    SoundOptions sound;
    ShellOptions shell;
    WindowLayout layout;
    ProgramFolders folders;  // only the four stored folder strings take part
    BrushPatchBlock brushPatches = builtInBrushPatches();
    EchordPatchTable echordPatches = builtInEchordPatches();
};

// Room of the shared error-message buffer.
inline constexpr std::size_t kMaxErrorMessageLength = 400;

class SettingsStore {
  public:
    explicit SettingsStore(SettingsValueStore& store) : store_(store) {}

    // Reads every value; true when all three keys could be opened. Window places are checked
    // against `screen` and moved back onto it.
    bool load(PersistedSettings& settings, ScreenSize screen);
    // Writes every value; the main window's place is taken from `mainWindow` first.
    bool save(PersistedSettings& settings, const MainWindowPlacement& mainWindow);

    // "Error %d: %s" for the last value that could not be written (empty when none failed).
    const std::string& errorMessage() const { return errorMessage_; }

  private:
    enum class Direction { Load, Save };
    class Pass;

    SettingsValueStore& store_;
    std::string errorMessage_;
};

// The warning after the settings could not all be written at exit, with the store's
// "Error %d: %s".
std::string settingsNotSavedText(const std::string& errorMessage);

}  // namespace lumetra
