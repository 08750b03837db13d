// Pictures on the clipboard: packed DIB blocks of every depth, compression, header and
// orientation read into the 24-bit store, hostile blocks refused; the operation region written as
// a block and read back; pastes stretched onto the operation region.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "imageops/clipboard_picture.h"
#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using testing::packRows;
using testing::palette;
using testing::pictureRows;
using testing::referenceStretchHalftone;
using Picture = std::vector<std::vector<Rgb>>;
using Block = std::vector<std::uint8_t>;

// The block another program puts on the clipboard: a BMP file without its 14-byte file header
// (the test files keep the pixels right behind the colour table, as a packed block does).
Block blockOf(const BmpFields& fields) {
    const Block file = testing::makeBmp(fields);
    return Block(file.begin() + 14, file.end());
}

TEST(ClipboardBlock, EveryDepthCompressionHeaderAndOrientation) {
    const auto p = palette(16);
    struct Case {
        const char* name;
        BmpFields fields;
        Picture expected;  // top row first
    };
    const Case cases[] = {
        {"1 bit",
         {.width = 3,
          .height = 2,
          .bitCount = 1,
          .colours = palette(2),
          .pixels = packRows({{1, 0, 1}, {0, 0, 1}}, 1)},
         {{p[0], p[0], p[1]}, {p[1], p[0], p[1]}}},
        {"4 bit",
         {.width = 3,
          .height = 1,
          .bitCount = 4,
          .colours = palette(16),
          .pixels = packRows({{15, 0, 9}}, 4)},
         {{p[15], p[0], p[9]}}},
        // Three colours named: the pixels start behind three entries, not 256.
        {"8 bit, short table",
         {.width = 2,
          .height = 1,
          .bitCount = 8,
          .colourCount = 3,
          .colours = palette(3),
          .pixels = packRows({{2, 1}}, 8)},
         {{p[2], p[1]}}},
        {"8 bit, core header",
         {.headerSize = 12,
          .width = 2,
          .height = 1,
          .bitCount = 8,
          .colours = palette(256),
          .pixels = packRows({{7, 200}}, 8)},
         {{palette(256)[7], palette(256)[200]}}},
        {"8 bit RLE",
         {.width = 4,
          .height = 1,
          .bitCount = 8,
          .compression = 1,
          .colourCount = 4,
          .colours = palette(4),
          .pixels = {3, 2, 1, 3, 0, 1}},
         {{p[2], p[2], p[2], p[3]}}},
        {"16 bit 5-5-5",
         {.width = 3,
          .height = 1,
          .bitCount = 16,
          .pixels = packRows({{0x7C00, 0x0010, 0x7FFF}}, 16)},
         {{Rgb{255, 0, 0}, Rgb{0, 0, 132}, Rgb{255, 255, 255}}}},
        // The three masks follow the 40-byte header, and the pixels follow them.
        {"16 bit 5-6-5 fields",
         {.width = 3,
          .height = 1,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = packRows({{0xF800, 0x0020, 0x001F}}, 16)},
         {{Rgb{255, 0, 0}, Rgb{0, 4, 0}, Rgb{0, 0, 255}}}},
        {"24 bit bottom-up",
         {.width = 2,
          .height = 2,
          .bitCount = 24,
          .pixels = packRows({{0x010203, 0x040506}, {0xA0B0C0, 0xFFFFFF}}, 24)},
         {{Rgb{0xA0, 0xB0, 0xC0}, Rgb{255, 255, 255}}, {Rgb{1, 2, 3}, Rgb{4, 5, 6}}}},
        {"24 bit top-down",
         {.width = 2,
          .height = -2,
          .bitCount = 24,
          .pixels = packRows({{0x010203, 0x040506}, {0xA0B0C0, 0xFFFFFF}}, 24)},
         {{Rgb{1, 2, 3}, Rgb{4, 5, 6}}, {Rgb{0xA0, 0xB0, 0xC0}, Rgb{255, 255, 255}}}},
        // Two palette entries before the pixels of a true-colour block: skipped, not pixels.
        {"24 bit with a colour table",
         {.width = 1,
          .height = 1,
          .bitCount = 24,
          .colourCount = 2,
          .colours = palette(2),
          .pixels = packRows({{0x332211}}, 24)},
         {{Rgb{0x33, 0x22, 0x11}}}},
        // What most programs put there: 32 bits, the fourth byte (alpha) not used.
        {"32 bit",
         {.width = 2,
          .height = 1,
          .bitCount = 32,
          .pixels = packRows({{0xFF102030u, 0x00FFFFFFu}}, 32)},
         {{Rgb{0x10, 0x20, 0x30}, Rgb{255, 255, 255}}}},
        {"32 bit fields",
         {.width = 2,
          .height = -1,
          .bitCount = 32,
          .compression = 3,
          .masks = {0x000000FFu, 0x0000FF00u, 0x00FF0000u},
          .pixels = packRows({{0x00302010u, 0x000000FFu}}, 32)},
         {{Rgb{0x10, 0x20, 0x30}, Rgb{255, 0, 0}}}},
        {"32 bit V4",
         {.headerSize = 108,
          .width = 1,
          .height = 1,
          .bitCount = 32,
          .pixels = packRows({{0x80ABCDEFu}}, 32)},
         {{Rgb{0xAB, 0xCD, 0xEF}}}},
        {"32 bit V5 fields top-down",
         {.headerSize = 124,
          .width = 1,
          .height = -2,
          .bitCount = 32,
          .compression = 3,
          .masks = {0xFF000000u, 0x00FF0000u, 0x0000FF00u},
          .pixels = packRows({{0x11223300u}, {0x44556600u}}, 32)},
         {{Rgb{0x11, 0x22, 0x33}}, {Rgb{0x44, 0x55, 0x66}}}},
    };
    for (const Case& c : cases) {
        const BmpReadResult result = decodeDib(blockOf(c.fields));
        ASSERT_TRUE(result.pixels) << c.name << ": " << result.message;
        EXPECT_EQ(pictureRows(*result.pixels), c.expected) << c.name;
        EXPECT_TRUE(wellFormed(*result.pixels)) << c.name;
    }
}

TEST(ClipboardBlock, HostileBlocksAreRefusedWithoutReadingPastThem) {
    const BmpFields good{.width = 4, .height = 2, .bitCount = 32, .pixels = Block(32, 0x7F)};
    const auto edited = [&](auto change) {
        BmpFields f = good;
        change(f);
        return blockOf(f);
    };
    Block tiny = blockOf(good);
    tiny.resize(3);
    Block headerOnly = blockOf(good);
    headerOnly.resize(40);
    Block oneByteShort = blockOf(good);
    oneByteShort.pop_back();
    Block masksCut = edited([](BmpFields& f) {
        f.bitCount = 16;
        f.compression = 3;
    });
    masksCut.resize(46);
    struct Case {
        const char* name;
        Block block;
        std::string message;
    };
    const Case cases[] = {
        {"empty", {}, "Truncated BMP file"},
        {"three bytes", tiny, "Truncated BMP file"},
        {"header only", headerOnly, "Truncated BMP file"},
        {"last pixel byte missing", oneByteShort, "Truncated BMP file"},
        {"masks cut off", masksCut, "Truncated BMP file"},
        {"unknown header size", edited([](BmpFields& f) { f.headerSize = 41; }),
         "Unsupported BMP header"},
        {"zero width", edited([](BmpFields& f) { f.width = 0; }), "Bad BMP size"},
        {"negative width", edited([](BmpFields& f) { f.width = -4; }), "Bad BMP size"},
        {"zero height", edited([](BmpFields& f) { f.height = 0; }), "Bad BMP size"},
        {"height INT32_MIN", edited([](BmpFields& f) { f.height = INT32_MIN; }), "Bad BMP size"},
        {"2 bits", edited([](BmpFields& f) { f.bitCount = 2; }), "Unsupported BMP bit depth"},
        {"JPEG inside", edited([](BmpFields& f) { f.compression = 4; }),
         "Unsupported BMP compression"},
        {"PNG inside", edited([](BmpFields& f) { f.compression = 5; }),
         "Unsupported BMP compression"},
        {"alpha bit fields", edited([](BmpFields& f) { f.compression = 6; }),
         "Unsupported BMP compression"},
        {"24-bit bit fields", edited([](BmpFields& f) {
             f.bitCount = 24;
             f.compression = 3;
         }),
         "Unsupported BMP compression"},
        {"absurd size", edited([](BmpFields& f) {
             f.width = 100000;
             f.height = 100000;
         }),
         "Picture too large"},
        // A colour table of four thousand million entries would lie beyond the block.
        {"absurd colour count", edited([](BmpFields& f) { f.colourCount = 0xFFFFFFFFu; }),
         "Truncated BMP file"},
    };
    for (const Case& c : cases) {
        // A copy of exactly the block's length, so that the sanitizers see any read beyond it.
        const std::vector<std::uint8_t> exact(c.block);
        const BmpReadResult result = decodeDib(exact);
        EXPECT_FALSE(result.pixels) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
    }
    EXPECT_TRUE(decodeDib(blockOf(good)).pixels) << "the good block itself";
}

TEST(ClipboardBlock, OperationRegionRoundTrip) {
    CanvasImage image = testing::patternPicture(37, 25, 9);
    // No selection: the whole picture, as a 24-bit bottom-up block of exact length.
    Block whole = operationRegionBlock(image);
    ASSERT_EQ(whole.size(), 40u + rowStride(37) * 25);
    EXPECT_EQ(le::readU32(whole, 0), 40u);
    EXPECT_EQ(le::readI32(whole, 8), 25) << "bottom-up";
    EXPECT_EQ(le::readU16(whole, 14), 24);
    EXPECT_EQ(le::readU32(whole, 16), 0u);
    BmpReadResult back = decodeDib(whole);
    ASSERT_TRUE(back.pixels);
    EXPECT_EQ(back.pixels->bytes, image.pixels.bytes);

    // A selection of 10 x 20 gives a 10 x 20 block of those pixels.
    image.selection = Rect{5, 3, 15, 23};
    back = decodeDib(operationRegionBlock(image));
    ASSERT_TRUE(back.pixels);
    ASSERT_EQ(back.pixels->width, 10);
    ASSERT_EQ(back.pixels->height, 20);
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(pixelAt(*back.pixels, x, y), pixelAt(image.pixels, 5 + x, 3 + y))
                << x << "," << y;

    // A one-pixel region at the bottom right corner; nothing of an empty picture.
    image.selection = Rect{36, 24, 37, 25};
    back = decodeDib(operationRegionBlock(image));
    ASSERT_TRUE(back.pixels);
    EXPECT_EQ(pictureRows(*back.pixels), (Picture{{pixelAt(image.pixels, 36, 24)}}));
    EXPECT_TRUE(operationRegionBlock(CanvasImage{}).empty());
}

TEST(ClipboardPaste, StretchesTheWholePictureOntoTheOperationRegion) {
    const CanvasImage source = testing::patternPicture(50, 50, 3);
    for (const Rect& selection : {Rect{30, 40, 230, 140}, Rect{}}) {
        CanvasImage image = testing::patternPicture(260, 150, 77);
        image.selection = selection;
        const Rect region = operationRegion(image);
        PixelImage expected = image.pixels;
        ASSERT_TRUE(referenceStretchHalftone(
            expected, {region.left, region.top, region.width(), region.height()}, source.pixels,
            {0, 0, 50, 50}, StretchRaster::Copy));
        ASSERT_TRUE(pastePicture(image, source.pixels, PasteKind::Replace));
        EXPECT_EQ(image.pixels.bytes, expected.bytes)
            << "selection " << selection.left << "," << selection.top;
    }
}

TEST(ClipboardPaste, OverlayOrsEveryByteAndBlackChangesNothing) {
    CanvasImage image = testing::patternPicture(40, 30, 5);
    image.selection = Rect{4, 6, 24, 16};
    const std::vector<std::uint8_t> before = image.pixels.bytes;
    std::string message;
    const PixelImage black = *createCanvasBitmap(7, 3, message);
    ASSERT_TRUE(pastePicture(image, black, PasteKind::Overlay));
    EXPECT_EQ(image.pixels.bytes, before);

    // 1:1, so the stretch keeps the bytes: 0x0F over the region ORs in those bits only.
    PixelImage low = *createCanvasBitmap(20, 10, message);
    for (std::int32_t y = 0; y < 10; ++y)
        for (std::int32_t x = 0; x < 20; ++x)
            setPixel(low, x, y, Rgb{0x0F, 0x01, 0x80});
    ASSERT_TRUE(pastePicture(image, low, PasteKind::Overlay));
    for (std::int32_t y = 0; y < 30; ++y) {
        for (std::int32_t x = 0; x < 40; ++x) {
            const std::uint8_t* was = before.data() + image.pixels.stride * (29 - y) + 3 * x;
            const bool inside = x >= 4 && x < 24 && y >= 6 && y < 16;
            const Rgb want = inside ? Rgb{std::uint8_t(was[2] | 0x0F), std::uint8_t(was[1] | 0x01),
                                          std::uint8_t(was[0] | 0x80)}
                                    : Rgb{was[2], was[1], was[0]};
            ASSERT_EQ(pixelAt(image.pixels, x, y), want) << x << "," << y;
        }
    }
}

TEST(ClipboardPaste, AnUnusablePictureChangesNothing) {
    CanvasImage image = testing::patternPicture(8, 8);
    const std::vector<std::uint8_t> before = image.pixels.bytes;
    PixelImage malformed{
        .width = 4, .height = 4, .stride = 12, .bytes = std::vector<std::uint8_t>(10)};
    EXPECT_FALSE(pastePicture(image, malformed, PasteKind::Replace));
    EXPECT_FALSE(pastePicture(image, PixelImage{}, PasteKind::Overlay));
    EXPECT_EQ(image.pixels.bytes, before);
}

}  // namespace
}  // namespace lumetra
