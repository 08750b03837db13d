#include "tools/brush_dialog_rules.h"

#include <algorithm>
#include <cstdlib>

#include "base/format_text.h"
#include "tools/brush_mix.h"

namespace lumetra {
namespace {

std::int32_t dragSide(std::int32_t distance, std::int32_t limit) {
    const std::int64_t side = 2 * std::abs(std::int64_t{distance});
    return static_cast<std::int32_t>(std::min<std::int64_t>(side == 0 ? 1 : side, limit));
}

}  // namespace

BrushSize sizeFromDrag(const PreviewArea& area, std::int32_t pointerX, std::int32_t pointerY) {
    return BrushSize{dragSide(pointerX - area.centreX, area.innerWidth),
                     dragSide(pointerY - area.centreY, area.innerHeight)};
}

ColorFade fadeAfterSizeDrag(std::int32_t width, std::int32_t height, ColorFade fade) {
    if (fade == ColorFade::Noise) return fade;
    if (height < 7 && width / 5 > height && fade == ColorFade::Down) return ColorFade::Right;
    if (width < 7 && height / 5 > width && fade == ColorFade::Right) return ColorFade::Down;
    return fade;
}

std::string boilerReadout(const BrushSettings& settings) {
    return formatText(" Heat: %3d     Blr:%4d%%\n Cycle:%3d     Sh:%4d%%", settings.heat,
                      settings.blur, settings.cycle, 2 * settings.shift);
}

PreviewKind previewKind(const BrushSettings& settings) {
    if (settings.width < 2 || settings.height < 2) return PreviewKind::Line;
    return shapeHasMask(settings.shape) ? PreviewKind::Ellipse : PreviewKind::Rectangle;
}

std::optional<PixelImage> previewDab(const Brush& brush, RandomSeed& seed) {
    std::string ignored;
    std::optional<PixelImage> dab =
        createCanvasBitmap(brush.bitmap.width, brush.bitmap.height, ignored);
    if (!dab) return dab;
    const BrushSettings& s = brush.settings;
    const double scale = s.mix == ColorMix::Add ? 2.0 : 1.0;
    const bool masked = shapeHasMask(s.shape) && !brush.mask.empty();
    for (std::int32_t j = 0; j < dab->height; ++j) {
        const std::uint8_t* from = brush.bitmap.memoryRow(j);
        std::uint8_t* to = dab->memoryRow(j);
        for (std::int32_t i = 0; i < dab->width; ++i) {
            const std::int32_t m = masked ? brush.mask[std::size_t(j) * dab->width + i] : 0;
            for (int ch = 0; ch < 3; ++ch) {
                const auto b = static_cast<std::int32_t>(from[3 * i + ch] * scale);
                to[3 * i + ch] = static_cast<std::uint8_t>(
                    static_cast<std::int32_t>(mixChannel(s, b, 0, m, seed)));
            }
        }
    }
    return dab;
}

}  // namespace lumetra
