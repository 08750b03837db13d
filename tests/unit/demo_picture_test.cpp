// docs/demo.bmp, the picture the README renders, is the output of our own generator.
// Run the unit tests with LUMETRA_WRITE_DEMO=1 to write it again after changing the generator.

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/standard_file_system.h"
#include "demo_picture.h"
#include "document/image_save.h"
#include "image/bmp_writer.h"

namespace lumetra {
namespace {

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
