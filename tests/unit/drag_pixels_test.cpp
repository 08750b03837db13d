// What the drags do to a picture, read in picture terms: every pixel of a coordinate picture
// tells which snapshot pixel it was copied from.

#include "imageops/drag_pixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "drag_pictures.h"

namespace lumetra {
namespace {

using testing::coordinatePicture;
using testing::noisePicture;
using testing::sourceOf;
using testing::SourcePoint;

Rect whole(const PixelImage& p) {
    return Rect{0, 0, p.width, p.height};
}

std::int32_t floorMod(std::int32_t a, std::int32_t n) {
    return ((a % n) + n) % n;
}

// The snapshot column each destination pixel of picture row y came from.
std::vector<std::int32_t> sourceColumns(const PixelImage& p, std::int32_t y) {
    std::vector<std::int32_t> columns;
    for (std::int32_t x = 0; x < p.width; ++x) {
        EXPECT_EQ(sourceOf(p, x, y).y, y) << "row " << y << " kept, column " << x;
        columns.push_back(sourceOf(p, x, y).x);
    }
    return columns;
}

// The snapshot row each destination pixel of picture column x came from.
std::vector<std::int32_t> sourceRows(const PixelImage& p, std::int32_t x) {
    std::vector<std::int32_t> rows;
    for (std::int32_t y = 0; y < p.height; ++y) {
        EXPECT_EQ(sourceOf(p, x, y).x, x) << "column " << x << " kept, row " << y;
        rows.push_back(sourceOf(p, x, y).y);
    }
    return rows;
}

TEST(MovePixels, ThePictureFollowsThePointerWithWrapAround) {
    const PixelImage snapshot = coordinatePicture(7, 5);
    const DragPoint anchor{2, 3};
    const DragPoint pointers[] = {{2, 3}, {3, 3}, {2, 1}, {0, 4}, {9, 3}, {-40, 22}, {2, 8}};
    for (const DragPoint p : pointers) {
        PixelImage picture = noisePicture(7, 5, 1);
        shiftPixels(snapshot, picture, whole(picture), moveShiftFor(anchor, p, 7, 5));
        for (std::int32_t y = 0; y < 5; ++y)
            for (std::int32_t x = 0; x < 7; ++x)
                EXPECT_EQ(sourceOf(picture, x, y), (SourcePoint{floorMod(x - (p.x - anchor.x), 7),
                                                                floorMod(y - (p.y - anchor.y), 5)}))
                    << "pointer " << p.x << ", " << p.y << " pixel " << x << ", " << y;
    }
}

TEST(DragPixels, WholePicturesDragsBackToTheirStartReproduceTheSnapshot) {
    struct Case {
        std::int32_t width, height;
        DragPoint anchor, pointer;
    };
    const Case cases[] = {
        {7, 5, {2, 3}, {9, 3}},    // a move by the picture's width
        {7, 5, {2, 3}, {2, 13}},   // by twice its height
        {7, 5, {0, 0}, {-7, -5}},  // from a corner, up-left by its size
        {33, 9, {32, 8}, {32, 8}}, {1, 1, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        const PixelImage snapshot = noisePicture(c.width, c.height, 2);
        PixelImage moved = noisePicture(c.width, c.height, 3);
        shiftPixels(snapshot, moved, whole(moved),
                    moveShiftFor(c.anchor, c.pointer, c.width, c.height));
        PixelImage zoomed = noisePicture(c.width, c.height, 4);
        zoomRotatePixels(snapshot, zoomed, whole(zoomed), c.anchor,
                         zoomRotateFor(c.anchor, c.anchor, dragUnits({0, 0})));
        PixelImage skewed = noisePicture(c.width, c.height, 5);
        skewFlipPixels(snapshot, skewed, whole(skewed), c.anchor,
                       skewFlipFor(c.anchor, c.anchor, dragUnits(kDefaultDragScreen)));
        // Pixels only: the row padding of the destination is never written.
        for (std::int32_t y = 0; y < c.height; ++y) {
            for (std::int32_t x = 0; x < c.width; ++x) {
                EXPECT_EQ(pixelAt(moved, x, y), pixelAt(snapshot, x, y)) << x << ", " << y;
                EXPECT_EQ(pixelAt(zoomed, x, y), pixelAt(snapshot, x, y)) << x << ", " << y;
                EXPECT_EQ(pixelAt(skewed, x, y), pixelAt(snapshot, x, y)) << x << ", " << y;
            }
        }
    }
}

// A 8 x 7 picture, anchor at column 3 of row 3 (memory row 3), screen 900 x 200: 100 pixels
// per radian and a shear unit of 10 pixels.
constexpr DragPoint kAnchor{3, 3};
const DragUnits kUnits = dragUnits({900, 200});

TEST(SkewFlipPixels, SidewaysShearsRowsByTheirDistanceFromTheAnchorRow) {
    const PixelImage snapshot = coordinatePicture(8, 7);
    PixelImage picture = noisePicture(8, 7, 6);
    // 50 pixels to the left: kx = 0.5, rows above the anchor go left, rows below go right.
    skewFlipPixels(snapshot, picture, whole(picture), kAnchor,
                   skewFlipFor(kAnchor, {-47, 3}, kUnits));
    using Columns = std::vector<std::int32_t>;
    EXPECT_EQ(sourceColumns(picture, 0), (Columns{1, 2, 3, 4, 5, 6, 7, 0}));  // trunc(x + 1.5)
    EXPECT_EQ(sourceColumns(picture, 1), (Columns{1, 2, 3, 4, 5, 6, 7, 0}));  // x + 1
    EXPECT_EQ(sourceColumns(picture, 2), (Columns{0, 1, 2, 3, 4, 5, 6, 7}));  // trunc(x + 0.5)
    EXPECT_EQ(sourceColumns(picture, 3), (Columns{0, 1, 2, 3, 4, 5, 6, 7}));  // the anchor row
    // Truncation goes toward zero: x - 0.5 at column 0 stays at 0.
    EXPECT_EQ(sourceColumns(picture, 4), (Columns{0, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sourceColumns(picture, 5), (Columns{7, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sourceColumns(picture, 6), (Columns{7, 0, 0, 1, 2, 3, 4, 5}));
}

TEST(SkewFlipPixels, UpwardShearsColumnsByTheirDistanceFromTheAnchorColumn) {
    const PixelImage snapshot = coordinatePicture(8, 7);
    PixelImage picture = noisePicture(8, 7, 7);
    // 5 pixels up: ky = 0.5; memory row r reads trunc(r + (3 - x) / 2).
    skewFlipPixels(snapshot, picture, whole(picture), kAnchor,
                   skewFlipFor(kAnchor, {3, -2}, kUnits));
    using Rows = std::vector<std::int32_t>;
    EXPECT_EQ(sourceRows(picture, 0), (Rows{6, 0, 1, 2, 3, 4, 5}));  // one row down
    EXPECT_EQ(sourceRows(picture, 2), (Rows{0, 1, 2, 3, 4, 5, 6}));  // trunc(r + 0.5)
    EXPECT_EQ(sourceRows(picture, 3), (Rows{0, 1, 2, 3, 4, 5, 6}));  // the anchor column
    // Right of the anchor the columns go up; the bottom row truncates toward zero.
    EXPECT_EQ(sourceRows(picture, 4), (Rows{1, 2, 3, 4, 5, 6, 6}));
    EXPECT_EQ(sourceRows(picture, 5), (Rows{1, 2, 3, 4, 5, 6, 0}));
}

TEST(ZoomRotatePixels, AShrinkSpreadsTheSamplesOfTheAnchorColumnAboutTheAnchorRow) {
    const PixelImage snapshot = coordinatePicture(8, 7);
    PixelImage picture = noisePicture(8, 7, 8);
    // 10 pixels down: scale 1.7 without a turn. With the anchor in column 0 that column is
    // sampled without any additions: memory row r reads trunc(3 + (r - 3) * 1.7) mod 7.
    const DragPoint anchor{0, 3};
    zoomRotatePixels(snapshot, picture, whole(picture), anchor,
                     zoomRotateFor(anchor, {0, 13}, kUnits));
    // Memory rows 6 .. 0 from the top: 1, 6, 4, 3, 1, 0, 5, as picture rows 6 - r.
    EXPECT_EQ(sourceRows(picture, 0), (std::vector<std::int32_t>{5, 0, 2, 3, 5, 6, 1}));
}

TEST(ZoomRotatePixels, ADragToTheRightTurnsClockwise) {
    const PixelImage snapshot = coordinatePicture(8, 7);
    PixelImage picture = noisePicture(8, 7, 12);
    // 157 right and 10 down: a quarter turn (1.57 radians) and scale 1.7.
    const DragPoint anchor{0, 3};
    zoomRotatePixels(snapshot, picture, whole(picture), anchor,
                     zoomRotateFor(anchor, {157, 13}, kUnits));
    EXPECT_EQ(sourceOf(picture, 1, 3), (SourcePoint{0, 2}));  // right of it: what was above
    EXPECT_EQ(sourceOf(picture, 0, 2), (SourcePoint{7, 3}));  // above it: what was left
}

TEST(ZoomRotatePixels, TheAnchorStaysWhereItIsUnderAnyTurnAndScale) {
    const PixelImage snapshot = coordinatePicture(8, 7);
    for (const DragPoint p : {DragPoint{40, 50}, DragPoint{-90, 30}, DragPoint{70, -60}}) {
        for (std::int32_t ay = 0; ay < 7; ++ay) {
            PixelImage picture = noisePicture(8, 7, 9);
            const DragPoint anchor{0, ay};  // column 0: no additions between anchor and pixel
            zoomRotatePixels(snapshot, picture, whole(picture), anchor,
                             zoomRotateFor(anchor, p, kUnits));
            EXPECT_EQ(sourceOf(picture, 0, ay), (SourcePoint{0, ay})) << p.x << ", " << p.y;
        }
    }
}

TEST(DragPixels, OnlyTheRegionIsRewrittenAndSamplingStillWrapsOverTheWholePicture) {
    const PixelImage snapshot = coordinatePicture(9, 6);
    const PixelImage before = noisePicture(9, 6, 10);
    PixelImage picture = before;
    const Rect region{6, 4, 40, 90};  // beyond the picture: cut to columns 6..8, rows 4, 5
    shiftPixels(snapshot, picture, region, moveShiftFor({0, 0}, {-4, 0}, 9, 6));
    for (std::int32_t y = 0; y < 6; ++y) {
        for (std::int32_t x = 0; x < 9; ++x) {
            if (x >= 6 && y >= 4)
                EXPECT_EQ(sourceOf(picture, x, y), (SourcePoint{(x + 4) % 9, y}));
            else
                EXPECT_EQ(pixelAt(picture, x, y), pixelAt(before, x, y)) << x << ", " << y;
        }
    }
    for (std::int32_t r = 0; r < 6; ++r)  // the padding: 27 pixel bytes, one fill byte
        EXPECT_EQ(picture.memoryRow(r)[27], before.memoryRow(r)[27]);
}

TEST(DragPixels, NothingIsWrittenWithoutAUsableSnapshotOrRegion) {
    const PixelImage before = noisePicture(9, 6, 11);
    const auto unchanged = [&](const PixelImage& source, const Rect& region) {
        PixelImage picture = before;
        const DragPoint anchor{4, 3};
        shiftPixels(source, picture, region, moveShiftFor(anchor, {5, 5}, 9, 6));
        zoomRotatePixels(source, picture, region, anchor, zoomRotateFor(anchor, {8, 8}, kUnits));
        skewFlipPixels(source, picture, region, anchor, skewFlipFor(anchor, {8, 8}, kUnits));
        return picture.bytes == before.bytes;
    };
    EXPECT_TRUE(unchanged(noisePicture(9, 7, 12), Rect{0, 0, 9, 6}));  // another size
    EXPECT_TRUE(unchanged(PixelImage{}, Rect{0, 0, 9, 6}));
    EXPECT_TRUE(unchanged(noisePicture(9, 6, 12), Rect{}));
    EXPECT_TRUE(unchanged(noisePicture(9, 6, 12), Rect{9, 0, 20, 6}));  // right of the picture
    EXPECT_FALSE(unchanged(noisePicture(9, 6, 12), Rect{8, 5, 9, 6}));  // its last pixel

    // The picture as its own snapshot would read pixels it has already rewritten.
    PixelImage picture = before;
    shiftPixels(picture, picture, Rect{0, 0, 9, 6}, moveShiftFor({0, 0}, {1, 1}, 9, 6));
    EXPECT_EQ(picture.bytes, before.bytes);
}

}  // namespace
}  // namespace lumetra
