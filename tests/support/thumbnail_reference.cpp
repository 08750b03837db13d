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

std::vector<std::uint8_t> bmpFileOf(const PixelImage& picture) {
    const auto header = encodeBmpHeader(picture);
    std::vector<std::uint8_t> file(header.size() + picture.bytes.size());
    std::copy(header.begin(), header.end(), file.begin());
    std::copy(picture.bytes.begin(), picture.bytes.end(),
              file.begin() + std::ptrdiff_t(header.size()));
    return file;
}

}  // namespace lumetra::testing
