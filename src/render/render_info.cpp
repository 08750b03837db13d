#include "render/render_info.h"

#include "image/canvas_image.h"

namespace lumetra {

void recordRender(CanvasImage& image, std::int32_t command, double elapsedSeconds,
                  const LocalTime& now) {
    RenderInfoRecord r{};
    r.setMagic();
    r.size = RenderInfoRecord::kSizeFromRender;
    r.version = RenderInfoRecord::kVersion;
    r.valid = 1;
    r.command = command;
    r.width = image.pixels.width;
    r.height = image.pixels.height;
    r.lowFrequency = static_cast<float>(image.settings.lowFrequency);
    r.highFrequency = static_cast<float>(image.settings.highFrequency);
    r.ampFactor = static_cast<float>(image.settings.ampFactor);
    r.outputTime = static_cast<float>(image.settings.outputTime);
    r.renderTime = static_cast<float>(elapsedSeconds);
    if (command != RenderInfoRecord::kAnalysisCommand) {
        r.date = now;
        r.flags = RenderInfoRecord::kFlagDateValid;
        if (!image.selection.empty()) {
            const Rect& s = image.selection;
            r.selection = {s.left, s.top, s.right, s.bottom};
        }
    }
    image.renderInfo = r;
}

}  // namespace lumetra
