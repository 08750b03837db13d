// The picture goes to a device as a bottom-up 24-bit DIB: what lands in a memory bitmap equals the
// picture pixel for pixel, for odd widths, sub-rectangles and clipped sources.

#include "image/win/dib_paint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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

TEST(DibPaint, SourceRectangleLandsPixelForPixel) {
    // Whole pictures of odd widths (rows padded to four bytes), and a rectangle inside one.
    for (auto [w, h, source] :
         {std::tuple{1, 1, Rect{0, 0, 1, 1}}, std::tuple{7, 5, Rect{0, 0, 7, 5}},
          std::tuple{13, 3, Rect{0, 0, 13, 3}}, std::tuple{64, 9, Rect{0, 0, 64, 9}},
          std::tuple{11, 9, Rect{2, 3, 8, 7}}}) {
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " from " << source.left);
        const PixelImage image = testPattern(w, h);
        Surface surface(w + 6, h + 4, 0x11);
        ASSERT_TRUE(drawPixels(surface.dc.get(), 3, 2, image, source));
        GdiFlush();
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                ASSERT_EQ(surface.at(x + 3, y + 2), pixelAt(image, source.left + x, source.top + y))
                    << x << "," << y;
            }
        }
        // The surroundings stay untouched.
        const Rgb untouched{0x11, 0x11, 0x11};
        EXPECT_EQ(surface.at(2, 2), untouched);
        EXPECT_EQ(surface.at(3 + source.width(), 1 + source.height()), untouched);
        EXPECT_EQ(surface.at(3, 1), untouched);
    }
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

}  // namespace
}  // namespace lumetra::win
