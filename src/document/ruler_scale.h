#pragma once
// The arithmetic of the time and pitch rulers and of the status bar's readout: when a column
// sounds, where a pitch lies among the rows, label steps and note names.

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

struct RenderSettings;

// The rows' pitches of a picture with these render settings, bottom row first, as
// prepareOscillators sets them (they do not depend on the sound options).
std::vector<double> rowPitches(const RenderSettings& settings);

// The moment column x (a real number: a position within the picture) sounds at its full value,
// as the render places it: (x + 1) * seconds / (width + 1).
double columnTime(double column, std::int32_t width, double seconds);
// The column that sounds fully at moment t (the inverse of columnTime).
double timeColumn(double t, std::int32_t width, double seconds);

// The smallest of 1, 2, 5 times a power of ten that is at least `minimum` (> 0).
double labelStep(double minimum);
// The decimals that a label of this step needs ("0.5" one, "20" none).
int stepDecimals(double step);

// A pitch as a musician names it: the nearest equal-tempered note (A4 = 440 Hz) and the cents
// from it (-50 .. +50).
struct NotePitch {
    int midi = 69;  // A4
    int cents = 0;
};
NotePitch nearestNote(double hertz);
double noteHertz(int midi);
// "C3", "A#4": the note's name and octave (C4 is middle C).
std::string noteName(int midi);
// "C3 +6 cents".
std::string noteText(double hertz);

// The picture row position (y from the top, a real number; the middle of row y is y + 0.5) at
// which a pitch sounds, from the rows' pitches of prepareOscillators (a geometric scale from the
// bottom row up). NaN when the rows give no scale (fewer than two distinct pitches).
double pitchRow(double hertz, const std::vector<double>& rowFrequencies);
// How many rows one semitone spans (0 without a scale).
double rowsPerSemitone(const std::vector<double>& rowFrequencies);

}  // namespace lumetra
