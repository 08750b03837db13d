// Oscillator data of an image and the Nyquist warning.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "recording_ui.h"
#include "render/oscillators.h"
#include "settable_clock.h"

namespace lumetra {
namespace {

TEST(PrepareOscillators, DefaultPitchScale) {
    RenderSettings settings;  // 300 x 150, 50 .. 8000 Hz, 5 s
    SoundOptions sound;       // 22050 Hz stereo
    prepareOscillators(settings, sound);
    ASSERT_EQ(settings.rowFrequencies.size(), 150u);
    EXPECT_EQ(settings.samplesPerPixel, 366);
    EXPECT_DOUBLE_EQ(settings.rowFrequencies[0], 50.0);
    const double q = settings.rowFrequencies[1] / settings.rowFrequencies[0];
    EXPECT_NEAR(q, 1.0346483, 1e-7);
    EXPECT_NEAR(settings.rowFrequencies[149], 8000.0, 1e-6);
    // Neighbouring rows lie 58.97 cents apart.
    EXPECT_NEAR(1200.0 * std::log2(q), 58.97, 0.005);
    EXPECT_EQ(settings.rowIncrements[0], 608697u);
    EXPECT_EQ(settings.rowIncrements[149], 97391548u);
    for (std::uint32_t phase : settings.rowPhases)
        EXPECT_EQ(phase, 0u);
}

TEST(PrepareOscillators, NoiseConstantsOfARow) {
    RenderSettings settings;
    settings.samplesPerPixel = 366;  // left by an earlier preparation
    SoundOptions sound;
    prepareOscillators(settings, sound);
    // Row 0: f = 50, next row 51.73 Hz; bandwidth 15: A = 105.5, Bq = 5 / 225.4.
    const NoiseState& n = settings.noiseStates[0];
    const double f = 50.0;
    const double next = settings.rowFrequencies[1];
    const float bq = static_cast<float>(5 / 225.4);
    EXPECT_EQ(n.ampBase, static_cast<int>(22050 / ((1 / bq) * next)));
    EXPECT_EQ(n.ampDivisor, static_cast<int>(7000 * std::log(f) + 10000));
    EXPECT_EQ(n.fmBase, static_cast<int>(22050 / (next - f) / 18.5));
    EXPECT_FLOAT_EQ(n.modScale, static_cast<float>(2 * std::log(f)));
    const float depth = 22050.0f * (1.0f / 105.5f) * 366.0f;
    EXPECT_FLOAT_EQ(n.modDepth, static_cast<float>(depth / (next / std::log(f) * 2.5)));
    EXPECT_EQ(n.ampCount, 0);
    EXPECT_EQ(n.modInc, 0);
    // High rows: the amplitude segments never fall below 3 samples.
    EXPECT_EQ(settings.noiseStates[149].ampBase, 3);
}

TEST(PrepareOscillators, NoiseDepthFollowsThePreviousSliceLength) {
    RenderSettings settings;
    SoundOptions sound;
    settings.samplesPerPixel = 100;
    prepareOscillators(settings, sound);
    const float withOld = settings.noiseStates[10].modDepth;
    prepareOscillators(settings, sound);  // now the previous slice length is 366
    EXPECT_FLOAT_EQ(settings.noiseStates[10].modDepth, withOld * 366.0f / 100.0f);
}

TEST(PrepareOscillators, NeverPreparedBlockHasAUsableNoiseDepth) {
    RenderSettings settings;  // samplesPerPixel 0: no earlier preparation
    SoundOptions sound;
    prepareOscillators(settings, sound);
    for (const NoiseState& n : settings.noiseStates) {
        EXPECT_TRUE(std::isfinite(n.modDepth));
        EXPECT_GT(n.modDepth, 0.0f);
    }
}

TEST(PrepareOscillators, WidelySpacedRowsHaveNoWobbleBase) {
    RenderSettings settings;
    settings.height = 20;
    SoundOptions sound;
    prepareOscillators(settings, sound);
    EXPECT_EQ(settings.noiseStates[19].fmBase, 0);
    EXPECT_EQ(settings.noiseStates[18].fmBase, 0);
    EXPECT_GT(settings.noiseStates[0].fmBase, 0);
}

void expectAllFinite(const RenderSettings& settings) {
    for (double f : settings.rowFrequencies)
        EXPECT_TRUE(std::isfinite(f) && f > 0) << f;
    for (const NoiseState& n : settings.noiseStates) {
        EXPECT_TRUE(std::isfinite(n.modDepth) && n.modDepth != 0.0f);
        EXPECT_TRUE(std::isfinite(n.modScale) && n.modScale != 0.0f);
        EXPECT_GE(n.ampBase, 3);
        EXPECT_GE(n.ampDivisor, 1);
    }
}

TEST(PrepareOscillators, UnusablePitchesAreMadeSafe) {
    SoundOptions sound;
    RenderSettings settings;
    settings.samplesPerPixel = 366;
    settings.lowFrequency = 0.0;  // typed into the Low field
    prepareOscillators(settings, sound);
    EXPECT_DOUBLE_EQ(settings.rowFrequencies[0], 1.0);
    EXPECT_NEAR(settings.rowFrequencies[149], 8000.0, 1e-6);
    expectAllFinite(settings);

    settings.lowFrequency = -30.0;
    settings.highFrequency = std::numeric_limits<double>::quiet_NaN();
    prepareOscillators(settings, sound);
    EXPECT_DOUBLE_EQ(settings.rowFrequencies[0], 1.0);
    EXPECT_DOUBLE_EQ(settings.rowFrequencies[149], 1.0);  // one pitch for all rows
    expectAllFinite(settings);

    settings.lowFrequency = 0.3;  // rows below 1 Hz
    settings.highFrequency = 4.0;
    prepareOscillators(settings, sound);
    expectAllFinite(settings);

    settings.lowFrequency = 1e-5;
    settings.highFrequency = 100.0;
    prepareOscillators(settings, sound);
    EXPECT_LT(settings.rowIncrements[0], 2u);  // the noise step then takes 2
    expectAllFinite(settings);

    settings.lowFrequency = 50.0;
    settings.highFrequency = 1e12;  // increments beyond 32 bits
    prepareOscillators(settings, sound);
    expectAllFinite(settings);
}

TEST(PrepareOscillators, OneRowSoundsTheLowPitch) {
    RenderSettings settings;
    settings.height = 1;
    settings.samplesPerPixel = 366;
    SoundOptions sound;
    prepareOscillators(settings, sound);
    ASSERT_EQ(settings.rowFrequencies.size(), 1u);
    EXPECT_DOUBLE_EQ(settings.rowFrequencies[0], 50.0);
    expectAllFinite(settings);
    // Its upper neighbour is the high pitch.
    EXPECT_EQ(settings.noiseStates[0].fmBase, static_cast<int>(22050 / (8000.0 - 50.0) / 18.5));
}

TEST(PrepareOscillators, SamplesPerPixel) {
    EXPECT_EQ(samplesPerPixelFor(5.0, 300, 22050), 366);
    EXPECT_EQ(samplesPerPixelFor(60.0, 1200, 44100), 2203);
    EXPECT_EQ(samplesPerPixelFor(0.001, 300, 8000), 0);  // cannot be rendered
    EXPECT_EQ(samplesPerPixelFor(1e12, 1, 48000), std::numeric_limits<std::int32_t>::max());
}

TEST(CheckNyquist, LongBoxAtMostOnceThenStatusNotes) {
    testing::RecordingUi ui;
    testing::SettableClock clock;
    SoundOptions sound;  // 22050 Hz: Nyquist 11025
    NyquistWarningState state;
    clock.tick = 200000;
    EXPECT_EQ(checkNyquist(ui, clock, state, 11025, sound), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.statusLog.empty());

    EXPECT_EQ(checkNyquist(ui, clock, state, 16000, sound), 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Lumetra Warning!");
    EXPECT_EQ(ui.boxes[0].text,
              "Your present highest image frequency (16000.00 Hz) exceeds\nthe Nyquist frequency "
              "of the selected output sample rate.\n(The Nyquist frequency is the highest "
              "representable frequency,\nwhich is half the sample rate, ie 22050/2 = 11025 Hz.)"
              "\n\nYou may want to review either the Sound I/O Options or the\nImage Options "
              "dialog to avoid foldover in the output sound file.\n");

    clock.tick = 400000;  // long after: still only the status note
    checkNyquist(ui, clock, state, 16000, sound);
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.status[0], "Max out frq (16000) exceeds half of selected sample rate (11025)!");
}

TEST(CheckNyquist, NoBoxWithin90SecondsOfStart) {
    testing::RecordingUi ui;
    testing::SettableClock clock;
    SoundOptions sound;
    NyquistWarningState state;
    clock.tick = 89999;  // 89999 - (-1) = 90000: not more than 90000
    checkNyquist(ui, clock, state, 12000, sound);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ui.status[0], "Max out frq (12000) exceeds half of selected sample rate (11025)!");
    clock.tick = 90000;
    checkNyquist(ui, clock, state, 12000, sound);
    EXPECT_EQ(ui.boxes.size(), 1u);
}

}  // namespace
}  // namespace lumetra
