// Pictures on the clipboard: where the pixels of a packed DIB block start (the depths are the BMP
// reader's tests), hostile blocks refused, the operation region as a block and back, pastes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "image/bmp_reader.h"
#include "imageops/clipboard_picture.h"
#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::packRows;
using testing::palette;
using testing::pictureRows;
using Picture = std::vector<std::vector<Rgb>>;
using Block = std::vector<std::uint8_t>;

// A block as another program makes it: a BMP file without its 14-byte file header, the pixels
// right behind the colour table.
Block block(std::uint32_t header, std::int32_t width, std::int32_t height, int bits,
            std::uint32_t compression, std::uint32_t used, std::vector<Rgb> colours,
            std::vector<std::uint32_t> masks, std::vector<std::uint8_t> pixels) {
    const Block file = testing::makeBmp(
        {header, width, height, std::uint16_t(bits), compression, used, colours, masks, pixels});
    return Block(file.begin() + 14, file.end());
}

TEST(ClipboardBlock, PixelsAreFoundBehindHeaderMasksAndColourTable) {
    const auto p = palette(256);
    const struct {
        const char* name;
        Block block;
        Picture expected;  // top row first
    } cases[] = {
        {"1 bit, full table",
         block(40, 2, 2, 1, 0, 0, palette(2), {}, packRows({{1, 0}, {0, 1}}, 1)),
         {{p[0], p[1]}, {p[1], p[0]}}},
        {"8 bit, three colours named",
         block(40, 2, 1, 8, 0, 3, palette(3), {}, packRows({{2, 1}}, 8)),
         {{p[2], p[1]}}},
        {"8 bit, core header",
         block(12, 2, 1, 8, 0, 0, p, {}, packRows({{7, 200}}, 8)),
         {{p[7], p[200]}}},
        {"8 bit RLE",
         block(40, 4, 1, 8, 1, 4, palette(4), {}, {3, 2, 1, 3, 0, 1}),
         {{p[2], p[2], p[2], p[3]}}},
        {"16 bit 5-6-5, masks behind the header",
         block(40, 2, 1, 16, 3, 0, {}, {0xF800, 0x07E0, 0x001F}, packRows({{0xF800, 0x0020}}, 16)),
         {{Rgb{255, 0, 0}, Rgb{0, 4, 0}}}},
        {"24 bit behind a colour table",
         block(40, 1, 1, 24, 0, 2, palette(2), {}, packRows({{0x332211}}, 24)),
         {{Rgb{0x33, 0x22, 0x11}}}},
        {"32 bit V5 fields top-down",
         block(124, 1, -2, 32, 3, 0, {}, {0xFF000000u, 0xFF0000u, 0xFF00u},
               packRows({{0x11223300u}, {0x44556600u}}, 32)),
         {{Rgb{0x11, 0x22, 0x33}}, {Rgb{0x44, 0x55, 0x66}}}},
    };
    for (const auto& c : cases) {
        const BmpReadResult result = decodeDib(c.block);
        ASSERT_TRUE(result.pixels) << c.name << ": " << result.message;
        EXPECT_EQ(pictureRows(*result.pixels), c.expected) << c.name;
    }
}

TEST(ClipboardBlock, HostileBlocksAreRefusedWithoutReadingPastThem) {
    const Block good = block(40, 4, 2, 32, 0, 0, {}, {}, Block(32, 0x7F));
    ASSERT_TRUE(decodeDib(good).pixels);
    const auto cutTo = [](Block b, std::size_t n) {
        b.resize(n);
        return b;
    };
    const struct {
        const char* name;
        Block block;
        const char* message;
    } cases[] = {
        {"empty", {}, "Truncated BMP file"},
        {"three bytes", cutTo(good, 3), "Truncated BMP file"},
        {"header only", cutTo(good, 40), "Truncated BMP file"},
        {"last pixel byte missing", cutTo(good, good.size() - 1), "Truncated BMP file"},
        {"masks cut off", block(40, 2, 1, 16, 3, 0, {}, {}, {}), "Truncated BMP file"},
        {"colour table beyond the block", block(40, 4, 2, 32, 0, 0xFFFFFFFFu, {}, {}, Block(32)),
         "Truncated BMP file"},
        {"absurd size", block(40, 100000, 100000, 32, 0, 0, {}, {}, Block(32)),
         "Picture too large (100000 x 100000): at most 65535 pixels wide and high and 268435456 "
         "pixels in all"},
        {"JPEG inside", block(40, 4, 2, 32, 4, 0, {}, {}, Block(32)),
         "Unsupported BMP compression"},
        {"unknown header", block(41, 4, 2, 32, 0, 0, {}, {}, Block(32)), "Unsupported BMP header"},
    };
    for (const auto& c : cases) {
        const BmpReadResult result = decodeDib(c.block);
        EXPECT_FALSE(result.pixels) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
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

}  // namespace
}  // namespace lumetra
