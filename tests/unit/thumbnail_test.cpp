// Browser thumbnails: the one-pass area average against the reference over sizes that shrink,
// enlarge and keep, from both row orders; the flips; the files; the maker's queue.

#include "browser/thumbnail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <new>

#include "bmp_test_files.h"
#include "browser/thumbnail_file.h"
#include "browser/thumbnail_maker.h"
#include "memory_file_system.h"
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
    // A run-length file of a few bytes claiming 26000 x 27000 pixels: refused by its size.
    file = testing::makeBmp({40, 26000, 27000, 8, 1, 2, testing::palette(2), {}, {0, 1}});
    EXPECT_FALSE(thumbnailFromBmp(file));

    const PixelImage t = noisePicture(kThumbnailWidth, kThumbnailHeight, 3);
    const PixelImage both = flippedThumbnail(t, true, true);
    const PixelImage mirrored = flippedThumbnail(t, true, false);
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {5, 49}, {40, 20}}) {
        EXPECT_EQ(pixelAt(mirrored, x, y), pixelAt(t, 63 - x, y));
        EXPECT_EQ(pixelAt(both, x, y), pixelAt(t, 63 - x, 49 - y));
    }
}

TEST(ThumbnailFile, BmpThroughTheReaderOthersThroughThePlatform) {
    testing::MemoryFileSystem files;
    const PixelImage picture = noisePicture(200, 120, 5);
    files.files["/f/a.BMP"] = bmpFileOf(picture);
    files.put("/f/b.GIF", "GIF89a");
    int platformCalls = 0;
    const PictureDecoder platform = [&](const std::filesystem::path& file) {
        ++platformCalls;
        return file.filename() == "b.GIF" ? std::optional(picture) : std::nullopt;
    };
    const auto expected = referenceThumbnail(bmpFileOf(picture))->bytes;
    EXPECT_EQ(thumbnailOfFile(files, "/f/a.BMP", platform)->bytes, expected);
    EXPECT_EQ(platformCalls, 0);
    EXPECT_EQ(thumbnailOfFile(files, "/f/b.GIF", platform)->bytes, expected);
    EXPECT_FALSE(thumbnailOfFile(files, "/f/missing.BMP", platform));
    EXPECT_EQ(platformCalls, 2);
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

}  // namespace
}  // namespace lumetra
