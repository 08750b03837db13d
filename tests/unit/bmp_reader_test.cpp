// The BMP reader on hand-made files of every depth, compression, header and orientation.

#include "image/bmp_reader.h"

#include <gtest/gtest.h>

#include "bmp_test_files.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using testing::makeBmp;
using testing::packRows;
using testing::palette;
using testing::pictureRows;
using Rows = std::vector<std::vector<std::uint32_t>>;
using Picture = std::vector<std::vector<Rgb>>;

// Index pattern of a picture, bottom row first as stored.
Rows indexRows(int width, int height, std::uint32_t colours) {
    Rows rows(height, std::vector<std::uint32_t>(width));
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x)
            rows[r][x] = (7 * x + 3 * r + 1) % colours;
    return rows;
}

Picture expectedFromIndices(const Rows& rows, const std::vector<Rgb>& colours) {
    Picture picture;
    for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
        std::vector<Rgb> line;
        for (auto i : *r)
            line.push_back(i < colours.size() ? colours[i] : Rgb{});
        picture.push_back(line);
    }
    return picture;
}

PixelImage decodeOk(const std::vector<std::uint8_t>& file) {
    BmpReadResult result = decodeBmp(file);
    EXPECT_TRUE(result.pixels) << result.message;
    return result.pixels ? *result.pixels : PixelImage{};
}

TEST(BmpReader, PaletteDepthsOverOddWidthsAndHeights) {
    for (int bits : {1, 4, 8}) {
        const std::uint32_t n = 1u << bits;
        for (int width = 1; width <= 9; ++width) {
            for (int height = 1; height <= 3; ++height) {
                SCOPED_TRACE(::testing::Message() << bits << " bits " << width << "x" << height);
                const Rows rows = indexRows(width, height, n);
                BmpFields fields{.width = width, .height = height, .bitCount = std::uint16_t(bits)};
                fields.colours = palette(n);
                fields.pixels = packRows(rows, bits);
                const PixelImage image = decodeOk(makeBmp(fields));
                EXPECT_EQ(image.width, width);
                EXPECT_EQ(image.height, height);
                EXPECT_EQ(image.stride, rowStride(width));
                EXPECT_EQ(pictureRows(image), expectedFromIndices(rows, fields.colours));
            }
        }
    }
}

TEST(BmpReader, TrueColourDepthsOverOddWidths) {
    for (int width = 1; width <= 7; ++width) {
        SCOPED_TRACE(width);
        Rows rows24(2, std::vector<std::uint32_t>(width)), rows32 = rows24;
        Picture expected(2, std::vector<Rgb>(width));
        for (int r = 0; r < 2; ++r) {
            for (int x = 0; x < width; ++x) {
                const Rgb c{std::uint8_t(40 * x + r), std::uint8_t(200 - x), std::uint8_t(17 * r)};
                expected[1 - r][x] = c;
                rows24[r][x] = std::uint32_t(c.blue) | (c.green << 8) | (c.red << 16);
                rows32[r][x] = rows24[r][x] | 0xA5000000u;  // the fourth byte is ignored
            }
        }
        BmpFields fields{
            .width = width, .height = 2, .bitCount = 24, .pixels = packRows(rows24, 24)};
        EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expected);
        fields.bitCount = 32;
        fields.pixels = packRows(rows32, 32);
        EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expected);
    }
}

TEST(BmpReader, SixteenBitFiveFiveFiveAndFiveSixFive) {
    // 5-bit fields repeat their top bits below: 1 -> 8, 16 -> 132, 31 -> 255.
    BmpFields fields{.width = 5, .height = 1, .bitCount = 16};
    fields.pixels = packRows({{0x7FFF, 0x7C00, 0x0001, 0x0010, 0x8000}}, 16);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
              (Picture{{Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 0, 8}, Rgb{0, 0, 132},
                        Rgb{0, 0, 0}}}));
    // 5-6-5 bit fields; 6-bit green 1 -> 4, 32 -> 130.
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    fields.pixels = packRows({{0x07E0, 0x0020, 0x0400, 0xF800, 0xFFFF}}, 16);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
              (Picture{{Rgb{0, 255, 0}, Rgb{0, 4, 0}, Rgb{0, 130, 0}, Rgb{255, 0, 0},
                        Rgb{255, 255, 255}}}));
}

TEST(BmpReader, ThirtyTwoBitFieldsTakeTheTopEightBitsOfWideMasks) {
    BmpFields fields{.width = 2, .height = 1, .bitCount = 32, .compression = 3};
    fields.masks = {0xFF000000u, 0x00FF0000u, 0x0000FF00u};
    fields.pixels = packRows({{0x11223344u, 0xFF0000FFu}}, 32);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
              (Picture{{Rgb{0x11, 0x22, 0x33}, Rgb{0xFF, 0, 0}}}));
    // Ten-bit fields: the top eight bits count. A zero mask gives 0.
    fields.masks = {0x3FF00000u, 0x000FFC00u, 0};
    fields.pixels = packRows({{(0x3FFu << 20) | (0x200u << 10), 0x00000401u}}, 32);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), (Picture{{Rgb{255, 128, 0}, Rgb{0, 0, 0}}}));
    // A mask of all 32 bits reads its top byte; a 1-bit field repeats once (1 -> 0xC0).
    fields.masks = {0xFFFFFFFFu, 0x0000FFFFu, 0x1u};
    fields.pixels = packRows({{0xAB00FF01u, 0x0000807Fu}}, 32);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
              (Picture{{Rgb{0xAB, 0xFF, 0xC0}, Rgb{0, 0x80, 0xC0}}}));
}

TEST(BmpReader, TopDownAndBottomUpGiveTheSamePicture) {
    const Rows stored = {{0x0000FF, 0x00FF00, 0xFF0000}, {0x101010, 0x202020, 0x303030}};
    BmpFields bottomUp{.width = 3, .height = 2, .bitCount = 24, .pixels = packRows(stored, 24)};
    BmpFields topDown = bottomUp;
    topDown.height = -2;
    topDown.pixels = packRows({stored[1], stored[0]}, 24);
    const PixelImage a = decodeOk(makeBmp(bottomUp));
    const PixelImage b = decodeOk(makeBmp(topDown));
    EXPECT_EQ(b.height, 2);
    EXPECT_EQ(a.bytes, b.bytes);
    EXPECT_EQ(pixelAt(a, 0, 0), (Rgb{0x10, 0x10, 0x10}));  // stored last = top row
    EXPECT_EQ(pixelAt(a, 2, 1), (Rgb{0xFF, 0, 0}));
}

TEST(BmpReader, ColourTableLengths) {
    const Rows rows = {{0, 1, 2, 3, 15}};
    // No count: 2^bits entries.
    BmpFields fields{.width = 5, .height = 1, .bitCount = 4, .colours = palette(16)};
    fields.pixels = packRows(rows, 4);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expectedFromIndices(rows, palette(16)));
    // A short table: indices behind it are black.
    fields.colourCount = 3;
    fields.colours = palette(3);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expectedFromIndices(rows, palette(3)));
    // A count above 2^bits reads 2^bits entries.
    fields.colourCount = 0xFFFFFFFF;
    fields.colours = palette(16);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expectedFromIndices(rows, palette(16)));
    // The table ends at the pixel data at the latest.
    fields.colourCount = 0;
    fields.colours = palette(2);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expectedFromIndices(rows, palette(2)));
}

TEST(BmpReader, PixelDataBehindAGapIsFound) {
    BmpFields fields{.width = 2, .height = 1, .bitCount = 24, .offset = 200};
    fields.pixels = packRows({{0x010203, 0x040506}}, 24);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), (Picture{{Rgb{1, 2, 3}, Rgb{4, 5, 6}}}));
}

TEST(BmpReader, CoreHeaderWithThreeByteColourEntries) {
    const Rows rows = {{1, 0, 1}, {0, 1, 1}};
    const std::vector<Rgb> colours = {Rgb{9, 8, 7}, Rgb{200, 100, 50}};
    BmpFields fields{.headerSize = 12, .width = 3, .height = 2, .bitCount = 1, .colours = colours};
    fields.pixels = packRows(rows, 1);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), expectedFromIndices(rows, colours));
    fields = BmpFields{.headerSize = 12, .width = 1, .height = 1, .bitCount = 24};
    fields.pixels = packRows({{0x332211}}, 24);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))), (Picture{{Rgb{0x33, 0x22, 0x11}}}));
}

TEST(BmpReader, LargerHeadersCarryTheirMasksInside) {
    for (std::uint32_t headerSize : {52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpFields fields{.headerSize = headerSize, .width = 2, .height = -1, .bitCount = 16};
        fields.compression = 3;
        fields.masks = {0xF800, 0x07E0, 0x001F};
        fields.pixels = packRows({{0x001F, 0xF800}}, 16);
        EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
                  (Picture{{Rgb{0, 0, 255}, Rgb{255, 0, 0}}}));
        // Without bit fields the masks in the header are not used.
        fields.compression = 0;
        fields.masks = {0x000F, 0x00F0, 0x0F00};
        EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
                  (Picture{{Rgb{0, 0, 255}, Rgb{0xF7, 0, 0}}}));  // 5-5-5: red 30
    }
    BmpFields os2{.headerSize = 64, .width = 2, .height = 1, .bitCount = 8, .colours = palette(4)};
    os2.colourCount = 4;
    os2.pixels = packRows({{3, 2}}, 8);
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(os2))), (Picture{{palette(4)[3], palette(4)[2]}}));
}

TEST(BmpReader, Rle8RunsAbsoluteRunsDeltaAndEscapes) {
    BmpFields fields{.width = 6, .height = 4, .bitCount = 8, .compression = 1};
    fields.colours = palette(8);
    fields.pixels = {
        3, 5,              // bottom row: three of colour 5
        0, 3, 1, 2, 7, 0,  // absolute run of three (1, 2, 7), padded to a word
        0, 0,              // end of line: pixels not written stay black
        0, 2, 2, 1,        // delta: two right, one up (to row 2, x 2)
        9, 4,              // a run longer than the row is cut at the edge
        0, 0,              // end of line: row 3
        0, 4, 6, 6, 6, 6,  // absolute run of four, already word sized
        0, 1,              // end of bitmap
    };
    const PixelImage image = decodeOk(makeBmp(fields));
    const auto p = palette(8);
    const Rgb k{};
    EXPECT_EQ(pictureRows(image), (Picture{
                                      {p[6], p[6], p[6], p[6], k, k},        // top: row 3
                                      {k, k, p[4], p[4], p[4], p[4]},        // row 2
                                      {k, k, k, k, k, k},                    // row 1 skipped
                                      {p[5], p[5], p[5], p[1], p[2], p[7]},  // bottom
                                  }));
}

TEST(BmpReader, Rle4AlternatesNibbles) {
    BmpFields fields{.width = 7, .height = 2, .bitCount = 4, .compression = 2};
    fields.colours = palette(16);
    fields.pixels = {
        5, 0x12,                       // 1 2 1 2 1
        0, 0,                          // end of line
        0, 5,    0xAB, 0xCD, 0xE0, 0,  // absolute run of five: A B C D E (three bytes, padded)
        2, 0x9F,                       // 9 F
        0, 1,
    };
    const auto p = palette(16);
    const Rgb k{};
    EXPECT_EQ(pictureRows(decodeOk(makeBmp(fields))),
              (Picture{{p[10], p[11], p[12], p[13], p[14], p[9], p[15]},
                       {p[1], p[2], p[1], p[2], p[1], k, k}}));
}

TEST(BmpReader, RleWithoutEndMarkIsReadWhenEveryRowIsDone) {
    // (Runs that end before every row is done are refused: bmp_corrupt_test.cpp.)
    BmpFields fields{
        .width = 2, .height = 2, .bitCount = 8, .compression = 1, .colours = palette(4)};
    fields.pixels = {2, 1, 0, 0, 2, 3, 0, 0};  // both rows ended
    const BmpReadResult result = decodeBmp(makeBmp(fields));
    ASSERT_TRUE(result.pixels) << result.message;
    EXPECT_EQ(pixelAt(*result.pixels, 0, 0), palette(4)[3]);
}

TEST(BmpReader, ReportsTheEndOfThePixelData) {
    BmpFields fields{.width = 3, .height = 2, .bitCount = 24};
    fields.pixels = std::vector<std::uint8_t>(24, 7);
    auto file = makeBmp(fields);
    file.resize(file.size() + 10, 0);  // something behind the pixels
    EXPECT_EQ(decodeBmp(file).pixelDataEnd, 54u + 24u);
    BmpFields rle{.width = 2, .height = 1, .bitCount = 8, .compression = 1, .colours = palette(2)};
    rle.pixels = {2, 1, 0, 1, 0xEE, 0xEE};
    EXPECT_EQ(decodeBmp(makeBmp(rle)).pixelDataEnd, 54u + 8u + 4u);
}

}  // namespace
}  // namespace lumetra
