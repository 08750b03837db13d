#include "image/stretch_halftone.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <vector>

namespace lumetra {
namespace {

// The weights of one direction. Along it the n source pixels and the m destination pixels of the
// two rectangles are laid over one line of n * m units (after dividing out their common factor):
// destination pixel j covers [j a, (j + 1) a), source pixel k covers [k b, (k + 1) b), and the
// weight of k in j is the length of their overlap. Whole numbers only, so that the averages are
// exact and do not depend on the order in which they are added.
struct Axis {
    std::vector<std::int32_t> target;     // the drawn destination coordinates, in order
    std::vector<std::size_t> firstTap;    // taps of target[i]: firstTap[i] .. firstTap[i + 1]
    std::vector<std::int32_t> tapSource;  // source coordinate of each tap
    std::vector<std::uint64_t> tapWeight;
    std::vector<std::uint64_t> total;  // sum of the weights of target[i]
    std::uint64_t unit = 0;            // the length of one destination pixel (a)
};

struct IndexRange {
    std::int64_t first = 0, end = 0;
};

// The pixels i (0 <= i < |extent|) of a rectangle's side whose coordinate lies inside 0 .. size.
IndexRange insideRange(std::int64_t origin, std::int64_t extent, std::int64_t size) {
    if (extent > 0) return {std::max<std::int64_t>(0, -origin), std::min(extent, size - origin)};
    return {std::max<std::int64_t>(0, origin - size + 1), std::min(-extent, origin + 1)};
}

std::int32_t coordinate(std::int64_t origin, std::int64_t extent, std::int64_t i) {
    return static_cast<std::int32_t>(extent > 0 ? origin + i : origin - i);
}

Axis buildAxis(std::int32_t toOrigin, std::int32_t toExtent, std::int32_t toSize,
               std::int32_t fromOrigin, std::int32_t fromExtent, std::int32_t fromSize) {
    const std::uint64_t n = static_cast<std::uint64_t>(std::abs(std::int64_t{fromExtent}));
    const std::uint64_t m = static_cast<std::uint64_t>(std::abs(std::int64_t{toExtent}));
    const std::uint64_t common = std::gcd(n, m);
    const std::uint64_t a = n / common, b = m / common;
    Axis axis;
    axis.unit = a;
    axis.firstTap.push_back(0);
    const IndexRange drawn = insideRange(toOrigin, toExtent, toSize);
    const IndexRange read = insideRange(fromOrigin, fromExtent, fromSize);
    for (std::int64_t j = drawn.first; j < drawn.end; ++j) {
        const std::uint64_t start = std::uint64_t(j) * a, end = start + a;
        const std::int64_t firstK = std::max<std::int64_t>(read.first, std::int64_t(start / b));
        const std::int64_t lastK =
            std::min<std::int64_t>(read.end - 1, std::int64_t((end - 1) / b));
        if (firstK > lastK) continue;  // only source pixels outside the source picture lie under it
        const std::size_t first = axis.tapWeight.size();
        std::uint64_t sum = 0, common = 0;
        for (std::int64_t k = firstK; k <= lastK; ++k) {
            const std::uint64_t weight =
                std::min(end, std::uint64_t(k + 1) * b) - std::max(start, std::uint64_t(k) * b);
            axis.tapSource.push_back(coordinate(fromOrigin, fromExtent, k));
            axis.tapWeight.push_back(weight);
            sum += weight;
            common = std::gcd(common, weight);
        }
        // Only the ratios count: a pixel over one source pixel, as at 1:1 or when enlarging, gets
        // weight 1 and total 1 and needs no division.
        for (std::size_t t = first; t < axis.tapWeight.size(); ++t)
            axis.tapWeight[t] /= common;
        axis.target.push_back(coordinate(toOrigin, toExtent, j));
        axis.firstTap.push_back(axis.tapSource.size());
        axis.total.push_back(sum / common);
    }
    return axis;
}

bool isPowerOfTwo(std::uint64_t x) {
    return (x & (x - 1)) == 0;
}

int log2Of(std::uint64_t powerOfTwo) {
    int shift = 0;
    while ((std::uint64_t{1} << shift) < powerOfTwo)
        ++shift;
    return shift;
}

// round(value / total), halves up, exactly: a floating-point estimate put right by whole numbers.
std::uint64_t divideRounded(std::uint64_t value, std::uint64_t total, double inverse) {
    const std::uint64_t numerator = value + total / 2;
    std::uint64_t q = static_cast<std::uint64_t>(static_cast<double>(numerator) * inverse);
    while (q > 0 && q * total > numerator)
        --q;
    while ((q + 1) * total <= numerator)
        ++q;
    return q;
}

class Stretcher {
  public:
    Stretcher(const PixelImage& source, const Axis& xs) : source_(source), xs_(xs) {
        for (Cached& row : rows_)
            row.sums.resize(3 * xs.target.size());
        inverseX_.resize(xs.total.size());
        for (std::size_t i = 0; i < xs.total.size(); ++i)
            inverseX_[i] = 1.0 / static_cast<double>(xs.total[i]);
        sums_.resize(3 * xs.target.size());
    }

    void drawRow(const Axis& ys, std::size_t row, std::uint8_t* out, StretchRaster raster) {
        const std::uint64_t* sums = sumsDown(ys, row);
        const std::uint64_t totalY = ys.total[row];
        const double inverseY = 1.0 / static_cast<double>(totalY);
        for (std::size_t i = 0; i < xs_.target.size(); ++i) {
            const std::uint64_t total = xs_.total[i] * totalY;
            std::uint64_t value[3] = {sums[3 * i], sums[3 * i + 1], sums[3 * i + 2]};
            if (total > 1 && isPowerOfTwo(total)) {
                const int shift = log2Of(total);
                for (std::uint64_t& v : value)
                    v = (v + total / 2) >> shift;
            } else if (total > 1) {
                const double inverse = inverseX_[i] * inverseY;
                for (std::uint64_t& v : value)
                    v = divideRounded(v, total, inverse);
            }
            std::uint8_t* pixel = out + 3 * std::size_t(xs_.target[i]);
            for (int c = 0; c < 3; ++c) {
                const auto byte = static_cast<std::uint8_t>(value[c]);
                pixel[c] = raster == StretchRaster::Copy ? byte : std::uint8_t(pixel[c] | byte);
            }
        }
    }

  private:
    struct Cached {
        std::int32_t y = -1;
        std::vector<std::uint64_t> sums;
    };

    // The weighted sums of the source rows under destination row `row`, across.
    const std::uint64_t* sumsDown(const Axis& ys, std::size_t row) {
        const std::size_t first = ys.firstTap[row], end = ys.firstTap[row + 1];
        if (end == first + 1) return sourceRow(ys.tapSource[first]).data();  // its weight is 1
        std::fill(sums_.begin(), sums_.end(), std::uint64_t{0});
        for (std::size_t t = first; t < end; ++t) {
            const std::vector<std::uint64_t>& across = sourceRow(ys.tapSource[t]);
            const std::uint64_t weight = ys.tapWeight[t];
            for (std::size_t i = 0; i < sums_.size(); ++i)
                sums_[i] += weight * across[i];
        }
        return sums_.data();
    }

    // The weighted sums across one source row. Neighbouring destination rows share source rows,
    // so the last two are kept.
    const std::vector<std::uint64_t>& sourceRow(std::int32_t y) {
        for (Cached& row : rows_)
            if (row.y == y) return row.sums;
        Cached& row = rows_[older_];
        older_ = 1 - older_;
        row.y = y;
        const std::uint8_t* in = source_.pictureRow(y);
        for (std::size_t i = 0; i < xs_.target.size(); ++i) {
            std::uint64_t sum[3] = {};
            for (std::size_t t = xs_.firstTap[i]; t < xs_.firstTap[i + 1]; ++t) {
                const std::uint8_t* pixel = in + 3 * std::size_t(xs_.tapSource[t]);
                for (int c = 0; c < 3; ++c)
                    sum[c] += xs_.tapWeight[t] * pixel[c];
            }
            std::copy(sum, sum + 3, row.sums.begin() + std::ptrdiff_t(3 * i));
        }
        return row.sums;
    }

    const PixelImage& source_;
    const Axis& xs_;
    Cached rows_[2];
    int older_ = 0;
    std::vector<double> inverseX_;
    std::vector<std::uint64_t> sums_;
};

}  // namespace

bool stretchHalftone(PixelImage& destination, const StretchRect& to, const PixelImage& source,
                     const StretchRect& from, StretchRaster raster) {
    if (!wellFormed(destination) || !wellFormed(source) || to.width == 0 || to.height == 0 ||
        from.width == 0 || from.height == 0)
        return false;
    if (&destination == &source) {
        const PixelImage copy = source;
        return stretchHalftone(destination, to, copy, from, raster);
    }
    const Axis xs = buildAxis(to.x, to.width, destination.width, from.x, from.width, source.width);
    const Axis ys =
        buildAxis(to.y, to.height, destination.height, from.y, from.height, source.height);
    // Every sum of weight times byte must fit.
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint64_t>::max() / 512;
    if (xs.unit > kLargest / ys.unit) return false;
    Stretcher stretcher(source, xs);
    for (std::size_t row = 0; row < ys.target.size(); ++row)
        stretcher.drawRow(ys, row, destination.pictureRow(ys.target[row]), raster);
    return true;
}

}  // namespace lumetra
