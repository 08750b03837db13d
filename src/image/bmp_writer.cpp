#include "image/bmp_writer.h"

#include <algorithm>
#include <span>

#include "base/little_endian.h"

namespace lumetra {
namespace {

std::uint32_t pixelBytes(const PixelImage& pixels) {
    return static_cast<std::uint32_t>(rowStride(pixels.width) * pixels.height);
}

}  // namespace

std::array<std::uint8_t, kBmpHeaderBytes> encodeBmpHeader(const PixelImage& pixels) {
    std::array<std::uint8_t, kBmpHeaderBytes> header{};
    std::span<std::uint8_t> h(header);
    const std::uint32_t size = pixelBytes(pixels);
    h[0] = 'B';
    h[1] = 'M';
    le::writeU32(h, 2, size + kBmpHeaderBytes);
    le::writeU32(h, 10, kBmpHeaderBytes);
    le::writeU32(h, 14, 40);
    le::writeI32(h, 18, pixels.width);
    le::writeI32(h, 22, pixels.height);
    le::writeU16(h, 26, 1);
    le::writeU16(h, 28, 24);
    le::writeU32(h, 34, size);
    return header;
}

}  // namespace lumetra
