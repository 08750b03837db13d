#include "render/win/render_bridge.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shell/win/status_bar.h"

namespace lumetra::win {

// The render engine joins the program through these four functions; until it is part of the
// build they leave the settings as they are and a render reports that it cannot run.

void prepareImageOscillators(RenderSettings&) {}

void prepareDocumentOscillators(ImageDocument& document) {
    prepareImageOscillators(document.current.settings);
    prepareImageOscillators(document.undo.settings);
}

void checkNyquistFor(double) {}

bool writeLatestSound(const std::filesystem::path&) {
    return false;
}

bool renderDocument(ImageDocument&, int) {
    setStatusText(0, L"The render engine is not part of this build yet");
    return false;
}

}  // namespace lumetra::win

// ---- field rules ----
// These follow the render dialogs' rules until the render core supplies them.

namespace lumetra::win {

bool acceptLowField(RenderSettings& s, double v) {
    if (!(v < s.highFrequency - 1)) return false;
    s.lowFrequency = v;
    return true;
}

bool acceptHighField(RenderSettings& s, double v) {
    if (!(v > s.lowFrequency + 1)) return false;
    s.highFrequency = v;
    return true;
}

bool acceptAmpField(RenderSettings& s, double v) {
    if (!(v > 0)) return false;
    s.ampFactor = v;
    return true;
}

bool acceptTimeField(RenderSettings& s, double v) {
    if (!(v >= 0.5)) return false;
    s.outputTime = std::min(v, 9000.0);
    return true;
}

void stepLowArrow(RenderSettings& s, float v, int u) {
    if (u == 0) return;
    if (v > 0 && v < s.highFrequency - 50) s.lowFrequency = v;
    int step = s.lowFrequency >= 200 ? 5 * u : u;
    double n = s.lowFrequency + step;
    if (n < s.highFrequency - 10 && n > 1.0) {
        int r = int(std::trunc(s.lowFrequency)) % std::abs(step);
        if (r != 0) s.lowFrequency += std::abs(step) - r;
        s.lowFrequency += step;
    }
}

void stepHighArrow(RenderSettings& s, float v, int u) {
    if (u == 0) return;
    if (v > s.lowFrequency + 50) s.highFrequency = v;
    int step = v < 1000 ? 10 * u : (v < 5000 ? 50 * u : 100 * u);
    if (s.highFrequency + step >= s.lowFrequency + 90) {
        int g = int(std::trunc(s.highFrequency));
        if (std::abs(g + step - 11025) < 75) {
            s.highFrequency = 11025.0;
        } else if (std::abs(g + step - 22050) < 75) {
            s.highFrequency = 22050.0;
        } else {
            int r = g % std::abs(step);
            if (r != 0) s.highFrequency += step - r;
            s.highFrequency += step;
        }
    }
}

void stepAmpArrow(RenderSettings& s, float v, int u) {
    if (v > 0.5f) s.ampFactor = v;
    s.ampFactor += u * 0.05;
    if (s.ampFactor < 0.5) s.ampFactor = 0.5;
}

void stepTimeArrow(RenderSettings& s, float v, int u) {
    double t = std::clamp(double(v), 0.5, 9000.0);
    s.outputTime = std::clamp(t + u * 0.1, 1.0, 9000.0);
}

double stepCentsPerLine(const RenderSettings& s) {
    if (s.height <= 0 || s.lowFrequency <= 0) return 0;
    return 1200.0 * std::log2(s.highFrequency / s.lowFrequency) / s.height;
}

double millisecondsPerPixel(const RenderSettings& s) {
    if (s.width <= 0) return 0;
    return s.outputTime / s.width * 1000.0;
}

}  // namespace lumetra::win
