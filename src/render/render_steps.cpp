#include "render/render_steps.h"

#include <algorithm>
#include <cmath>

#include "base/format_text.h"
#include "base/user_interface.h"
#include "render/wav_output.h"

namespace lumetra {

Rect renderRegion(std::int32_t width, std::int32_t height, const Rect& selectionRect,
                  bool selection) {
    if (!selection) return Rect{0, 0, width, height};
    Rect r = selectionRect;
    r.left = std::clamp(r.left, 0, width);
    r.right = std::clamp(r.right, r.left, width);
    r.top = std::clamp(r.top, 0, height);
    r.bottom = std::clamp(r.bottom, r.top, height);
    return r;
}

bool refuseRender(UserInterface& ui, double normaliser, std::int32_t samplesPerPixel,
                  std::int64_t totalValues) {
    if (normaliser == -1.0) return true;  // "No image data to render!" is showing
    if (!(normaliser > 0.0) || !std::isfinite(normaliser)) {
        ui.setStatusText(0, "Cannot render: the amp factor must be above 0!");
        return true;
    }
    if (samplesPerPixel <= 0) {
        ui.setStatusText(0, "Cannot render: the output time is too short for the image width!");
        return true;
    }
    if (totalValues > kMaxWavValues) {
        ui.setStatusText(0, "Cannot render: the sound would be too long for a soundfile!");
        return true;
    }
    return false;
}

std::int64_t renderChunkSize(std::int32_t samplesPerPixel, std::int64_t totalValues) {
    const std::int64_t twoSlices = 2 * std::int64_t{samplesPerPixel};
    const std::int64_t chunk = (twoSlices + 32768) - (twoSlices + 32768) % twoSlices;
    return chunk > totalValues ? totalValues : chunk;
}

std::string generatingText(double seconds) {
    return formatText("Generating %.2f secs (Hold down Esc to terminate)", seconds);
}

std::string generatedText(double seconds, bool withSoundfile, const std::filesystem::path& path) {
    std::string text = formatText("Generated %.2f secs", seconds);
    if (withSoundfile) text += formatText(" -- %s", utf8FromPath(path).c_str());
    return text;
}

std::string renderTimeText(double elapsedSeconds, double soundSeconds) {
    if (elapsedSeconds <= 0.0) return formatText("Time: %.2f s (too fast to measure)", 0.0);
    return formatText("Time: %.2f s (%.2f x real-time)", elapsedSeconds,
                      soundSeconds / elapsedSeconds);
}

std::string progressText(std::int32_t column, std::int32_t width) {
    const std::int64_t percent = width > 0 ? std::int64_t{column} * 100 / width : 0;
    return formatText("%d%%", static_cast<int>(percent));
}

std::string writeErrorText(const std::filesystem::path& path) {
    return formatText("Error writing %s", utf8FromPath(path).c_str());
}

std::string writeErrorWarning(const std::filesystem::path& path, int code,
                              const std::string& text) {
    return writeErrorText(path) + formatText("\nError %d: %s", code, text.c_str());
}

std::string writeErrorQuestion(const std::filesystem::path& path, int code,
                               const std::string& text) {
    return writeErrorWarning(path, code, text) +
           "\nWrite header to file to enable playback of what you've got?    ";
}

}  // namespace lumetra
