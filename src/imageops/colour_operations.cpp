#include "imageops/colour_operations.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>

#include "imageops/picture_region.h"

namespace lumetra {
namespace {

std::uint8_t clampedByte(double x) {
    if (x > 255) return 255;
    if (x < 0) return 0;
    return static_cast<std::uint8_t>(x);  // truncates toward zero
}

// The pixel bytes of each row of the region, without the padding.
template <typename RowFunction>
void forEachRegionRow(PixelImage& pixels, const Rect& region, RowFunction function) {
    const std::size_t count = 3 * std::size_t(region.width());
    for (std::int32_t y = region.top; y < region.bottom; ++y)
        function(pixels.pictureRow(y) + 3 * std::size_t(region.left), count);
}

// Every byte through the table: one load of the table per byte, whatever the arithmetic was.
void mapBytes(std::uint8_t* bytes, std::size_t count, const ByteMap& map) {
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = map[bytes[i]];
}

void invertBytes(std::uint8_t* bytes, std::size_t count) {
    const __m128i ones = _mm_set1_epi8(-1);
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        auto* at = reinterpret_cast<__m128i*>(bytes + i);
        _mm_storeu_si128(at, _mm_xor_si128(_mm_loadu_si128(at), ones));
    }
    for (; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(255 - bytes[i]);
}

std::uint8_t largestByte(const std::uint8_t* bytes, std::size_t count) {
    __m128i largest = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16)
        largest =
            _mm_max_epu8(largest, _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)));
    alignas(16) std::uint8_t lanes[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), largest);
    std::uint8_t result = *std::max_element(lanes, lanes + 16);
    for (; i < count; ++i)
        result = std::max(result, bytes[i]);
    return result;
}

// Blue is silenced where neither channel sounds; written without a branch, since which pixels
// those are is anybody's guess.
void clearExcessBlue(PixelImage& pixels) {
    const std::size_t count = 3 * std::size_t(pixels.width);
    for (std::int32_t r = 0; r < pixels.height; ++r) {
        std::uint8_t* p = pixels.memoryRow(r);
        for (std::size_t i = 0; i < count; i += 3)
            p[i] &= static_cast<std::uint8_t>(0u - unsigned((p[i + 1] | p[i + 2]) != 0));
    }
}

}  // namespace

ByteMap colourByteMap(ColourOperation operation, std::uint8_t brightest) {
    ByteMap map{};
    // An all-black region stays black; one that already reaches 255 is left alone.
    const bool normalizes = brightest != 0 && brightest != 255;
    const double factor = normalizes ? 255.0 / brightest : 1.0;
    for (int v = 0; v < 256; ++v) {
        double x = v;
        switch (operation) {
            case ColourOperation::Brighten:
                x = v * kBrightenFactor;
                break;
            case ColourOperation::Darken:
                x = v * kDarkenFactor;
                break;
            case ColourOperation::MoreContrast:
                x = (v - 128) * 1.5 + 160;
                break;
            case ColourOperation::Normalize:
                x = normalizes ? v * factor : v;
                break;
            case ColourOperation::Invert:
                x = 255 - v;
                break;
            case ColourOperation::ClearExcessBlue:
                break;
        }
        map[std::size_t(v)] = clampedByte(x);
    }
    return map;
}

std::uint8_t brightestByte(const CanvasImage& image) {
    const Rect region = clippedOperationRegion(image);
    std::uint8_t brightest = 0;
    const std::size_t count = 3 * std::size_t(region.width());
    for (std::int32_t y = region.top; y < region.bottom && brightest < 255; ++y)
        brightest =
            std::max(brightest,
                     largestByte(image.pixels.pictureRow(y) + 3 * std::size_t(region.left), count));
    return brightest;
}

void applyColourOperation(CanvasImage& image, ColourOperation operation) {
    PixelImage& pixels = image.pixels;
    if (!wellFormed(pixels)) return;
    if (operation == ColourOperation::ClearExcessBlue) return clearExcessBlue(pixels);
    const Rect region = clippedOperationRegion(image);
    if (operation == ColourOperation::Invert) return forEachRegionRow(pixels, region, invertBytes);
    std::uint8_t brightest = 255;
    if (operation == ColourOperation::Normalize) {
        brightest = brightestByte(image);
        if (brightest == 0 || brightest == 255) return;
    }
    const ByteMap map = colourByteMap(operation, brightest);
    forEachRegionRow(pixels, region, [&map](std::uint8_t* bytes, std::size_t count) {
        mapBytes(bytes, count, map);
    });
}

}  // namespace lumetra
