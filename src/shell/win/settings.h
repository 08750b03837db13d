#pragma once
// Loading and saving the settings that outlive a run.

namespace lumetra::win {

// Fills the default render settings, the shell options, the sound options, the window layout
// and the stored folders.
void loadSettings();
void saveSettings();

}  // namespace lumetra::win
