#pragma once
// Hand-made BMP files for the reader's tests and the fuzzers' seed corpus: every header field
// can be set, so that both good files and files that lie about themselves can be built.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/canvas_image.h"
#include "image/pixel_image.h"

namespace lumetra::testing {

struct BmpFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;  // as stored: negative for a top-down picture
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colourCount = 0;            // biClrUsed
    std::vector<Rgb> colours{};               // written as BGR0, or BGR behind a core header
    std::vector<std::uint32_t> masks{};       // behind a 40-byte header, inside larger ones
    std::vector<std::uint8_t> pixels{};       // the stored pixel data as is
    std::optional<std::uint32_t> offset{};    // default: right behind the colour table
    std::optional<std::uint32_t> fileSize{};  // default: the real length
};

std::vector<std::uint8_t> makeBmp(const BmpFields& fields);

// Packs rows of colour indices (or 16/24/32-bit values), bottom row first, each padded to 4 bytes.
std::vector<std::uint8_t> packRows(const std::vector<std::vector<std::uint32_t>>& rows, int bits);

// A palette whose entries are all different: entry i = (i, 255 - i, 3i mod 256).
std::vector<Rgb> palette(std::size_t n);

// A picture whose pixels differ by position (and by `seed`).
CanvasImage patternPicture(std::int32_t width, std::int32_t height, std::uint8_t seed = 0);

std::vector<std::vector<Rgb>> pictureRows(const PixelImage& image);

}  // namespace lumetra::testing
