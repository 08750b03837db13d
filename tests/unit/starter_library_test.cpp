// The starter library the packages ship (drawn by scripts/make_starter_library.py in the build):
// every file is a 24-bit BMP picture the program reads and that sounds, the filter pack gives the
// image browser tabs (subfolders of the filter folder holding BMP files), and a demo picture
// brings its render settings along.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/file_io.h"
#include "base/little_endian.h"
#include "base/standard_file_system.h"
#include "document/render_info_trailer.h"
#include "image/bmp_reader.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// Whether the picture at `path` sounds and has a usable render record of its own size.
bool soundingPictureWithRecord(const fs::path& path) {
    StandardFileSystem files;
    std::vector<std::uint8_t> bytes;
    std::string message;
    EXPECT_TRUE(readWholeFile(files, path, bytes, message, 1 << 24)) << message;
    const BmpReadResult bmp = decodeBmp(bytes);
    if (!bmp.pixels) {
        ADD_FAILURE() << path << ": " << bmp.message;
        return false;
    }
    // 24 bits, uncompressed.
    EXPECT_EQ(std::pair(le::readU16(bytes, 28), le::readU32(bytes, 30)),
              std::pair(std::uint16_t{24}, 0u))
        << path;
    const PixelImage& image = *bmp.pixels;
    EXPECT_TRUE(image.width >= 128 && image.width <= 512 && image.height >= 128 &&
                image.height <= 256)
        << path << " is " << image.width << " x " << image.height;
    EXPECT_TRUE(
        std::any_of(image.bytes.begin(), image.bytes.end(), [](std::uint8_t v) { return v > 0; }))
        << path << " is black: silent";
    const RenderInfoTrailer trailer = findRenderInfoTrailer(bytes, bmp.pixelDataEnd);
    const RenderInfoRecord& r = trailer.record;
    return trailer.kind == TrailerKind::Found && hasUsableRenderNumbers(r) &&
           r.width == image.width && r.height == image.height;
}

TEST(StarterLibrary, SoundingPicturesADemoWithItsSettingsAndFilterTabs) {
    int withRecord = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(LUMETRA_STARTER_DIR) / "Images"))
        withRecord += soundingPictureWithRecord(entry.path());
    EXPECT_GE(withRecord, 1);
    int tabs = 0;
    for (const auto& folder : fs::directory_iterator(fs::path(LUMETRA_STARTER_DIR) / "Filters")) {
        ASSERT_TRUE(folder.is_directory()) << folder.path() << ": the browser lists subfolders";
        int pictures = 0;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            EXPECT_EQ(entry.path().extension(), ".bmp") << entry.path();
            soundingPictureWithRecord(entry.path());
            ++pictures;
        }
        EXPECT_GE(pictures, 3) << folder.path();
        ++tabs;
    }
    EXPECT_GE(tabs, 3);
}

}  // namespace
}  // namespace lumetra
