#include "image/bmp_rle.h"

namespace lumetra {
namespace {

class RleCanvas {
  public:
    RleCanvas(const BmpLayout& layout, PixelImage& image) : layout_(layout), image_(image) {}

    // Pixels outside the picture (runs longer than a row, deltas past the edge) are dropped.
    void put(std::int64_t x, std::int64_t row, std::uint32_t index) {
        if (x >= image_.width || row >= image_.height) return;
        const Rgb c = index < layout_.colours.size() ? layout_.colours[index] : Rgb{};
        std::uint8_t* p = image_.memoryRow(static_cast<std::int32_t>(row)) + 3 * x;
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }

  private:
    const BmpLayout& layout_;
    PixelImage& image_;
};

// Index i of a run: RLE8 repeats its byte, RLE4 alternates the two nibbles, high one first.
std::uint32_t runIndex(bool rle4, std::uint8_t value, std::int64_t i) {
    if (!rle4) return value;
    return (i & 1) ? (value & 15) : (value >> 4);
}

}  // namespace

bool decodeRle(std::span<const std::uint8_t> file, const BmpLayout& layout, PixelImage& image,
               std::uint64_t& dataEnd, std::string& message) {
    const bool rle4 = layout.compression == BmpCompression::Rle4;
    RleCanvas canvas(layout, image);
    std::uint64_t p = layout.pixelOffset;
    const std::uint64_t end = file.size();
    std::int64_t x = 0, row = 0;
    bool finished = false;
    while (!finished && row < layout.height) {
        if (end - p < 2) break;
        const std::uint8_t count = file[p], value = file[p + 1];
        p += 2;
        if (count > 0) {
            for (std::int64_t i = 0; i < count && x + i < layout.width; ++i)
                canvas.put(x + i, row, runIndex(rle4, value, i));
            x += count;
        } else if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            finished = true;
        } else if (value == 2) {  // delta: move right and up
            if (end - p < 2) break;
            x += file[p];
            row += file[p + 1];
            p += 2;
        } else {  // absolute run of `value` indices, padded to a whole word
            const std::uint64_t bytes = rle4 ? (value + 1u) / 2 : value;
            if (end - p < bytes) break;
            for (std::int64_t i = 0; i < value && x + i < layout.width; ++i) {
                const std::uint8_t b = file[p + (rle4 ? i / 2 : i)];
                canvas.put(x + i, row, rle4 ? runIndex(true, b, i) : b);
            }
            x += value;
            p += bytes + (bytes & 1);
            if (p > end) p = end;
        }
    }
    dataEnd = p;
    if (!finished && row < layout.height) {
        message = "Truncated BMP file";
        return false;
    }
    return true;
}

}  // namespace lumetra
