#include "tools/echord.h"

#include <algorithm>
#include <array>
#include <cstdlib>
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
    // In column order: where the pixels of each column of the region start (and, last, count).
    std::vector<std::size_t> columnStarts;
    std::span<const LitPixel> view() const { return {pixels.get(), count}; }
};

LitList litPixels(const PixelImage& source, const Rect& area, bool columnOrder) {
    const std::size_t room = std::size_t(area.width()) * std::size_t(area.height());
    LitList list{std::unique_ptr<LitPixel[]>(new LitPixel[room + 1]), 0, {}};
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
        list.columnStarts = next;
        list.columnStarts.push_back(start);
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

// The target is shared among threads in this many bands of columns: each band fills the tables of
// every copy again, so a few more than two only where the processors are many.
constexpr int kEchordBands = 2;

// The scatter of one draw (-2048..2047) at the copy's jitter: draw x jitter / 200000, truncated,
// looked up rather than divided twice per pixel.
using ScatterTable = std::array<std::int64_t, 4096>;

void fillScatter(ScatterTable& scatter, std::int64_t jitter) {
    for (std::int64_t s = -2048; s < 2048; ++s)
        scatter[std::size_t(s + 2048)] = s * jitter / 200000;
}

// Target columns [first, end): the part of the picture one thread writes.
struct ColumnBand {
    std::int64_t first, end;
};

void addCopy(std::span<const LitPixel> lit, const TargetLayout& target, const EchordCopy& copy,
             bool wrap, const SumTable& sums, const ScatterTable& scatter, RandomSeed& seed,
             ColumnBand band) {
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
        if (tx < band.first || tx >= band.end || ty < 0 || ty >= target.height) continue;
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
        addCopy(lit, target, copy, settings.wrap != 0, *sums, *scatter, seed,
                ColumnBand{0, target.width});
        if (!series.advance(k)) break;
    }
}

// The generator n steps on: its step x -> a x + c applied n times, composed by squaring.
RandomSeed jumped(RandomSeed seed, std::uint64_t n) {
    std::uint32_t a = 1664525u, c = 1013904223u;  // 2^i steps
    std::uint32_t ma = 1u, mc = 0u;               // the steps so far
    for (; n != 0; n >>= 1) {
        if (n & 1) {
            ma *= a;
            mc = mc * a + c;
        }
        c = c * a + c;
        a *= a;
    }
    seed.value = ma * seed.value + mc;
    return seed;
}

// A copy with the generator as it stands when the copy's pixel loop starts.
struct PlannedCopy {
    EchordCopy copy;
    RandomSeed seed;
};

// The series as addSeries makes it, the pixel loops' draws (two per lit pixel of a scattered
// copy) skipped over; `seed` ends where addSeries leaves it.
std::vector<PlannedCopy> planSeries(const EchordSettings& settings, std::size_t lit,
                                    RandomSeed& seed) {
    std::vector<PlannedCopy> plan;
    EchordSeries series(settings);
    for (std::int32_t k = 1; k <= settings.num; ++k) {
        if (series.spent()) break;
        const EchordCopy copy = series.next(k, seed);
        plan.push_back({copy, seed});
        if (copy.scatter != 0) seed = jumped(seed, 2 * std::uint64_t{lit});
        if (!series.advance(k)) break;
    }
    return plan;
}

struct ColumnRun {
    std::int64_t first, end;
};

// The region's columns [left, right) whose copies can land in the band when shifted by `offset`
// and scattered up to `reach` either way, wrapping round a picture `width` wide or not: at most
// two runs, in ascending order (so that each target pixel still gets its copies in list order).
int sourceRuns(ColumnBand band, std::int64_t offset, std::int64_t reach, bool wrap,
               std::int64_t width, ColumnRun region, ColumnRun (&runs)[2]) {
    const std::int64_t first = band.first - offset - reach;
    const std::int64_t end = band.end - offset + reach;
    ColumnRun found[2] = {{first, end}, {0, 0}};
    int count = 1;
    if (wrap) {
        if (end - first >= width) {
            found[0] = {0, width};
        } else {
            const std::int64_t start = ((first % width) + width) % width;
            const std::int64_t stop = start + (end - first);
            if (stop <= width) {
                found[0] = {start, stop};
            } else {
                found[0] = {0, stop - width};
                found[1] = {start, width};
                count = 2;
            }
        }
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const ColumnRun run{std::max(found[i].first, region.first),
                            std::min(found[i].end, region.end)};
        if (run.first < run.end) runs[kept++] = run;
    }
    return kept;
}

// Every copy of the plan into the band's target columns, from the lit pixels (in column order)
// that can reach it, each run with the generator as the whole loop would have it there.
void addScatteredBand(const LitList& lit, ColumnRun region, const TargetLayout& target,
                      const std::vector<PlannedCopy>& plan, bool wrap, ColumnBand band) {
    auto sums = std::make_unique<SumTable>();
    auto scatter = std::make_unique<ScatterTable>();
    const std::span<const LitPixel> pixels = lit.view();
    for (const PlannedCopy& planned : plan) {
        const EchordCopy& copy = planned.copy;
        fillSums(*sums, copy.fade);
        std::int64_t reach = 0;
        if (copy.scatter != 0) {
            fillScatter(*scatter, copy.scatter);
            reach = std::max(std::abs(scatter->front()), std::abs(scatter->back()));
        }
        ColumnRun runs[2];
        const int count = sourceRuns(band, copy.offsetX, reach, wrap, target.width, region, runs);
        for (int i = 0; i < count; ++i) {
            const std::size_t from = lit.columnStarts[std::size_t(runs[i].first - region.first)];
            const std::size_t to = lit.columnStarts[std::size_t(runs[i].end - region.first)];
            RandomSeed seed =
                copy.scatter != 0 ? jumped(planned.seed, 2 * std::uint64_t{from}) : planned.seed;
            addCopy(pixels.subspan(from, to - from), target, copy, wrap, *sums, *scatter, seed,
                    band);
        }
    }
}

}  // namespace

void addEchordCopies(const PixelImage& source, CanvasImage& destination,
                     const EchordSettings& settings, RandomSeed& seed, RenderWorkers* workers) {
    PixelImage& target = destination.pixels;
    if (source.width != target.width || source.height != target.height || target.empty()) return;
    if (settings.num <= 0 || (settings.hop == 0 && settings.hop1 == 0)) return;
    const bool scattered = settings.jitter != 0;
    const Rect area = operationRegion(destination);
    const LitList lit = litPixels(source, area, scattered);
    if (!scattered) {
        addSeries(lit.view(), pictureLayout(target), settings, seed);
        return;
    }
    ColumnCopy columns(target);
    if (!workers) {
        addSeries(lit.view(), columns.layout(), settings, seed);
        return;
    }
    // Each thread writes its own band of target columns with every copy in turn, so the copies
    // land on each pixel in the same order as on one thread.
    const std::vector<PlannedCopy> plan = planSeries(settings, lit.count, seed);
    const TargetLayout layout = columns.layout();
    const ColumnRun region{area.left, area.right};
    workers->runParts(kEchordBands, [&](int part) {
        const ColumnBand band{layout.width * part / kEchordBands,
                              layout.width * (part + 1) / kEchordBands};
        addScatteredBand(lit, region, layout, plan, settings.wrap != 0, band);
    });
}

}  // namespace lumetra
