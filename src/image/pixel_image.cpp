#include "image/pixel_image.h"

#include <new>

namespace lumetra {

std::string pictureTooLargeText(std::int64_t width, std::int64_t height) {
    return "Picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
           "): at most " + std::to_string(kMaxPictureSide) + " pixels wide and high and " +
           std::to_string(kMaxPicturePixels) + " pixels in all";
}

std::optional<PixelImage> createCanvasBitmap(std::int32_t width, std::int32_t height,
                                             std::string& message) {
    if (width < 1 || height < 1 || rowStride(width) * height > kMaxPixelBytes) {
        message = "Could not create new image";
        return std::nullopt;
    }
    PixelImage image;
    image.width = width;
    image.height = height;
    image.stride = static_cast<std::int32_t>(rowStride(width));
    try {
        image.bytes.assign(std::size_t(image.stride) * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        message = "Could not create new image";
        return std::nullopt;
    }
    return image;
}

}  // namespace lumetra
