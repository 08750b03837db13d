// The numbers a drag derives from anchor, pointer and screen, and the wrapped index that turns a
// sampling position into a pixel.

#include "imageops/drag_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "imageops/drag_lanes.h"
#include "imageops/drag_wrap.h"

namespace lumetra {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(DragUnits, AreScreenWidthDivNineAndHeightDivTwentyButNeverZero) {
    struct Case {
        ScreenSize screen;
        float angle, shear;
    };
    const Case cases[] = {
        {kDefaultDragScreen, 213.0f, 54.0f},
        {{900, 200}, 100.0f, 10.0f},
        {{18, 40}, 2.0f, 2.0f},
        {{17, 39}, 1.0f, 1.0f},
        // Screens too small for a whole unit: the division by a zero unit is kept out.
        {{8, 19}, 1.0f, 1.0f},
        {{0, 0}, 1.0f, 1.0f},
        {{-900, -200}, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        const DragUnits units = dragUnits(c.screen);
        EXPECT_EQ(units.angle, c.angle) << c.screen.width;
        EXPECT_EQ(units.shear, c.shear) << c.screen.height;
    }
}

TEST(MoveShift, RemaindersKeepTheDividendsSignAndOffsetsWrapIntoThePicture) {
    struct Case {
        DragPoint pointer;
        std::int32_t dxr, dyr, sx, sy;
    };
    const DragPoint anchor{3, 2};  // in a 10 x 5 picture
    const Case cases[] = {
        {{3, 2}, 0, 0, 0, 0},        {{5, 2}, -2, 0, 8, 0},  // two to the right
        {{3, 0}, 0, -2, 0, 3},                               // two up
        {{3, 4}, 0, 2, 0, 2},                                // two down
        {{13, 7}, -0, 0, 0, 0},                              // one whole picture right and down
        {{-30, -9}, 3, -1, 3, 4},                            // far up left
        {{kMin, kMax}, 1, 0, 1, 0},  // 3 - kMin and kMax - 2 do not fit 32 bits
        {{kMax, kMin}, -4, 0, 6, 0},
    };
    for (const Case& c : cases) {
        const MoveShift s = moveShiftFor(anchor, c.pointer, 10, 5);
        EXPECT_EQ(s.dxr, c.dxr) << c.pointer.x << ", " << c.pointer.y;
        EXPECT_EQ(s.dyr, c.dyr) << c.pointer.x << ", " << c.pointer.y;
        EXPECT_EQ(s.sx, c.sx) << c.pointer.x << ", " << c.pointer.y;
        EXPECT_EQ(s.sy, c.sy) << c.pointer.x << ", " << c.pointer.y;
    }
}

TEST(ZoomRotate, StaysFiniteAndPositiveForPointersAnywhere) {
    const DragPoint far[] = {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}, {kMax, kMin}, {0, -65536}};
    for (const ScreenSize screen : {kDefaultDragScreen, ScreenSize{0, 0}}) {
        for (const DragPoint p : far) {
            const ZoomRotate z = zoomRotateFor({0, 0}, p, dragUnits(screen));
            EXPECT_TRUE(std::isfinite(z.cs) && std::isfinite(z.sn)) << p.x << ", " << p.y;
            EXPECT_GT(z.scale, 0.0f) << p.x << ", " << p.y;
        }
    }
}

TEST(WrapIndex, TruncatesTowardZeroThenWrapsIntoTheRange) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    struct Case {
        float x;
        std::int32_t n, index;
    };
    const Case cases[] = {
        {0.0f, 10, 0},
        {9.99f, 10, 9},
        {10.0f, 10, 0},
        {23.5f, 10, 3},
        {-0.0f, 10, 0},
        {-0.99f, 10, 0},
        {-1.0f, 10, 9},
        {-10.0f, 10, 0},
        {-10.5f, 10, 0},
        {-11.0f, 10, 9},
        {1e6f, 7, 1},
        {5.0f, 1, 0},
        {-5.0f, 1, 0},
        // Beyond the int32 range positions saturate before they wrap; NaN counts as 0.
        {3e9f, 10, 7},
        {-3e9f, 10, 2},
        {kInf, 10, 7},
        {-kInf, 10, 2},
        {std::nanf(""), 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrapIndex(c.x, c.n), c.index) << c.x << " mod " << c.n;
}

#if defined(LUMETRA_DRAG_LANES)
// The four-at-once wrap against wrapIndex, across signs, multiples of n and the lane bound.
TEST(WrapLanes, AgreeWithWrapIndexBelowTheBound) {
    // 41 and 47 are sizes whose rounded reciprocal leaves n * (1 / n) just below 1.
    const std::int32_t sizes[] = {1, 2, 3, 7, 41, 47, 1080, 1920, 4099, 4194304};
    const float bound = kLaneBound;
    for (const std::int32_t n : sizes) {
        const LaneDivisor divisor(n);
        const float fn = static_cast<float>(n);
        std::vector<float> xs = {0.0f,         -0.0f,          0.5f,         -0.5f,
                                 0.99999994f,  -0.99999994f,   bound - 1.0f, -(bound - 1.0f),
                                 bound - 0.5f, -(bound - 0.5f)};
        for (int k = -5; k <= 5; ++k) {
            for (const float d : {-1.0f, -0.25f, 0.0f, 0.25f, 1.0f}) {
                const float x = fn * static_cast<float>(k) + d;
                if (std::fabs(x) < bound) xs.push_back(x);
            }
        }
        for (float x = -bound + 3.0f; x < bound; x += 65537.37f)
            xs.push_back(x);
        while (xs.size() % 4 != 0)
            xs.push_back(1.0f);
        for (std::size_t i = 0; i < xs.size(); i += 4) {
            alignas(16) std::int32_t out[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(out),
                            wrapLanes(_mm_loadu_ps(&xs[i]), divisor));
            for (std::size_t l = 0; l < 4; ++l)
                EXPECT_EQ(out[l], wrapIndex(xs[i + l], n)) << xs[i + l] << " mod " << n;
        }
    }
}
#endif

}  // namespace
}  // namespace lumetra
