// Delete blacks out the selection, or the whole picture without one, and nothing else.

#include "imageops/delete_region.h"

#include <gtest/gtest.h>

#include <string>

namespace lumetra {
namespace {

// A 7 x 5 picture (row stride 24, three padding bytes) whose pixel bytes are all non-zero and
// whose padding bytes are 0xEE.
CanvasImage filledPicture() {
    std::string message;
    CanvasImage image;
    adoptPixels(image, *createCanvasBitmap(7, 5, message));
    for (std::size_t i = 0; i < image.pixels.bytes.size(); ++i)
        image.pixels.bytes[i] = (i % 24) < 21 ? std::uint8_t(1 + i % 200) : 0xEE;
    return image;
}

int blackPixels(const PixelImage& pixels) {
    int count = 0;
    for (std::int32_t y = 0; y < pixels.height; ++y)
        for (std::int32_t x = 0; x < pixels.width; ++x)
            count += pixelAt(pixels, x, y) == Rgb{} ? 1 : 0;
    return count;
}

TEST(DeleteRegion, BlacksOutTheSelectionOnly) {
    CanvasImage image = filledPicture();
    const CanvasImage before = image;
    image.selection = Rect{2, 1, 5, 3};  // picture rows 1 and 2, columns 2 to 4
    deleteRegion(image);
    for (std::int32_t y = 0; y < 5; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(pixelAt(image.pixels, x, y), inside ? Rgb{} : pixelAt(before.pixels, x, y))
                << x << ", " << y;
        }
    }
    EXPECT_EQ(blackPixels(image.pixels), 6);
    EXPECT_EQ(image.selection, (Rect{2, 1, 5, 3}));
    // Picture row 1 from the top is memory row 3: its padding stays.
    EXPECT_EQ(image.pixels.memoryRow(3)[21], 0xEE);
}

TEST(DeleteRegion, WithoutASelectionBlacksOutTheWholePictureButNotThePadding) {
    CanvasImage image = filledPicture();
    deleteRegion(image);
    EXPECT_EQ(blackPixels(image.pixels), 35);
    for (std::int32_t r = 0; r < 5; ++r)
        EXPECT_EQ(image.pixels.memoryRow(r)[23], 0xEE);
}

TEST(DeleteRegion, ASelectionBeyondThePictureIsCutToIt) {
    CanvasImage image = filledPicture();
    image.selection = Rect{5, 3, 40, 90};
    deleteRegion(image);
    EXPECT_EQ(blackPixels(image.pixels), 4);  // columns 5, 6 of rows 3, 4
    EXPECT_EQ(image.pixels.memoryRow(0)[23], 0xEE);

    CanvasImage empty;
    deleteRegion(empty);  // nothing to do, nothing to crash
    EXPECT_TRUE(empty.pixels.empty());
}

}  // namespace
}  // namespace lumetra
