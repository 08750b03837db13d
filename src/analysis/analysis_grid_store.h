#pragma once
// The grid of the Analyze Soundfile dialog: its fields read and checked, its first values taken
// from the current picture, and the last grid the user chose kept under "Analysis\" in the
// program's key (DWORD values "Low" and "High" in thousandths of a hertz, "Rows" and "Columns
// per second").

#include <optional>
#include <string>

#include "analysis/sound_analysis.h"
#include "base/settings_value_store.h"
#include "render/render_settings.h"

namespace lumetra {

inline constexpr const char* kAnalysisKey = "Analysis\\";

// The grid the dialog opens with: the remembered one when the store holds a usable one, else
// the current picture's pitch range and rows with its columns per second (width / time).
AnalysisGrid initialAnalysisGrid(SettingsValueStore& store, const RenderSettings& picture);

// Remembers the grid the user chose.
void rememberAnalysisGrid(SettingsValueStore& store, const AnalysisGrid& grid);

// The texts of the dialog's fields as a grid: decimal numbers, whole numbers for rows and
// columns per second. nullopt with a message naming the field that is wrong.
std::optional<AnalysisGrid> readAnalysisGridFields(const std::string& low, const std::string& high,
                                                   const std::string& rows,
                                                   const std::string& columnsPerSecond,
                                                   std::string& message);

}  // namespace lumetra
