#include "imageops_reference.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/float_conversion.h"

namespace lumetra::testing {
namespace {

// A rectangle kept inside the picture.
Rect inside(const Rect& r, const PixelImage& picture) {
    const std::int32_t left = std::clamp(r.left, 0, picture.width);
    const std::int32_t top = std::clamp(r.top, 0, picture.height);
    return Rect{left, top, std::clamp(r.right, left, picture.width),
                std::clamp(r.bottom, top, picture.height)};
}

std::uint8_t& channel(PixelImage& image, std::int32_t x, std::int32_t y, int c) {
    return image.pictureRow(y)[3 * x + c];
}

std::uint8_t clampTruncate(double x) {
    if (x > 255) x = 255;
    if (x < 0) x = 0;
    return static_cast<std::uint8_t>(x);
}

// What a colour operation makes of byte v, before the clamp; `brightest` is the region's largest.
double colourValue(ColourOperation operation, int v, int brightest) {
    switch (operation) {
        case ColourOperation::Brighten:
            return v * 1.2999999523162842;
        case ColourOperation::Darken:
            return v * 0.8700000047683716;
        case ColourOperation::MoreContrast:
            return (v - 128) * 1.5 + 160;
        case ColourOperation::Normalize:
            return brightest == 0 || brightest == 255 ? v : v * (255.0 / brightest);
        default:
            return 255 - v;  // Invert
    }
}

// Picture coordinate of pixel i of a rectangle's side.
std::int64_t coordinateOf(std::int64_t origin, std::int64_t extent, std::int64_t i) {
    return extent > 0 ? origin + i : origin - i;
}

// The overlap of destination pixel j (of m) and source pixel k (of n) on a line where the side is
// n * m long.
std::uint64_t overlap(std::int64_t j, std::int64_t m, std::int64_t k, std::int64_t n) {
    const std::int64_t start = std::max(j * n, k * m);
    const std::int64_t end = std::min((j + 1) * n, (k + 1) * m);
    return end > start ? std::uint64_t(end - start) : 0;
}

// trunc(x) mod n in [0, n); beyond the int32 range x saturates, NaN counts as 0.
std::int32_t wrapped(double x, std::int32_t n) {
    const std::int64_t i = truncToInt32(x);
    return static_cast<std::int32_t>(((i % n) + n) % n);
}

void copyPixel(const PixelImage& source, std::int32_t sr, std::int32_t sc, PixelImage& destination,
               std::int32_t r, std::int32_t c) {
    const std::uint8_t* from = source.memoryRow(sr) + 3 * std::size_t(sc);
    std::uint8_t* to = destination.memoryRow(r) + 3 * std::size_t(c);
    for (int k = 0; k < 3; ++k)
        to[k] = from[k];
}

// Every pixel of the operation region from the picture as it was.
template <class PixelFrom>
void rewriteRegion(CanvasImage& image, PixelFrom pixelFrom) {
    const PixelImage before = image.pixels;
    const Rect r = inside(operationRegion(image), before);
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        for (std::int32_t x = r.left; x < r.right; ++x)
            setPixel(image.pixels, x, y, pixelFrom(before, r, x, y));
}

}  // namespace

void referenceMirror(CanvasImage& image) {
    rewriteRegion(image, [](const PixelImage& p, const Rect& r, std::int32_t x, std::int32_t y) {
        return pixelAt(p, r.left + r.right - 1 - x, y);
    });
}

void referenceFlip(CanvasImage& image) {
    rewriteRegion(image, [](const PixelImage& p, const Rect& r, std::int32_t x, std::int32_t y) {
        return pixelAt(p, x, r.top + r.bottom - 1 - y);
    });
}

void referenceDelete(CanvasImage& image) {
    rewriteRegion(image,
                  [](const PixelImage&, const Rect&, std::int32_t, std::int32_t) { return Rgb{}; });
}

void referenceColourOperation(CanvasImage& image, ColourOperation operation) {
    PixelImage& p = image.pixels;
    if (operation == ColourOperation::ClearExcessBlue) {
        for (std::int32_t y = 0; y < p.height; ++y)
            for (std::int32_t x = 0; x < p.width; ++x) {
                const Rgb c = pixelAt(p, x, y);
                if (c.green == 0 && c.red == 0) setPixel(p, x, y, Rgb{c.red, c.green, 0});
            }
        return;
    }
    const Rect r = inside(operationRegion(image), p);
    int brightest = 0;
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        for (std::int32_t x = r.left; x < r.right; ++x)
            for (int c = 0; c < 3; ++c)
                brightest = std::max<int>(brightest, channel(p, x, y, c));
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        for (std::int32_t x = r.left; x < r.right; ++x)
            for (int c = 0; c < 3; ++c)
                channel(p, x, y, c) =
                    clampTruncate(colourValue(operation, channel(p, x, y, c), brightest));
}

bool referenceStretchHalftone(PixelImage& destination, const StretchRect& to,
                              const PixelImage& source, const StretchRect& from,
                              StretchRaster raster) {
    if (!wellFormed(destination) || !wellFormed(source) || to.width == 0 || to.height == 0 ||
        from.width == 0 || from.height == 0)
        return false;
    const PixelImage in = source;  // the destination may be the source
    const std::int64_t mx = std::abs(std::int64_t{to.width});
    const std::int64_t my = std::abs(std::int64_t{to.height});
    const std::int64_t nx = std::abs(std::int64_t{from.width});
    const std::int64_t ny = std::abs(std::int64_t{from.height});
    for (std::int64_t jy = 0; jy < my; ++jy) {
        const std::int64_t dy = coordinateOf(to.y, to.height, jy);
        if (dy < 0 || dy >= destination.height) continue;
        for (std::int64_t jx = 0; jx < mx; ++jx) {
            const std::int64_t dx = coordinateOf(to.x, to.width, jx);
            if (dx < 0 || dx >= destination.width) continue;
            std::uint64_t sum[3] = {}, total = 0;
            // Source pixel k starts at k * m: only those from j * n / m on can reach pixel j.
            for (std::int64_t ky = jy * ny / my; ky <= ((jy + 1) * ny - 1) / my; ++ky) {
                const std::int64_t sy = coordinateOf(from.y, from.height, ky);
                const std::uint64_t wy = overlap(jy, my, ky, ny);
                if (wy == 0 || sy < 0 || sy >= in.height) continue;
                for (std::int64_t kx = jx * nx / mx; kx <= ((jx + 1) * nx - 1) / mx; ++kx) {
                    const std::int64_t sx = coordinateOf(from.x, from.width, kx);
                    const std::uint64_t wx = overlap(jx, mx, kx, nx);
                    if (wx == 0 || sx < 0 || sx >= in.width) continue;
                    const std::uint8_t* pixel = in.pictureRow(std::int32_t(sy)) + 3 * sx;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += wx * wy * pixel[c];
                    total += wx * wy;
                }
            }
            if (total == 0) continue;
            for (int c = 0; c < 3; ++c) {
                const auto value = static_cast<std::uint8_t>((2 * sum[c] + total) / (2 * total));
                std::uint8_t& out = channel(destination, std::int32_t(dx), std::int32_t(dy), c);
                out = raster == StretchRaster::Copy ? value : std::uint8_t(out | value);
            }
        }
    }
    return true;
}

bool referenceComposite(CanvasImage& image, const PixelImage& picture,
                        const CompositeOptions& options) {
    if (!wellFormed(picture)) return false;
    const bool mirror = options.mirrorLeftRight;
    const bool turn = options.turnUpsideDown;
    const StretchRect from{mirror ? picture.width - 1 : 0, turn ? picture.height - 1 : 0,
                           mirror ? -picture.width : picture.width,
                           turn ? -picture.height : picture.height};
    const Rect r = inside(operationRegion(image), image.pixels);
    if (options.kind == CompositeKind::OrOverlay)
        return referenceStretchHalftone(image.pixels, {r.left, r.top, r.width(), r.height()},
                                        picture, from, StretchRaster::Or);
    std::string message;
    auto stretched = createCanvasBitmap(r.width(), r.height(), message);
    if (!stretched) return false;
    referenceStretchHalftone(*stretched, {0, 0, r.width(), r.height()}, picture, from);
    // Blue, green, red: the order of the bytes.
    const int percent[3] = {std::clamp(options.percent.blue, 0, 100),
                            std::clamp(options.percent.green, 0, 100),
                            std::clamp(options.percent.red, 0, 100)};
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        for (std::int32_t x = r.left; x < r.right; ++x) {
            for (int c = 0; c < 3; ++c) {
                std::uint8_t& v = channel(image.pixels, x, y, c);
                const int f = channel(*stretched, x - r.left, y - r.top, c);
                const int p = percent[c];
                if (options.kind == CompositeKind::Filter) {
                    const int q = (f * v + 128) / 255;
                    v = static_cast<std::uint8_t>((v * (100 - p) + q * p) / 100);
                } else {
                    v = static_cast<std::uint8_t>(std::min(255, v + f * p / 100));
                }
            }
        }
    }
    return true;
}

// In the drags rows are memory rows r (0 = bottom), the anchor's ar = H - 1 - ay.

void referenceShift(const PixelImage& source, PixelImage& destination, const Rect& region,
                    const MoveShift& shift) {
    const Rect a = inside(region, source);
    for (std::int32_t r = source.height - a.bottom; r < source.height - a.top; ++r)
        for (std::int32_t c = a.left; c < a.right; ++c)
            copyPixel(source, wrapped(double(r) + shift.sy, source.height),
                      wrapped(double(c) + shift.sx, source.width), destination, r, c);
}

void referenceZoomRotate(const PixelImage& source, PixelImage& destination, const Rect& region,
                         DragPoint anchor, const ZoomRotate& zoom) {
    const Rect a = inside(region, source);
    const std::int64_t ax = anchor.x;
    const std::int64_t ar = std::int64_t{source.height} - 1 - anchor.y;
    const float cs = zoom.cs;
    const float sn = zoom.sn;
    for (std::int32_t r = source.height - a.bottom; r < source.height - a.top; ++r) {
        // The row's start values at column 0, then one step per column.
        float u = static_cast<float>(ax) + static_cast<float>(0 - ax) * cs -
                  static_cast<float>(r - ar) * sn;
        float v = static_cast<float>(ar) + static_cast<float>(0 - ax) * sn +
                  static_cast<float>(r - ar) * cs;
        for (std::int32_t c = 0; c < a.right; ++c) {
            if (c >= a.left)
                copyPixel(source, wrapped(v, source.height), wrapped(u, source.width), destination,
                          r, c);
            u += cs;
            v += sn;
        }
    }
}

void referenceSkewFlip(const PixelImage& source, PixelImage& destination, const Rect& region,
                       DragPoint anchor, const SkewFlip& skew) {
    const Rect a = inside(region, source);
    const std::int64_t ax = anchor.x;
    const std::int64_t ar = std::int64_t{source.height} - 1 - anchor.y;
    for (std::int32_t r = source.height - a.bottom; r < source.height - a.top; ++r) {
        for (std::int32_t c = a.left; c < a.right; ++c) {
            const float u = static_cast<float>(c) + static_cast<float>(r - ar) * skew.kx;
            const float v = static_cast<float>(r) + static_cast<float>(ax - c) * skew.ky;
            copyPixel(source, wrapped(v, source.height), wrapped(u, source.width), destination, r,
                      c);
        }
    }
}

PixelImage randomPicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    std::string message;
    PixelImage picture = *createCanvasBitmap(width, height, message);
    std::uint32_t state = seed;  // a small generator: the larger pictures take millions of bytes
    for (std::uint8_t& byte : picture.bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return picture;
}

}  // namespace lumetra::testing
