// Oscillator data of an image, the sine table, and the rules of the Render Options fields.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "render/oscillators.h"
#include "render/render_fields.h"
#include "render/sine_table.h"

namespace lumetra {
namespace {

TEST(PrepareOscillators, DefaultPitchScale) {
    RenderSettings settings;  // 300 x 150, 50 .. 8000 Hz, 5 s
    settings.rowPhases.assign(150, 7);
    prepareOscillators(settings, SoundOptions{});  // 22050 Hz stereo
    const auto& f = settings.rowFrequencies;
    ASSERT_EQ(f.size(), 150u);
    EXPECT_EQ(settings.samplesPerPixel, 366);
    EXPECT_DOUBLE_EQ(f[0], 50.0);
    EXPECT_NEAR(f[1] / f[0], 1.0346483, 1e-7);  // 58.97 cents
    EXPECT_NEAR(f[149], 8000.0, 1e-6);
    EXPECT_EQ(std::pair(settings.rowIncrements[0], settings.rowIncrements[149]),
              std::pair(608697u, 97391548u));
    EXPECT_EQ(settings.rowPhases, std::vector<std::uint32_t>(150, 0));
}

TEST(PrepareOscillators, NoiseConstantsOfARow) {
    RenderSettings settings;
    settings.samplesPerPixel = 366;  // left by an earlier preparation
    prepareOscillators(settings, SoundOptions{});
    // Row 0: f = 50, next row 51.73 Hz; bandwidth 15: A = 105.5, Bq = 5 / 225.4.
    const NoiseState& n = settings.noiseStates[0];
    const double f = 50.0, next = settings.rowFrequencies[1];
    const float bq = static_cast<float>(5 / 225.4);
    EXPECT_EQ(n.ampBase, static_cast<int>(22050 / ((1 / bq) * next)));
    EXPECT_EQ(n.ampDivisor, static_cast<int>(7000 * std::log(f) + 10000));
    EXPECT_EQ(n.fmBase, static_cast<int>(22050 / (next - f) / 18.5));
    EXPECT_FLOAT_EQ(n.modScale, static_cast<float>(2 * std::log(f)));
    const float depth = 22050.0f * (1.0f / 105.5f) * 366.0f;
    EXPECT_FLOAT_EQ(n.modDepth, static_cast<float>(depth / (next / std::log(f) * 2.5)));
    EXPECT_EQ(std::pair(n.ampCount, n.modInc), std::pair(0, 0));
    // High rows: the amplitude segments never fall below 3 samples.
    EXPECT_EQ(settings.noiseStates[149].ampBase, 3);
    // The depth follows the previous slice length.
    settings.samplesPerPixel = 100;
    prepareOscillators(settings, SoundOptions{});
    const float withOld = settings.noiseStates[10].modDepth;
    prepareOscillators(settings, SoundOptions{});  // now the previous slice length is 366
    EXPECT_FLOAT_EQ(settings.noiseStates[10].modDepth, withOld * 366.0f / 100.0f);
}

TEST(PrepareOscillators, UnusablePitchesAndFewRowsAreMadeSafe) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Low, high and rows; the expected lowest and highest row pitch (0: not checked).
    const std::tuple<const char*, double, double, std::int32_t, double, double> cases[] = {
        {"a Low of 0 typed in", 0.0, 8000.0, 150, 1.0, 8000.0},
        {"one pitch for all rows", -30.0, nan, 150, 1.0, 1.0},
        {"one row sounds the low pitch", 50.0, 8000.0, 1, 50.0, 50.0},
    };
    for (const auto& [label, low, high, height, first, last] : cases) {
        SCOPED_TRACE(label);
        RenderSettings settings;  // samplesPerPixel 0: no earlier preparation, still a usable depth
        settings.lowFrequency = low, settings.highFrequency = high, settings.height = height;
        prepareOscillators(settings, SoundOptions{});
        const auto& f = settings.rowFrequencies;
        ASSERT_EQ(f.size(), static_cast<std::size_t>(height));
        EXPECT_DOUBLE_EQ(first ? f.front() : 0, first);
        EXPECT_NEAR(last ? f.back() : 0, last, 1e-6);
        for (const NoiseState& n : settings.noiseStates)
            EXPECT_TRUE(std::isfinite(n.modDepth) && n.modDepth != 0.0f &&
                        std::isfinite(n.modScale) && n.modScale != 0.0f && n.ampBase >= 3 &&
                        n.ampDivisor >= 1);
    }
    // A single row's upper neighbour is the high pitch.
    RenderSettings settings;
    settings.height = 1;
    prepareOscillators(settings, SoundOptions{});
    EXPECT_EQ(settings.noiseStates[0].fmBase, int(22050 / (8000.0 - 50.0) / 18.5));
}

TEST(PrepareOscillators, SamplesPerPixel) {
    EXPECT_EQ(samplesPerPixelFor(5.0, 300, 22050), 366);
    EXPECT_EQ(samplesPerPixelFor(60.0, 1200, 44100), 2203);
    EXPECT_EQ(samplesPerPixelFor(0.001, 300, 8000), 0);  // cannot be rendered
    EXPECT_EQ(samplesPerPixelFor(1e12, 1, 48000), std::numeric_limits<std::int32_t>::max());
}

TEST(SineTable, OnePeriodTruncatedAndPackedInPairs) {
    const auto table = buildSineTable();
    ASSERT_TRUE(table);
    const auto& t = table->entries;
    ASSERT_EQ(t.size(), 8193u);
    EXPECT_TRUE(t[0] == 0 && t[8192] == 0);
    // Every entry is sin(2 theta) * 32767 truncated, with theta from -pi in steps of pi / 8192;
    // only values within a hair of a whole number may depend on how theta was summed.
    int checked = 0;
    for (int i = 0; i < 8192; ++i) {
        EXPECT_EQ(table->pairs[i] >> 16, t[i]);
        EXPECT_EQ(static_cast<std::int16_t>(table->pairs[i] & 0xFFFF), t[i + 1] - t[i]);
        const double exact =
            std::sin(2.0 * (-std::numbers::pi + i * std::numbers::pi / 8192)) * 32767.0;
        if (std::abs(exact - std::round(exact)) < 1e-6) continue;
        EXPECT_EQ(t[i], static_cast<int>(exact)) << i;
        ++checked;
    }
    EXPECT_GT(checked, 8180);
}

TEST(SineTable, InterpolationTruncatesTowardZero) {
    const auto table = buildSineTable();
    const auto& t = table->entries;
    // Falling part of the wave: (t[i+1] - t[i]) * f is negative and rounds up.
    const int i = 3000;
    ASSERT_LT(t[i + 1] - t[i], 0);
    EXPECT_EQ(sineAt(*table, i * 32768 + 16384), t[i] + ((t[i + 1] - t[i]) * 16384) / 32768);
    EXPECT_EQ(sineAt(*table, i * 32768 + 1), t[i]);  // -25 / 32768 truncates to 0
    EXPECT_EQ(sineAt(*table, 8191 * 32768 + 32767),
              t[8191] + ((t[8192] - t[8191]) * 32767) / 32768);
    // Bits above the 28-bit phase do not count.
    EXPECT_EQ(sineAt(*table, 0xF0000000u + 5000u * 32768), t[5000]);
}

TEST(RenderFields, ReadsNumbersLikeAtof) {
    const std::pair<const char*, double> cases[] = {
        {"  -12.5xyz", -12.5}, {".5", 0.5}, {"1e3", 1000.0}, {"abc", 0.0}, {"--5", 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(readFieldNumber(text), value) << text;
    EXPECT_TRUE(std::isinf(readFieldNumber("1e999")));
}

TEST(RenderFields, LeavingPitchAmpAndTimeFields) {
    RenderSettings s;                        // 50 .. 8000
    EXPECT_FALSE(leaveLowField(s, 7999.0));  // not below High - 1
    EXPECT_TRUE(leaveLowField(s, 7998.5) && s.lowFrequency == 7998.5);
    EXPECT_FALSE(leaveHighField(s, 7999.5));  // not above Low + 1
    EXPECT_TRUE(leaveHighField(s, 9000.0));
    EXPECT_TRUE(leaveLowField(s, 0.0));  // a Low of 0 is taken (the oscillators cope)
    EXPECT_FALSE(leaveHighField(s, std::nan("")));
    EXPECT_DOUBLE_EQ(s.highFrequency, 9000.0);
    EXPECT_FALSE(leaveAmpField(s, 0.0));
    EXPECT_TRUE(leaveAmpField(s, 0.01) && s.ampFactor == 0.01);
    EXPECT_FALSE(leaveTimeField(s, 0.3, 22050));
    EXPECT_TRUE(leaveTimeField(s, 12000.0, 22050));
    EXPECT_EQ(std::pair(s.outputTime, s.samplesPerPixel),
              std::pair(9000.0, static_cast<int>(22050 * 9000.0 / 301 + 0.5)));
    EXPECT_TRUE(leaveTimeField(s, 0.5, 22050));
    EXPECT_EQ(s.samplesPerPixel, 37);
}

TEST(RenderFields, ArrowSteps) {
    using Step = void (*)(RenderSettings&, float, int);
    constexpr auto kLow = &RenderSettings::lowFrequency, kHigh = &RenderSettings::highFrequency,
                   kAmp = &RenderSettings::ampFactor, kTime = &RenderSettings::outputTime;
    // Each from the default settings (Low 50, High 8000) with one value set before the step;
    // `shown` is the number read from the buddy field.
    const struct {
        Step step;
        double RenderSettings::*field;
        double before;
        float shown;
        int arrow;
        double after;
    } cases[] = {
        // High snaps to the Nyquist pitches; 11025 is no multiple of 1000: to 12000 first.
        {stepHighArrow, kHigh, 10000.0, 10000.0f, kArrowUp, 11025.0},
        // Steps of 100 below 1000, 500 below 5000, 1000 from there.
        {stepHighArrow, kHigh, 8000.0, 800.0f, kArrowUp, 900.0},
        {stepHighArrow, kHigh, 900.0, 4000.0f, kArrowDown, 3500.0},
        {stepHighArrow, kHigh, 22050.0, 8000.0f, 0, 22050.0},  // no arrow, no change
        // "1234.500": the step is 500, to the multiple 1500 first, the fraction kept.
        {stepHighArrow, kHigh, 8000.0, 1234.5f, kArrowUp, 2000.5},
        // An unreadable field (0) leaves High and takes the step of values below 1000.
        {stepHighArrow, kHigh, 1234.5, 0.0f, kArrowUp, 1400.5},
        // Low: steps of 10, of 50 from 200 Hz; never to 1 or below, never to High.
        {stepLowArrow, kLow, 55.0, 55.0f, kArrowDown, 50.0},
        {stepLowArrow, kLow, 55.0, 55.0f, kArrowUp, 70.0},
        {stepLowArrow, kLow, 70.0, 250.0f, kArrowUp, 300.0},
        {stepLowArrow, kLow, 7935.0, 7935.0f, kArrowUp, 7935.0},  // 7950, then 8000 = High
        // Amp by 0.5 (0.45 is below the floor too); time by 1 s within 1 .. 9000.
        {stepAmpArrow, kAmp, 0.95, 0.95f, kArrowDown, 0.5},
        {stepTimeArrow, kTime, 6.0, 0.2f, kArrowDown, 1.0},
        {stepTimeArrow, kTime, 1.0, 9500.0f, kArrowUp, 9000.0},
    };
    for (const auto& c : cases) {
        RenderSettings s;
        s.*c.field = c.before;
        c.step(s, c.shown, c.arrow);
        EXPECT_DOUBLE_EQ(s.*c.field, c.after)
            << "from " << c.before << ", field " << c.shown << ", arrow " << c.arrow;
    }
}

}  // namespace
}  // namespace lumetra
