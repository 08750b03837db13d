#include "render/render_info.h"

namespace lumetra {

RenderInfoRecord makeRenderRecord(std::int32_t width, std::int32_t height,
                                  const RenderSettings& settings, const Rect& selection,
                                  std::int32_t command, double elapsedSeconds,
                                  const LocalTime& now) {
    RenderInfoRecord r{};
    r.setMagic();
    r.size = RenderInfoRecord::kSizeFromRender;
    r.version = RenderInfoRecord::kVersion;
    r.valid = 1;
    r.command = command;
    r.width = width;
    r.height = height;
    r.lowFrequency = static_cast<float>(settings.lowFrequency);
    r.highFrequency = static_cast<float>(settings.highFrequency);
    r.ampFactor = static_cast<float>(settings.ampFactor);
    r.outputTime = static_cast<float>(settings.outputTime);
    r.renderTime = static_cast<float>(elapsedSeconds);
    if (command != RenderInfoRecord::kAnalysisCommand) {
        r.date = now;
        r.flags = RenderInfoRecord::kFlagDateValid;
        if (!selection.empty()) {
            r.selection = {selection.left, selection.top, selection.right, selection.bottom};
        }
    }
    return r;
}

}  // namespace lumetra
