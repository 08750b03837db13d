#pragma once
// Pictures for the Win32 tests, and a surface to draw on and read back.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/win/unique_handle.h"
#include "image/pixel_image.h"
#include "image/win/dib_paint.h"

namespace lumetra::win {

// Every pixel different: red from x, green from y, blue from both.
inline PixelImage testPattern(int width, int height) {
    std::string message;
    PixelImage image = *createCanvasBitmap(width, height, message);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(image, x, y,
                     Rgb{std::uint8_t(x * 37 + 5), std::uint8_t(y * 53 + 11),
                         std::uint8_t((x * 7 + y * 13) & 0xFF)});
        }
    }
    return image;
}

// A memory device drawing into a 24-bit DIB section of the given size, every byte `fill`.
class DibSurface {
  public:
    DibSurface(int width, int height, std::uint8_t fill = 0) {
        dc_.reset(CreateCompatibleDC(nullptr));
        bitmap_.reset(createDibSection(dc_.get(), width, height, &bits_));
        SelectObject(dc_.get(), bitmap_.get());
        std::string message;
        image_ = *createCanvasBitmap(width, height, message);
        std::memset(bits_, fill, image_.bytes.size());
    }
    HDC dc() const { return dc_.get(); }
    // What was drawn: the section has the picture store's layout.
    const PixelImage& pixels() {
        GdiFlush();
        std::memcpy(image_.bytes.data(), bits_, image_.bytes.size());
        return image_;
    }

  private:
    UniqueBitmap bitmap_;  // outlives the device it is selected into
    UniqueMemoryDc dc_;
    void* bits_ = nullptr;
    PixelImage image_;
};

}  // namespace lumetra::win
