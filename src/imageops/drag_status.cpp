#include "imageops/drag_status.h"

#include <cmath>

#include "base/float_conversion.h"
#include "base/format_text.h"

namespace lumetra {

std::string moveStatusText(const MoveShift& shift, std::int32_t width, std::int32_t height,
                           const RenderSettings& settings) {
    const std::int32_t x = -shift.dxr;
    const std::int32_t y = -shift.dyr;
    const double seconds = static_cast<double>(x) * settings.outputTime / width;
    const auto cents = static_cast<float>(
        1200.0 * std::log2(settings.highFrequency / settings.lowFrequency) * y / height);
    // A degenerate pitch range makes the interval infinite or NaN; the safe truncation keeps the
    // text defined.
    const std::int32_t semitone = truncToInt32(static_cast<double>(cents / 100.0f)) % 12;
    const std::int32_t cent = truncToInt32(static_cast<double>(cents)) % 100;
    return formatText("Move: X %+d (%+.2f s), Y %+d (%d semitone %d cent)", x, seconds, y, semitone,
                      cent);
}

std::string zoomRotateStatusText(const ZoomRotate& zoom) {
    const double rotation = std::fmod(zoom.angle * 60.0f, 360.0f);
    if (zoom.scale < 1.0f)
        return formatText("Rotate %.2f, Scale %.2f", rotation,
                          static_cast<double>(1.0f / zoom.scale));
    return formatText("Rotate %.2f, Scale 1/%.2f", rotation, static_cast<double>(zoom.scale));
}

std::string skewFlipStatusText(DragPoint anchor, DragPoint pointer) {
    const auto x = saturateToInt32(std::int64_t{pointer.x} - anchor.x);
    const auto y = saturateToInt32(std::int64_t{anchor.y} - pointer.y);
    return formatText("Skew-flip: x = %d, y = %d", x, y);
}

}  // namespace lumetra
