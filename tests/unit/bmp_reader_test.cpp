// The BMP reader on hand-made files of every depth, compression, header and orientation; and on
// malformed ones, refused with a clear message (or, where harmless, read). And the fuzz targets'
// seeds: scripts/fuzz.sh runs FuzzSeeds with LUMETRA_FUZZ_CORPUS set to the folder to fill.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "base/file_io.h"
#include "base/little_endian.h"
#include "base/standard_file_system.h"
#include "bmp_test_files.h"
#include "document/document_render.h"
#include "document/image_save.h"
#include "document/render_info_file.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "wav_test_files.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using testing::makeBmp;
using testing::packRows;
using testing::palette;
using testing::pictureRows;
using Rows = std::vector<std::vector<std::uint32_t>>;
using Picture = std::vector<std::vector<Rgb>>;

// The picture of stored rows of indices (bottom row first): top row first, black past the table.
Picture fromIndices(const Rows& rows, const std::vector<Rgb>& colours) {
    Picture picture;
    for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
        std::vector<Rgb>& line = picture.emplace_back();
        for (auto i : *r)
            line.push_back(i < colours.size() ? colours[i] : Rgb{});
    }
    return picture;
}

Picture decoded(const BmpFields& fields) {
    const BmpReadResult result = decodeBmp(makeBmp(fields));
    EXPECT_TRUE(result.pixels) << result.message;
    return result.pixels ? pictureRows(*result.pixels) : Picture{};
}

BmpFields packed(int bits, const Rows& rows, std::vector<Rgb> colours = {}) {
    return {.width = std::int32_t(rows[0].size()),
            .height = std::int32_t(rows.size()),
            .bitCount = std::uint16_t(bits),
            .colours = colours,
            .pixels = packRows(rows, bits)};
}

TEST(BmpReader, EveryDepthOverOddWidthsAndHeights) {
    for (int bits : {1, 4, 8, 24, 32})
        for (int width = 1; width <= 9; ++width)
            for (int height = 1; height <= 3; ++height) {
                Rows rows(height, std::vector<std::uint32_t>(width));
                Picture expected(height, std::vector<Rgb>(width));
                for (int r = 0; r < height; ++r)
                    for (int x = 0; x < width; ++x) {
                        const Rgb c{std::uint8_t(40 * x + r), std::uint8_t(200 - x),
                                    std::uint8_t(17 * r)};
                        rows[r][x] = bits <= 8 ? std::uint32_t(7 * x + 3 * r + 1) % (1u << bits)
                                               : (bits == 32 ? 0xA5000000u : 0) | c.red << 16 |
                                                     c.green << 8 | c.blue;
                        expected[height - 1 - r][x] = c;
                    }
                const std::vector<Rgb> colours =
                    bits <= 8 ? palette(1u << bits) : std::vector<Rgb>{};
                if (bits <= 8) expected = fromIndices(rows, colours);
                EXPECT_EQ(decoded(packed(bits, rows, colours)), expected)
                    << bits << " bits " << width << "x" << height;
            }
}

TEST(BmpReader, BitFields) {
    // 5-5-5 without bit fields: 5-bit fields repeat their top bits below (1 -> 8, 16 -> 132).
    BmpFields fields = packed(16, {{0x7FFF, 0x7C00, 0x0001, 0x0010, 0x8000}});
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 0, 8},
                                         Rgb{0, 0, 132}, Rgb{0, 0, 0}}}));
    // 5-6-5; 6-bit green 1 -> 4, 32 -> 130.
    fields.compression = 3, fields.masks = {0xF800, 0x07E0, 0x001F};
    fields.pixels = packRows({{0x07E0, 0x0020, 0x0400, 0xF800, 0xFFFF}}, 16);
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{0, 255, 0}, Rgb{0, 4, 0}, Rgb{0, 130, 0},
                                         Rgb{255, 0, 0}, Rgb{255, 255, 255}}}));
    // 32 bits: wide fields give their top eight bits, a zero mask 0, a mask of all 32 bits its
    // top byte, and a 1-bit field repeats (1 -> 0xC0).
    fields = packed(32, {{0x11223344u, 0xFF0000FFu}}), fields.compression = 3;
    fields.masks = {0xFF000000u, 0x00FF0000u, 0x0000FF00u};
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{0x11, 0x22, 0x33}, Rgb{0xFF, 0, 0}}}));
    fields.masks = {0x3FF00000u, 0x000FFC00u, 0};
    fields.pixels = packRows({{(0x3FFu << 20) | (0x200u << 10), 0x00000401u}}, 32);
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{255, 128, 0}, Rgb{0, 0, 0}}}));
    fields.masks = {0xFFFFFFFFu, 0x0000FFFFu, 0x1u};
    fields.pixels = packRows({{0xAB00FF01u, 0x0000807Fu}}, 32);
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{0xAB, 0xFF, 0xC0}, Rgb{0, 0x80, 0xC0}}}));
    // Larger headers carry the masks inside; without bit fields they are not used.
    for (std::uint32_t headerSize : {52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        fields = packed(16, {{0x001F, 0xF800}}), fields.headerSize = headerSize, fields.height = -1;
        fields.compression = 3, fields.masks = {0xF800, 0x07E0, 0x001F};
        EXPECT_EQ(decoded(fields), (Picture{{Rgb{0, 0, 255}, Rgb{255, 0, 0}}}));
        fields.compression = 0, fields.masks = {0x000F, 0x00F0, 0x0F00};
        EXPECT_EQ(decoded(fields), (Picture{{Rgb{0, 0, 255}, Rgb{0xF7, 0, 0}}}));  // red 30
    }
}

TEST(BmpReader, HeadersTablesOrientationAndOffsets) {
    const Rows rows = {{0, 1, 2, 3, 15}};
    // The table: 2^bits entries without a count or with one above it; a short table leaves the
    // indices behind it black; it ends at the pixel data at the latest.
    BmpFields fields = packed(4, rows, palette(16));
    EXPECT_EQ(decoded(fields), fromIndices(rows, palette(16)));
    for (const auto& [count, colours] : {std::pair{3u, 3u}, {0xFFFFFFFFu, 16u}, {0u, 2u}}) {
        fields.colourCount = count, fields.colours = palette(colours);
        EXPECT_EQ(decoded(fields), fromIndices(rows, palette(colours))) << count;
    }
    // A core header has three-byte entries; and no masks.
    const std::vector<Rgb> two = {Rgb{9, 8, 7}, Rgb{200, 100, 50}};
    fields = packed(1, {{1, 0, 1}, {0, 1, 1}}, two), fields.headerSize = 12;
    EXPECT_EQ(decoded(fields), fromIndices({{1, 0, 1}, {0, 1, 1}}, two));
    fields = packed(24, {{0x332211}}), fields.headerSize = 12;
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{0x33, 0x22, 0x11}}}));
    fields = packed(8, {{3, 2}}, palette(4));  // the OS/2 header
    fields.headerSize = 64, fields.colourCount = 4;
    EXPECT_EQ(decoded(fields), (Picture{{palette(4)[3], palette(4)[2]}}));
    fields = packed(24, {{0x010203, 0x040506}}), fields.offset = 200;
    EXPECT_EQ(decoded(fields), (Picture{{Rgb{1, 2, 3}, Rgb{4, 5, 6}}}));
    const Rows stored = {{0x0000FF, 0x00FF00, 0xFF0000}, {0x101010, 0x202020, 0x303030}};
    fields = packed(24, {stored[1], stored[0]}), fields.height = -2;
    EXPECT_EQ(decoded(fields), decoded(packed(24, stored)));
    EXPECT_EQ(decoded(fields).at(0).at(0), (Rgb{0x10, 0x10, 0x10}));  // stored last = top row
}

TEST(BmpReader, RunLengthEncoding) {
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
    const auto p = palette(16);
    const Rgb k{};
    EXPECT_EQ(decoded(fields), (Picture{{p[6], p[6], p[6], p[6], k, k},
                                        {k, k, p[4], p[4], p[4], p[4]},
                                        {k, k, k, k, k, k},  // skipped
                                        {p[5], p[5], p[5], p[1], p[2], p[7]}}));
    fields = {.width = 7, .height = 2, .bitCount = 4, .compression = 2, .colours = p};
    fields.pixels = {
        5, 0x12,                       // 1 2 1 2 1
        0, 0,                          // end of line
        0, 5,    0xAB, 0xCD, 0xE0, 0,  // absolute run of five: A B C D E (three bytes, padded)
        2, 0x9F,                       // 9 F
        0, 1,
    };
    EXPECT_EQ(decoded(fields), (Picture{{p[10], p[11], p[12], p[13], p[14], p[9], p[15]},
                                        {p[1], p[2], p[1], p[2], p[1], k, k}}));
    // Without an end mark, read when every row is done.
    fields = {.width = 2, .height = 2, .bitCount = 8, .compression = 1, .colours = palette(4)};
    fields.pixels = {2, 1, 0, 0, 2, 3, 0, 0};
    EXPECT_EQ(decoded(fields).at(0).at(0), palette(4)[3]);
    // Where the pixel data ends, for what lies behind it.
    fields.pixels = {2, 1, 0, 1, 0xEE, 0xEE}, fields.height = 1;
    EXPECT_EQ(decodeBmp(makeBmp(fields)).pixelDataEnd, 54u + 16u + 4u);
    std::vector<std::uint8_t> file = makeBmp(packed(24, {{1, 2, 3}, {4, 5, 6}}));
    file.resize(file.size() + 10, 0);
    EXPECT_EQ(decodeBmp(file).pixelDataEnd, 54u + 24u);
}

using Bytes = std::vector<std::uint8_t>;

// The message of a refused file without the size and limits in brackets, "" for one that is read.
std::string refusal(const Bytes& file, std::int64_t maxPixelBytes = kMaxPixelBytes) {
    const BmpReadResult result = decodeBmp(file, maxPixelBytes);
    return result.pixels ? "" : result.message.substr(0, result.message.find(" ("));
}

const Bytes k24 = makeBmp({.width = 3, .height = 2, .bitCount = 24, .pixels = Bytes(24, 11)});
// Header size, width, height, bits, compression, colours used, colours, masks, pixels.
const Bytes k8 = makeBmp({40, 5, 3, 8, 0, 4, testing::palette(4), {}, Bytes(24, 2)});
const Bytes kRle4 = makeBmp(
    {40, 5, 2, 4, 2, 2, testing::palette(2), {}, {5, 0x01, 0, 0, 0, 5, 0x10, 0x10, 0x10, 0, 0, 1}});

Bytes patched(Bytes file, std::initializer_list<std::pair<std::size_t, std::uint32_t>> words) {
    for (const auto& [at, value] : words)
        le::writeU32(std::span(file), at, value);
    return file;
}

TEST(BmpCorrupt, EveryTruncationIsRefusedByItsCause) {
    for (const Bytes& full : {k24, k8, kRle4}) {
        ASSERT_TRUE(decodeBmp(full).pixels);
        // Only the last row's padding may be missing from an uncompressed file.
        const std::size_t lastPadding = full == kRle4 ? 0 : 3;
        for (std::size_t length = 0; length < full.size() - lastPadding; ++length) {
            // Without the header's size field it is not a BMP file at all.
            EXPECT_EQ(refusal(Bytes(full.begin(), full.begin() + length)),
                      length < 18 ? "Not a BMP file" : "Truncated BMP file")
                << length;
        }
    }
    EXPECT_EQ(refusal(patched(k24, {{0, 0x4142}})), "Not a BMP file");
}

// Offsets 10 pixel data, 14 header size, 18 width, 22 height, 28 bit count (with compression 0
// above it), 30 compression.
TEST(BmpCorrupt, AbsurdFieldsAreRefusedByTheirCause) {
    const std::string size = "Bad BMP size", large = "Picture too large",
                      truncated = "Truncated BMP file", depth = "Unsupported BMP bit depth",
                      compression = "Unsupported BMP compression";
    const std::tuple<std::size_t, std::vector<std::uint32_t>, std::string> fields[] = {
        {18, {0, std::uint32_t(-3)}, size},
        {22, {0, 0x80000000u}, size},
        {10, {0xFFFFFFFFu, std::uint32_t(k24.size())}, truncated},
        {14, {0, 39, 41, 200, 0xFFFFFFFFu}, "Unsupported BMP header"},
        {28, {0, 2, 12, 48, 0xFFFF}, depth},
        {30, {1, 2, 4, 0xFFFFFFFFu}, compression},
    };
    std::vector<std::pair<Bytes, std::string>> cases = {
        {patched(k24, {{18, INT32_MAX}}), large},
        {patched(k24, {{18, 16000}, {22, 16000}}), truncated},
        {patched(k24, {{18, 65536}, {22, 1}}), large},
        {patched(k24, {{10, 20}}), "Bad BMP pixel offset"},  // inside the headers
        {patched(k24, {{14, 124}}), truncated},              // a V5 header longer than the file
        {makeBmp({.headerSize = 12, .bitCount = 16, .pixels = {0, 0, 0, 0}}), depth},
        {patched(k24, {{28, 8}, {30, 2}}), compression},
        {patched(k24, {{28, 32}, {30, 6}}), compression},
        {patched(kRle4, {{22, std::uint32_t(-2)}}), compression},  // run lengths top-down
    };
    for (const auto& [at, values, message] : fields)
        for (const std::uint32_t value : values)
            cases.emplace_back(patched(k24, {{at, value}}), message);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(refusal(cases[i].first), cases[i].second) << "case " << i;
    // Run-length pictures are held to the memory limit; runs that end early leave the rest black.
    const Bytes thousand = patched(kRle4, {{18, 1000}, {22, 1000}});
    EXPECT_EQ(refusal(thousand, 1 << 20), large);
    EXPECT_EQ(refusal(thousand, 4 << 20), "");
}

// A few bytes of runs claiming a huge picture: refused by its size before anything is allocated,
// with the size and the limits; in 32 bits the stride of the first would have wrapped.
TEST(BmpCorrupt, HugeRunLengthPicturesAreRefusedBySize) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {715827882, 1}, {26000, 27000}, {1, 65536}};
    BmpFields fields{.bitCount = 8, .compression = 1, .colourCount = 2, .colours = palette(2)};
    fields.pixels = Bytes(1000, 0);
    for (const auto& [width, height] : sizes) {
        fields.width = width, fields.height = height;
        const Bytes file = makeBmp(fields);
        const std::string expected =
            "Picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
            "): at most 65535 pixels wide and high and 268435456 pixels in all";
        EXPECT_EQ(decodeBmp(file).message, expected);
        EXPECT_EQ(decodeDib(std::span(file).subspan(14)).message, expected);
    }
    for (const auto& [width, height, accepted] :
         {std::tuple{65535, 4096, true}, {65535, 4097, false}, {1, 65535, true}, {0, 1, false}})
        EXPECT_EQ(pictureSizeAccepted(width, height), accepted) << width << " x " << height;
}

TEST(BmpCorrupt, RunsThatLeaveThePicture) {
    // Deltas far past the edges, runs past the row, and a delta cut by the end of the file.
    BmpFields fields{
        .width = 4, .height = 2, .bitCount = 8, .compression = 1, .colours = palette(2)};
    fields.pixels = {0, 2, 255, 0, 255, 1, 0, 2, 0, 255, 0, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "");
    fields.pixels = {0, 2, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "Truncated BMP file");
}

using Seeds = std::map<std::string, Bytes>;

CanvasImage renderedPicture() {
    CanvasImage image = testing::patternPicture(5, 3);
    image.selection = Rect{1, 0, 4, 2};
    recordRender(image, 301, 0.42, LocalTime{2022, 2, 3, 4, 5, 6, 7, 8});
    return image;
}

// A BMP file with a colour count that names every colour of its table.
Bytes bmp(std::uint32_t header, std::int32_t width, std::int32_t height, int bits,
          std::uint32_t compression, std::vector<Rgb> colours, std::vector<std::uint8_t> pixels,
          std::vector<std::uint32_t> masks = {}) {
    const auto count = static_cast<std::uint32_t>(colours.size());
    return testing::makeBmp({header, width, height, std::uint16_t(bits), compression, count,
                             std::move(colours), std::move(masks), std::move(pixels)});
}

Seeds bmpSeeds() {
    const std::vector<std::vector<std::uint32_t>> indices = {{0, 1, 0}, {1, 1, 0}};
    const auto p16 = packRows({{0x7FFF, 0x1F, 0x3E0}, {0, 0x7C00, 1}}, 16);
    Seeds seeds = {
        {"palette1.bmp", bmp(40, 3, 2, 1, 0, palette(2), packRows(indices, 1))},
        {"palette8.bmp", bmp(40, 3, 2, 8, 0, palette(4), packRows(indices, 8))},
        {"rgb555.bmp", bmp(40, 3, -2, 16, 0, {}, p16)},
        {"rgb565.bmp", bmp(40, 3, -2, 16, 3, {}, p16, {0xF800, 0x07E0, 0x001F})},
        {"v5-bitfields32.bmp",
         bmp(124, 2, 2, 32, 3, {}, packRows({{0xFF0000, 0xFF00}, {0xFF, 0xFFFFFF}}, 32),
             {0xFF0000, 0xFF00, 0xFF})},
        {"rle8.bmp",
         bmp(40, 6, 3, 8, 1, palette(4), {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 2, 3, 0, 1})},
        {"rle4.bmp", bmp(40, 5, 2, 4, 2, palette(4), {5, 0x12, 0, 0, 0, 3, 0x23, 0x10, 0, 1})},
    };
    seeds["saved24.bmp"] = encodeBmpFile(renderedPicture(), false);
    return seeds;
}

TEST(FuzzSeeds, AreValidFilesAndAreWrittenOnRequest) {
    const Seeds bmp = bmpSeeds();
    Seeds trailer = {{"appended.bmp", encodeBmpFile(renderedPicture(), true)}};
    Bytes& stale = trailer["stale-version.bmp"] = trailer["short-trailer.bmp"] =
        trailer["appended.bmp"];
    stale[stale.size() - 164 + 8] = 100;  // version 100
    trailer["short-trailer.bmp"].resize(stale.size() - 10);
    // The info fuzz target reads the picture size from the first two bytes.
    const CanvasImage image = renderedPicture();
    const std::string size("\x05\x03", 2);
    Seeds info;
    for (const auto& [name, text] :
         {std::pair{"render.info", formatRenderInfoText(image.renderInfo, image.settings)},
          {"crlf.info", "SIZE 5, 3\r\nPARMS 20, 900, 2, 1\r\nsel 0,0,5,3\r\n"}})
        info[name] = Bytes(size.begin(), size.end()),
        info[name].insert(info[name].end(), text.begin(), text.end());
    using testing::makeWav;
    const Seeds wav = {
        {"pcm8.wav", makeWav({.tag = 1, .channels = 1, .bits = 8})},
        {"pcm24-listed.wav",
         makeWav({.tag = 1, .channels = 2, .bits = 24, .chunkBeforeFormat = true})},
        {"float64.wav", makeWav({.tag = 3, .channels = 3, .bits = 64})},
        {"extensible.wav", makeWav({.tag = 3, .channels = 2, .bits = 32, .extensible = true})},
        {"open-data.wav", makeWav({.bits = 16, .dataSize = 0})}};
    // The same pictures as packed blocks (the clipboard's form), whose pixels start right behind
    // the headers, the masks and the colour table: read as from the files.
    Seeds dib;
    for (const auto& [name, bytes] : bmp) {
        const Bytes& packed = dib[name.substr(0, name.size() - 4) + ".dib"] =
            Bytes(bytes.begin() + 14, bytes.end());
        const BmpReadResult file = decodeBmp(bytes), block = decodeDib(packed);
        ASSERT_TRUE(file.pixels && block.pixels) << name;
        EXPECT_EQ(block.pixels->bytes, file.pixels->bytes) << name;
    }
    const char* folder = std::getenv("LUMETRA_FUZZ_CORPUS");
    if (!folder) return;
    StandardFileSystem files;
    const std::pair<const char*, const Seeds*> targets[] = {{"bmp_reader", &bmp},
                                                            {"dib_reader", &dib},
                                                            {"render_info_trailer", &trailer},
                                                            {"info_reader", &info},
                                                            {"wav_reader", &wav}};
    for (const auto& [target, seeds] : targets) {
        const std::filesystem::path root = std::filesystem::path(folder) / target;
        std::filesystem::create_directories(root);
        for (const auto& [name, bytes] : *seeds)
            ASSERT_TRUE(replaceFileWith(files, root / name, {bytes})) << name;
    }
}

}  // namespace
}  // namespace lumetra
