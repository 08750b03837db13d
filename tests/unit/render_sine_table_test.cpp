// The oscillator table and its interpolation; the prepared divisions.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "render/divider.h"
#include "render/sine_table.h"

namespace lumetra {
namespace {

TEST(SineTable, OnePeriodTruncatedAndPackedInPairs) {
    const auto table = buildSineTable();
    ASSERT_TRUE(table);
    const auto& t = table->entries;
    EXPECT_TRUE(t[0] == 0 && t[8192] == 0);
    // Every entry is sin(2 theta) * 32767 truncated, with theta from -pi in steps of pi / 8192;
    // only values within a hair of a whole number may depend on how theta was summed.
    int checked = 0;
    for (int i = 0; i < 8192; ++i) {
        EXPECT_EQ(table->pairs[i] >> 16, t[i]);
        EXPECT_EQ(static_cast<std::int16_t>(table->pairs[i] & 0xFFFF), t[i + 1] - t[i]);
        const double exact =
            std::sin(2.0 * (-std::numbers::pi + i * std::numbers::pi / 8192)) * 32767.0;
        if (std::abs(exact - std::round(exact)) < 1e-6) continue;
        EXPECT_EQ(t[i], static_cast<int>(exact)) << i;
        ++checked;
    }
    EXPECT_GT(checked, 8180);
}

TEST(SineTable, InterpolationTruncatesTowardZero) {
    const auto table = buildSineTable();
    const auto& t = table->entries;
    EXPECT_EQ(sineAt(*table, 100 * 32768), t[100]);
    // Falling part of the wave: (t[i+1] - t[i]) * f is negative and rounds up.
    const int i = 3000;
    ASSERT_LT(t[i + 1] - t[i], 0);
    EXPECT_EQ(sineAt(*table, i * 32768 + 16384), t[i] + ((t[i + 1] - t[i]) * 16384) / 32768);
    EXPECT_EQ(sineAt(*table, i * 32768 + 1), t[i]);  // -25 / 32768 truncates to 0
    EXPECT_EQ(sineAt(*table, 8191 * 32768 + 32767),
              t[8191] + ((t[8192] - t[8191]) * 32767) / 32768);
    // Bits above the 28-bit phase do not count.
    EXPECT_EQ(sineAt(*table, 0xF0000000u + 5000u * 32768), t[5000]);
}

TEST(Divider, MatchesTruncatingDivision) {
    std::mt19937_64 random(5);
    std::vector<std::int64_t> divisors{
        1, 2, 3, 5, 7, 10, 366, 2203, 32767, 65536, 1000003, (1 << 30) + 1, 0x7FFFFFFF};
    for (int i = 0; i < 200; ++i)
        divisors.push_back(1 + static_cast<std::int64_t>(random() % 0x7FFFFFFF));
    std::vector<std::int64_t> numerators{
        0, 1, -1, 0x7FFFFFFF, -0x7FFFFFFF, -0x80000000LL, 0x80000000LL, 1LL << 40, -(1LL << 40)};
    for (int i = 0; i < 2000; ++i)
        numerators.push_back(static_cast<std::int32_t>(random()));
    for (std::int64_t d : divisors) {
        const Divider divider = makeDivider(d);
        for (std::int64_t n : numerators)
            ASSERT_EQ(divide(n, divider), n / d) << n << " / " << d;
        // Around every multiple of the divisor, where a rounding error would show first.
        for (std::int64_t m = 1; m * d < 0x7FFFFFFF && m < 3000; m = m * 3 + 1)
            for (std::int64_t n = m * d - 2; n <= m * d + 2; ++n) {
                ASSERT_EQ(divide(n, divider), n / d);
                ASSERT_EQ(divide(-n, divider), -n / d);
            }
    }
}

}  // namespace
}  // namespace lumetra
