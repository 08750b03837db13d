#include "browser/thumbnail.h"

#include <cstddef>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "image/bmp_layout.h"
#include "image/bmp_reader.h"
#include "image/stretch_halftone.h"

namespace lumetra {
namespace {

// One direction of the area average. The n source and m destination pixels lie over one line of
// n * m / g units (g their greatest common divisor): destination pixel j covers [j a, (j + 1) a),
// source pixel k covers [k b, (k + 1) b), and k weighs in j with the length of their overlap.
// Every destination pixel's weights add up to a. The stretch reduces each pixel's weights by
// their common divisor; the rounded average of the same fraction is the same number.
struct Tap {
    std::int32_t to = 0;  // the destination pixel
    std::uint32_t weight = 0;
};

struct AreaAxis {
    std::uint64_t total = 0;                 // a
    std::vector<std::vector<Tap>> bySource;  // the destination pixels each source pixel lies under
};

AreaAxis areaAxis(std::int32_t n, std::int32_t m) {
    const std::uint64_t g = std::gcd(std::uint64_t(n), std::uint64_t(m));
    const std::uint64_t a = std::uint64_t(n) / g, b = std::uint64_t(m) / g;
    AreaAxis axis;
    axis.total = a;
    axis.bySource.resize(std::size_t(n));
    for (std::int32_t j = 0; j < m; ++j) {
        const std::uint64_t start = std::uint64_t(j) * a, end = start + a;
        for (std::uint64_t k = start / b; k <= (end - 1) / b; ++k) {
            const std::uint64_t weight = std::min(end, (k + 1) * b) - std::max(start, k * b);
            axis.bySource[std::size_t(k)].push_back(Tap{j, std::uint32_t(weight)});
        }
    }
    return axis;
}

// Rows of 24-bit pixels as they lie in memory, row r at data + r * stride.
struct RowSource {
    const std::uint8_t* data = nullptr;
    std::int64_t stride = 0;
    std::int32_t width = 0, height = 0;
    bool topDown = false;
};

// The sums of one row across into the destination columns: each column's share of the row.
class ColumnSums {
  public:
    explicit ColumnSums(std::int32_t width) : axis_(areaAxis(width, kThumbnailWidth)) {
        const std::uint64_t b = std::uint64_t(kThumbnailWidth) /
                                std::gcd(std::uint64_t(width), std::uint64_t(kThumbnailWidth));
        // Shrinking by a whole factor: every source pixel lies under one column with weight 1,
        // the columns take runs of `total` pixels each.
        wholeFactor_ = b == 1;
        sums_.resize(3 * kThumbnailWidth);
    }

    const std::vector<std::uint32_t>& of(const std::uint8_t* row) {
        if (wholeFactor_) {
            const std::size_t run = std::size_t(axis_.total);
            for (std::size_t i = 0; i < std::size_t(kThumbnailWidth); ++i) {
                std::uint32_t blue = 0, green = 0, red = 0;
                const std::uint8_t* p = row + 3 * run * i;
                for (std::size_t k = 0; k < run; ++k, p += 3) {
                    blue += p[0];
                    green += p[1];
                    red += p[2];
                }
                sums_[3 * i] = blue;
                sums_[3 * i + 1] = green;
                sums_[3 * i + 2] = red;
            }
            return sums_;
        }
        std::fill(sums_.begin(), sums_.end(), 0u);
        for (std::size_t k = 0; k < axis_.bySource.size(); ++k) {
            const std::uint8_t* p = row + 3 * k;
            for (const Tap& tap : axis_.bySource[k]) {
                std::uint32_t* s = &sums_[3 * std::size_t(tap.to)];
                s[0] += tap.weight * p[0];
                s[1] += tap.weight * p[1];
                s[2] += tap.weight * p[2];
            }
        }
        return sums_;
    }

    std::uint64_t total() const { return axis_.total; }

  private:
    AreaAxis axis_;
    bool wholeFactor_ = false;
    std::vector<std::uint32_t> sums_;
};

// Whether every sum of the one pass fits: a column's share of a row in 32 bits, a pixel's in 64.
bool sumsFit(std::int32_t width, std::int32_t height) {
    const auto reduced = [](std::int32_t n, std::int32_t m) {
        return std::uint64_t(n) / std::gcd(std::uint64_t(n), std::uint64_t(m));
    };
    const std::uint64_t ax = reduced(width, kThumbnailWidth);
    const std::uint64_t ay = reduced(height, kThumbnailHeight);
    return ax <= std::numeric_limits<std::uint32_t>::max() / 255 &&
           ay <= std::numeric_limits<std::uint64_t>::max() / 255 / ax;
}

std::optional<PixelImage> thumbnailOfRows(const RowSource& rows) {
    ColumnSums columns(rows.width);
    const AreaAxis down = areaAxis(rows.height, kThumbnailHeight);
    std::vector<std::uint64_t> sums(3 * std::size_t(kThumbnailWidth) * kThumbnailHeight, 0);
    for (std::int32_t r = 0; r < rows.height; ++r) {
        const std::int32_t y = rows.topDown ? r : rows.height - 1 - r;
        const std::vector<std::uint32_t>& across = columns.of(rows.data + r * rows.stride);
        for (const Tap& tap : down.bySource[std::size_t(y)]) {
            std::uint64_t* s = &sums[3 * std::size_t(kThumbnailWidth) * std::size_t(tap.to)];
            for (std::size_t i = 0; i < across.size(); ++i)
                s[i] += std::uint64_t(tap.weight) * across[i];
        }
    }
    std::string message;
    std::optional<PixelImage> thumbnail =
        createCanvasBitmap(kThumbnailWidth, kThumbnailHeight, message);
    if (!thumbnail) return std::nullopt;
    const std::uint64_t total = columns.total() * down.total;
    for (std::int32_t y = 0; y < kThumbnailHeight; ++y) {
        const std::uint64_t* s = &sums[3 * std::size_t(kThumbnailWidth) * std::size_t(y)];
        std::uint8_t* out = thumbnail->pictureRow(y);
        for (std::size_t i = 0; i < 3 * std::size_t(kThumbnailWidth); ++i)
            out[i] = std::uint8_t((s[i] + total / 2) / total);  // rounded, halves up
    }
    return thumbnail;
}

// Pictures whose sums would not fit go through the general stretch.
std::optional<PixelImage> stretchedThumbnail(const PixelImage& picture) {
    std::string message;
    std::optional<PixelImage> thumbnail =
        createCanvasBitmap(kThumbnailWidth, kThumbnailHeight, message);
    if (!thumbnail ||
        !stretchHalftone(*thumbnail, StretchRect{0, 0, kThumbnailWidth, kThumbnailHeight}, picture,
                         StretchRect{0, 0, picture.width, picture.height}))
        return std::nullopt;
    return thumbnail;
}

}  // namespace

std::optional<PixelImage> makeThumbnail(const PixelImage& picture) {
    if (!wellFormed(picture)) return std::nullopt;
    if (!sumsFit(picture.width, picture.height)) return stretchedThumbnail(picture);
    return thumbnailOfRows(
        RowSource{picture.bytes.data(), picture.stride, picture.width, picture.height, false});
}

std::optional<PixelImage> thumbnailFromBmp(std::span<const std::uint8_t> file) {
    std::string message;
    const std::optional<BmpLayout> layout = readBmpLayout(file, kMaxPixelBytes, message);
    if (!layout) return std::nullopt;
    const bool plainRows = layout->bitCount == 24 && layout->compression == BmpCompression::Rgb;
    if (plainRows && sumsFit(layout->width, layout->height)) {
        // The rows are read where they lie in the file, when the file holds all of them (the
        // last row's padding may be missing), as the reader would take them.
        const std::uint64_t rowBytes = 3 * std::uint64_t(layout->width);
        const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
        if (stride * std::uint64_t(layout->height - 1) + rowBytes >
            file.size() - layout->pixelOffset)
            return std::nullopt;
        return thumbnailOfRows(RowSource{file.data() + layout->pixelOffset, std::int64_t(stride),
                                         layout->width, layout->height, layout->topDown});
    }
    const BmpReadResult decoded = decodeBmp(file);
    if (!decoded.pixels) return std::nullopt;
    return makeThumbnail(*decoded.pixels);
}

PixelImage flippedThumbnail(const PixelImage& thumbnail, bool mirror, bool upsideDown) {
    PixelImage flipped = thumbnail;
    for (std::int32_t y = 0; y < thumbnail.height; ++y) {
        const std::uint8_t* in = thumbnail.pictureRow(upsideDown ? thumbnail.height - 1 - y : y);
        std::uint8_t* out = flipped.pictureRow(y);
        for (std::int32_t x = 0; x < thumbnail.width; ++x) {
            const std::int32_t from = mirror ? thumbnail.width - 1 - x : x;
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] = in[3 * from + c];
        }
    }
    return flipped;
}

}  // namespace lumetra
