#pragma once
// A Clock for tests: the tick count and the local time are what the test sets; the tick count
// may advance by a step at every query.

#include "base/clock.h"

namespace lumetra::testing {

class SettableClock final : public Clock {
  public:
    std::uint32_t tickCount() override {
        const std::uint32_t now = tick;
        tick += tickStep;
        return now;
    }
    LocalTime localTime() override { return time; }

    std::uint32_t tick = 1000;
    std::uint32_t tickStep = 0;
    LocalTime time{2024, 5, 3, 17, 12, 30, 45, 500};
};

}  // namespace lumetra::testing
