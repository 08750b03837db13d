#include "image/pixel_image.h"
#include "document/canvas_image.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(PixelImage, RowStrideIsPaddedToFourBytes) {
    EXPECT_EQ(rowStride(1), 4);
    EXPECT_EQ(rowStride(4), 12);
    EXPECT_EQ(rowStride(5), 16);
    EXPECT_EQ(rowStride(300), 900);
    EXPECT_EQ(rowStride(301), 904);
}

TEST(PixelImage, NewCanvasIsBlackBottomUp) {
    std::string message;
    auto image = createCanvasBitmap(5, 3, message);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stride, 16);
    EXPECT_EQ(image->bytes.size(), 48u);
    for (auto b : image->bytes)
        EXPECT_EQ(b, 0);
    setPixel(*image, 1, 0, Rgb{10, 20, 30});  // top row = last memory row
    const std::uint8_t* top = image->memoryRow(2);
    EXPECT_EQ(top[3], 30);  // blue first
    EXPECT_EQ(top[4], 20);
    EXPECT_EQ(top[5], 10);
    EXPECT_EQ(pixelAt(*image, 1, 0), (Rgb{10, 20, 30}));
}

TEST(PixelImage, RefusesAbsurdSizes) {
    std::string message;
    EXPECT_FALSE(createCanvasBitmap(0, 10, message));
    EXPECT_EQ(message, "Could not create new image");
    EXPECT_FALSE(createCanvasBitmap(10, -1, message));
    EXPECT_FALSE(createCanvasBitmap(100000, 100000, message));
}

TEST(CanvasImage, OperationRegionIsSelectionOrWholePicture) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(40, 20, message));
    EXPECT_EQ(operationRegion(image), (Rect{0, 0, 40, 20}));
    EXPECT_EQ(image.settings.width, 40);
    image.selection = Rect{3, 4, 10, 12};
    EXPECT_EQ(operationRegion(image), (Rect{3, 4, 10, 12}));
    image.selection = Rect{10, 4, 10, 12};  // zero width counts as nothing selected
    EXPECT_EQ(operationRegion(image), (Rect{0, 0, 40, 20}));
}

}  // namespace
}  // namespace lumetra
