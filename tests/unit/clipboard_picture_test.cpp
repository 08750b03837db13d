// Pictures on the clipboard: hostile packed DIB blocks refused (where their pixels start: the fuzz
// seeds, read both ways), the operation region as a block and back, pastes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "document/canvas_image.h"
#include "image/bmp_reader.h"
#include "image/pixel_image.h"
#include "imageops/clipboard_picture.h"
#include "imageops_reference.h"

namespace lumetra {
namespace {

using Block = std::vector<std::uint8_t>;

// A block as another program makes it: a 4 x 2 BMP file without its 14-byte file header.
Block block(int bits, std::uint32_t compression, std::uint32_t used, std::size_t pixelBytes) {
    const Block file = testing::makeBmp({.width = 4,
                                         .height = 2,
                                         .bitCount = std::uint16_t(bits),
                                         .compression = compression,
                                         .colourCount = used,
                                         .pixels = Block(pixelBytes, 0x7F)});
    return Block(file.begin() + 14, file.end());
}

TEST(ClipboardBlock, HostileBlocksAreRefusedWithoutReadingPastThem) {
    const Block good = block(32, 0, 0, 32);
    ASSERT_TRUE(decodeDib(good).pixels);
    // Empty, the header alone, the last pixel byte missing, the masks cut off, a colour table of
    // 2^32 - 1 entries.
    for (const Block& hostile :
         {Block{}, Block(good.begin(), good.begin() + 40), Block(good.begin(), good.end() - 1),
          block(16, 3, 0, 0), block(32, 0, 0xFFFFFFFFu, 32)}) {
        const BmpReadResult result = decodeDib(hostile);
        EXPECT_FALSE(result.pixels) << hostile.size();
        EXPECT_EQ(result.message, "Truncated BMP file") << hostile.size();
    }
}

TEST(ClipboardBlock, OperationRegionRoundTrip) {
    CanvasImage image = testing::patternPicture(37, 25, 9);
    const Block whole = operationRegionBlock(image);  // no selection: the whole picture
    ASSERT_EQ(whole.size(), 40u + rowStride(37) * 25);
    EXPECT_EQ(le::readI32(whole, 8), 25) << "bottom-up";
    EXPECT_EQ(le::readU16(whole, 14), 24);
    EXPECT_EQ(decodeDib(whole).pixels->bytes, image.pixels.bytes);

    image.selection = Rect{5, 3, 15, 23};
    const std::optional<PixelImage> part = decodeDib(operationRegionBlock(image)).pixels;
    ASSERT_TRUE(part);
    ASSERT_EQ(part->width, 10);
    ASSERT_EQ(part->height, 20);
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(pixelAt(*part, x, y), pixelAt(image.pixels, 5 + x, 3 + y)) << x << "," << y;
    EXPECT_TRUE(operationRegionBlock(CanvasImage{}).empty());
}

TEST(ClipboardPaste, StretchesOntoTheRegionAndAnOverlayOfBlackChangesNothing) {
    const CanvasImage source = testing::patternPicture(50, 50, 3);
    for (const Rect& selection : {Rect{30, 40, 230, 140}, Rect{}}) {
        CanvasImage image = testing::patternPicture(260, 150, 77);
        image.selection = selection;
        const Rect r = operationRegion(image);
        PixelImage expected = image.pixels;
        ASSERT_TRUE(
            testing::referenceStretchHalftone(expected, {r.left, r.top, r.width(), r.height()},
                                              source.pixels, {0, 0, 50, 50}, StretchRaster::Copy));
        ASSERT_TRUE(pastePicture(image, source.pixels, PasteKind::Replace));
        EXPECT_EQ(image.pixels.bytes, expected.bytes) << "selection width " << selection.width();
    }
    CanvasImage image = testing::patternPicture(40, 30, 5);
    image.selection = Rect{4, 6, 24, 16};
    const Block before = image.pixels.bytes;
    std::string message;
    ASSERT_TRUE(pastePicture(image, *createCanvasBitmap(7, 3, message), PasteKind::Overlay));
    EXPECT_FALSE(pastePicture(image, PixelImage{}, PasteKind::Replace));
    EXPECT_EQ(image.pixels.bytes, before);
}

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
