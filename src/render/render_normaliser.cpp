#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <vector>

#include "render/render_engine.h"

namespace lumetra {

double computeNormaliser(UserInterface& ui, const PixelImage& pixels, const Rect& region,
                         double ampFactor) {
    const std::int32_t left = std::max(region.left, 0);
    const std::int32_t right = std::min(region.right, pixels.width);
    const std::int32_t top = std::max(region.top, 0);
    const std::int32_t bottom = std::min(region.bottom, pixels.height);
    std::int64_t loudest = 0;  // F: largest red or green column sum
    std::int64_t busiest = 0;  // M: largest count of lit red or green pixels in a column
    if (left < right && top < bottom) {
        const std::size_t columns = static_cast<std::size_t>(right - left);
        std::vector<std::int64_t> redSum(columns), greenSum(columns);
        std::vector<std::int64_t> redCount(columns), greenCount(columns);
        // Memory rows H - bottom .. H - top - 1 hold picture rows top .. bottom - 1.
        for (std::int32_t r = pixels.height - bottom; r < pixels.height - top; ++r) {
            const std::uint8_t* row = pixels.memoryRow(r) + 3 * std::size_t(left);
            for (std::size_t j = 0; j < columns; ++j) {
                const std::uint8_t green = row[3 * j + 1];
                const std::uint8_t red = row[3 * j + 2];
                redSum[j] += red;
                greenSum[j] += green;
                redCount[j] += red != 0;
                greenCount[j] += green != 0;
            }
        }
        for (std::size_t j = 0; j < columns; ++j) {
            loudest = std::max({loudest, redSum[j], greenSum[j]});
            busiest = std::max({busiest, redCount[j], greenCount[j]});
        }
    }
    const auto f = static_cast<double>(loudest);
    const auto m = static_cast<double>(busiest);
    if (f < 0.1) {
        ui.setStatusText(0, "No image data to render!");
        return -1.0;
    }
    const float a = static_cast<float>(ampFactor);
    if (m < 9) return f * (3.0 + 0.01 * m) / (0.25 * a);
    return f / (1.0 + 0.03 * m) / (a / 13);
}

bool buildSoftSweepTable(UserInterface& ui, SoftSweepTable& table, std::int32_t samplesPerPixel) {
    const std::int32_t s = samplesPerPixel > 0 ? samplesPerPixel : 0;
    try {
        table.weights.assign(static_cast<std::size_t>(s) + 1, 0.0f);
    } catch (const std::bad_alloc&) {
        ui.showWarning("Memory error when allocating softsweep table", kWarningCaption);
        return false;
    }
    // With s = 1 only the first weight is used; its step would divide by zero.
    const std::int32_t half = s / 2;
    const float step = half > 0 ? static_cast<float>(std::numbers::pi / half) : 0.0f;
    float phi = static_cast<float>(-std::numbers::pi);
    for (std::int32_t k = 0; k < s; ++k) {
        table.weights[k] = static_cast<float>(1 + std::cos(static_cast<double>(phi)));
        phi += step;
    }
    table.weights[s] = 2.0f;
    return true;
}

}  // namespace lumetra
