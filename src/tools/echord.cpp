#include "tools/echord.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "base/float_conversion.h"
#include "tools/echord_series.h"

namespace lumetra {
namespace {

// A source pixel that makes copies: black pixels make none and draw no random numbers.
struct LitPixel {
    std::int32_t x, y;  // picture coordinates, y = 0 at the top
    std::uint8_t blue, green, red;
};

// The lit pixels of the region. The copies visit them column by column from the left, each column
// from the bottom of the region upwards; only that order pairs the scatter draws with the right
// pixels. Without scatter each copy lands every pixel on a different target and the order cannot
// matter, so the pixels are taken row by row, which walks the target memory in order. Collected
// once: every copy visits the same pixels, and most of a typical picture is black.
struct LitList {
    std::unique_ptr<LitPixel[]> pixels;  // room for the whole region, left uninitialised
    std::size_t count = 0;
    std::span<const LitPixel> view() const { return {pixels.get(), count}; }
};

LitList litPixels(const PixelImage& source, const Rect& area, bool columnOrder) {
    const std::size_t room = std::size_t(area.width()) * std::size_t(area.height());
    LitList list{std::unique_ptr<LitPixel[]>(new LitPixel[room + 1]), 0};
    LitPixel* lit = list.pixels.get();
    // Where each column's pixels go: in row order the next free place, in column order the
    // column's own run, found by counting first. The source is read row by row either way. Every
    // pixel is written and only the lit ones kept (a branch on random picture content would
    // mispredict half the time); in column order a black pixel goes to the spare last place, since
    // its column's next place may already be the start of the following column's run.
    std::vector<std::size_t> next(std::size_t(area.width()), 0);
    if (columnOrder) {
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            const std::uint8_t* p = source.pictureRow(y) + 3 * std::size_t(area.left);
            for (std::size_t i = 0; i < next.size(); ++i, p += 3)
                next[i] += (p[0] | p[1] | p[2]) != 0;
        }
        std::size_t start = 0;
        for (std::size_t& n : next)
            start += std::exchange(n, start);
    }
    std::size_t count = 0;
    for (std::int32_t y = area.bottom - 1; y >= area.top; --y) {
        const std::uint8_t* p = source.pictureRow(y) + 3 * std::size_t(area.left);
        for (std::int32_t x = area.left; x < area.right; ++x, p += 3) {
            const bool on = (p[0] | p[1] | p[2]) != 0;
            std::size_t& at = columnOrder ? next[std::size_t(x - area.left)] : count;
            lit[columnOrder && !on ? room : at] = LitPixel{x, y, p[0], p[1], p[2]};
            at += on;
            count += columnOrder && on;
        }
    }
    list.count = count;
    return list;
}

// The channel sums of one copy for every source value s and target value t: t unchanged when
// s - f * s is below 1, else trunc(min(255, t + s - f * s)), all in single precision.
using SumTable = std::array<std::array<std::uint8_t, 256>, 256>;

void fillSums(SumTable& sums, float f) {
    for (int s = 0; s < 256; ++s) {
        const float v = float(s) - f * float(s);
        for (int t = 0; t < 256; ++t)
            sums[s][t] = v < 1.0f ? std::uint8_t(t) : std::uint8_t(std::min(255.0f, float(t) + v));
    }
}

// Where the copies write: pixel (x, y) of the picture is at origin + x * xStep + y * yStep.
struct TargetLayout {
    std::uint8_t* origin;
    std::int64_t xStep, yStep;
    std::int64_t width, height;
    std::uint8_t* at(std::int64_t x, std::int64_t y) const {
        return origin + x * xStep + y * yStep;
    }
};

TargetLayout pictureLayout(PixelImage& picture) {
    return TargetLayout{picture.memoryRow(picture.height - 1), 3, -std::int64_t(picture.stride),
                        picture.width, picture.height};
}

// Scattered copies walk the picture column by column. They work on a transposed copy of it, in
// which a column is consecutive memory, and the result is transposed back at the end.
class ColumnCopy {
  public:
    explicit ColumnCopy(PixelImage& picture) : picture_(picture) {
        columns_.resize(std::size_t(picture.width) * picture.height * 3);
        exchange(true);
    }
    ~ColumnCopy() { exchange(false); }
    TargetLayout layout() {
        return TargetLayout{columns_.data(), 3 * std::int64_t(picture_.height), 3, picture_.width,
                            picture_.height};
    }

  private:
    // In tiles, so that both sides stay in the cache while a tile is exchanged.
    void exchange(bool intoColumns) {
        constexpr std::int32_t kTile = 32;
        const std::int32_t w = picture_.width, h = picture_.height;
        for (std::int32_t y0 = 0; y0 < h; y0 += kTile)
            for (std::int32_t x0 = 0; x0 < w; x0 += kTile)
                for (std::int32_t y = y0; y < std::min(h, y0 + kTile); ++y) {
                    std::uint8_t* row = picture_.pictureRow(y);
                    for (std::int32_t x = x0; x < std::min(w, x0 + kTile); ++x) {
                        std::uint8_t* cell = columns_.data() + (std::size_t(x) * h + y) * 3;
                        if (intoColumns)
                            std::copy_n(row + 3 * x, 3, cell);
                        else
                            std::copy_n(cell, 3, row + 3 * x);
                    }
                }
    }
    PixelImage& picture_;
    std::vector<std::uint8_t> columns_;
};

// The scatter of one draw (-2048..2047) at the copy's jitter: draw x jitter / 200000, truncated,
// looked up rather than divided twice per pixel.
using ScatterTable = std::array<std::int64_t, 4096>;

void fillScatter(ScatterTable& scatter, std::int64_t jitter) {
    for (std::int64_t s = -2048; s < 2048; ++s)
        scatter[std::size_t(s + 2048)] = s * jitter / 200000;
}

void addCopy(std::span<const LitPixel> lit, const TargetLayout& target, const EchordCopy& copy,
             bool wrap, const SumTable& sums, const ScatterTable& scatter, RandomSeed& seed) {
    for (const LitPixel& p : lit) {
        std::uint8_t red = p.red, green = p.green;
        if (copy.swap) std::swap(red, green);
        std::int64_t tx = p.x + std::int64_t(copy.offsetX);
        std::int64_t ty = p.y - std::int64_t(copy.offsetUp);
        if (copy.scatter != 0) {
            const auto [s1, s2] = echordDrawPair(seed);
            tx += scatter[std::size_t(s1 + 2048)];
            ty -= scatter[std::size_t(s2 + 2048)];
        }
        if (tx < 0 || tx >= target.width) {
            if (!wrap) continue;
            tx = ((tx % target.width) + target.width) % target.width;
        }
        if (ty < 0 || ty >= target.height) continue;
        std::uint8_t* t = target.at(tx, ty);
        t[0] = sums[p.blue][t[0]];
        t[1] = sums[green][t[1]];
        t[2] = sums[red][t[2]];
    }
}

void addSeries(std::span<const LitPixel> lit, const TargetLayout& target,
               const EchordSettings& settings, RandomSeed& seed) {
    auto sums = std::make_unique<SumTable>();
    auto scatter = std::make_unique<ScatterTable>();
    EchordSeries series(settings);
    // The dialog's slider stops at 100 copies and patches are loaded only with 1 to 100; a value
    // from elsewhere is held to that too, so that the loop ends whatever it is given.
    const std::int32_t copies = std::min(settings.num, kMostEchordCopies);
    for (std::int32_t k = 1; k <= copies; ++k) {
        // Once the fade fraction reaches 1 no later copy adds anything.
        if (series.spent()) break;
        const EchordCopy copy = series.next(k, seed);
        fillSums(*sums, copy.fade);
        if (copy.scatter != 0) fillScatter(*scatter, copy.scatter);
        addCopy(lit, target, copy, settings.wrap != 0, *sums, *scatter, seed);
        if (!series.advance(k)) break;
    }
}

}  // namespace

void addEchordCopies(const PixelImage& source, CanvasImage& destination,
                     const EchordSettings& settings, RandomSeed& seed) {
    PixelImage& target = destination.pixels;
    if (source.width != target.width || source.height != target.height || target.empty()) return;
    if (settings.num <= 0 || (settings.hop == 0 && settings.hop1 == 0)) return;
    const bool scattered = settings.jitter != 0;
    const LitList lit = litPixels(source, operationRegion(destination), scattered);
    if (scattered) {
        ColumnCopy columns(target);
        addSeries(lit.view(), columns.layout(), settings, seed);
    } else {
        addSeries(lit.view(), pictureLayout(target), settings, seed);
    }
}

}  // namespace lumetra
