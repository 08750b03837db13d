// The picture on the platform: drawn to a device as a bottom-up 24-bit DIB pixel for pixel (odd
// widths, sub-rectangles, clipped sources); loaded back from files (metafiles at their physical
// size, unreadable files failing with a reason, a failed load keeping no render info). (A hostile
// clipboard block: program_test. Decoding each format is the platform's; the end-to-end
// scenarios open BMP, JPEG and GIF, reopen a saved picture with its render info, and make the
// round trips through the clipboard.)

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "base/win/win_file_system.h"
#include "document/document_render.h"
#include "document/win/picture_files.h"
#include "image/win/dib_paint.h"
#include "image/win/picture_loader.h"
#include "ports_scratch.h"
#include "recording_ui.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

// Whole pictures of odd widths (rows padded to four bytes), a rectangle inside one, and a source
// beyond the picture (clipped: its (0, 0) lands at (x + 2, y + 1)); the surroundings stay
// untouched.
TEST(DibPaint, SourceRectangleLandsPixelForPixelClippedToThePicture) {
    const struct {
        int width, height;
        Rect source;
        Rect drawn;  // the part of the picture that lands, its top left corner at `at`
        POINT at;
    } cases[] = {
        {1, 1, Rect{0, 0, 1, 1}, Rect{0, 0, 1, 1}, {3, 2}},
        {13, 3, Rect{0, 0, 13, 3}, Rect{0, 0, 13, 3}, {3, 2}},
        {11, 9, Rect{2, 3, 8, 7}, Rect{2, 3, 8, 7}, {3, 2}},
        {6, 4, Rect{-2, -1, 10, 10}, Rect{0, 0, 6, 4}, {5, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << "x" << c.height << " from " << c.source.left);
        const PixelImage image = testPattern(c.width, c.height);
        DibSurface surface(c.width + 6, c.height + 4, 0x11);
        ASSERT_TRUE(drawPixels(surface.dc(), 3, 2, image, c.source));
        const PixelImage& shown = surface.pixels();
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                const int px = x - c.at.x + c.drawn.left, py = y - c.at.y + c.drawn.top;
                const bool inside = px >= c.drawn.left && px < c.drawn.right && py >= c.drawn.top &&
                                    py < c.drawn.bottom;
                const Rgb expected = inside ? pixelAt(image, px, py) : Rgb{0x11, 0x11, 0x11};
                ASSERT_EQ(pixelAt(shown, x, y), expected) << x << "," << y;
            }
        }
    }
    DibSurface surface(12, 12);
    EXPECT_FALSE(drawPixels(surface.dc(), 0, 0, testPattern(6, 4), Rect{6, 0, 9, 4}));
    EXPECT_FALSE(drawPixels(surface.dc(), 0, 0, PixelImage{}, Rect{0, 0, 1, 1}));
}

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
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 5}}) {
        CanvasImage image;
        adoptPixels(image, testPattern(w, h));
        const fs::path path = folder_ / "pattern.bmp";
        ASSERT_TRUE(win::saveImageBmp(files_, image, path, false, false));
        std::wstring failure;
        auto loaded = loadPictureFile(path, failure);
        ASSERT_TRUE(loaded) << toUtf8(failure);
        EXPECT_EQ(std::tuple(loaded->width, loaded->height, loaded->stride),
                  std::tuple(w, h, rowStride(w)));
        EXPECT_EQ(loaded->bytes, image.pixels.bytes) << w << "x" << h;
    }
}

TEST_F(PictureLoader, EnhancedMetafileIsDrawnAtItsSize) {
    fs::path path = folder_ / "drawing.emf";
    // 40 x 20 pixels at 96 dpi: 1058 x 529 hundredths of a millimetre.
    RECT frame{0, 0, MulDiv(40, 2540, 96), MulDiv(20, 2540, 96)};
    HDC recorder = CreateEnhMetaFileW(windowDc(nullptr).get(), path.c_str(), &frame, nullptr);
    ASSERT_NE(recorder, nullptr);
    RECT red{0, 0, 40, 20};
    FillRect(recorder, &red, UniqueBrush(CreateSolidBrush(RGB(255, 0, 0))).get());
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded) << toUtf8(failure);
    EXPECT_NEAR(loaded->width, 40, 1);
    EXPECT_NEAR(loaded->height, 20, 1);
    EXPECT_EQ(pixelAt(*loaded, loaded->width / 2, loaded->height / 2), (Rgb{255, 0, 0}));
}

// (The box a failed open shows: the recent files' end-to-end scenario.)
TEST_F(PictureLoader, AFailedLoadKeepsThePictureButNotItsRenderInfo) {
    const fs::path garbage = folder_ / L"kein Bild \u00e4.bmp";
    std::ofstream(garbage, std::ios::binary) << "this is not a picture at all, just words";
    CanvasImage target;  // with a render record
    adoptPixels(target, testPattern(5, 4));
    recordRender(target, 300, 1.0, LocalTime{});
    const CanvasImage before = target;
    ASSERT_NE(target.renderInfo.valid, 0u);
    testing::RecordingUi ui;
    EXPECT_FALSE(win::loadImageFile(files_, target, garbage, ui, false));
    EXPECT_EQ(target.renderInfo.valid, 0u) << "a later save must not write this record";
    EXPECT_EQ(target.pixels.bytes, before.pixels.bytes);
    EXPECT_TRUE(ui.boxes.empty()) << "not asked to report";
    EXPECT_TRUE(ui.statusLog.empty());
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
