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

struct StarterPicture {
    std::vector<std::uint8_t> bytes;
    BmpReadResult bmp;
};

StarterPicture readPicture(const fs::path& path) {
    StandardFileSystem files;
    StarterPicture picture;
    std::string message;
    EXPECT_TRUE(readWholeFile(files, path, picture.bytes, message, 1 << 24)) << message;
    picture.bmp = decodeBmp(picture.bytes);
    return picture;
}

void expectSoundingPicture(const fs::path& path, const StarterPicture& p) {
    ASSERT_TRUE(p.bmp.pixels) << path << ": " << p.bmp.message;
    EXPECT_EQ(le::readU16(p.bytes, 28), 24) << path;  // 24 bits, uncompressed
    EXPECT_EQ(le::readU32(p.bytes, 30), 0u) << path;
    const PixelImage& image = *p.bmp.pixels;
    EXPECT_TRUE(image.width >= 128 && image.width <= 512 && image.height >= 128 &&
                image.height <= 256)
        << path << " is " << image.width << " x " << image.height;
    const auto& data = image.bytes;
    EXPECT_TRUE(std::any_of(data.begin(), data.end(), [](std::uint8_t v) { return v > 0; }))
        << path << " is black: silent";
}

TEST(StarterLibrary, DemoPicturesAreSoundingBmpFilesOneWithItsRenderSettings) {
    int withRecord = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(LUMETRA_STARTER_DIR) / "Images")) {
        const StarterPicture p = readPicture(entry.path());
        expectSoundingPicture(entry.path(), p);
        if (!p.bmp.pixels) continue;
        const RenderInfoTrailer trailer = findRenderInfoTrailer(p.bytes, p.bmp.pixelDataEnd);
        if (trailer.kind != TrailerKind::Found) continue;
        ++withRecord;
        EXPECT_TRUE(hasUsableRenderNumbers(trailer.record)) << entry.path();
        EXPECT_EQ(trailer.record.width, p.bmp.pixels->width) << entry.path();
        EXPECT_EQ(trailer.record.height, p.bmp.pixels->height) << entry.path();
    }
    EXPECT_GE(withRecord, 1);
}

TEST(StarterLibrary, FilterPackGivesTheBrowserSeveralTabsOfPictures) {
    int tabs = 0;
    for (const auto& folder : fs::directory_iterator(fs::path(LUMETRA_STARTER_DIR) / "Filters")) {
        ASSERT_TRUE(folder.is_directory()) << folder.path() << ": the browser lists subfolders";
        int pictures = 0;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            EXPECT_EQ(entry.path().extension(), ".bmp") << entry.path();
            expectSoundingPicture(entry.path(), readPicture(entry.path()));
            ++pictures;
        }
        EXPECT_GE(pictures, 3) << folder.path();
        ++tabs;
    }
    EXPECT_GE(tabs, 3);
}

}  // namespace
}  // namespace lumetra
