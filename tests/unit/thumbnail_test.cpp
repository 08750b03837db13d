// Browser thumbnails: the one-pass area average against the reference over sizes that shrink,
// enlarge and keep, from both row orders; the flips. Hostile packed DIB blocks from the clipboard;
// the pixel rows.

#include "browser/thumbnail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "browser/thumbnail_maker.h"
#include "document/canvas_image.h"
#include "image/bmp_reader.h"
#include "image/pixel_image.h"
#include "imageops/clipboard_picture.h"
#include "thumbnail_reference.h"

namespace lumetra {
namespace {

using testing::bmpFileOf;
using testing::noisePicture;
using testing::referenceThumbnail;

TEST(Thumbnail, AgreesWithTheReferenceFromBothRowOrdersAndFlips) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {1024, 512}, {64, 50}, {63, 49}, {1, 1},   {1000, 777},
        {128, 100},  {300, 7}, {7, 300}, {65, 51}, {4096, 33}};
    std::uint32_t seed = 1;
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const PixelImage picture = noisePicture(width, height, seed++);
        const std::optional<PixelImage> expected = referenceThumbnail(bmpFileOf(picture));
        ASSERT_TRUE(expected && thumbnailFromBmp(bmpFileOf(picture)));
        EXPECT_EQ(thumbnailFromBmp(bmpFileOf(picture))->bytes, expected->bytes);
        EXPECT_EQ(makeThumbnail(picture)->bytes, expected->bytes);
        PixelImage flipped = picture;  // stored top row first: the height field turns negative
        for (std::int32_t y = 0; y < height; ++y)
            std::copy_n(picture.pictureRow(y), picture.stride, flipped.memoryRow(y));
        std::vector<std::uint8_t> file = bmpFileOf(flipped);
        const std::int32_t negative = -height;
        std::memcpy(file.data() + 22, &negative, 4);
        EXPECT_EQ(thumbnailFromBmp(file)->bytes, expected->bytes);
    }
    std::vector<std::uint8_t> file = bmpFileOf(noisePicture(100, 80, 9));
    file.resize(file.size() - 400);  // the last rows are missing: refused, as the reader does
    EXPECT_FALSE(thumbnailFromBmp(file));

    const PixelImage t = noisePicture(kThumbnailWidth, kThumbnailHeight, 3);
    const PixelImage both = flippedThumbnail(t, true, true),
                     mirrored = flippedThumbnail(t, true, false);
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {5, 49}, {40, 20}}) {
        EXPECT_EQ(pixelAt(mirrored, x, y), pixelAt(t, 63 - x, y));
        EXPECT_EQ(pixelAt(both, x, y), pixelAt(t, 63 - x, 49 - y));
    }
}

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
        EXPECT_EQ(decodeDib(hostile).message, "Truncated BMP file") << hostile.size();
    }
}

TEST(ClipboardBlock, OperationRegionRoundTrip) {
    CanvasImage image = testing::patternPicture(37, 25, 9);
    const Block whole = operationRegionBlock(image);  // no selection: the whole picture
    ASSERT_EQ(whole.size(), 40u + rowStride(37) * 25);
    EXPECT_EQ(le::readI32(whole, 8), 25) << "bottom-up";
    EXPECT_EQ(decodeDib(whole).pixels->bytes, image.pixels.bytes);
    image.selection = Rect{5, 3, 15, 23};
    const std::optional<PixelImage> part = decodeDib(operationRegionBlock(image)).pixels;
    ASSERT_TRUE(part);
    ASSERT_EQ(std::pair(part->width, part->height), std::pair(10, 20));
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(pixelAt(*part, x, y), pixelAt(image.pixels, 5 + x, 3 + y)) << x << "," << y;
}

TEST(ThumbnailMaker, DoesJobsInOrderAndDropsThoseOfAForgottenTab) {
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    bool first = true;
    ThumbnailMaker maker(
        [&](const std::filesystem::path& file) -> std::optional<PixelImage> {
            if (std::exchange(first, false)) {
                entered.set_value();
                released.wait();
            }
            // A picture that fails the maker (memory) gets no thumbnail, and the thread goes on.
            if (file == "bad") throw std::bad_alloc();
            return noisePicture(1, 1, 0);
        },
        {});
    maker.add({{1, 1, 0, "a"}, {1, 1, 1, "b"}, {2, 1, 0, "bad"}, {2, 1, 1, "c"}});
    entered.get_future().wait();
    maker.forget(1);  // "a" is under way and still arrives; "b" is dropped
    release.set_value();
    maker.waitUntilIdle();
    const auto done = maker.takeFinished();
    ASSERT_EQ(done.size(), 3u);
    EXPECT_EQ(std::tuple(done[0].job.file, done[1].job.file, done[2].job.tab, done[2].job.item),
              std::tuple("a", "bad", 2u, 1u));
    EXPECT_TRUE(!done[1].thumbnail && maker.takeFinished().empty());
}

TEST(PixelImage, RowsArePaddedBlackBottomUpAndBlueFirst) {
    for (const auto& [width, stride] : {std::pair{1, 4}, {4, 12}, {5, 16}, {300, 900}, {301, 904}})
        EXPECT_EQ(rowStride(width), stride) << width;
    std::string message;
    auto image = createCanvasBitmap(5, 3, message);
    ASSERT_TRUE(image && image->bytes == std::vector<std::uint8_t>(48, 0));
    setPixel(*image, 1, 0, Rgb{10, 20, 30});  // the top row is the last in memory
    EXPECT_EQ(std::vector<int>(image->memoryRow(2) + 3, image->memoryRow(2) + 6),
              (std::vector<int>{30, 20, 10}));
    for (const auto& [width, height] : {std::pair{0, 10}, {10, -1}, {100000, 100000}})
        EXPECT_FALSE(createCanvasBitmap(width, height, message)) << width << " x " << height;
    EXPECT_EQ(message, "Could not create new image");
}

}  // namespace
}  // namespace lumetra
