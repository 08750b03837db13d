#pragma once
// Pictures for the Win32 tests.

#include <cstdint>
#include <string>

#include "image/pixel_image.h"

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

}  // namespace lumetra::win
