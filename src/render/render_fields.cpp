#include "render/render_fields.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/float_conversion.h"
#include "base/format_text.h"
#include "render/oscillators.h"

namespace lumetra {

namespace {

constexpr double kLongestTime = 9000.0;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

double readFieldNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars reads no sign of its own here, and never depends on the locale.
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first == last || *first == '-' || *first == '+') return 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc{}) {
        if (result.ec != std::errc::result_out_of_range) return 0.0;
        // Out of range: atof gives infinity (or 0 for underflow); keep what it would.
        value = std::strtod(std::string(first, last).c_str(), nullptr);
    }
    return negative ? -value : value;
}

std::string frequencyFieldText(double hz) {
    return formatText("%.3f", hz);
}

std::string twoDecimalsText(double value) {
    return formatText("%.2f", value);
}

std::string stepText(double low, double high, std::int32_t height) {
    // This is the nominal spacing over `height` lines; neighbouring rows are really
    // log2(high / low) * 1200 / (height - 1) cents apart.
    return formatText("%.2f cent/line", 1200.0 * std::log2(high / low) / height);
}

std::string timePerPixelText(double seconds, std::int32_t width) {
    return formatText("%.2f millisec", seconds / width * 1000.0);
}

bool leaveLowField(RenderSettings& settings, double v) {
    if (!(v < settings.highFrequency - 1)) return false;
    settings.lowFrequency = v;
    return true;
}

bool leaveHighField(RenderSettings& settings, double v) {
    if (!(v > settings.lowFrequency + 1)) return false;
    settings.highFrequency = v;
    return true;
}

bool leaveAmpField(RenderSettings& settings, double v) {
    if (!(v > 0)) return false;
    settings.ampFactor = v;
    return true;
}

bool leaveTimeField(RenderSettings& settings, double v, std::int32_t sampleRate) {
    if (!(v >= 0.5)) return false;
    if (v > kLongestTime) v = kLongestTime;
    settings.outputTime = v;
    settings.samplesPerPixel = samplesPerPixelFor(v, settings.width, sampleRate);
    return true;
}

// The arrows first move to the next multiple of the step and then step, so one click can move
// further than the step; a click that would cross the other pitch (or come within the arrows' own
// margin of it) changes nothing.
void stepLowArrow(RenderSettings& settings, float v, int u) {
    if (u == 0) return;
    if (v > 0 && v < settings.highFrequency - 50) settings.lowFrequency = v;
    const int step = settings.lowFrequency >= 200 ? 5 * u : u;
    const double next = settings.lowFrequency + step;
    if (!(next < settings.highFrequency - 10 && next > 1.0)) return;
    const int size = std::abs(step);
    double low = settings.lowFrequency;
    const std::int64_t remainder = truncToInt64(low) % size;
    if (remainder != 0) low += static_cast<double>(size - remainder);
    low += step;
    if (low < settings.highFrequency - 10) settings.lowFrequency = low;
}

void stepHighArrow(RenderSettings& settings, float v, int u) {
    if (u == 0) return;
    if (v > settings.lowFrequency + 50) settings.highFrequency = v;
    const int step = v < 1000 ? 10 * u : v < 5000 ? 50 * u : 100 * u;
    if (!(settings.highFrequency + step >= settings.lowFrequency + 90)) return;
    const std::int64_t g = truncToInt64(settings.highFrequency);
    double high = settings.highFrequency;
    // The arrows stop at the Nyquist pitches of the 22050 and 44100 Hz sample rates.
    if (std::llabs(g + step - 11025) < 75) {
        high = 11025.0;
    } else if (std::llabs(g + step - 22050) < 75) {
        high = 22050.0;
    } else {
        const std::int64_t remainder = g % std::abs(step);
        if (remainder != 0) high += static_cast<double>(step - remainder);
        high += step;
    }
    if (high >= settings.lowFrequency + 90) settings.highFrequency = high;
}

void stepAmpArrow(RenderSettings& settings, float v, int u) {
    if (u == 0) return;
    if (v > 0.5) settings.ampFactor = v;
    settings.ampFactor += u * 0.05;
    if (settings.ampFactor < 0.5) settings.ampFactor = 0.5;
}

void stepTimeArrow(RenderSettings& settings, float v, int u) {
    if (u == 0) return;
    double time = v;
    if (!(time >= 0.5)) time = 0.5;
    if (time > kLongestTime) time = kLongestTime;
    time += u * 0.1;
    if (time < 1.0) time = 1.0;
    if (time > kLongestTime) time = kLongestTime;
    settings.outputTime = time;
}

}  // namespace lumetra
