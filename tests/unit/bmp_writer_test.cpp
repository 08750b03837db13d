// Saving 24-bit BMP files: exact headers, the appended record, the ".info" file, round trips
// through our reader, and saves that fail without harming the previous file.

#include "image/bmp_writer.h"
#include "document/document_render.h"
#include "document/image_save.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/little_endian.h"
#include "bmp_test_files.h"
#include "document/image_file.h"
#include "document/render_info_file.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

using testing::patternPicture;

const LocalTime kNoon{2020, 6, 1, 15, 12, 0, 0, 0};

TEST(BmpWriter, HeaderBytes) {
    const CanvasImage image = patternPicture(3, 2);  // stride 12, S = 24
    const std::array<std::uint8_t, 54> expected = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header: size S + 54
        40,  0,   0,  0, 3, 0, 0, 0, 2, 0, 0,  0,        // header size, width, height
        1,   0,   24, 0, 0, 0, 0, 0,                     // planes, bit count, compression
        24,  0,   0,  0,                                 // image size S
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
    EXPECT_EQ(encodeBmpHeader(image.pixels), expected);
    const auto file = encodeBmpFile(image, true);  // no valid record: nothing appended
    ASSERT_EQ(file.size(), 78u);
    EXPECT_TRUE(
        std::equal(image.pixels.bytes.begin(), image.pixels.bytes.end(), file.begin() + 54));
}

TEST(BmpWriter, TheRecordIsAppendedButNotCounted) {
    testing::ScratchFolder folder("bmp-attach");
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.25, kNoon);
    const std::uint32_t S = 900 * 150;
    ASSERT_TRUE(saveImageBmp(image, folder / "a.bmp", false, true));
    const auto file = testing::readFileBytes(folder / "a.bmp");
    ASSERT_EQ(file.size(), S + 54 + 164);
    EXPECT_EQ(le::readU32(file, 2), S + 54);
    EXPECT_EQ(le::readU32(file, 34), S);
    const RenderInfoBytes record = encodeRenderInfo(image.renderInfo);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), file.begin() + S + 54));
    EXPECT_FALSE(std::filesystem::exists(folder / "a.info"));  // refresh-info was off
    // Attach off, or no valid record: the file ends with the pixels.
    ASSERT_TRUE(saveImageBmp(image, folder / "b.bmp", true, false));
    EXPECT_EQ(std::filesystem::file_size(folder / "b.bmp"), S + 54);
    EXPECT_TRUE(std::filesystem::exists(folder / "b.info"));
    image.renderInfo.valid = 0;
    ASSERT_TRUE(saveImageBmp(image, folder / "c.bmp", true, true));
    EXPECT_EQ(std::filesystem::file_size(folder / "c.bmp"), S + 54);
    EXPECT_FALSE(std::filesystem::exists(folder / "c.info"));
}

TEST(BmpWriter, RoundTripsOverOddSizes) {
    testing::ScratchFolder folder("bmp-roundtrip");
    for (std::int32_t width = 1; width <= 7; ++width) {
        for (std::int32_t height = 1; height <= 4; ++height) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            const CanvasImage image = patternPicture(width, height);
            // In memory.
            const BmpReadResult decoded = decodeBmp(encodeBmpFile(image, false));
            ASSERT_TRUE(decoded.pixels) << decoded.message;
            EXPECT_EQ(decoded.pixels->bytes, image.pixels.bytes);
            // Through a file and the loader.
            ASSERT_TRUE(saveImageBmp(image, folder / "r.bmp", true, true));
            CanvasImage loaded = patternPicture(9, 9);
            loaded.selection = Rect{1, 1, 2, 2};
            const ImageLoadResult result = loadImageFileCore(loaded, folder / "r.bmp");
            ASSERT_TRUE(result.ok) << result.detail;
            EXPECT_FALSE(result.renderInfoUpdated);
            EXPECT_EQ(loaded.pixels.bytes, image.pixels.bytes);
            EXPECT_EQ(loaded.settings.width, width);
            EXPECT_EQ(loaded.settings.height, height);
            EXPECT_TRUE(loaded.selection.empty());
        }
    }
}

TEST(BmpWriter, SavingReplacesTheFileOnlyWhenComplete) {
    testing::ScratchFolder folder("bmp-replace");
    const CanvasImage first = patternPicture(5, 5);
    const CanvasImage second = patternPicture(7, 3);
    ASSERT_TRUE(saveImageBmp(first, folder / "p.bmp", true, true));
    ASSERT_TRUE(saveImageBmp(second, folder / "p.bmp", true, true));
    EXPECT_EQ(testing::readFileBytes(folder / "p.bmp"), encodeBmpFile(second, false));
    EXPECT_FALSE(std::filesystem::exists(pendingFileName(folder / "p.bmp")));
    // A target that cannot be replaced (here a folder) leaves everything as it was.
    std::filesystem::create_directory(folder / "d.bmp");
    EXPECT_FALSE(saveImageBmp(first, folder / "d.bmp", true, true));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "d.bmp"));
    EXPECT_FALSE(std::filesystem::exists(pendingFileName(folder / "d.bmp")));
    // A folder that does not exist: nothing is written anywhere.
    EXPECT_FALSE(saveImageBmp(first, folder / "none" / "p.bmp", true, true));
    // An empty picture is not a BMP file.
    EXPECT_FALSE(saveImageBmp(CanvasImage{}, folder / "p.bmp", true, true));
    EXPECT_EQ(testing::readFileBytes(folder / "p.bmp"), encodeBmpFile(second, false));
}

TEST(BmpWriter, NamesOutsideAsciiWork) {
    testing::ScratchFolder folder("bmp-unicode");
    const std::filesystem::path name =
        folder.path() / std::filesystem::path(u8"Kl\u00e4nge \u266b.bmp");
    CanvasImage image = patternPicture(4, 4);
    recordRender(image, 300, 1.0, kNoon);
    ASSERT_TRUE(saveImageBmp(image, name, true, true));
    EXPECT_TRUE(std::filesystem::exists(renderInfoFileName(name)));
    CanvasImage loaded;
    const ImageLoadResult result = loadImageFileCore(loaded, name);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.renderInfoUpdated);
}

}  // namespace
}  // namespace lumetra
