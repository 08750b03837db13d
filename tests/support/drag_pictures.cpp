#include "drag_pictures.h"

#include <random>
#include <string>

namespace lumetra::testing {
namespace {

PixelImage blank(std::int32_t width, std::int32_t height) {
    std::string message;
    return *createCanvasBitmap(width, height, message);
}

}  // namespace

PixelImage noisePicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    PixelImage picture = blank(width, height);
    std::mt19937 random(seed);
    for (std::uint8_t& byte : picture.bytes)
        byte = static_cast<std::uint8_t>(random() >> 24);
    return picture;
}

PixelImage coordinatePicture(std::int32_t width, std::int32_t height) {
    PixelImage picture = blank(width, height);
    for (std::uint8_t& byte : picture.bytes)
        byte = 0xEE;
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(picture, x, y,
                     Rgb{0x80, static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x)});
    return picture;
}

SourcePoint sourceOf(const PixelImage& picture, std::int32_t x, std::int32_t y) {
    const Rgb c = pixelAt(picture, x, y);
    return SourcePoint{c.blue, c.green};
}

}  // namespace lumetra::testing
