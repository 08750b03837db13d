#pragma once
// The one pixel layout of the program: 24-bit pixels stored blue, green, red, rows bottom-up,
// each row padded to a multiple of 4 bytes. Files, the clipboard and GDI all see this memory as is.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

// Bytes per row of a 24-bit picture of the given width: 4 * floor((3 * width + 3) / 4).
constexpr std::int64_t rowStride(std::int64_t width) {
    return 4 * ((3 * width + 3) / 4);
}

// Pictures larger than this many pixel bytes are refused rather than attempted.
constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 31;

// The largest picture a reader takes (files, the clipboard, thumbnails): a few bytes of a
// run-length file can claim any size, and every size is checked before anything is allocated.
inline constexpr std::int64_t kMaxPictureSide = 65535;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

// Whether a reader takes a picture of this size (both sides at least 1).
constexpr bool pictureSizeAccepted(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// "Picture too large (W x H): ..." with the limits.
std::string pictureTooLargeText(std::int64_t width, std::int64_t height);

struct PixelImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::vector<std::uint8_t> bytes;  // stride * height bytes, memory row 0 is the bottom row

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint8_t* memoryRow(std::int32_t r) { return bytes.data() + std::size_t(r) * stride; }
    const std::uint8_t* memoryRow(std::int32_t r) const {
        return bytes.data() + std::size_t(r) * stride;
    }
    // Picture row y counted from the top.
    std::uint8_t* pictureRow(std::int32_t y) { return memoryRow(height - 1 - y); }
    const std::uint8_t* pictureRow(std::int32_t y) const { return memoryRow(height - 1 - y); }
};

// A picture whose size, stride and byte count agree: what the operations on pixels accept.
inline bool wellFormed(const PixelImage& image) {
    return !image.empty() && image.stride == rowStride(image.width) &&
           image.bytes.size() == std::size_t(image.stride) * std::size_t(image.height);
}

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixel access in picture coordinates (y = 0 is the top row). No bounds checks: callers keep
// inside the picture.
inline Rgb pixelAt(const PixelImage& image, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = image.pictureRow(y) + 3 * std::size_t(x);
    return Rgb{p[2], p[1], p[0]};
}
inline void setPixel(PixelImage& image, std::int32_t x, std::int32_t y, Rgb c) {
    std::uint8_t* p = image.pictureRow(y) + 3 * std::size_t(x);
    p[0] = c.blue;
    p[1] = c.green;
    p[2] = c.red;
}

// A black picture of the given size, fill bytes zero. Fails (nullopt, with the program's text in
// `message`) for sizes below 1, sizes beyond kMaxPixelBytes, or when memory cannot be had.
std::optional<PixelImage> createCanvasBitmap(std::int32_t width, std::int32_t height,
                                             std::string& message);

}  // namespace lumetra
