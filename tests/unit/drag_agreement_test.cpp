// The drag loops against the plain reference, byte for byte over the whole destination (padding
// and pixels outside the region included): odd widths, several tiles, regions at the edges,
// anchors and pointers from the degenerate to the absurd, tiny screens.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "drag_pictures.h"
#include "imageops/drag_pixels.h"
#include "transform_reference.h"

namespace lumetra {
namespace {

using testing::noisePicture;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Event {
    Rect region;
    DragPoint anchor, pointer;
    ScreenSize screen;
};

using Loop = void (*)(const PixelImage&, PixelImage&, const Event&);

struct LoopPair {
    const char* name;
    Loop fast, reference;
};

const LoopPair kLoops[] = {
    {"move",
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         shiftPixels(s, d, e.region, moveShiftFor(e.anchor, e.pointer, s.width, s.height));
     },
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         testing::referenceShift(s, d, e.region,
                                 moveShiftFor(e.anchor, e.pointer, s.width, s.height));
     }},
    {"zoom-rotate",
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         zoomRotatePixels(s, d, e.region, e.anchor,
                          zoomRotateFor(e.anchor, e.pointer, dragUnits(e.screen)));
     },
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         testing::referenceZoomRotate(s, d, e.region, e.anchor,
                                      zoomRotateFor(e.anchor, e.pointer, dragUnits(e.screen)));
     }},
    {"skew-flip",
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         skewFlipPixels(s, d, e.region, e.anchor,
                        skewFlipFor(e.anchor, e.pointer, dragUnits(e.screen)));
     },
     [](const PixelImage& s, PixelImage& d, const Event& e) {
         testing::referenceSkewFlip(s, d, e.region, e.anchor,
                                    skewFlipFor(e.anchor, e.pointer, dragUnits(e.screen)));
     }},
};

std::string describe(const PixelImage& p, const Event& e) {
    const Rect& r = e.region;
    return std::to_string(p.width) + " x " + std::to_string(p.height) + ", region " +
           std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ", anchor " + std::to_string(e.anchor.x) + "," +
           std::to_string(e.anchor.y) + ", pointer " + std::to_string(e.pointer.x) + "," +
           std::to_string(e.pointer.y) + ", screen " + std::to_string(e.screen.width) + " x " +
           std::to_string(e.screen.height);
}

std::int32_t below(std::mt19937& random, std::int32_t n) {
    return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(n));
}

std::vector<Rect> regionsOf(std::int32_t w, std::int32_t h, std::mt19937& random) {
    std::int32_t l = below(random, w + 1), r = below(random, w + 1);
    std::int32_t t = below(random, h + 1), b = below(random, h + 1);
    return {
        Rect{0, 0, w, h},
        Rect{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)},
        Rect{w - 1, h - 1, w, h},  // the last pixel in memory order
        Rect{w / 2, 0, w, h / 2 + 1},
        Rect{-5, h / 3, 3, h + 7},  // beyond the picture
    };
}

std::vector<DragPoint> anchorsOf(std::int32_t w, std::int32_t h, std::mt19937& random) {
    // The batch editor takes anchors anywhere, not only inside the picture.
    return {{0, 0}, {w - 1, h - 1}, {below(random, w), below(random, h)}, {-3, h + 2}};
}

std::vector<DragPoint> pointersFrom(DragPoint a, std::mt19937& random) {
    const auto near = [&](std::int32_t spread) { return below(random, 2 * spread + 1) - spread; };
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

void agreeOn(std::int32_t w, std::int32_t h, std::uint32_t seed) {
    std::mt19937 random(seed);
    const PixelImage snapshot = noisePicture(w, h, seed);
    const PixelImage start = noisePicture(w, h, seed + 1);
    for (const Rect& region : regionsOf(w, h, random)) {
        for (const DragPoint a : anchorsOf(w, h, random)) {
            for (const DragPoint p : pointersFrom(a, random)) {
                const Event e{region, a, p, kScreens[random() % std::size(kScreens)]};
                for (const LoopPair& loop : kLoops) {
                    PixelImage mine = start;
                    PixelImage theirs = start;
                    loop.fast(snapshot, mine, e);
                    loop.reference(snapshot, theirs, e);
                    ASSERT_EQ(mine.bytes, theirs.bytes) << loop.name << " " << describe(mine, e);
                }
            }
        }
    }
}

TEST(DragAgreement, SmallPicturesOfEveryPaddingAndRowCount) {
    const std::int32_t sizes[][2] = {{1, 1}, {1, 5}, {2, 3}, {3, 4}, {4, 2},
                                     {5, 7}, {7, 1}, {8, 9}, {31, 6}};
    std::uint32_t seed = 100;
    for (const auto& s : sizes)
        agreeOn(s[0], s[1], seed++);
}

TEST(DragAgreement, WiderPicturesInSeveralTilesWithLeftoverRows) {
    const std::int32_t sizes[][2] = {{101, 37}, {256, 11}, {1021, 6}, {41, 47}, {530, 21}};
    std::uint32_t seed = 200;
    for (const auto& s : sizes)
        agreeOn(s[0], s[1], seed++);
}

// Zoom factors that grow step by step, so that rows cross the lanes' bound mid-row.
TEST(DragAgreement, ZoomRotateAcrossTheLanesBound) {
    const PixelImage snapshot = noisePicture(257, 13, 300);
    const PixelImage start = noisePicture(257, 13, 301);
    const Rect region{0, 0, 257, 13};
    for (float scale = 12000.0f; scale < 40000.0f; scale *= 1.37f) {
        for (const float angle : {0.0f, 0.3f, 2.0f}) {
            const ZoomRotate zoom{scale, angle, std::cos(angle) * scale, std::sin(angle) * scale};
            PixelImage mine = start;
            PixelImage theirs = start;
            zoomRotatePixels(snapshot, mine, region, {128, 6}, zoom);
            testing::referenceZoomRotate(snapshot, theirs, region, {128, 6}, zoom);
            ASSERT_EQ(mine.bytes, theirs.bytes) << "scale " << scale << ", angle " << angle;
        }
    }
}

}  // namespace
}  // namespace lumetra
