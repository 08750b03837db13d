// The rules of the Render Options and New Image fields: pitch, loudness, time and picture size.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "image/new_image_fields.h"
#include "render/render_fields.h"

namespace lumetra {
namespace {

TEST(RenderFields, ReadsNumbersLikeAtof) {
    const std::pair<const char*, double> cases[] = {{"8000.000", 8000.0}, {"  -12.5xyz", -12.5},
                                                    {"+3", 3.0},          {".5", 0.5},
                                                    {"1e3", 1000.0},      {"", 0.0},
                                                    {"abc", 0.0},         {"-", 0.0},
                                                    {"--5", 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(readFieldNumber(text), value) << text;
    EXPECT_TRUE(std::isinf(readFieldNumber("1e999")));
}

TEST(RenderFields, Texts) {
    EXPECT_EQ(frequencyFieldText(50.0), "50.000");
    EXPECT_EQ(twoDecimalsText(10.0), "10.00");
    // The nominal spacing over `height` lines, not the true one over height - 1.
    EXPECT_EQ(stepText(50.0, 8000.0, 150), "58.58 cent/line");
    EXPECT_EQ(timePerPixelText(5.0, 300), "16.67 millisec");
}

TEST(RenderFields, LeavingPitchFields) {
    RenderSettings s;                        // 50 .. 8000
    EXPECT_FALSE(leaveLowField(s, 7999.0));  // not below High - 1
    EXPECT_TRUE(leaveLowField(s, 7998.5));
    EXPECT_DOUBLE_EQ(s.lowFrequency, 7998.5);
    EXPECT_FALSE(leaveHighField(s, 7999.5));  // not above Low + 1
    EXPECT_TRUE(leaveHighField(s, 9000.0));
    EXPECT_TRUE(leaveLowField(s, 0.0));  // a Low of 0 is taken (the oscillators cope)
    EXPECT_FALSE(leaveHighField(s, std::nan("")));
    EXPECT_DOUBLE_EQ(s.highFrequency, 9000.0);
}

TEST(RenderFields, LeavingAmpAndTime) {
    RenderSettings s;
    EXPECT_FALSE(leaveAmpField(s, 0.0));
    EXPECT_TRUE(leaveAmpField(s, 0.01));
    EXPECT_DOUBLE_EQ(s.ampFactor, 0.01);

    EXPECT_FALSE(leaveTimeField(s, 0.3, 22050));
    EXPECT_DOUBLE_EQ(s.outputTime, 5.0);
    EXPECT_TRUE(leaveTimeField(s, 12000.0, 22050));
    EXPECT_DOUBLE_EQ(s.outputTime, 9000.0);
    EXPECT_EQ(s.samplesPerPixel, static_cast<int>(22050 * 9000.0 / 301 + 0.5));
    EXPECT_TRUE(leaveTimeField(s, 0.5, 22050));
    EXPECT_EQ(s.samplesPerPixel, 37);
}

TEST(RenderFields, ArrowSteps) {
    using Step = void (*)(RenderSettings&, float, int);
    constexpr auto kLow = &RenderSettings::lowFrequency;
    constexpr auto kHigh = &RenderSettings::highFrequency;
    constexpr auto kAmp = &RenderSettings::ampFactor;
    constexpr auto kTime = &RenderSettings::outputTime;
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
        {stepHighArrow, kHigh, 11025.0, 11025.0f, kArrowUp, 13000.0},
        {stepHighArrow, kHigh, 21000.0, 21000.0f, kArrowUp, 22050.0},
        {stepHighArrow, kHigh, 22050.0, 8000.0f, 0, 22050.0},  // no arrow, no change
        // Steps of 100 below 1000, 500 below 5000, 1000 from there.
        {stepHighArrow, kHigh, 8000.0, 800.0f, kArrowUp, 900.0},
        {stepHighArrow, kHigh, 900.0, 4000.0f, kArrowDown, 3500.0},
        {stepHighArrow, kHigh, 3500.0, 8000.0f, kArrowDown, 7000.0},
        // "1234.500": the step is 500, to the multiple 1500 first, the fraction kept.
        {stepHighArrow, kHigh, 8000.0, 1234.5f, kArrowUp, 2000.5},
        // An unreadable field (0) leaves High and takes the step of values below 1000.
        {stepHighArrow, kHigh, 1234.5, 0.0f, kArrowUp, 1400.5},
        // Never to Low: down would land at 0.5; 150 - 100 is below Low + 90.
        {stepHighArrow, kHigh, 1234.5, 1234.5f, kArrowDown, 1234.5},
        {stepHighArrow, kHigh, 150.0, 150.0f, kArrowDown, 150.0},
        // Low: steps of 10, of 50 from 200 Hz; never to 1 or below, never to High.
        {stepLowArrow, kLow, 55.0, 55.0f, kArrowDown, 50.0},
        {stepLowArrow, kLow, 55.0, 55.0f, kArrowUp, 70.0},
        {stepLowArrow, kLow, 70.0, 250.0f, kArrowUp, 300.0},
        {stepLowArrow, kLow, 5.0, 5.0f, kArrowDown, 5.0},
        {stepLowArrow, kLow, 7935.0, 7935.0f, kArrowUp, 7935.0},  // 7950, then 8000 = High
        // Amp by 0.5, from the stored value when the field is not above 0.5.
        {stepAmpArrow, kAmp, 10.0, 10.0f, kArrowUp, 10.5},
        {stepAmpArrow, kAmp, 10.5, 0.3f, kArrowDown, 10.0},
        {stepAmpArrow, kAmp, 0.95, 0.95f, kArrowDown, 0.5},  // 0.45 is below the floor too
        // Time by 1 s within 1 .. 9000.
        {stepTimeArrow, kTime, 5.0, 5.0f, kArrowUp, 6.0},
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

TEST(NewImageFields, LeavingASizeFieldAndArrows) {
    EXPECT_EQ(leaveSizeField(300, 10.0), 300);  // 10 is ignored
    EXPECT_EQ(leaveSizeField(300, 11.0), 11);
    EXPECT_EQ(leaveSizeField(300, 640.9), 640);
    EXPECT_EQ(leaveSizeField(300, -5.0), 300);
    EXPECT_EQ(leaveSizeField(300, std::numeric_limits<double>::quiet_NaN()), 300);
    EXPECT_EQ(leaveSizeField(300, 1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(stepSizeArrow(30, 30.0, -1), 10);  // not -20
    EXPECT_EQ(stepSizeArrow(30, 30.0, +1), 80);
    EXPECT_EQ(stepSizeArrow(300, 5.0, +1), 350);  // a field of 10 or less: from the stored value
    EXPECT_EQ(stepSizeArrow(300, 500.0, 0), 300);
    EXPECT_EQ(stepSizeArrow(1, 1e30, +1), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace lumetra
