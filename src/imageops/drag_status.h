#pragma once
// The status-bar texts of the move and deformation drags.

#include <cstdint>
#include <string>

#include "imageops/drag_geometry.h"
#include "render/render_settings.h"

namespace lumetra {

// "Move: X %+d (%+.2f s), Y %+d (%d semitone %d cent)": the shift in columns and seconds, and in
// rows and the pitch interval they span (whole octaves left out). Width and height at least 1.
std::string moveStatusText(const MoveShift& shift, std::int32_t width, std::int32_t height,
                           const RenderSettings& settings);

// "Rotate %.2f, Scale %.2f" (magnifying) or "Rotate %.2f, Scale 1/%.2f" (shrinking).
std::string zoomRotateStatusText(const ZoomRotate& zoom);

// "Skew-flip: x = %d, y = %d": the pointer's distance from the anchor, y counted upward.
std::string skewFlipStatusText(DragPoint anchor, DragPoint pointer);

}  // namespace lumetra
