// Malformed BMP files: every one is refused with a clear message (or, where the damage is
// harmless, read). (Bytes overwritten at random: the fuzz targets.)

#include <gtest/gtest.h>

#include <set>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using testing::makeBmp;
using Bytes = std::vector<std::uint8_t>;

const std::set<std::string> kMessages = {"Not a BMP file",
                                         "Unsupported BMP header",
                                         "Unsupported BMP compression",
                                         "Unsupported BMP bit depth",
                                         "Truncated BMP file",
                                         "Picture too large",
                                         "Bad BMP size",
                                         "Bad BMP pixel offset"};

// The message of a refused file without the size and limits in brackets, "" for one that is read.
std::string refusal(const Bytes& file, std::int64_t maxPixelBytes = kMaxPixelBytes) {
    const BmpReadResult result = decodeBmp(file, maxPixelBytes);
    if (result.pixels) return "";
    const std::string message = result.message.substr(0, result.message.find(" ("));
    EXPECT_TRUE(kMessages.count(message)) << result.message;
    return message;
}

const Bytes k24 = makeBmp({.width = 3, .height = 2, .bitCount = 24, .pixels = Bytes(24, 11)});
// Header size, width, height, bits, compression, colours used, colours, masks, pixels.
const Bytes k8 = makeBmp({40, 5, 3, 8, 0, 4, testing::palette(4), {}, Bytes(24, 2)});
const Bytes kRle4 = makeBmp(
    {40, 5, 2, 4, 2, 2, testing::palette(2), {}, {5, 0x01, 0, 0, 0, 5, 0x10, 0x10, 0x10, 0, 0, 1}});

// The file with 32-bit words written at the given offsets, in turn.
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
    Bytes notBmp = k24;
    notBmp[1] = 'A';
    EXPECT_EQ(refusal(notBmp), "Not a BMP file");
}

// Offsets 10 pixel data, 14 header size, 18 width, 22 height, 28 bit count (with compression 0
// above it), 30 compression.
TEST(BmpCorrupt, AbsurdFieldsAreRefusedByTheirCause) {
    const std::string size = "Bad BMP size", large = "Picture too large",
                      truncated = "Truncated BMP file", header = "Unsupported BMP header",
                      depth = "Unsupported BMP bit depth",
                      compression = "Unsupported BMP compression";
    // One field at a time.
    const std::tuple<std::size_t, std::vector<std::uint32_t>, std::string> fields[] = {
        {18, {0, std::uint32_t(-3)}, size},
        {22, {0, 0x80000000u}, size},
        {10, {0xFFFFFFFFu, std::uint32_t(k24.size())}, truncated},
        {14, {0, 39, 41, 200, 0xFFFFFFFFu}, header},
        {28, {0, 2, 3, 12, 48, 64, 0xFFFF}, depth},
        {30, {1, 2, 3, 4, 5, 0xFFFFFFFFu}, compression},
    };
    std::vector<std::pair<Bytes, std::string>> cases = {
        {patched(k24, {{18, INT32_MAX}}), large},
        {patched(k24, {{22, INT32_MAX}}), large},
        {patched(k24, {{18, 100000}, {22, std::uint32_t(-100000)}}), large},
        {patched(k24, {{18, 16000}, {22, 16000}}), truncated},
        {patched(k24, {{18, 20000}, {22, 20000}}), large},
        {patched(k24, {{18, 65536}, {22, 1}}), large},
        {patched(k24, {{10, 20}}), "Bad BMP pixel offset"},  // inside the headers
        {patched(k24, {{14, 124}}), truncated},              // a V5 header longer than the file
        {makeBmp({.headerSize = 12, .bitCount = 16, .pixels = {0, 0, 0, 0}}), depth},
        {patched(k24, {{28, 8}, {30, 2}}), compression},
        {patched(k24, {{28, 4}, {30, 1}}), compression},
        {patched(k24, {{28, 8}, {30, 3}}), compression},
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
        {715827882, 1}, {26000, 27000}, {60000000, 1}, {1, 65536}, {16385, 16385}};
    BmpFields fields{.bitCount = 8, .compression = 1, .colourCount = 2};
    fields.colours = testing::palette(2);
    fields.pixels = Bytes(1000, 0);
    fields.pixels.insert(fields.pixels.end(), {0, 1});
    for (const auto& [width, height] : sizes) {
        fields.width = width;
        fields.height = height;
        const Bytes file = makeBmp(fields);
        const std::string expected =
            "Picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
            "): at most 65535 pixels wide and high and 268435456 pixels in all";
        EXPECT_EQ(decodeBmp(file).message, expected);
        EXPECT_EQ(decodeDib(std::span(file).subspan(14)).message, expected);
    }
    for (const auto& [width, height, accepted] : {std::tuple{65535, 4096, true},
                                                  {65535, 4097, false},
                                                  {16384, 16384, true},
                                                  {1, 65535, true},
                                                  {0, 1, false}})
        EXPECT_EQ(pictureSizeAccepted(width, height), accepted) << width << " x " << height;
}

TEST(BmpCorrupt, RunsThatLeaveThePicture) {
    // Deltas far past the edges, runs past the row, and a delta cut by the end of the file. (Runs
    // and their padding cut short: EveryTruncationIsRefusedByItsCause.)
    BmpFields fields{.width = 4, .height = 2, .bitCount = 8, .compression = 1, .colourCount = 2};
    fields.colours = testing::palette(2);
    fields.pixels = {0, 2, 255, 0, 255, 1, 0, 2, 0, 255, 0, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "");
    fields.pixels = {0, 2, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "Truncated BMP file");
}

}  // namespace
}  // namespace lumetra
