// The rules of the Render Options and New Image pitch, loudness and time fields.

#include <gtest/gtest.h>

#include <cmath>

#include "render/render_fields.h"

namespace lumetra {
namespace {

TEST(RenderFields, ReadsNumbersLikeAtof) {
    EXPECT_DOUBLE_EQ(readFieldNumber("8000.000"), 8000.0);
    EXPECT_DOUBLE_EQ(readFieldNumber("  -12.5xyz"), -12.5);
    EXPECT_DOUBLE_EQ(readFieldNumber("+3"), 3.0);
    EXPECT_DOUBLE_EQ(readFieldNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readFieldNumber("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(readFieldNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(readFieldNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(readFieldNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(readFieldNumber("--5"), 0.0);
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

TEST(RenderFields, HighArrowSnapsToNyquistPitches) {
    RenderSettings s;
    s.highFrequency = 10000.0;
    stepHighArrow(s, 10000.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.highFrequency, 11025.0);
    // 11025 is not a multiple of 1000: first to 12000, then the step.
    stepHighArrow(s, 11025.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.highFrequency, 13000.0);
    s.highFrequency = 21000.0;
    stepHighArrow(s, 21000.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.highFrequency, 22050.0);
    stepHighArrow(s, 8000.0f, 0);  // no change
    EXPECT_DOUBLE_EQ(s.highFrequency, 22050.0);
}

TEST(RenderFields, HighArrowStepsBySize) {
    RenderSettings s;
    stepHighArrow(s, 800.0f, kArrowUp);  // below 1000: +-100
    EXPECT_DOUBLE_EQ(s.highFrequency, 900.0);
    stepHighArrow(s, 4000.0f, kArrowDown);  // below 5000: +-500
    EXPECT_DOUBLE_EQ(s.highFrequency, 3500.0);
    stepHighArrow(s, 8000.0f, kArrowDown);  // from 5000: +-1000
    EXPECT_DOUBLE_EQ(s.highFrequency, 7000.0);
}

TEST(RenderFields, HighArrowKeepsFractions) {
    RenderSettings s;
    // The field shows "1234.500": the step is 500, to the multiple 1500 first.
    stepHighArrow(s, 1234.5f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.highFrequency, 2000.5);
    // An unreadable field (0) leaves High and takes the step of values below 1000.
    s.highFrequency = 1234.5;
    stepHighArrow(s, 0.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.highFrequency, 1400.5);
}

TEST(RenderFields, HighArrowNeverCrossesLow) {
    RenderSettings s;
    s.highFrequency = 1234.5;  // down would land at 0.5, below Low
    stepHighArrow(s, 1234.5f, kArrowDown);
    EXPECT_DOUBLE_EQ(s.highFrequency, 1234.5);
    s.highFrequency = 150.0;  // 150 - 100 < Low + 90
    stepHighArrow(s, 150.0f, kArrowDown);
    EXPECT_DOUBLE_EQ(s.highFrequency, 150.0);
}

TEST(RenderFields, LowArrow) {
    RenderSettings s;
    s.lowFrequency = 55.0;
    stepLowArrow(s, 55.0f, kArrowDown);
    EXPECT_DOUBLE_EQ(s.lowFrequency, 50.0);
    s.lowFrequency = 55.0;
    stepLowArrow(s, 55.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.lowFrequency, 70.0);
    stepLowArrow(s, 250.0f, kArrowUp);  // from 200 Hz: +-50
    EXPECT_DOUBLE_EQ(s.lowFrequency, 300.0);
    s.lowFrequency = 5.0;
    stepLowArrow(s, 5.0f, kArrowDown);  // would reach -5: not above 1
    EXPECT_DOUBLE_EQ(s.lowFrequency, 5.0);
    s.lowFrequency = 7935.0;  // 7935 -> 7950 -> 8000 would meet High
    stepLowArrow(s, 7935.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.lowFrequency, 7935.0);
}

TEST(RenderFields, AmpAndTimeArrows) {
    RenderSettings s;
    stepAmpArrow(s, 10.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.ampFactor, 10.5);
    stepAmpArrow(s, 0.3f, kArrowDown);  // field not above 0.5: from the stored 10.5
    EXPECT_DOUBLE_EQ(s.ampFactor, 10.0);
    s.ampFactor = 0.7;
    stepAmpArrow(s, 0.7f, kArrowDown);
    EXPECT_DOUBLE_EQ(s.ampFactor, 0.5);

    stepTimeArrow(s, 5.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.outputTime, 6.0);
    stepTimeArrow(s, 0.2f, kArrowDown);  // 0.5 - 1 -> at least 1
    EXPECT_DOUBLE_EQ(s.outputTime, 1.0);
    stepTimeArrow(s, 9500.0f, kArrowUp);
    EXPECT_DOUBLE_EQ(s.outputTime, 9000.0);
}

}  // namespace
}  // namespace lumetra
