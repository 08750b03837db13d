#include "document/ruler_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/oscillators.h"
#include "render/render_settings.h"

namespace lumetra {

namespace {

constexpr const char* kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                    "F#", "G",  "G#", "A",  "A#", "B"};

}  // namespace

std::vector<double> rowPitches(const RenderSettings& settings) {
    RenderSettings copy;
    copy.width = settings.width;
    copy.height = settings.height;
    copy.lowFrequency = settings.lowFrequency;
    copy.highFrequency = settings.highFrequency;
    copy.outputTime = settings.outputTime;
    prepareOscillators(copy, SoundOptions{});
    return std::move(copy.rowFrequencies);
}

double columnTime(double column, std::int32_t width, double seconds) {
    return (column + 1) * seconds / (double(width) + 1);
}

double timeColumn(double t, std::int32_t width, double seconds) {
    if (seconds <= 0) return -1;
    return t * (double(width) + 1) / seconds - 1;
}

double labelStep(double minimum) {
    if (!(minimum > 0) || !std::isfinite(minimum)) return 1;
    double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (;;) {
        for (double factor : {1.0, 2.0, 5.0}) {
            // A hair of tolerance: 0.2 must not become 0.5 because 10^-1 * 2 rounds up.
            if (factor * power >= minimum * (1 - 1e-9)) return factor * power;
        }
        power *= 10;
    }
}

int stepDecimals(double step) {
    int decimals = 0;
    while (decimals < 6 && std::fabs(step - std::round(step)) > 1e-9 * std::max(1.0, step)) {
        step *= 10;
        ++decimals;
    }
    return decimals;
}

double noteHertz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

NotePitch nearestNote(double hertz) {
    if (!(hertz > 0) || !std::isfinite(hertz)) return {};
    const double semitones = 12.0 * std::log2(hertz / 440.0) + 69.0;
    NotePitch note;
    note.midi = int(std::lround(semitones));
    note.cents = int(std::lround((semitones - note.midi) * 100.0));
    return note;
}

std::string noteName(int midi) {
    const int octave = (midi >= 0 ? midi / 12 : (midi - 11) / 12) - 1;
    const int index = ((midi % 12) + 12) % 12;
    return kNames[index] + std::to_string(octave);
}

std::string noteText(double hertz) {
    const NotePitch note = nearestNote(hertz);
    return noteName(note.midi) + (note.cents < 0 ? " " : " +") + std::to_string(note.cents) +
           " cents";
}

namespace {

struct PitchScale {
    double low = 0;
    double logRatio = 0;  // ln of the ratio between neighbouring rows
    bool valid = false;
};

PitchScale scaleOf(const std::vector<double>& rows) {
    PitchScale s;
    if (rows.size() < 2 || !(rows.front() > 0) || !(rows.back() > 0)) return s;
    s.low = rows.front();
    s.logRatio = std::log(rows.back() / rows.front()) / double(rows.size() - 1);
    s.valid = s.logRatio != 0 && std::isfinite(s.logRatio);
    return s;
}

}  // namespace

double pitchRow(double hertz, const std::vector<double>& rowFrequencies) {
    const PitchScale s = scaleOf(rowFrequencies);
    if (!s.valid || !(hertz > 0)) return std::numeric_limits<double>::quiet_NaN();
    const double fromBottom = std::log(hertz / s.low) / s.logRatio;
    return double(rowFrequencies.size()) - 1 - fromBottom + 0.5;
}

double rowsPerSemitone(const std::vector<double>& rowFrequencies) {
    const PitchScale s = scaleOf(rowFrequencies);
    return s.valid ? std::fabs(std::log(2.0) / 12.0 / s.logRatio) : 0;
}

}  // namespace lumetra
