#include "image/bmp_reader.h"

#include <algorithm>
#include <new>
#include <utility>

#include "base/little_endian.h"
#include "image/bmp_layout.h"
#include "image/bmp_rle.h"

namespace lumetra {
namespace {

Rgb tableColour(const BmpLayout& layout, std::uint32_t index) {
    return index < layout.colours.size() ? layout.colours[index] : Rgb{};
}

void storePixel(std::uint8_t* out, Rgb c) {
    out[0] = c.blue;
    out[1] = c.green;
    out[2] = c.red;
}

// Converts one stored row of `width` pixels into a 24-bit row.
void convertRow(const BmpLayout& layout, const std::uint8_t* in, std::uint8_t* out) {
    const std::int32_t w = layout.width;
    switch (layout.bitCount) {
        case 1:
            for (std::int32_t x = 0; x < w; ++x)
                storePixel(out + 3 * x, tableColour(layout, (in[x >> 3] >> (7 - (x & 7))) & 1));
            break;
        case 4:
            for (std::int32_t x = 0; x < w; ++x) {
                const std::uint8_t b = in[x >> 1];
                storePixel(out + 3 * x, tableColour(layout, (x & 1) ? (b & 15) : (b >> 4)));
            }
            break;
        case 8:
            for (std::int32_t x = 0; x < w; ++x)
                storePixel(out + 3 * x, tableColour(layout, in[x]));
            break;
        case 16:
            for (std::int32_t x = 0; x < w; ++x) {
                const std::uint32_t v =
                    std::uint32_t{in[2 * x]} | (std::uint32_t{in[2 * x + 1]} << 8);
                const auto& c = layout.channels;
                storePixel(out + 3 * x, Rgb{channelValue(v, c[0]), channelValue(v, c[1]),
                                            channelValue(v, c[2])});
            }
            break;
        case 24:
            for (std::int32_t x = 0; x < 3 * w; ++x)
                out[x] = in[x];
            break;
        case 32:
            for (std::int32_t x = 0; x < w; ++x) {
                const std::uint32_t v = le::readU32(std::span(in + 4 * x, 4), 0);
                const auto& c = layout.channels;
                storePixel(out + 3 * x, Rgb{channelValue(v, c[0]), channelValue(v, c[1]),
                                            channelValue(v, c[2])});
            }
            break;
    }
}

struct RowGeometry {
    std::uint64_t rowBytes = 0;  // bytes holding the pixels of one stored row
    std::uint64_t stride = 0;    // bytes from one stored row to the next
};

RowGeometry rowGeometry(const BmpLayout& layout) {
    const std::uint64_t rowBytes = (std::uint64_t(layout.width) * layout.bitCount + 7) / 8;
    return RowGeometry{rowBytes, (rowBytes + 3) / 4 * 4};
}

// Uncompressed rows are all there when the file holds them up to the last row's pixels; the
// padding of the last row may be missing.
bool rowsPresent(std::span<const std::uint8_t> file, const BmpLayout& layout) {
    const RowGeometry g = rowGeometry(layout);
    return g.stride * (layout.height - 1) + g.rowBytes <= file.size() - layout.pixelOffset;
}

void decodeRows(std::span<const std::uint8_t> file, const BmpLayout& layout, PixelImage& image,
                std::uint64_t& dataEnd) {
    const RowGeometry g = rowGeometry(layout);
    const std::uint8_t* data = file.data() + layout.pixelOffset;
    for (std::int32_t r = 0; r < layout.height; ++r) {
        // Stored row r is memory row r of a bottom-up picture, picture row r of a top-down one.
        const std::int32_t memoryRow = layout.topDown ? layout.height - 1 - r : r;
        convertRow(layout, data + g.stride * std::uint64_t(r), image.memoryRow(memoryRow));
    }
    dataEnd = layout.pixelOffset +
              std::min<std::uint64_t>(g.stride * layout.height, file.size() - layout.pixelOffset);
}

bool runLength(const BmpLayout& layout) {
    return layout.compression == BmpCompression::Rle8 || layout.compression == BmpCompression::Rle4;
}

}  // namespace

namespace {

BmpReadResult decodeLayout(std::span<const std::uint8_t> file,
                           const std::optional<BmpLayout>& layout, std::string message) {
    BmpReadResult result;
    result.message = std::move(message);
    if (!layout) return result;
    // Checked before the picture is made, so that a short file cannot ask for much memory.
    if (!runLength(*layout) && !rowsPresent(file, *layout)) {
        result.message = "Truncated BMP file";
        return result;
    }
    PixelImage image;
    image.width = layout->width;
    image.height = layout->height;
    image.stride = static_cast<std::int32_t>(rowStride(layout->width));
    try {
        image.bytes.assign(std::size_t(image.stride) * std::size_t(image.height), 0);
    } catch (const std::bad_alloc&) {
        result.message = pictureTooLargeText(image.width, image.height);
        return result;
    }
    if (runLength(*layout)) {
        if (!decodeRle(file, *layout, image, result.pixelDataEnd, result.message)) return result;
    } else {
        decodeRows(file, *layout, image, result.pixelDataEnd);
    }
    result.pixels = std::move(image);
    return result;
}

}  // namespace

BmpReadResult decodeBmp(std::span<const std::uint8_t> file, std::int64_t maxPixelBytes) {
    std::string message;
    const std::optional<BmpLayout> layout = readBmpLayout(file, maxPixelBytes, message);
    return decodeLayout(file, layout, std::move(message));
}

BmpReadResult decodeDib(std::span<const std::uint8_t> block, std::int64_t maxPixelBytes) {
    std::string message;
    const std::optional<BmpLayout> layout = readDibLayout(block, maxPixelBytes, message);
    return decodeLayout(block, layout, std::move(message));
}

}  // namespace lumetra
