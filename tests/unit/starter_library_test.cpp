// The starter library the packages ship (drawn by scripts/make_starter_library.py in the build):
// every file a 24-bit BMP picture that sounds, filter subfolders the image browser makes tabs of,
// and a demo picture that brings its render settings along.
#include <gtest/gtest.h>

#include <algorithm>

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
    if (!bmp.pixels) return ADD_FAILURE() << path << ": " << bmp.message, false;
    const PixelImage& image = *bmp.pixels;
    EXPECT_TRUE(le::readU16(bytes, 28) == 24 && le::readU32(bytes, 30) == 0 && image.width >= 128 &&
                image.width <= 512 && image.height >= 128 && image.height <= 256 &&
                std::any_of(image.bytes.begin(), image.bytes.end(), [](auto v) { return v > 0; }))
        << path << ": not an uncompressed 24-bit picture of 128..512 x 128..256 that sounds";
    const RenderInfoTrailer trailer = findRenderInfoTrailer(bytes, bmp.pixelDataEnd);
    const RenderInfoRecord& r = trailer.record;
    return trailer.kind == TrailerKind::Found && hasUsableRenderNumbers(r) &&
           r.width == image.width && r.height == image.height;
}

TEST(StarterLibrary, SoundingPicturesADemoWithItsSettingsAndFilterTabs) {
    int withRecord = 0, tabs = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(LUMETRA_STARTER_DIR) / "Images"))
        withRecord += soundingPictureWithRecord(entry.path());
    EXPECT_GE(withRecord, 1);
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
