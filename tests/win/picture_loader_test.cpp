// The platform picture loader: pictures come back as 24-bit pictures pixel for pixel at odd
// widths, metafiles at their physical size; unreadable files fail with a reason, and a failed
// load keeps no render info. (Decoding each format is the platform's; the end-to-end scenarios
// open BMP, JPEG and GIF, and reopen a saved picture with its render info.)

#include "image/win/picture_loader.h"

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "base/win/win_file_system.h"
#include "document/document_render.h"
#include "document/win/picture_files.h"
#include "ports_scratch.h"
#include "recording_ui.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

namespace fs = std::filesystem;

class PictureLoader : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    WinFileSystem files_;
    ports::ScratchFolder scratch_;  // removed with everything in it
    fs::path folder_{scratch_.path()};
};

TEST_F(PictureLoader, BmpComesBackPixelForPixelAtOddWidths) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{33, 17}}) {
        CanvasImage image;
        adoptPixels(image, testPattern(w, h));
        const fs::path path = folder_ / "pattern.bmp";
        ASSERT_TRUE(win::saveImageBmp(files_, image, path, false, false));
        std::wstring failure;
        auto loaded = loadPictureFile(path, failure);
        ASSERT_TRUE(loaded) << toUtf8(failure);
        EXPECT_EQ(loaded->width, w);
        EXPECT_EQ(loaded->height, h);
        EXPECT_EQ(loaded->stride, rowStride(w));
        EXPECT_EQ(loaded->bytes, image.pixels.bytes) << w << "x" << h;
    }
}

TEST_F(PictureLoader, EnhancedMetafileIsDrawnAtItsSize) {
    fs::path path = folder_ / "drawing.emf";
    // 40 x 20 pixels at 96 dpi: 1058 x 529 hundredths of a millimetre.
    RECT frame{0, 0, MulDiv(40, 2540, 96), MulDiv(20, 2540, 96)};
    HDC screen = GetDC(nullptr);
    HDC recorder = CreateEnhMetaFileW(screen, path.c_str(), &frame, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(recorder, nullptr);
    RECT red{0, 0, 40, 20};
    UniqueBrush brush(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(recorder, &red, brush.get());
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded) << toUtf8(failure);
    EXPECT_NEAR(loaded->width, 40, 1);
    EXPECT_NEAR(loaded->height, 20, 1);
    EXPECT_EQ(pixelAt(*loaded, loaded->width / 2, loaded->height / 2), (Rgb{255, 0, 0}));
}

// A picture with a render record, its low pitch set apart from the default.
CanvasImage renderedPicture(int width, int height) {
    CanvasImage image;
    adoptPixels(image, testPattern(width, height));
    image.settings.lowFrequency = 33.0;
    recordRender(image, 300, 1.0, LocalTime{});
    return image;
}

TEST_F(PictureLoader, AFailedLoadKeepsThePictureButNotItsRenderInfo) {
    const fs::path garbage = folder_ / L"kein Bild \u00e4.bmp";
    std::ofstream(garbage, std::ios::binary) << "this is not a picture at all, just words";
    for (bool report : {false, true}) {
        CanvasImage target = renderedPicture(5, 4);
        const CanvasImage before = target;
        ASSERT_NE(target.renderInfo.valid, 0u);
        testing::RecordingUi ui;
        EXPECT_FALSE(win::loadImageFile(files_, target, garbage, ui, report));
        EXPECT_EQ(target.renderInfo.valid, 0u) << "a later save must not write this record";
        EXPECT_EQ(target.pixels.bytes, before.pixels.bytes);
        const testing::RecordingUi::Box warned{"Could not open " + toUtf8(garbage.native()),
                                               "Error reading bitmap file"};
        EXPECT_EQ(ui.boxes,
                  report ? std::vector{warned} : std::vector<testing::RecordingUi::Box>{});
        EXPECT_TRUE(ui.statusLog.empty());
    }
}

TEST_F(PictureLoader, MissingAndEmptyFilesFailWithAReason) {
    std::wstring failure;
    EXPECT_FALSE(loadPictureFile(folder_ / "none.bmp", failure));
    EXPECT_EQ(failure, L"Could not open " + (folder_ / "none.bmp").wstring());
    const fs::path empty = folder_ / "empty.bmp";
    std::ofstream(empty, std::ios::binary).close();
    EXPECT_FALSE(loadPictureFile(empty, failure));
    EXPECT_EQ(failure, L"Could not read " + empty.wstring());
}

}  // namespace
}  // namespace lumetra::win
