// Malformed BMP files: every one is refused with a clear message (or, where the damage is
// harmless, read), and nothing is ever read or written outside the buffers (checked under
// AddressSanitizer in the native-asan build).

#include <gtest/gtest.h>

#include <set>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

using testing::BmpFields;
using testing::makeBmp;

const std::set<std::string> kMessages = {
    "Not a BMP file",
    "Unsupported BMP header",
    "Unsupported BMP compression",
    "Unsupported BMP bit depth",
    "Truncated BMP file",
    "Picture too large",
    "Bad BMP size",
    "Bad BMP pixel offset",
};

std::string refusal(const std::vector<std::uint8_t>& file,
                    std::int64_t maxPixelBytes = kMaxPixelBytes) {
    const BmpReadResult result = decodeBmp(file, maxPixelBytes);
    if (result.pixels) return "";
    EXPECT_TRUE(kMessages.count(result.message)) << result.message;
    return result.message;
}

std::vector<std::uint8_t> small24() {
    BmpFields fields{.width = 3, .height = 2, .bitCount = 24};
    for (int i = 0; i < 24; ++i)
        fields.pixels.push_back(std::uint8_t(i * 11));
    return makeBmp(fields);
}

std::vector<std::uint8_t> small8() {
    BmpFields fields{.width = 5, .height = 3, .bitCount = 8, .colourCount = 4};
    fields.colours = {Rgb{1, 2, 3}, Rgb{4, 5, 6}, Rgb{7, 8, 9}, Rgb{10, 11, 12}};
    fields.pixels = std::vector<std::uint8_t>(24, 2);
    return makeBmp(fields);
}

std::vector<std::uint8_t> smallRle4() {
    BmpFields fields{.width = 5, .height = 2, .bitCount = 4, .compression = 2, .colourCount = 2};
    fields.colours = {Rgb{1, 2, 3}, Rgb{4, 5, 6}};
    fields.pixels = {5, 0x01, 0, 0, 0, 5, 0x10, 0x10, 0x10, 0, 0, 1};
    return makeBmp(fields);
}

void patchU32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v) {
    le::writeU32(std::span(file), at, v);
}

TEST(BmpCorrupt, EveryTruncationIsRefusedByItsCause) {
    for (const auto& full : {small24(), small8(), smallRle4()}) {
        ASSERT_TRUE(decodeBmp(full).pixels);
        // Only the last row's padding may be missing from an uncompressed file.
        const std::size_t lastPadding = full == smallRle4() ? 0 : 3;
        for (std::size_t length = 0; length < full.size() - lastPadding; ++length) {
            const std::vector<std::uint8_t> cut(full.begin(), full.begin() + length);
            // Without the header's size field it is not a BMP file at all.
            EXPECT_EQ(refusal(cut), length < 18 ? "Not a BMP file" : "Truncated BMP file")
                << length;
        }
    }
    std::vector<std::uint8_t> notBmp = small24();
    notBmp[1] = 'A';
    EXPECT_EQ(refusal(notBmp), "Not a BMP file");
}

TEST(BmpCorrupt, AbsurdSizes) {
    struct Case {
        std::int32_t width, height;
        const char* message;
    };
    for (const Case& c :
         {Case{0, 2, "Bad BMP size"}, Case{-3, 2, "Bad BMP size"}, Case{3, 0, "Bad BMP size"},
          Case{3, INT32_MIN, "Bad BMP size"}, Case{INT32_MAX, 1, "Picture too large"},
          Case{1, INT32_MAX, "Picture too large"}, Case{INT32_MAX, INT32_MAX, "Picture too large"},
          Case{100000, -100000, "Picture too large"}, Case{20000, 20000, "Truncated BMP file"}}) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        auto file = small24();
        patchU32(file, 18, static_cast<std::uint32_t>(c.width));
        patchU32(file, 22, static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(refusal(file), c.message);
    }
}

TEST(BmpCorrupt, RunLengthPicturesAreHeldToTheMemoryLimit) {
    // A few bytes of runs can claim a huge picture: the limit is checked before anything is made.
    auto file = smallRle4();
    patchU32(file, 18, 60000);
    patchU32(file, 22, 60000);
    EXPECT_EQ(refusal(file), "Picture too large");
    patchU32(file, 18, 1000);
    patchU32(file, 22, 1000);
    EXPECT_EQ(refusal(file, 1 << 20), "Picture too large");
    EXPECT_EQ(refusal(file, 4 << 20), "");  // the runs end early: the rest stays black
}

TEST(BmpCorrupt, AbsurdOffsetsHeadersAndCounts) {
    auto file = small24();
    patchU32(file, 10, 0xFFFFFFFF);
    EXPECT_EQ(refusal(file), "Truncated BMP file");
    file = small24();
    patchU32(file, 10, 20);  // inside the headers
    EXPECT_EQ(refusal(file), "Bad BMP pixel offset");
    file = small24();
    patchU32(file, 10, static_cast<std::uint32_t>(file.size()));
    EXPECT_EQ(refusal(file), "Truncated BMP file");
    for (std::uint32_t headerSize : {0u, 39u, 41u, 0xFFFFFFFFu, 200u}) {
        file = small24();
        patchU32(file, 14, headerSize);
        EXPECT_EQ(refusal(file), "Unsupported BMP header") << headerSize;
    }
    file = small24();
    patchU32(file, 14, 124);  // a V5 header longer than the file
    EXPECT_EQ(refusal(file), "Truncated BMP file");
}

TEST(BmpCorrupt, DepthsAndCompressionsWeDoNotRead) {
    for (std::uint16_t bits : {0, 2, 3, 12, 48, 64, 0xFFFF}) {
        auto file = small24();
        le::writeU16(std::span(file), 28, bits);
        EXPECT_EQ(refusal(file), "Unsupported BMP bit depth") << bits;
    }
    struct Case {
        std::uint16_t bits;
        std::uint32_t compression;
    };
    for (const Case& c : {Case{24, 1}, Case{24, 2}, Case{8, 2}, Case{4, 1}, Case{24, 3}, Case{8, 3},
                          Case{24, 4}, Case{24, 5}, Case{32, 6}, Case{24, 0xFFFFFFFF}}) {
        auto file = small24();
        le::writeU16(std::span(file), 28, c.bits);
        patchU32(file, 30, c.compression);
        EXPECT_EQ(refusal(file), "Unsupported BMP compression") << c.bits << " " << c.compression;
    }
    auto topDownRle = smallRle4();
    patchU32(topDownRle, 22, static_cast<std::uint32_t>(-2));
    EXPECT_EQ(refusal(topDownRle), "Unsupported BMP compression");
    auto core16 = makeBmp(BmpFields{
        .headerSize = 12, .width = 1, .height = 1, .bitCount = 16, .pixels = {0, 0, 0, 0}});
    EXPECT_EQ(refusal(core16), "Unsupported BMP bit depth");
}

TEST(BmpCorrupt, RunsThatLeaveThePicture) {
    BmpFields fields{.width = 4, .height = 2, .bitCount = 8, .compression = 1, .colourCount = 2};
    fields.colours = {Rgb{1, 1, 1}, Rgb{2, 2, 2}};
    // Deltas far past the edges, runs past the row; a delta cut by the end of the file. (Runs
    // and their padding cut short: EveryTruncationIsRefusedByItsCause.)
    fields.pixels = {0, 2, 255, 0, 255, 1, 0, 2, 0, 255, 0, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "");
    fields.pixels = {0, 2, 1};
    EXPECT_EQ(refusal(makeBmp(fields)), "Truncated BMP file");
}

// Every header byte set to a few telling values: whatever the result, nothing is touched outside
// the buffers.
TEST(BmpCorrupt, HeaderBytesOverwritten) {
    for (const auto& original : {small24(), small8(), smallRle4()}) {
        for (std::size_t at = 0; at < 70 && at < original.size(); ++at) {
            for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                auto file = original;
                file[at] = value;
                const BmpReadResult result = decodeBmp(file, 1 << 22);
                if (result.pixels) {
                    EXPECT_EQ(result.pixels->bytes.size(),
                              std::size_t(result.pixels->stride) * result.pixels->height);
                } else {
                    EXPECT_TRUE(kMessages.count(result.message)) << result.message;
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumetra
