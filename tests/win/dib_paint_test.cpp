// The picture goes to a device as a bottom-up 24-bit DIB: what lands in a memory bitmap equals the
// picture pixel for pixel, for odd widths, sub-rectangles and clipped sources.

#include "image/win/dib_paint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "base/win/unique_handle.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

// A memory context with a 24-bit DIB section of the given size, filled with one colour.
struct Surface {
    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap;
    void* bits = nullptr;
    int width = 0;
    int height = 0;

    Surface(int w, int h, std::uint8_t fill) : width(w), height(h) {
        bitmap.reset(createDibSection(dc.get(), w, h, &bits));
        SelectObject(dc.get(), bitmap.get());
        std::memset(bits, fill, size_t(rowStride(w)) * size_t(h));
    }
    Rgb at(int x, int y) const {  // y from the top
        auto* row = static_cast<const std::uint8_t*>(bits) +
                    size_t(rowStride(width)) * size_t(height - 1 - y);
        return Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    }
};

TEST(DibPaint, WholePictureLandsPixelForPixel) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{13, 3}, std::pair{64, 9}}) {
        PixelImage image = testPattern(w, h);
        Surface surface(w + 6, h + 4, 0x11);
        ASSERT_TRUE(drawPixels(surface.dc.get(), 3, 2, image, Rect{0, 0, w, h}));
        GdiFlush();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(surface.at(x + 3, y + 2), pixelAt(image, x, y))
                    << w << "x" << h << " at " << x << "," << y;
            }
        }
        // The surroundings stay untouched.
        EXPECT_EQ(surface.at(2, 2), (Rgb{0x11, 0x11, 0x11}));
        EXPECT_EQ(surface.at(3 + w, 2 + h - 1), (Rgb{0x11, 0x11, 0x11}));
        EXPECT_EQ(surface.at(3, 1), (Rgb{0x11, 0x11, 0x11}));
    }
}

TEST(DibPaint, SubRectangleUsesTopDownPictureCoordinates) {
    PixelImage image = testPattern(11, 9);
    Surface surface(20, 20, 0);
    const Rect source{2, 3, 8, 7};
    ASSERT_TRUE(drawPixels(surface.dc.get(), 1, 1, image, source));
    GdiFlush();
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            ASSERT_EQ(surface.at(1 + x, 1 + y), pixelAt(image, source.left + x, source.top + y));
        }
    }
    EXPECT_EQ(surface.at(1 + source.width(), 1), (Rgb{0, 0, 0}));
}

TEST(DibPaint, SourceBeyondThePictureIsClippedAndEmptyDrawsNothing) {
    PixelImage image = testPattern(6, 4);
    Surface surface(12, 12, 0x22);
    // The source starts left of and above the picture: its (0, 0) lands at (x + 2, y + 1).
    ASSERT_TRUE(drawPixels(surface.dc.get(), 0, 0, image, Rect{-2, -1, 10, 10}));
    GdiFlush();
    EXPECT_EQ(surface.at(2, 1), pixelAt(image, 0, 0));
    EXPECT_EQ(surface.at(7, 4), pixelAt(image, 5, 3));
    EXPECT_EQ(surface.at(8, 4), (Rgb{0x22, 0x22, 0x22}));
    EXPECT_EQ(surface.at(1, 1), (Rgb{0x22, 0x22, 0x22}));
    EXPECT_FALSE(drawPixels(surface.dc.get(), 0, 0, image, Rect{6, 0, 9, 4}));
    EXPECT_FALSE(drawPixels(surface.dc.get(), 0, 0, PixelImage{}, Rect{0, 0, 1, 1}));
}

TEST(DibPaint, StretchAtOneToOneAndReadBackRoundTrip) {
    PixelImage image = testPattern(9, 7);
    Surface surface(9, 7, 0);
    RECT target{0, 0, 9, 7};
    ASSERT_TRUE(stretchPixels(surface.dc.get(), target, image));
    GdiFlush();
    PixelImage back = readBitmapPixels(surface.dc.get(), surface.bitmap.get());
    ASSERT_EQ(back.width, 9);
    ASSERT_EQ(back.height, 7);
    EXPECT_EQ(back.bytes, image.bytes);
}

}  // namespace
}  // namespace lumetra::win
