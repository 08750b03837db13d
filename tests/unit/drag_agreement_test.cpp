// The drag loops against the plain reference, byte for byte over the whole destination (padding
// and pixels outside the region included): odd widths, regions at the edges, anchors and
// pointers from the degenerate to the absurd, tiny screens.

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "drag_pictures.h"
#include "imageops/drag_pixels.h"
#include "transform_reference.h"

namespace lumetra {
namespace {

using testing::noisePicture;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Size {
    std::int32_t width, height;
};

std::vector<Rect> regionsOf(Size s, std::mt19937& random) {
    const auto pick = [&](std::int32_t n) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(n + 1));
    };
    std::int32_t l = pick(s.width), r = pick(s.width), t = pick(s.height), b = pick(s.height);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return {
        Rect{0, 0, s.width, s.height},
        Rect{l, t, r, b},
        Rect{s.width - 1, s.height - 1, s.width, s.height},  // the last pixel in memory order
        Rect{0, 0, 1, 1},
        Rect{s.width / 2, 0, s.width, s.height / 2 + 1},  // top right, to the edge
        Rect{-5, s.height / 3, 3, s.height + 7},          // beyond the picture
    };
}

std::vector<DragPoint> anchorsOf(Size s, std::mt19937& random) {
    return {
        {0, 0},
        {s.width - 1, s.height - 1},
        {static_cast<std::int32_t>(random() % s.width),
         static_cast<std::int32_t>(random() % s.height)},
        {-3, s.height + 2},  // the batch editor takes anchors anywhere
    };
}

std::vector<DragPoint> pointersFrom(DragPoint a, std::mt19937& random) {
    const auto near = [&](std::int32_t spread) {
        return static_cast<std::int32_t>(random() % (2 * spread + 1)) - spread;
    };
    return {
        a,
        {a.x + 1, a.y},
        {a.x, a.y - 1},
        {a.x + near(300), a.y + near(300)},
        {a.x + near(40), a.y + near(40)},
        {-1, -1},
        {a.x + 100000, a.y - 70000},
        {a.x - 30, a.y + 30000},  // a vast shrink: positions beyond the lanes' bound
        {kMin, kMax},
        {kMax, kMin},
    };
}

const ScreenSize kScreens[] = {kDefaultDragScreen, {1, 1}, {0, 0}, {640, 480}};

// Runs one loop and its reference from the same destination and compares every byte.
template <class Fast, class Reference>
void agree(const PixelImage& snapshot, const PixelImage& start, Fast fast, Reference reference,
           const char* what, const Rect& region, DragPoint a, DragPoint p, ScreenSize screen) {
    PixelImage mine = start;
    PixelImage theirs = start;
    fast(snapshot, mine);
    reference(snapshot, theirs);
    ASSERT_EQ(mine.bytes, theirs.bytes)
        << what << " " << snapshot.width << " x " << snapshot.height << " region " << region.left
        << "," << region.top << "," << region.right << "," << region.bottom << " anchor " << a.x
        << "," << a.y << " pointer " << p.x << "," << p.y << " screen " << screen.width << " x "
        << screen.height;
}

void agreeOn(Size s, std::uint32_t seed) {
    std::mt19937 random(seed);
    const PixelImage snapshot = noisePicture(s.width, s.height, seed);
    const PixelImage start = noisePicture(s.width, s.height, seed + 1);
    for (const Rect& region : regionsOf(s, random)) {
        for (const DragPoint a : anchorsOf(s, random)) {
            for (const DragPoint p : pointersFrom(a, random)) {
                const ScreenSize screen = kScreens[random() % std::size(kScreens)];
                const DragUnits units = dragUnits(screen);
                const MoveShift shift = moveShiftFor(a, p, s.width, s.height);
                agree(
                    snapshot, start,
                    [&](const PixelImage& f, PixelImage& t) { shiftPixels(f, t, region, shift); },
                    [&](const PixelImage& f, PixelImage& t) {
                        testing::referenceShift(f, t, region, shift);
                    },
                    "move", region, a, p, screen);
                const ZoomRotate zoom = zoomRotateFor(a, p, units);
                agree(
                    snapshot, start,
                    [&](const PixelImage& f, PixelImage& t) {
                        zoomRotatePixels(f, t, region, a, zoom);
                    },
                    [&](const PixelImage& f, PixelImage& t) {
                        testing::referenceZoomRotate(f, t, region, a, zoom);
                    },
                    "zoom-rotate", region, a, p, screen);
                const SkewFlip skew = skewFlipFor(a, p, units);
                agree(
                    snapshot, start,
                    [&](const PixelImage& f, PixelImage& t) {
                        skewFlipPixels(f, t, region, a, skew);
                    },
                    [&](const PixelImage& f, PixelImage& t) {
                        testing::referenceSkewFlip(f, t, region, a, skew);
                    },
                    "skew-flip", region, a, p, screen);
            }
        }
    }
}

TEST(DragAgreement, SmallPicturesOfEveryPaddingAndRowCount) {
    const Size sizes[] = {{1, 1}, {1, 5}, {2, 3}, {3, 4}, {4, 2}, {5, 7}, {7, 1}, {8, 9}, {31, 6}};
    std::uint32_t seed = 100;
    for (const Size s : sizes)
        agreeOn(s, seed++);
}

TEST(DragAgreement, WiderPicturesInSeveralTilesWithLeftoverRows) {
    const Size sizes[] = {{101, 37}, {256, 11}, {1021, 6}, {41, 47}, {530, 21}};
    std::uint32_t seed = 200;
    for (const Size s : sizes)
        agreeOn(s, seed++);
}

// Growing zoom-rotate factors step by step, so that rows cross the lanes' bound mid-row.
TEST(DragAgreement, ZoomRotateAcrossTheLanesBound) {
    const PixelImage snapshot = noisePicture(257, 13, 300);
    const PixelImage start = noisePicture(257, 13, 301);
    const DragPoint anchor{128, 6};
    const Rect region{0, 0, 257, 13};
    for (float scale = 12000.0f; scale < 40000.0f; scale *= 1.37f) {
        for (const float angle : {0.0f, 0.3f, 2.0f}) {
            const ZoomRotate zoom{scale, angle, std::cos(angle) * scale, std::sin(angle) * scale};
            agree(
                snapshot, start,
                [&](const PixelImage& f, PixelImage& t) {
                    zoomRotatePixels(f, t, region, anchor, zoom);
                },
                [&](const PixelImage& f, PixelImage& t) {
                    testing::referenceZoomRotate(f, t, region, anchor, zoom);
                },
                "zoom-rotate", region, anchor, anchor, ScreenSize{});
        }
    }
}

}  // namespace
}  // namespace lumetra
