#include "image/bmp_writer.h"

#include <algorithm>
#include <cstring>
#include <new>
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

std::vector<std::uint8_t> encodeDib(const PixelImage& pixels, const Rect& region) {
    if (!wellFormed(pixels)) return {};
    const std::int32_t left = std::clamp(region.left, 0, pixels.width);
    const std::int32_t top = std::clamp(region.top, 0, pixels.height);
    const std::int32_t width = std::clamp(region.right, left, pixels.width) - left;
    const std::int32_t height = std::clamp(region.bottom, top, pixels.height) - top;
    if (width == 0 || height == 0) return {};
    const std::size_t stride = std::size_t(rowStride(width));
    const std::size_t headerBytes = kBmpHeaderBytes - 14;
    std::vector<std::uint8_t> block;
    try {
        block.assign(headerBytes + stride * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::span<std::uint8_t> h(block);
    le::writeU32(h, 0, std::uint32_t(headerBytes));
    le::writeI32(h, 4, width);
    le::writeI32(h, 8, height);
    le::writeU16(h, 12, 1);
    le::writeU16(h, 14, 24);
    le::writeU32(h, 20, std::uint32_t(stride * std::size_t(height)));
    // Stored bottom row first, as the picture itself keeps them.
    for (std::int32_t r = 0; r < height; ++r)
        std::memcpy(block.data() + headerBytes + stride * std::size_t(r),
                    pixels.pictureRow(top + height - 1 - r) + 3 * std::size_t(left),
                    3 * std::size_t(width));
    return block;
}

}  // namespace lumetra
