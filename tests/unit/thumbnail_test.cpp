// Browser thumbnails: the one-pass area average against the BMP reader and the general halftone
// stretch, pixel for pixel, over sizes that shrink, enlarge and keep; the flips; the files.

#include "browser/thumbnail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <utility>

#include "browser/thumbnail_file.h"
#include "browser/thumbnail_maker.h"
#include "memory_file_system.h"
#include "thumbnail_reference.h"

namespace lumetra {
namespace {

using testing::bmpFileOf;
using testing::noisePicture;
using testing::referenceThumbnail;

// The same picture stored top row first: the height field turns negative.
std::vector<std::uint8_t> topDown(const PixelImage& picture) {
    PixelImage flipped = picture;
    for (std::int32_t y = 0; y < picture.height; ++y)
        std::copy_n(picture.pictureRow(y), picture.stride, flipped.memoryRow(y));
    std::vector<std::uint8_t> file = bmpFileOf(flipped);
    const std::int32_t height = -picture.height;
    std::memcpy(file.data() + 22, &height, 4);
    return file;
}

TEST(Thumbnail, AgreesWithTheReaderAndTheHalftoneStretch) {
    const struct {
        std::int32_t width, height;
    } sizes[] = {{1024, 512}, {64, 50}, {63, 49}, {1, 1},   {1000, 777},
                 {128, 100},  {300, 7}, {7, 300}, {65, 51}, {4096, 33}};
    std::uint32_t seed = 1;
    for (const auto& size : sizes) {
        const PixelImage picture = noisePicture(size.width, size.height, seed++);
        const std::vector<std::uint8_t> file = bmpFileOf(picture);
        const std::optional<PixelImage> expected = referenceThumbnail(file);
        ASSERT_TRUE(expected);
        const std::optional<PixelImage> fromFile = thumbnailFromBmp(file);
        ASSERT_TRUE(fromFile) << size.width << " x " << size.height;
        EXPECT_EQ(fromFile->bytes, expected->bytes) << size.width << " x " << size.height;
        EXPECT_EQ(makeThumbnail(picture)->bytes, expected->bytes);
        EXPECT_EQ(thumbnailFromBmp(topDown(picture))->bytes, expected->bytes);
    }
    std::vector<std::uint8_t> file = bmpFileOf(noisePicture(100, 80, 9));
    file.resize(file.size() - 400);  // the last rows are missing: refused, as the reader does
    EXPECT_FALSE(thumbnailFromBmp(file));
}

TEST(Thumbnail, FlipsMirrorAndTurn) {
    const PixelImage t = noisePicture(kThumbnailWidth, kThumbnailHeight, 3);
    const PixelImage both = flippedThumbnail(t, true, true);
    const PixelImage mirrored = flippedThumbnail(t, true, false);
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{63, 0}, std::pair{5, 49}, std::pair{40, 20}}) {
        EXPECT_EQ(pixelAt(mirrored, x, y), pixelAt(t, 63 - x, y));
        EXPECT_EQ(pixelAt(both, x, y), pixelAt(t, 63 - x, 49 - y));
    }
    EXPECT_EQ(flippedThumbnail(both, true, true).bytes, t.bytes);
}

TEST(ThumbnailFile, BmpThroughTheReaderOthersThroughThePlatform) {
    testing::MemoryFileSystem files;
    const PixelImage picture = noisePicture(200, 120, 5);
    const auto bmp = bmpFileOf(picture);
    files.files["/f/a.BMP"] = bmp;
    files.put("/f/b.GIF", "GIF89a");
    int platformCalls = 0;
    const PictureDecoder platform =
        [&](const std::filesystem::path& file) -> std::optional<PixelImage> {
        ++platformCalls;
        if (file.filename() == "b.GIF") return picture;
        return std::nullopt;
    };
    EXPECT_EQ(thumbnailOfFile(files, "/f/a.BMP", platform)->bytes, referenceThumbnail(bmp)->bytes);
    EXPECT_EQ(platformCalls, 0);
    EXPECT_EQ(thumbnailOfFile(files, "/f/b.GIF", platform)->bytes, referenceThumbnail(bmp)->bytes);
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
            if (file == "bad") return std::nullopt;
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
    EXPECT_EQ(done[0].job.file, "a");
    EXPECT_EQ(done[1].job.file, "bad");
    EXPECT_FALSE(done[1].thumbnail);
    EXPECT_EQ(done[2].job.tab, 2u);
    EXPECT_EQ(done[2].job.item, 1u);
    EXPECT_TRUE(maker.takeFinished().empty());
}

}  // namespace
}  // namespace lumetra
