#pragma once
// The "Analyze Soundfile" dialog: the grid a sound is analysed on (Low and High in Hz, Rows,
// Columns per second), filled from `grid`. A field that cannot be read keeps the dialog open
// with a box that says which.

#include <windows.h>

#include <optional>
#include <string>

#include "analysis/sound_analysis.h"

namespace lumetra::win {

std::optional<AnalysisGrid> askForAnalysisGrid(HINSTANCE instance, HWND owner,
                                               const AnalysisGrid& grid,
                                               const std::wstring& soundName);

}  // namespace lumetra::win
