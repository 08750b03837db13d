#include "image/bmp_layout.h"

#include <bit>
#include <optional>

#include "base/little_endian.h"

namespace lumetra {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeader = 12, kInfoHeader = 40, kOs2Header = 64;

bool knownHeaderSize(std::uint32_t size) {
    return size == kCoreHeader || size == kInfoHeader || size == 52 || size == 56 ||
           size == kOs2Header || size == 108 || size == 124;
}

BmpChannel channelOf(std::uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    return BmpChannel{shift, std::countr_one(mask >> shift)};
}

bool depthFitsCompression(int bits, BmpCompression c) {
    switch (c) {
        case BmpCompression::Rgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case BmpCompression::Rle8:
            return bits == 8;
        case BmpCompression::Rle4:
            return bits == 4;
        case BmpCompression::BitFields:
            return bits == 16 || bits == 32;
    }
    return false;
}

bool fail(std::string& message, const char* text) {
    message = text;
    return false;
}

// Width, height, depth and compression from the core header or the info headers, which start at
// `at`.
bool readDimensions(std::span<const std::uint8_t> f, std::size_t at, std::uint32_t headerSize,
                    BmpLayout& out, std::string& message) {
    std::uint32_t compression = 0;
    std::int64_t height = 0;
    if (headerSize == kCoreHeader) {
        out.width = le::readU16(f, at + 4);
        height = le::readU16(f, at + 6);
        out.bitCount = le::readU16(f, at + 10);
        if (out.bitCount == 16 || out.bitCount == 32)
            return fail(message, "Unsupported BMP bit depth");
    } else {
        out.width = le::readI32(f, at + 4);
        height = le::readI32(f, at + 8);
        out.bitCount = le::readU16(f, at + 14);
        compression = le::readU32(f, at + 16);
    }
    if (out.width <= 0 || height == 0 || height == INT32_MIN) return fail(message, "Bad BMP size");
    out.topDown = height < 0;
    out.height = static_cast<std::int32_t>(height < 0 ? -height : height);
    if (out.bitCount != 1 && out.bitCount != 4 && out.bitCount != 8 && out.bitCount != 16 &&
        out.bitCount != 24 && out.bitCount != 32)
        return fail(message, "Unsupported BMP bit depth");
    // OS/2 gives compressions 3 and 4 other meanings (Huffman, RLE24), which we do not read.
    if (compression > 3 || (headerSize == kOs2Header && compression == 3))
        return fail(message, "Unsupported BMP compression");
    out.compression = static_cast<BmpCompression>(compression);
    if (!depthFitsCompression(out.bitCount, out.compression))
        return fail(message, "Unsupported BMP compression");
    // Run-length pictures are always stored bottom-up.
    if (out.topDown && out.compression != BmpCompression::Rgb &&
        out.compression != BmpCompression::BitFields)
        return fail(message, "Unsupported BMP compression");
    return true;
}

// Bit-field masks follow a 40-byte header, and sit inside the larger ones at the same place.
bool readMasks(std::span<const std::uint8_t> f, std::size_t at, BmpLayout& out,
               std::string& message) {
    if (out.compression == BmpCompression::BitFields) {
        if (f.size() < at + 52) return fail(message, "Truncated BMP file");
        for (std::size_t i = 0; i < 3; ++i)
            out.channels[i] = channelOf(le::readU32(f, at + 40 + 4 * i));
    } else if (out.bitCount == 16) {
        out.channels = {channelOf(0x7C00), channelOf(0x03E0), channelOf(0x001F)};
    } else if (out.bitCount == 32) {
        out.channels = {channelOf(0xFF0000), channelOf(0xFF00), channelOf(0xFF)};
    }
    return true;
}

std::uint64_t colourEntryBytes(std::uint32_t headerSize) {
    return headerSize == kCoreHeader ? 3 : 4;
}

// The entries of the colour table: 2^bits for palette pictures unless the header names fewer;
// pictures of more bits may carry a table of the named length (a hint for palette displays).
std::uint64_t colourTableLength(std::span<const std::uint8_t> f, std::size_t at,
                                std::uint32_t headerSize, int bitCount) {
    const std::uint64_t used = headerSize == kCoreHeader ? 0 : le::readU32(f, at + 32);
    if (bitCount > 8) return used;
    const std::uint64_t full = std::uint64_t{1} << bitCount;
    return used != 0 && used < full ? used : full;
}

// The colour table starts behind the headers and ends at the pixel data at the latest; entries
// it lacks read as black.
bool readColours(std::span<const std::uint8_t> f, std::size_t at, std::uint32_t headerSize,
                 std::uint64_t start, BmpLayout& out, std::string& message) {
    if (out.bitCount > 8) return true;
    std::uint64_t count = colourTableLength(f, at, headerSize, out.bitCount);
    const std::uint64_t entryBytes = colourEntryBytes(headerSize);
    if (out.pixelOffset >= start) count = std::min(count, (out.pixelOffset - start) / entryBytes);
    if (start + count * entryBytes > f.size()) return fail(message, "Truncated BMP file");
    out.colours.resize(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(start + i * entryBytes);
        out.colours[i] = Rgb{f[at + 2], f[at + 1], f[at]};
    }
    return true;
}

// The headers from `at` on. The pixel data starts where the file header says (`fileOffset`) or,
// in a packed block that has none, right behind the colour table.
std::optional<BmpLayout> readLayout(std::span<const std::uint8_t> f, std::size_t at,
                                    std::optional<std::uint64_t> fileOffset,
                                    std::int64_t maxPixelBytes, std::string& message) {
    if (f.size() < at + 4) {
        message = "Truncated BMP file";
        return std::nullopt;
    }
    const std::uint32_t headerSize = le::readU32(f, at);
    if (!knownHeaderSize(headerSize)) {
        message = "Unsupported BMP header";
        return std::nullopt;
    }
    if (f.size() < at + headerSize) {
        message = "Truncated BMP file";
        return std::nullopt;
    }
    BmpLayout out;
    if (!readDimensions(f, at, headerSize, out, message) || !readMasks(f, at, out, message))
        return std::nullopt;
    // In 64 bits: a row of a huge width would not fit in 32.
    if (!pictureSizeAccepted(out.width, out.height) ||
        rowStride(out.width) * std::int64_t{out.height} > maxPixelBytes) {
        message = pictureTooLargeText(out.width, out.height);
        return std::nullopt;
    }
    std::uint64_t headersEnd = at + headerSize;
    if (headerSize == kInfoHeader && out.compression == BmpCompression::BitFields) headersEnd += 12;
    out.pixelOffset =
        fileOffset.value_or(headersEnd + colourTableLength(f, at, headerSize, out.bitCount) *
                                             colourEntryBytes(headerSize));
    if (out.pixelOffset < headersEnd) {
        message = "Bad BMP pixel offset";
        return std::nullopt;
    }
    if (out.pixelOffset >= f.size()) {
        message = "Truncated BMP file";
        return std::nullopt;
    }
    if (!readColours(f, at, headerSize, headersEnd, out, message)) return std::nullopt;
    return out;
}

}  // namespace

std::optional<BmpLayout> readBmpLayout(std::span<const std::uint8_t> f, std::int64_t maxPixelBytes,
                                       std::string& message) {
    if (f.size() < kFileHeaderBytes + 4 || f[0] != 'B' || f[1] != 'M') {
        message = "Not a BMP file";
        return std::nullopt;
    }
    return readLayout(f, kFileHeaderBytes, le::readU32(f, 10), maxPixelBytes, message);
}

std::optional<BmpLayout> readDibLayout(std::span<const std::uint8_t> block,
                                       std::int64_t maxPixelBytes, std::string& message) {
    return readLayout(block, 0, std::nullopt, maxPixelBytes, message);
}

}  // namespace lumetra
