#include "tools/boiler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "tools/boiler_pixel.h"

namespace lumetra {
namespace {

using boiler::Factors;
using boiler::Weights;

// The part of the rectangle inside the picture, in picture coordinates.
struct Span {
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// A rectangle may hang over any edge, and a dab larger than the picture over two opposite ones.
Span clipToPicture(const Rect& area, const PixelImage& pixels) {
    Span s;
    s.x0 = std::max(area.left, 0);
    s.y0 = std::max(area.top, 0);
    s.x1 = static_cast<std::int32_t>(std::min<std::int64_t>(area.right, pixels.width));
    s.y1 = static_cast<std::int32_t>(std::min<std::int64_t>(area.bottom, pixels.height));
    return s;
}

// The clipped rectangle with a one-pixel border; border pixels beyond the picture repeat its
// edge.
void takeSnapshot(BoilerScratch& scratch, const PixelImage& pixels, const Span& s) {
    const std::size_t inner = 3 * std::size_t(s.x1 - s.x0);
    const std::int32_t leftColumn = std::max(s.x0 - 1, 0);
    const std::int32_t rightColumn = std::min(s.x1, pixels.width - 1);
    std::uint8_t* to = scratch.bytes.data();
    for (std::int32_t y = s.y0 - 1; y <= s.y1; ++y, to += scratch.stride()) {
        const std::uint8_t* from = pixels.pictureRow(std::clamp(y, 0, pixels.height - 1));
        std::memcpy(to, from + 3 * std::size_t(leftColumn), 3);
        std::memcpy(to + 3, from + 3 * std::size_t(s.x0), inner);
        std::memcpy(to + 3 + inner, from + 3 * std::size_t(rightColumn), 3);
    }
}

struct Run {
    const Brush& brush;
    const BoilerScratch& scratch;
    PixelImage& pixels;
    Rect area;
    Span span;
    Factors factors;
};

// Dab mode: the weights and the mask of the brush pixel that covers each picture pixel.
template <bool Masked>
void boilDab(const Run& run) {
    const PixelImage& bitmap = run.brush.bitmap;
    const std::int32_t w = run.area.width();
    for (std::int32_t y = run.span.y0; y < run.span.y1; ++y) {
        const std::uint8_t* mid =
            run.scratch.bytes.data() + (y - run.span.y0 + 1) * run.scratch.stride() + 3;
        const std::uint8_t* up = mid - run.scratch.stride();
        const std::uint8_t* down = mid + run.scratch.stride();
        const std::int32_t j = run.area.bottom - 1 - y;  // brush row, counted from the bottom
        const std::uint8_t* brushPixel =
            bitmap.memoryRow(j) + 3 * std::size_t(run.span.x0 - run.area.left);
        // A Rect brush has no mask at all: no pointer into it either.
        const std::uint8_t* mask =
            Masked ? run.brush.mask.data() + std::size_t(j) * w + (run.span.x0 - run.area.left)
                   : nullptr;
        std::uint8_t* out = run.pixels.pictureRow(y) + 3 * std::size_t(run.span.x0);
        for (std::int32_t x = run.span.x0; x < run.span.x1; ++x) {
            const Weights weights{float(brushPixel[0]) * boiler::kByteScale,
                                  float(brushPixel[1]) * boiler::kByteScale,
                                  float(brushPixel[2]) * boiler::kByteScale};
            const float m = Masked ? float(*mask) * boiler::kByteScale : 0.0f;
            boiler::boilPixel<false, Masked>(run.factors, up, mid, down, weights, m, out);
            up += 3, mid += 3, down += 3, out += 3, brushPixel += 3;
            if (Masked) ++mask;
        }
    }
}

// Selection mode: the weights of the colours faded across the rectangle, t from 0 at its left
// (Right) or top (Down).
Weights fadeWeights(const BrushSettings& s, float t) {
    const float from = (1.0f - t) / 255.0f;
    const float to = t / 255.0f;
    return {float(blueOf(s.colour1)) * from + float(blueOf(s.colour2)) * to,
            float(greenOf(s.colour1)) * from + float(greenOf(s.colour2)) * to,
            float(redOf(s.colour1)) * from + float(redOf(s.colour2)) * to};
}

Weights meanWeights(const BrushSettings& s) {
    return {float(blueOf(s.colour1) + blueOf(s.colour2)) * 0.001953125f,
            float(greenOf(s.colour1) + greenOf(s.colour2)) * 0.001953125f,
            float(redOf(s.colour1) + redOf(s.colour2)) * 0.001953125f};
}

template <bool Masked>
void boilSelection(const Run& run) {
    const BrushSettings& s = run.brush.settings;
    const float w = float(run.area.width());
    const float h = float(run.area.height());
    const float hw = w * 0.5f;
    const float hh = h * 0.5f;
    for (std::int32_t y = run.span.y0; y < run.span.y1; ++y) {
        const std::uint8_t* mid =
            run.scratch.bytes.data() + (y - run.span.y0 + 1) * run.scratch.stride() + 3;
        const std::uint8_t* up = mid - run.scratch.stride();
        const std::uint8_t* down = mid + run.scratch.stride();
        const float row = float(y - run.area.top);
        const float ry = (row - hh) / hh;
        const float ysq = ry * ry;
        Weights weights = meanWeights(s);
        if (s.fade == ColorFade::Down) weights = fadeWeights(s, row / h);
        std::uint8_t* out = run.pixels.pictureRow(y) + 3 * std::size_t(run.span.x0);
        for (std::int32_t x = run.span.x0; x < run.span.x1; ++x) {
            const float column = float(x - run.area.left);
            if (s.fade == ColorFade::Right) weights = fadeWeights(s, column / w);
            float m = 0.0f;
            if (Masked) {
                const float rx = (column - hw) / hw;
                m = 1.0f - std::min(std::sqrt(rx * rx + ysq), 1.0f);
            }
            boiler::boilPixel<true, Masked>(run.factors, up, mid, down, weights, m, out);
            up += 3, mid += 3, down += 3, out += 3;
        }
    }
}

}  // namespace

bool ensureBoilerScratch(BoilerScratch& scratch, std::int32_t w, std::int32_t h,
                         std::string& message) {
    if (scratch.width == w && scratch.height == h && !scratch.bytes.empty()) return true;
    const std::int64_t bytes = 3 * (std::int64_t{w} + 2) * (std::int64_t{h} + 2);
    if (w < 1 || h < 1 || bytes > scratch.byteLimit) {
        message = kBoilerBitmapFailure;
        return false;
    }
    try {
        std::vector<std::uint8_t> fresh(static_cast<std::size_t>(bytes), 0);
        scratch.bytes = std::move(fresh);
    } catch (const std::bad_alloc&) {
        message = kBoilerBitmapFailure;
        return false;
    }
    scratch.width = w;
    scratch.height = h;
    return true;
}

bool runBoiler(CanvasImage& image, const Brush& brush, BoilerScratch& scratch, const Rect& area,
               BoilerMode mode, std::string& message) {
    if (area.empty()) return true;
    const bool dab = mode == BoilerMode::Dab;
    if (dab && (brush.bitmap.width != area.width() || brush.bitmap.height != area.height()))
        return true;  // not a dab of this brush
    if (!ensureBoilerScratch(scratch, area.width(), area.height(), message)) return false;
    const Span span = clipToPicture(area, image.pixels);
    if (span.empty()) return true;
    takeSnapshot(scratch, image.pixels, span);
    const Run run{brush, scratch, image.pixels, area, span, boiler::factorsOf(brush.settings)};
    const bool masked = shapeHasMask(brush.settings.shape);
    if (dab) {
        masked ? boilDab<true>(run) : boilDab<false>(run);
    } else {
        masked ? boilSelection<true>(run) : boilSelection<false>(run);
    }
    return true;
}

}  // namespace lumetra
