// Saving 24-bit BMP files: exact headers, the appended record, the ".info" file, round trips
// through our loader, and saves that fail without harming the previous file. And docs/demo.bmp,
// the picture the README renders, is the output of our own generator: run the unit tests with
// LUMETRA_WRITE_DEMO=1 to write it again after changing the generator.

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/little_endian.h"
#include "base/standard_file_system.h"
#include "bmp_test_files.h"
#include "demo_picture.h"
#include "document/document_render.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "image/bmp_writer.h"
#include "memory_file_system.h"

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
    testing::MemoryFileSystem files;
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.25, kNoon);
    const std::uint32_t S = 900 * 150;
    ASSERT_TRUE(saveImageBmp(files, image, "a.bmp", false, true));
    const auto& file = files.at("a.bmp");
    ASSERT_EQ(file.size(), S + 54 + 164);
    EXPECT_EQ(le::readU32(file, 2), S + 54);
    EXPECT_EQ(le::readU32(file, 34), S);
    const RenderInfoBytes record = encodeRenderInfo(image.renderInfo);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), file.begin() + S + 54));
    EXPECT_FALSE(files.exists("a.info"));  // refresh-info was off
    // Attach off, or no valid record: the file ends with the pixels.
    ASSERT_TRUE(saveImageBmp(files, image, "b.bmp", true, false));
    EXPECT_EQ(files.at("b.bmp").size(), S + 54);
    EXPECT_TRUE(files.exists("b.info"));
    image.renderInfo.valid = 0;
    ASSERT_TRUE(saveImageBmp(files, image, "c.bmp", true, true));
    EXPECT_EQ(files.at("c.bmp").size(), S + 54);
    EXPECT_FALSE(files.exists("c.info"));
}

TEST(BmpWriter, RoundTripsOverOddSizesAndReplacesTheFileOnlyWhenComplete) {
    testing::MemoryFileSystem files;
    for (std::int32_t width = 1; width <= 7; ++width) {
        for (std::int32_t height = 1; height <= 4; ++height) {
            const CanvasImage image = patternPicture(width, height);
            ASSERT_TRUE(saveImageBmp(files, image, "r.bmp", true, true));
            CanvasImage loaded = patternPicture(9, 9);
            ASSERT_TRUE(loadImageFileCore(files, loaded, "r.bmp").ok);
            EXPECT_EQ(loaded.pixels.bytes, image.pixels.bytes) << width << "x" << height;
        }
    }
    files.files.clear();
    const CanvasImage first = patternPicture(5, 5);
    const CanvasImage second = patternPicture(7, 3);
    ASSERT_TRUE(saveImageBmp(files, first, "p.bmp", true, true));
    ASSERT_TRUE(saveImageBmp(files, second, "p.bmp", true, true));
    EXPECT_EQ(files.at("p.bmp"), encodeBmpFile(second, false));
    EXPECT_EQ(files.files.size(), 1u);
    // Whichever step fails, the previous file stays and nothing is left beside it.
    for (const testing::FileCall failing : {testing::FileCall::Create, testing::FileCall::Write,
                                            testing::FileCall::Close, testing::FileCall::Replace}) {
        files.fail(failing);
        EXPECT_FALSE(saveImageBmp(files, first, "p.bmp", true, true));
        files.failures.clear();
        EXPECT_EQ(files.at("p.bmp"), encodeBmpFile(second, false));
        EXPECT_EQ(files.files.size(), 1u) << static_cast<int>(failing);
    }
    // A target that cannot be replaced (here a folder), and an empty picture.
    files.addFolder("d.bmp");
    EXPECT_FALSE(saveImageBmp(files, first, "d.bmp", true, true));
    EXPECT_FALSE(saveImageBmp(files, CanvasImage{}, "p.bmp", true, true));
    EXPECT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.at("p.bmp"), encodeBmpFile(second, false));
}

TEST(DemoPicture, TheShippedFileIsTheGeneratorsPicture) {
    CanvasImage image;
    adoptPixels(image, testing::makeDemoPicture());
    const std::vector<std::uint8_t> expected = encodeBmpFile(image, false);
    const std::filesystem::path shipped =
        std::filesystem::path(LUMETRA_TEST_DATA).parent_path().parent_path() / "docs" / "demo.bmp";
    StandardFileSystem files;
    if (std::getenv("LUMETRA_WRITE_DEMO")) {
        ASSERT_TRUE(saveImageBmp(files, image, shipped, false, false));
    }
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(files.read(shipped, bytes, expected.size()), ReadOutcome::Read);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(expected.size(), 54u + 900u * 150u);
}

}  // namespace
}  // namespace lumetra
