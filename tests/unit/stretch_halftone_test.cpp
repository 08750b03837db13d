// The halftone stretch: exact copies at 1:1, mirrors for negative extents, area averages rounded
// half up, clipping at both pictures, and agreement with the plain reference.

#include "image/stretch_halftone.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imageops_reference.h"

namespace lumetra {
namespace {

using testing::kPaddingMark;
using testing::randomPicture;

// A picture of one row whose pixels are grey (all three bytes alike) with the given values.
PixelImage greyRow(const std::vector<int>& values) {
    std::string message;
    PixelImage row = *createCanvasBitmap(std::int32_t(values.size()), 1, message);
    for (std::size_t x = 0; x < values.size(); ++x) {
        const auto v = static_cast<std::uint8_t>(values[x]);
        setPixel(row, std::int32_t(x), 0, Rgb{v, v, v});
    }
    return row;
}

std::vector<int> greyValues(const PixelImage& row) {
    std::vector<int> values;
    for (std::int32_t x = 0; x < row.width; ++x)
        values.push_back(pixelAt(row, x, 0).red);
    return values;
}

TEST(StretchHalftone, OneToOneIsAnExactCopyAndTouchesNothingElse) {
    const PixelImage source = randomPicture(7, 5, 1);
    PixelImage destination = randomPicture(9, 6, 2);
    const PixelImage before = destination;
    ASSERT_TRUE(stretchHalftone(destination, {1, 1, 7, 5}, source, {0, 0, 7, 5}));
    for (std::int32_t y = 0; y < 6; ++y) {
        for (std::int32_t x = 0; x < 9; ++x) {
            const bool inside = x >= 1 && x < 8 && y >= 1 && y < 6;
            EXPECT_EQ(pixelAt(destination, x, y),
                      inside ? pixelAt(source, x - 1, y - 1) : pixelAt(before, x, y))
                << x << ", " << y;
        }
        EXPECT_EQ(destination.pictureRow(y)[27], kPaddingMark);
    }
}

struct MirrorCase {
    const char* name;
    StretchRect to, from;
    bool mirrored, turned;
};

TEST(StretchHalftone, NegativeExtentsRunBackFromTheirOrigin) {
    const MirrorCase cases[] = {
        {"source width", {0, 0, 5, 3}, {4, 0, -5, 3}, true, false},
        {"source height", {0, 0, 5, 3}, {0, 2, 5, -3}, false, true},
        {"destination width", {4, 0, -5, 3}, {0, 0, 5, 3}, true, false},
        {"both widths", {4, 0, -5, 3}, {4, 0, -5, 3}, false, false},
        {"everything", {4, 2, -5, -3}, {0, 0, 5, 3}, true, true},
    };
    const PixelImage source = randomPicture(5, 3, 3);
    for (const MirrorCase& c : cases) {
        PixelImage destination = randomPicture(5, 3, 4);
        ASSERT_TRUE(stretchHalftone(destination, c.to, source, c.from)) << c.name;
        for (std::int32_t y = 0; y < 3; ++y)
            for (std::int32_t x = 0; x < 5; ++x)
                EXPECT_EQ(pixelAt(destination, x, y),
                          pixelAt(source, c.mirrored ? 4 - x : x, c.turned ? 2 - y : y))
                    << c.name << " at " << x << ", " << y;
    }
}

struct AverageCase {
    std::vector<int> source;
    std::int32_t width;
    std::vector<int> expected;
};

TEST(StretchHalftone, AveragesTheSourceUnderEachPixelRoundingHalvesUp) {
    const AverageCase cases[] = {
        {{10, 20, 30, 41}, 2, {15, 36}},        // 35.5 rounds up
        {{10, 20, 30}, 2, {13, 27}},            // (2 * 10 + 20) / 3, (20 + 2 * 30) / 3
        {{10, 20}, 4, {10, 10, 20, 20}},        // doubling repeats
        {{10, 20}, 3, {10, 15, 20}},            // the middle pixel lies half over each
        {{0, 255}, 1, {128}},                   // 127.5
        {{1, 2, 3, 4, 5, 6, 7}, 3, {2, 4, 6}},  // 7 onto 3: weights 3,3,1 / 2,3,2 / 1,3,3
    };
    for (const AverageCase& c : cases) {
        const PixelImage source = greyRow(c.source);
        PixelImage destination = greyRow(std::vector<int>(std::size_t(c.width), 99));
        ASSERT_TRUE(
            stretchHalftone(destination, {0, 0, c.width, 1}, source, {0, 0, source.width, 1}));
        EXPECT_EQ(greyValues(destination), c.expected) << "onto " << c.width;
    }
}

TEST(StretchHalftone, ClipsAtTheDestinationAndAveragesOnlyWhatLiesOverTheSource) {
    // The destination rectangle starts left of the picture: its first two columns are cut off.
    PixelImage destination = greyRow({99, 99, 99});
    EXPECT_TRUE(stretchHalftone(destination, {-2, 0, 4, 1}, greyRow({1, 2, 3, 4}), {0, 0, 4, 1}));
    EXPECT_EQ(greyValues(destination), (std::vector<int>{3, 4, 99}));

    // Source columns 2 and 3 do not exist: what lies under them stays as it was.
    destination = greyRow({99, 99, 99, 99});
    EXPECT_TRUE(stretchHalftone(destination, {0, 0, 4, 1}, greyRow({7, 8}), {0, 0, 4, 1}));
    EXPECT_EQ(greyValues(destination), (std::vector<int>{7, 8, 99, 99}));

    // One pixel over three source columns of which two exist: the average of those two.
    destination = greyRow({99});
    EXPECT_TRUE(stretchHalftone(destination, {0, 0, 1, 1}, greyRow({10, 21}), {0, 0, 3, 1}));
    EXPECT_EQ(greyValues(destination), (std::vector<int>{16}));

    // A source rectangle that starts before the picture.
    destination = greyRow({99, 99, 99});
    EXPECT_TRUE(stretchHalftone(destination, {0, 0, 3, 1}, greyRow({5, 6}), {-1, 0, 3, 1}));
    EXPECT_EQ(greyValues(destination), (std::vector<int>{99, 5, 6}));
}

TEST(StretchHalftone, OrCombinesEveryByte) {
    PixelImage destination = greyRow({0x0F, 0x30});
    EXPECT_TRUE(stretchHalftone(destination, {0, 0, 2, 1}, greyRow({0xF0, 0x03}), {0, 0, 2, 1},
                                StretchRaster::Or));
    EXPECT_EQ(greyValues(destination), (std::vector<int>{0xFF, 0x33}));
}

TEST(StretchHalftone, RefusesZeroExtentsAndMalformedPictures) {
    const PixelImage source = randomPicture(3, 3, 5);
    PixelImage destination = randomPicture(3, 3, 6);
    const PixelImage before = destination;
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 0, 3}, source, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, source, {0, 0, 3, 0}));
    PixelImage shortOfBytes = source;
    shortOfBytes.bytes.pop_back();
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, shortOfBytes, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, PixelImage{}, {0, 0, 3, 3}));
    EXPECT_EQ(destination.bytes, before.bytes);
}

TEST(StretchHalftone, APictureOntoItselfReadsItAsItWasBefore) {
    PixelImage picture = randomPicture(6, 4, 7);
    const PixelImage before = picture;
    ASSERT_TRUE(stretchHalftone(picture, {0, 0, 6, 4}, picture, {5, 0, -6, 4}));
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 6; ++x)
            EXPECT_EQ(pixelAt(picture, x, y), pixelAt(before, 5 - x, y));
}

struct AgreementCase {
    std::int32_t sourceWidth, sourceHeight;
    StretchRect from;
    std::int32_t width, height;
    StretchRect to;
    StretchRaster raster;
};

TEST(StretchHalftone, AgreesWithTheReferenceBitForBit) {
    using enum StretchRaster;
    const AgreementCase cases[] = {
        {13, 9, {0, 0, 13, 9}, 7, 5, {0, 0, 7, 5}, Copy},        // shrink, odd sizes
        {7, 5, {0, 0, 7, 5}, 20, 11, {0, 0, 20, 11}, Copy},      // enlarge, uneven factors
        {8, 6, {0, 0, 8, 6}, 8, 3, {0, 0, 8, 3}, Copy},          // half in one direction
        {9, 7, {8, 6, -9, -7}, 11, 13, {2, 3, 6, 5}, Copy},      // mirrored and turned
        {9, 7, {0, 0, 9, 7}, 10, 10, {9, 9, -17, -4}, Copy},     // destination reversed
        {10, 6, {-3, 2, 16, 9}, 12, 8, {-2, -1, 15, 12}, Copy},  // clipped everywhere
        {5, 5, {0, 0, 5, 5}, 9, 9, {2, 2, 5, 5}, Or},            // OR at 1:1
        {11, 3, {0, 0, 11, 3}, 4, 17, {0, 0, 4, 17}, Or},        // OR, shrink and enlarge
        {1, 1, {0, 0, 1, 1}, 6, 5, {0, 0, 6, 5}, Copy},          // one pixel everywhere
        {17, 13, {16, 0, -17, 13}, 3, 2, {0, 0, 3, 2}, Copy},    // large shrink, mirrored
    };
    std::uint32_t seed = 100;
    for (const AgreementCase& c : cases) {
        const PixelImage source = randomPicture(c.sourceWidth, c.sourceHeight, ++seed);
        PixelImage fast = randomPicture(c.width, c.height, ++seed);
        PixelImage plain = fast;
        ASSERT_TRUE(stretchHalftone(fast, c.to, source, c.from, c.raster));
        ASSERT_TRUE(testing::referenceStretchHalftone(plain, c.to, source, c.from, c.raster));
        EXPECT_EQ(fast.bytes, plain.bytes)
            << c.sourceWidth << " x " << c.sourceHeight << " onto " << c.width << " x " << c.height
            << " at " << c.to.x << ", " << c.to.y;
    }
}

}  // namespace
}  // namespace lumetra
