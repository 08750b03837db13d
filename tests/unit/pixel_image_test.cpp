#include "image/pixel_image.h"
#include "document/canvas_image.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(PixelImage, RowsArePaddedBlackBottomUpAndBlueFirst) {
    for (const auto& [width, stride] : {std::pair{1, 4}, {4, 12}, {5, 16}, {300, 900}, {301, 904}})
        EXPECT_EQ(rowStride(width), stride) << width;
    std::string message;
    auto image = createCanvasBitmap(5, 3, message);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes, std::vector<std::uint8_t>(48, 0));
    setPixel(*image, 1, 0, Rgb{10, 20, 30});  // the top row is the last in memory
    EXPECT_EQ(std::vector<int>(image->memoryRow(2) + 3, image->memoryRow(2) + 6),
              (std::vector<int>{30, 20, 10}));
    EXPECT_EQ(pixelAt(*image, 1, 0), (Rgb{10, 20, 30}));
    for (const auto& [width, height] : {std::pair{0, 10}, {10, -1}, {100000, 100000}})
        EXPECT_FALSE(createCanvasBitmap(width, height, message)) << width << " x " << height;
    EXPECT_EQ(message, "Could not create new image");
}

TEST(CanvasImage, OperationRegionIsSelectionOrWholePicture) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(40, 20, message));
    image.selection = Rect{3, 4, 10, 12};
    EXPECT_EQ(operationRegion(image), (Rect{3, 4, 10, 12}));
    image.selection = Rect{10, 4, 10, 12};  // zero width counts as nothing selected
    EXPECT_EQ(operationRegion(image), (Rect{0, 0, 40, 20}));
}

}  // namespace
}  // namespace lumetra
