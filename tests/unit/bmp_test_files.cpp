#include "bmp_test_files.h"

#include <span>

#include "base/little_endian.h"

namespace lumetra::testing {

std::vector<std::uint8_t> makeBmp(const BmpFields& fields) {
    const bool core = fields.headerSize == 12;
    std::vector<std::uint8_t> header(14 + fields.headerSize, 0);
    std::span<std::uint8_t> h(header);
    h[0] = 'B', h[1] = 'M';
    le::writeU32(h, 14, fields.headerSize);
    if (core) {
        le::writeU16(h, 18, static_cast<std::uint16_t>(fields.width));
        le::writeU16(h, 20, static_cast<std::uint16_t>(fields.height));
        le::writeU16(h, 22, 1);
        le::writeU16(h, 24, fields.bitCount);
    } else {
        le::writeI32(h, 18, fields.width);
        le::writeI32(h, 22, fields.height);
        le::writeU16(h, 26, 1);
        le::writeU16(h, 28, fields.bitCount);
        le::writeU32(h, 30, fields.compression);
        le::writeU32(h, 34, static_cast<std::uint32_t>(fields.pixels.size()));
        le::writeU32(h, 46, fields.colourCount);
    }
    std::vector<std::uint8_t> file = header;
    for (std::size_t i = 0; i < fields.masks.size(); ++i) {
        const std::size_t at = 54 + 4 * i;
        if (at + 4 > file.size()) file.resize(at + 4, 0);
        le::writeU32(std::span(file), at, fields.masks[i]);
    }
    for (const Rgb& c : fields.colours)
        file.insert(file.end(), {c.blue, c.green, c.red, 0}), file.resize(file.size() - core);
    const std::uint32_t offset = fields.offset.value_or(static_cast<std::uint32_t>(file.size()));
    file.resize(offset, 0);
    le::writeU32(std::span(file), 10, offset);
    file.insert(file.end(), fields.pixels.begin(), fields.pixels.end());
    le::writeU32(std::span(file), 2,
                 fields.fileSize.value_or(static_cast<std::uint32_t>(file.size())));
    return file;
}

std::vector<std::uint8_t> packRows(const std::vector<std::vector<std::uint32_t>>& rows, int bits) {
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        std::vector<std::uint8_t> bytes((row.size() * bits + 7) / 8, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            const std::size_t bit = x * bits;
            if (bits < 8) bytes[bit / 8] |= std::uint8_t(row[x] << (8 - bits - bit % 8));
            for (int k = 0; k < bits / 8; ++k)
                bytes[bit / 8 + k] = std::uint8_t(row[x] >> (8 * k));
        }
        bytes.resize((bytes.size() + 3) / 4 * 4, 0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::vector<Rgb> palette(std::size_t n) {
    std::vector<Rgb> colours(n);
    for (std::size_t i = 0; i < n; ++i)
        colours[i] = Rgb{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(3 * i)};
    return colours;
}

CanvasImage patternPicture(std::int32_t width, std::int32_t height, std::uint8_t seed) {
    CanvasImage image;
    std::string message;
    adoptPixels(image, *createCanvasBitmap(width, height, message));
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(image.pixels, x, y,
                     Rgb{std::uint8_t(seed + 31 * x + y), std::uint8_t(seed ^ (7 * y)),
                         std::uint8_t(seed + (x ^ y))});
    return image;
}

std::vector<std::vector<Rgb>> pictureRows(const PixelImage& image) {
    std::vector<std::vector<Rgb>> rows(image.height, std::vector<Rgb>(image.width));
    for (std::int32_t y = 0; y < image.height; ++y)
        for (std::int32_t x = 0; x < image.width; ++x)
            rows[y][x] = pixelAt(image, x, y);
    return rows;
}

}  // namespace lumetra::testing
