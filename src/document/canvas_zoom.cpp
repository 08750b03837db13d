#include "document/canvas_zoom.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace lumetra {

namespace {

// Division rounding towards minus infinity (view coordinates left of the picture are negative).
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t magnify(int step) {
    return step > 0 ? std::int64_t{1} << step : 1;
}
std::int64_t reduce(int step) {
    return step < 0 ? std::int64_t{1} << -step : 1;
}

std::int32_t toInt(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

PixelImage blankImage(std::int32_t width, std::int32_t height) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.stride = std::int32_t(rowStride(width));
    image.bytes.assign(std::size_t(image.stride) * std::size_t(height), 0);
    return image;
}

// The average of each r x r block of the picture (r = 2^shift) into the pixels `area` of `out`:
// the sum of the block's pixels inside the picture divided by their count, halves rounded up.
// This is what the area-averaging resampler computes for a whole-number reduction, bit for bit,
// without its general weights (a test holds the two together).
void averageBlocks(PixelImage& out, const Rect& area, const PixelImage& picture, int shift) {
    const std::int32_t r = std::int32_t{1} << shift;
    const std::int32_t x0 = area.left << shift;
    const std::int32_t x1 = std::min(picture.width, area.right << shift);
    const std::size_t bytes = 3 * std::size_t(x1 - x0);
    // First down (each byte of up to 16 rows: at most 4080, a plain loop the compiler widens),
    // then across the blocks of the summed row.
    std::vector<std::uint16_t> down(bytes);
    for (std::int32_t j = area.top; j < area.bottom; ++j) {
        const std::int32_t y0 = j << shift;
        const std::int32_t y1 = std::min(picture.height, y0 + r);
        std::fill(down.begin(), down.end(), std::uint16_t{0});
        std::uint16_t* sum = down.data();
        for (std::int32_t y = y0; y < y1; ++y) {
            const std::uint8_t* in = picture.pictureRow(y) + 3 * std::size_t(x0);
            for (std::size_t b = 0; b < bytes; ++b)
                sum[b] = std::uint16_t(sum[b] + in[b]);
        }
        std::uint8_t* to = out.pictureRow(j) + 3 * std::size_t(area.left);
        const std::uint32_t rows = std::uint32_t(y1 - y0);
        for (std::int32_t i = 0; i < area.width(); ++i) {
            const std::int32_t bx = (area.left + i) << shift;
            const std::int32_t columns = std::min(x1, bx + r) - bx;
            const std::uint32_t total = rows * std::uint32_t(columns);
            const std::uint16_t* block = sum + 3 * std::size_t(bx - x0);
            std::uint32_t blue = 0, green = 0, red = 0;
            for (std::int32_t k = 0; k < columns; ++k, block += 3) {
                blue += block[0];
                green += block[1];
                red += block[2];
            }
            to[3 * i] = std::uint8_t((blue + total / 2) / total);
            to[3 * i + 1] = std::uint8_t((green + total / 2) / total);
            to[3 * i + 2] = std::uint8_t((red + total / 2) / total);
        }
    }
}

}  // namespace

int clampZoomStep(int step) {
    return std::clamp(step, kMinZoomStep, kMaxZoomStep);
}

std::string zoomName(int step) {
    step = clampZoomStep(step);
    if (step == 0) return "1:1";
    if (step > 0) return std::to_string(magnify(step)) + "x";
    return "1/" + std::to_string(reduce(step));
}

std::int32_t viewExtent(std::int32_t pictureExtent, int step) {
    return viewOfEdgeCeil(pictureExtent, step);
}

std::int32_t viewOfEdge(std::int32_t edge, int step) {
    return toInt(floorDiv(edge * magnify(step), reduce(step)));
}

std::int32_t viewOfEdgeCeil(std::int32_t edge, int step) {
    const std::int64_t r = reduce(step);
    return toInt(floorDiv(edge * magnify(step) + r - 1, r));
}

std::int32_t pixelUnder(std::int32_t view, int step) {
    const std::int64_t r = reduce(step);
    return toInt(floorDiv(view * r + r / 2, magnify(step)));
}

std::int32_t edgeNear(std::int32_t view, int step) {
    const std::int64_t m = magnify(step);
    return toInt(floorDiv(view * reduce(step) * 2 + m, 2 * m));
}

double viewOfPosition(double picture, int step) {
    return std::ldexp(picture, step);
}

ViewPoint windowOfEdge(const ViewTransform& t, ViewPoint picture) {
    return {kCanvasMargin - t.scrollX + viewOfEdge(picture.x, t.step),
            kCanvasMargin - t.scrollY + viewOfEdge(picture.y, t.step)};
}

ViewPoint pictureUnder(const ViewTransform& t, ViewPoint window) {
    return {pixelUnder(window.x - kCanvasMargin + t.scrollX, t.step),
            pixelUnder(window.y - kCanvasMargin + t.scrollY, t.step)};
}

ViewPoint edgeNearWindow(const ViewTransform& t, ViewPoint window) {
    return {edgeNear(window.x - kCanvasMargin + t.scrollX, t.step),
            edgeNear(window.y - kCanvasMargin + t.scrollY, t.step)};
}

Rect windowRectOf(const ViewTransform& t, const Rect& picture) {
    const std::int32_t dx = kCanvasMargin - t.scrollX;
    const std::int32_t dy = kCanvasMargin - t.scrollY;
    return Rect{dx + viewOfEdge(picture.left, t.step), dy + viewOfEdge(picture.top, t.step),
                dx + viewOfEdgeCeil(picture.right, t.step),
                dy + viewOfEdgeCeil(picture.bottom, t.step)};
}

Rect pictureRectUnder(const ViewTransform& t, const Rect& window) {
    const std::int64_t m = magnify(t.step);
    const std::int64_t r = reduce(t.step);
    const std::int64_t dx = kCanvasMargin - t.scrollX;
    const std::int64_t dy = kCanvasMargin - t.scrollY;
    auto low = [&](std::int64_t v) { return toInt(floorDiv(v * r, m)); };
    auto high = [&](std::int64_t v) { return toInt(floorDiv(v * r + m - 1, m)); };
    return Rect{low(window.left - dx), low(window.top - dy), high(window.right - dx),
                high(window.bottom - dy)};
}

std::int32_t anchoredScroll(std::int32_t window, std::int32_t scroll, int from, int to) {
    // The picture point under the pointer, view * r / m, seen at the new zoom.
    const std::int64_t view = std::int64_t(window) - kCanvasMargin + scroll;
    const std::int64_t num = view * reduce(from) * magnify(to);
    const std::int64_t den = magnify(from) * reduce(to);
    const std::int64_t newView = floorDiv(2 * num + den, 2 * den);
    return toInt(newView - (std::int64_t(window) - kCanvasMargin));
}

int fitZoomStep(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
                std::int32_t pictureHeight) {
    // The scroll bars appear when the picture and 10 pixels do not fit (computeScrollLayout).
    for (int step = kMaxZoomStep; step > kMinZoomStep; --step) {
        if (viewExtent(pictureWidth, step) + 10 <= clientWidth &&
            viewExtent(pictureHeight, step) + 10 <= clientHeight)
            return step;
    }
    return kMinZoomStep;
}

void updateReducedView(ReducedView& view, const PixelImage& picture, int step,
                       const Rect& changed) {
    if (step >= 0 || !wellFormed(picture)) {
        view = ReducedView{};
        return;
    }
    const std::int32_t width = viewExtent(picture.width, step);
    const std::int32_t height = viewExtent(picture.height, step);
    Rect area = changed;
    if (view.step != step || view.pixels.width != width || view.pixels.height != height) {
        view.step = step;
        view.pixels = blankImage(width, height);
        area = Rect{0, 0, picture.width, picture.height};
    }
    // The reduced pixels that show the changed area.
    const std::int32_t left = std::max(0, viewOfEdge(area.left, step));
    const std::int32_t top = std::max(0, viewOfEdge(area.top, step));
    const std::int32_t right = std::min(width, viewOfEdgeCeil(area.right, step));
    const std::int32_t bottom = std::min(height, viewOfEdgeCeil(area.bottom, step));
    if (right <= left || bottom <= top) return;
    averageBlocks(view.pixels, Rect{left, top, right, bottom}, picture, -step);
}

PixelImage viewPixels(const PixelImage& picture, const ReducedView& reduced, int step,
                      const Rect& view) {
    PixelImage out = blankImage(std::max(view.width(), 1), std::max(view.height(), 1));
    const PixelImage& source = step < 0 ? reduced.pixels : picture;
    if (view.empty() || source.empty()) return out;
    const int shift = step > 0 ? step : 0;
    for (std::int32_t y = 0; y < out.height; ++y) {
        const std::int32_t sy = (view.top + y) >> shift;
        if (sy < 0 || sy >= source.height) continue;
        const std::uint8_t* from = source.pictureRow(sy);
        std::uint8_t* to = out.pictureRow(y);
        if (shift == 0) {
            const std::int32_t x0 = std::max(view.left, 0);
            const std::int32_t x1 = std::min(view.right, source.width);
            if (x1 > x0)
                std::memcpy(to + 3 * std::size_t(x0 - view.left), from + 3 * std::size_t(x0),
                            3 * std::size_t(x1 - x0));
            continue;
        }
        for (std::int32_t x = 0; x < out.width; ++x) {
            const std::int32_t sx = (view.left + x) >> shift;
            if (sx < 0 || sx >= source.width) continue;
            std::memcpy(to + 3 * std::size_t(x), from + 3 * std::size_t(sx), 3);
        }
    }
    return out;
}

}  // namespace lumetra
