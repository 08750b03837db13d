// The status texts of the drags: the move's shift in seconds and in semitones and cents, the
// zoom-rotate's turn and scale, the skew-flip's distances.

#include "imageops/drag_status.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumetra {
namespace {

RenderSettings pitchRange(double low, double high, double outputTime) {
    RenderSettings s;
    s.lowFrequency = low;
    s.highFrequency = high;
    s.outputTime = outputTime;
    return s;
}

std::string moveText(DragPoint pointer, const RenderSettings& settings, std::int32_t width,
                     std::int32_t height) {
    const DragPoint anchor{150, 120};
    return moveStatusText(moveShiftFor(anchor, pointer, width, height), width, height, settings);
}

TEST(MoveStatus, ShowsTheShiftInSecondsAndThePitchIntervalWithoutWholeOctaves) {
    // 300 x 240 picture of 5 s from 100 Hz to 400 Hz: 2400 cents over 240 rows.
    const RenderSettings two = pitchRange(100.0, 400.0, 5.0);
    struct Case {
        DragPoint pointer;
        const char* text;
    };
    const Case cases[] = {
        {{150, 120}, "Move: X +0 (+0.00 s), Y +0 (0 semitone 0 cent)"},
        {{150, 100}, "Move: X +0 (+0.00 s), Y +20 (2 semitone 0 cent)"},
        {{150, -20}, "Move: X +0 (+0.00 s), Y +140 (2 semitone 0 cent)"},  // 1400 cents
        {{150, -130}, "Move: X +0 (+0.00 s), Y +10 (1 semitone 0 cent)"},  // 250 up wraps
        {{450, 120}, "Move: X +0 (+0.00 s), Y +0 (0 semitone 0 cent)"},    // by the width
        {{180, 120}, "Move: X +30 (+0.50 s), Y +0 (0 semitone 0 cent)"},
        {{-200, 120}, "Move: X -50 (-0.83 s), Y +0 (0 semitone 0 cent)"},  // 350 left wraps
        {{120, 145}, "Move: X -30 (-0.50 s), Y -25 (-2 semitone -50 cent)"},
        {{150, 380}, "Move: X +0 (+0.00 s), Y -20 (-2 semitone 0 cent)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(moveText(c.pointer, two, 300, 240), c.text) << c.pointer.x << ", " << c.pointer.y;

    // 50 Hz to 8000 Hz over 150 rows: 8786.31 cents, 585.754 for 10 rows.
    EXPECT_EQ(moveText({150, 110}, pitchRange(50.0, 8000.0, 5.0), 300, 150),
              "Move: X +0 (+0.00 s), Y +10 (5 semitone 85 cent)");
}

TEST(MoveStatus, ADegeneratePitchRangeGivesDefinedNumbers) {
    // A low pitch of 0 makes the interval infinite: saturated at the int32 limit, whose
    // remainders are 7 and 47. Without a vertical shift it is NaN, which counts as 0.
    const RenderSettings zeroLow = pitchRange(0.0, 400.0, 5.0);
    EXPECT_EQ(moveText({150, 119}, zeroLow, 300, 240),
              "Move: X +0 (+0.00 s), Y +1 (7 semitone 47 cent)");
    EXPECT_EQ(moveText({151, 120}, zeroLow, 300, 240),
              "Move: X +1 (+0.02 s), Y +0 (0 semitone 0 cent)");
    EXPECT_EQ(moveText({151, 121}, pitchRange(-1.0, 400.0, 5.0), 300, 240),
              "Move: X +1 (+0.02 s), Y -1 (0 semitone 0 cent)");
}

TEST(ZoomRotateStatus, ShowsTheTurnAndTheMagnificationOrItsInverse) {
    // Screen 900 x 200: 100 pixels per radian, a scale unit of 10 pixels; anchor (50, 50).
    const DragUnits units = dragUnits({900, 200});
    struct Case {
        DragPoint pointer;
        const char* text;
    };
    const Case cases[] = {
        {{50, 50}, "Rotate 0.00, Scale 1/1.00"},
        {{150, 50}, "Rotate 60.00, Scale 1/1.00"},  // one radian shows as 60
        {{750, 50}, "Rotate 60.00, Scale 1/1.00"},  // seven: 420 less a full 360
        {{-50, 50}, "Rotate -60.00, Scale 1/1.00"},
        {{50, 60}, "Rotate 0.00, Scale 1/1.70"},
        {{50, 40}, "Rotate 0.00, Scale 1.05"},  // 21 / 20
        {{50, -50}, "Rotate 0.00, Scale 51.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomRotateStatusText(zoomRotateFor({50, 50}, c.pointer, units)), c.text)
            << c.pointer.x << ", " << c.pointer.y;
}

TEST(SkewFlipStatus, ShowsThePointersDistanceWithYCountedUp) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(skewFlipStatusText({10, 20}, {15, 23}), "Skew-flip: x = 5, y = -3");
    EXPECT_EQ(skewFlipStatusText({10, 20}, {10, 20}), "Skew-flip: x = 0, y = 0");
    EXPECT_EQ(skewFlipStatusText({1, -1}, {kMin, kMin}),
              "Skew-flip: x = -2147483648, y = 2147483647");
}

}  // namespace
}  // namespace lumetra
