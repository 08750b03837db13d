#pragma once
// The headers of a BMP file, read and checked against the file's length: the first half of the
// BMP decoder (bmp_reader.h). Every offset and size here lies inside the file.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/pixel_image.h"

namespace lumetra {

enum class BmpCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// One channel of a bit-field pixel: its lowest bit and its number of bits.
struct BmpChannel {
    int shift = 0;
    int length = 0;
};

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; see topDown
    bool topDown = false;
    int bitCount = 0;
    BmpCompression compression = BmpCompression::Rgb;
    std::uint64_t pixelOffset = 0;         // where the pixel data starts; inside the file
    std::vector<Rgb> colours;              // the colour table (depths up to 8 bits)
    std::array<BmpChannel, 3> channels{};  // red, green, blue of 16- and 32-bit pixels
};

// Reads the file and info headers, the masks and the colour table. Fails with the program's
// message for files that are not BMP files, headers and depths we do not read, sizes that make
// no sense, and pictures above `maxPixelBytes` in the 24-bit store.
std::optional<BmpLayout> readBmpLayout(std::span<const std::uint8_t> file,
                                       std::int64_t maxPixelBytes, std::string& message);
// The same for a packed block (the clipboard's form): the info header first, no file header,
// and the pixels right behind the masks and colour table.
std::optional<BmpLayout> readDibLayout(std::span<const std::uint8_t> block,
                                       std::int64_t maxPixelBytes, std::string& message);

// The 8-bit value of a bit-field channel: its bits moved to the top of the byte and repeated
// below, so that a full field gives 255.
inline std::uint8_t channelValue(std::uint32_t pixel, BmpChannel c) {
    if (c.length == 0) return 0;
    static constexpr std::array<std::uint8_t, 9> kTopBits{0x00, 0x80, 0xC0, 0xE0, 0xF0,
                                                          0xF8, 0xFC, 0xFE, 0xFF};
    const int shift = c.shift - (8 - c.length);
    std::uint32_t field = shift < 0 ? pixel << -shift : pixel >> shift;
    if (c.length >= 8) return static_cast<std::uint8_t>(field);
    field &= kTopBits[c.length];
    field |= field >> c.length;
    return static_cast<std::uint8_t>(field);
}

}  // namespace lumetra
