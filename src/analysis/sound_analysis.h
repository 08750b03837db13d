#pragma once
// A sound becomes a picture that renders back to it: the bottom row at the low pitch, the top
// row at the high pitch, rows on the renderer's geometric scale, a given number of columns per
// second. Red carries the left channel's loudness at each row's pitch, green the right's (a
// one-channel sound: both), blue stays 0. The picture's render settings make a render play the
// same length over the same pitch range at the sound's level, and it carries the analysis
// record that names the sound.

#include <cstdint>
#include <functional>
#include <string>

#include "analysis/sound.h"
#include "document/canvas_image.h"

namespace lumetra {

inline constexpr std::int32_t kMostPictureSide = 65535;
inline constexpr std::int64_t kMostPicturePixels = std::int64_t{1} << 28;

struct AnalysisGrid {
    double lowFrequency = 50.0;
    double highFrequency = 8000.0;
    std::int32_t rows = 0;  // 0: 24 rows per octave
    std::int32_t columnsPerSecond = 100;
};

// round(24 * log2(high / low)) + 1, at least 2.
std::int32_t defaultAnalysisRows(double lowFrequency, double highFrequency);

// The grid with its rows filled in when they were left at 0.
AnalysisGrid completeGrid(AnalysisGrid grid);

// Columns of the picture of a sound of `seconds`: round(seconds * columnsPerSecond), at least 1.
std::int64_t analysisColumns(double seconds, std::int32_t columnsPerSecond);

// False with a message when the grid's numbers are unusable (low not above 0, high not above low,
// fewer than 2 rows, no columns per second) or its picture of a sound of `seconds` would pass
// the picture limits of 65535 pixels on a side and 2^28 pixels.
bool checkAnalysisGrid(const AnalysisGrid& grid, double seconds, std::string& message);

// Reports the progress in percent; returning false cancels the analysis.
using AnalysisProgress = std::function<bool(int percent)>;

enum class AnalysisOutcome { Done, Refused, Cancelled };

// Analyses `sound` on `grid` (rows completed) into `picture`, whose record names `sourceName`
// (a file's last path part). Refused with a message for a grid checkAnalysisGrid refuses or
// when memory is short; `picture` is changed only when the outcome is Done.
AnalysisOutcome analyseSound(const Sound& sound, const AnalysisGrid& grid,
                             const std::string& sourceName, CanvasImage& picture,
                             std::string& message, const AnalysisProgress& progress = {});

}  // namespace lumetra
