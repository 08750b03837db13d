#include "thumbnail_reference.h"

#include <algorithm>
#include <string>

#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "image/stretch_halftone.h"

namespace lumetra::testing {

std::optional<PixelImage> referenceThumbnail(std::span<const std::uint8_t> bmpFile) {
    const BmpReadResult decoded = decodeBmp(bmpFile);
    if (!decoded.pixels) return std::nullopt;
    const PixelImage& picture = *decoded.pixels;
    std::string message;
    std::optional<PixelImage> thumbnail = createCanvasBitmap(64, 50, message);
    if (!thumbnail || !stretchHalftone(*thumbnail, StretchRect{0, 0, 64, 50}, picture,
                                       StretchRect{0, 0, picture.width, picture.height}))
        return std::nullopt;
    return thumbnail;
}

PixelImage noisePicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    std::string message;
    PixelImage picture = *createCanvasBitmap(width, height, message);
    std::uint32_t state = seed;
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = picture.memoryRow(y);
        for (std::int32_t i = 0; i < 3 * width; ++i) {
            state = state * 1664525u + 1013904223u;
            row[i] = std::uint8_t(state >> 24);
        }
    }
    return picture;
}

std::vector<std::uint8_t> bmpFileOf(const PixelImage& picture) {
    const auto header = encodeBmpHeader(picture);
    std::vector<std::uint8_t> file(header.size() + picture.bytes.size());
    std::copy(header.begin(), header.end(), file.begin());
    std::copy(picture.bytes.begin(), picture.bytes.end(),
              file.begin() + std::ptrdiff_t(header.size()));
    return file;
}

}  // namespace lumetra::testing
