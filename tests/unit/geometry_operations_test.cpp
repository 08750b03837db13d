// Mirror, Flip, Double and Half: where every pixel goes, the size, the selection they leave.

#include "imageops/geometry_operations.h"

#include <gtest/gtest.h>

#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::kPaddingMark;
using testing::randomPicture;

CanvasImage randomImage(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    CanvasImage image;
    adoptPixels(image, randomPicture(width, height, seed));
    return image;
}

TEST(GeometryOperations, MirrorAndFlipReverseTheRegionOnly) {
    const CanvasImage before = randomImage(9, 7, 1);
    for (const bool mirror : {true, false}) {
        CanvasImage image = before;
        image.selection = Rect{2, 1, 7, 6};
        (mirror ? mirrorRegion : flipRegion)(image);
        for (std::int32_t y = 0; y < 7; ++y) {
            for (std::int32_t x = 0; x < 9; ++x) {
                const bool inside = x >= 2 && x < 7 && y >= 1 && y < 6;
                const std::int32_t fromX = inside && mirror ? 2 + 7 - 1 - x : x;
                const std::int32_t fromY = inside && !mirror ? 1 + 6 - 1 - y : y;
                EXPECT_EQ(pixelAt(image.pixels, x, y), pixelAt(before.pixels, fromX, fromY))
                    << (mirror ? "mirror " : "flip ") << x << ", " << y;
            }
            EXPECT_EQ(image.pixels.pictureRow(y)[27], kPaddingMark);
        }
        EXPECT_EQ(image.selection, (Rect{2, 1, 7, 6}));
    }
}

TEST(GeometryOperations, MirrorOfOneColumnChangesNothingAndTwiceRestores) {
    const CanvasImage before = randomImage(8, 5, 2);
    CanvasImage image = before;
    image.selection = Rect{3, 0, 4, 5};
    mirrorRegion(image);
    EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    for (auto operation : {mirrorRegion, flipRegion}) {
        image.selection = Rect{};
        operation(image);
        EXPECT_NE(image.pixels.bytes, before.pixels.bytes);
        operation(image);
        EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    }
}

struct DuplicationCase {
    Duplication kind;
    std::int32_t width, height;
    std::int32_t newWidth, newHeight;
    Rect selection;
};

TEST(GeometryOperations, DoubleAndHalfSizesAndSelections) {
    using enum Duplication;
    const DuplicationCase cases[] = {
        {DoubleHorizontally, 100, 50, 200, 50, {100, 0, 200, 50}},
        {DoubleVertically, 100, 50, 100, 100, {0, 50, 100, 100}},
        {DoubleHorizontally, 7, 5, 14, 5, {7, 0, 14, 5}},
        {DoubleVertically, 7, 5, 7, 10, {0, 5, 7, 10}},
        {HalfHorizontally, 101, 50, 101, 50, {}},
        {HalfVertically, 100, 51, 100, 51, {}},
    };
    for (const DuplicationCase& c : cases) {
        CanvasImage image = randomImage(c.width, c.height, 3);
        image.selection = Rect{1, 1, 2, 2};
        const DuplicationResult result = duplicatePicture(image, c.kind);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.sizeChanged, c.newWidth != c.width || c.newHeight != c.height);
        EXPECT_EQ(image.pixels.width, c.newWidth);
        EXPECT_EQ(image.pixels.height, c.newHeight);
        EXPECT_EQ(image.settings.width, c.newWidth);
        EXPECT_EQ(image.settings.height, c.newHeight);
        EXPECT_EQ(image.selection, c.selection) << int(c.kind) << " of " << c.width;
    }
}

TEST(GeometryOperations, DoubleShowsThePictureTwiceExactly) {
    const CanvasImage before = randomImage(6, 4, 4);
    CanvasImage wide = before, high = before;
    duplicatePicture(wide, Duplication::DoubleHorizontally);
    duplicatePicture(high, Duplication::DoubleVertically);
    for (std::int32_t y = 0; y < 4; ++y) {
        for (std::int32_t x = 0; x < 6; ++x) {
            const Rgb pixel = pixelAt(before.pixels, x, y);
            EXPECT_EQ(pixelAt(wide.pixels, x, y), pixel);
            EXPECT_EQ(pixelAt(wide.pixels, x + 6, y), pixel);
            EXPECT_EQ(pixelAt(high.pixels, x, y), pixel);
            EXPECT_EQ(pixelAt(high.pixels, x, y + 4), pixel);
        }
    }
}

// Half Horizontally of a 101-pixel-wide picture: two copies of 51 columns at 0 and 51, the last
// column of the second cut off; each pixel the average of the source pixels under it.
TEST(GeometryOperations, HalfDrawsTwoHalfSizeCopiesInsideTheBounds) {
    const CanvasImage before = randomImage(101, 3, 5);
    CanvasImage image = before;
    duplicatePicture(image, Duplication::HalfHorizontally);
    std::string message;
    PixelImage half = *createCanvasBitmap(51, 3, message);
    // The odd height is stretched by a row too, which falls outside.
    ASSERT_TRUE(
        testing::referenceStretchHalftone(half, {0, 0, 51, 4}, before.pixels, {0, 0, 101, 3}));
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 51; ++x) {
            EXPECT_EQ(pixelAt(image.pixels, x, y), pixelAt(half, x, y)) << x;
            if (x < 50) {
                EXPECT_EQ(pixelAt(image.pixels, 51 + x, y), pixelAt(half, x, y)) << x;
            }
        }
    }
    // Columns 0 and 1 under the first pixel: a grey picture's halving is plain to see.
    CanvasImage grey = randomImage(4, 1, 6);
    setPixel(grey.pixels, 0, 0, Rgb{10, 10, 10});
    setPixel(grey.pixels, 1, 0, Rgb{20, 20, 20});
    duplicatePicture(grey, Duplication::HalfHorizontally);
    EXPECT_EQ(pixelAt(grey.pixels, 0, 0), (Rgb{15, 15, 15}));
    EXPECT_EQ(pixelAt(grey.pixels, 2, 0), (Rgb{15, 15, 15}));
}

// An odd height that is not being doubled is stretched by one row: a picture whose rows are each
// one colour keeps its top row, and the rows below lie between their neighbours.
TEST(GeometryOperations, AnOddSideIsStretchedByOnePixel) {
    CanvasImage image = randomImage(2, 3, 7);
    const std::uint8_t rows[3] = {0, 90, 180};
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 2; ++x)
            setPixel(image.pixels, x, y, Rgb{rows[y], rows[y], rows[y]});
    duplicatePicture(image, Duplication::DoubleHorizontally);
    // Three rows onto four, in quarters of a row: 3 of row 0; 1 of row 0 and 2 of row 1; 2 of
    // row 1 and 1 of row 2; and 3 of row 2, which is cut off.
    const std::uint8_t expected[3] = {0, 60, 120};
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(image.pixels, x, y).red, expected[y]) << x << ", " << y;
}

TEST(GeometryOperations, AMalformedPictureIsNotDuplicated) {
    CanvasImage image = randomImage(4, 4, 8);
    image.pixels.bytes.resize(10);
    const DuplicationResult result = duplicatePicture(image, Duplication::DoubleHorizontally);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(image.pixels.width, 4);
}

}  // namespace
}  // namespace lumetra
