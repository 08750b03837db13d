// The picture drawn to a device pixel for pixel, and loaded from files: metafiles at their physical
// size, unreadable files failing with a reason and keeping no render info. (Decoding is the
// platform's; BMP, JPEG and GIF opened and a saved picture reopened: end to end.)

#include <windows.h>

#include <ole2.h>

#include <fstream>

#include "document/document_render.h"
#include "document/win/picture_files.h"
#include "image/win/picture_loader.h"
#include "recording_ui.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

// A rectangle inside a picture of odd width (rows padded to four bytes), and a source beyond the
// picture (clipped: its (0, 0) lands at (5, 3)); the surroundings stay untouched.
TEST(DibPaint, SourceRectangleLandsPixelForPixelClippedToThePicture) {
    const std::tuple<int, int, Rect, Rect, POINT> cases[] = {
        // width, height, source, the part that lands with its top left corner at the point
        {11, 9, Rect{2, 3, 8, 7}, Rect{2, 3, 8, 7}, {3, 2}},
        {6, 4, Rect{-2, -1, 10, 10}, Rect{0, 0, 6, 4}, {5, 3}},
    };
    for (const auto& [width, height, source, drawn, at] : cases) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height << " from " << source.left);
        const PixelImage image = testPattern(width, height);
        DibSurface surface(width + 6, height + 4, 0x11);
        ASSERT_TRUE(drawPixels(surface.dc(), 3, 2, image, source));
        const PixelImage& shown = surface.pixels();
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                const int px = x - at.x + drawn.left, py = y - at.y + drawn.top;
                const bool inside =
                    px >= drawn.left && px < drawn.right && py >= drawn.top && py < drawn.bottom;
                ASSERT_EQ(pixelAt(shown, x, y), inside ? pixelAt(image, px, py) : (Rgb{17, 17, 17}))
                    << x << "," << y;
            }
        }
    }
    DibSurface surface(12, 12);
    EXPECT_FALSE(drawPixels(surface.dc(), 0, 0, testPattern(6, 4), Rect{6, 0, 9, 4}));
    EXPECT_FALSE(drawPixels(surface.dc(), 0, 0, PixelImage{}, Rect{0, 0, 1, 1}));
}

class PictureLoader : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }
    WinFileSystem files_;
    ScratchFolder scratch_;
    fs::path folder_{scratch_.path()};
};

TEST_F(PictureLoader, EnhancedMetafileIsDrawnAtItsSize) {
    const fs::path path = folder_ / "drawing.emf";
    // 40 x 20 pixels at 96 dpi, in hundredths of a millimetre.
    RECT frame{0, 0, MulDiv(40, 2540, 96), MulDiv(20, 2540, 96)}, red{0, 0, 40, 20};
    HDC recorder = CreateEnhMetaFileW(windowDc(nullptr).get(), path.c_str(), &frame, nullptr);
    ASSERT_NE(recorder, nullptr);
    FillRect(recorder, &red, UniqueBrush(CreateSolidBrush(RGB(255, 0, 0))).get());
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    std::wstring failure;
    auto loaded = loadPictureFile(path, failure);
    ASSERT_TRUE(loaded) << toUtf8(failure);
    EXPECT_NEAR(loaded->width, 40, 1);
    EXPECT_NEAR(loaded->height, 20, 1);
    EXPECT_EQ(pixelAt(*loaded, loaded->width / 2, loaded->height / 2), (Rgb{255, 0, 0}));
}

TEST_F(PictureLoader, AFailedLoadSaysWhyAndKeepsThePictureButNotItsRenderInfo) {
    std::wstring failure;
    EXPECT_FALSE(loadPictureFile(folder_ / "none.bmp", failure));
    EXPECT_EQ(failure, L"Could not open " + (folder_ / "none.bmp").wstring());
    std::ofstream(folder_ / "empty.bmp", std::ios::binary).close();
    EXPECT_FALSE(loadPictureFile(folder_ / "empty.bmp", failure));
    EXPECT_EQ(failure, L"Could not read " + (folder_ / "empty.bmp").wstring());
    const fs::path garbage = folder_ / L"kein Bild \u00e4.bmp";
    std::ofstream(garbage, std::ios::binary) << "this is not a picture at all, just words";
    CanvasImage target;  // with a render record
    adoptPixels(target, testPattern(5, 4));
    recordRender(target, 300, 1.0, LocalTime{});
    const std::vector<std::uint8_t> before = target.pixels.bytes;
    ASSERT_NE(target.renderInfo.valid, 0u);
    testing::RecordingUi ui;
    EXPECT_FALSE(win::loadImageFile(files_, target, garbage, ui, false));
    EXPECT_EQ(target.renderInfo.valid, 0u) << "a later save must not write this record";
    EXPECT_EQ(target.pixels.bytes, before);
    EXPECT_TRUE(ui.boxes.empty() && ui.statusLog.empty()) << "not asked to report";
}

}  // namespace
}  // namespace lumetra::win
