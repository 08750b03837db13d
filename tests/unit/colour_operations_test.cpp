// The colour operations: the exact byte arithmetic, the region they work on, and agreement of the
// fast passes with the plain reference.

#include "imageops/colour_operations.h"

#include <gtest/gtest.h>

#include <string>

#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::kPaddingMark;
using testing::randomPicture;

struct ByteCase {
    ColourOperation operation;
    int brightest;  // Normalize's region maximum
    int before, after;
};

TEST(ColourOperations, ByteArithmetic) {
    using enum ColourOperation;
    const ByteCase cases[] = {
        {Brighten, 255, 100, 129},     {Brighten, 255, 10, 12},       {Brighten, 255, 196, 254},
        {Brighten, 255, 197, 255},     {Brighten, 255, 0, 0},         {Darken, 255, 255, 221},
        {Darken, 255, 1, 0},           {Darken, 255, 100, 87},        {MoreContrast, 255, 64, 64},
        {MoreContrast, 255, 128, 160}, {MoreContrast, 255, 21, 0},    {MoreContrast, 255, 22, 1},
        {MoreContrast, 255, 191, 254}, {MoreContrast, 255, 192, 255}, {MoreContrast, 255, 0, 0},
        {Normalize, 100, 100, 254},    {Normalize, 100, 50, 127},     {Normalize, 100, 0, 0},
        {Normalize, 255, 100, 100},    {Normalize, 0, 0, 0},          {Normalize, 1, 1, 255},
        {Invert, 255, 0, 255},         {Invert, 255, 200, 55},
    };
    for (const ByteCase& c : cases) {
        const ByteMap map = colourByteMap(c.operation, std::uint8_t(c.brightest));
        EXPECT_EQ(map[std::size_t(c.before)], c.after)
            << "operation " << int(c.operation) << ", brightest " << c.brightest << ", value "
            << c.before;
    }
}

// A 5 x 3 picture whose bytes are all `value`, padding marked.
CanvasImage flatPicture(std::uint8_t value, std::int32_t width = 5, std::int32_t height = 3) {
    CanvasImage image;
    adoptPixels(image, randomPicture(width, height, 0));
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(image.pixels, x, y, Rgb{value, value, value});
    return image;
}

TEST(ColourOperations, WorkOnTheSelectionOnlyAndNeverOnThePadding) {
    CanvasImage image = flatPicture(100);
    image.selection = Rect{1, 1, 3, 3};
    applyColourOperation(image, ColourOperation::Brighten);
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 5; ++x) {
            const bool inside = x >= 1 && x < 3 && y >= 1;
            EXPECT_EQ(pixelAt(image.pixels, x, y).green, inside ? 129 : 100) << x << ", " << y;
        }
        EXPECT_EQ(image.pixels.pictureRow(y)[15], kPaddingMark);
    }
}

TEST(ColourOperations, NormalizeLooksOnlyAtTheRegionForItsBrightestByte) {
    CanvasImage image = flatPicture(50);
    setPixel(image.pixels, 0, 0, Rgb{255, 255, 255});  // outside the selection
    setPixel(image.pixels, 4, 2, Rgb{100, 7, 0});
    image.selection = Rect{1, 1, 5, 3};
    EXPECT_EQ(brightestByte(image), 100);
    applyColourOperation(image, ColourOperation::Normalize);
    EXPECT_EQ(pixelAt(image.pixels, 4, 2), (Rgb{254, 17, 0}));
    EXPECT_EQ(pixelAt(image.pixels, 1, 1), (Rgb{127, 127, 127}));
    EXPECT_EQ(pixelAt(image.pixels, 0, 0), (Rgb{255, 255, 255}));

    // A region that reaches 255 anywhere is left as it is; an all-black one stays black.
    CanvasImage full = flatPicture(50);
    setPixel(full.pixels, 2, 1, Rgb{0, 0, 255});
    const CanvasImage before = full;
    applyColourOperation(full, ColourOperation::Normalize);
    EXPECT_EQ(full.pixels.bytes, before.pixels.bytes);
    CanvasImage black = flatPicture(0);
    applyColourOperation(black, ColourOperation::Normalize);
    EXPECT_EQ(brightestByte(black), 0);
}

TEST(ColourOperations, ClearExcessBlueClearsEveryBlueWithoutRedOrGreenEvenOutsideTheSelection) {
    CanvasImage image = flatPicture(0);
    setPixel(image.pixels, 0, 0, Rgb{0, 0, 200});  // cleared, outside the selection
    setPixel(image.pixels, 1, 0, Rgb{1, 0, 200});  // kept: red sounds
    setPixel(image.pixels, 2, 0, Rgb{0, 1, 200});  // kept: green sounds
    setPixel(image.pixels, 4, 2, Rgb{0, 0, 9});    // cleared
    image.selection = Rect{1, 1, 2, 2};
    applyColourOperation(image, ColourOperation::ClearExcessBlue);
    EXPECT_EQ(pixelAt(image.pixels, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixelAt(image.pixels, 1, 0), (Rgb{1, 0, 200}));
    EXPECT_EQ(pixelAt(image.pixels, 2, 0), (Rgb{0, 1, 200}));
    EXPECT_EQ(pixelAt(image.pixels, 4, 2), (Rgb{0, 0, 0}));
}

// Random pictures of odd and even widths (so that the padding differs) and selections along the
// edges; clear-excess-blue pictures have many zero bytes so that its rule is met.
TEST(ColourOperations, AgreeWithTheReferenceBitForBit) {
    using enum ColourOperation;
    const ColourOperation operations[] = {Normalize,    Brighten, Darken,
                                          MoreContrast, Invert,   ClearExcessBlue};
    const Rect selections[] = {
        Rect{},
        Rect{0, 0, 1, 1},
        Rect{0, 0, 37, 3},
        Rect{36, 0, 37, 23},
        Rect{5, 22, 37, 23},
        Rect{3, 4, 20, 19},
        Rect{17, 0, 18, 23},
    };
    std::uint32_t seed = 20;
    for (const std::int32_t width : {37, 38, 17, 1}) {
        for (const ColourOperation operation : operations) {
            for (const Rect& selection : selections) {
                CanvasImage fast;
                adoptPixels(fast, randomPicture(width, 23, ++seed));
                for (std::uint8_t& byte : fast.pixels.bytes) {
                    if (byte == kPaddingMark) continue;
                    if (operation == ClearExcessBlue && byte < 128) byte = 0;
                    if (operation == Normalize) byte /= 3;
                }
                fast.selection = selection.right <= width ? selection : Rect{};
                CanvasImage plain = fast;
                applyColourOperation(fast, operation);
                testing::referenceColourOperation(plain, operation);
                ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                    << "operation " << int(operation) << ", width " << width << ", selection "
                    << selection.left << "," << selection.top << "," << selection.right << ","
                    << selection.bottom;
            }
        }
    }
}

}  // namespace
}  // namespace lumetra
