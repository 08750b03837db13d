#include "render/sine_table.h"

#include <cmath>
#include <new>
#include <numbers>

namespace lumetra {

void fillSineTable(SineTable& table) {
    // The angle is accumulated step by step, as the table has always been built: the rounding of
    // the sum decides some truncated entries, and the sound depends on every one of them.
    double theta = -std::numbers::pi;
    const double step = std::numbers::pi / kSineSteps;
    for (int i = 0; i < kSineSteps; ++i) {
        table.entries[i] = static_cast<std::int16_t>(std::sin(2.0 * theta) * 32767.0);
        theta += step;
    }
    table.entries[kSineSteps] = table.entries[0];
    for (int i = 0; i < kSineSteps; ++i) {
        const std::int32_t t0 = table.entries[i];
        const std::int32_t diff = table.entries[i + 1] - t0;
        table.pairs[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(t0) << 16 |
                                                   (static_cast<std::uint32_t>(diff) & 0xFFFFu));
    }
}

std::unique_ptr<SineTable> buildSineTable() {
    std::unique_ptr<SineTable> table(new (std::nothrow) SineTable);
    if (table) fillSineTable(*table);
    return table;
}

}  // namespace lumetra
