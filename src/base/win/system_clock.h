#pragma once
// The system's tick counter and local time.

#include "base/clock.h"

namespace lumetra::win {

class SystemClock final : public Clock {
  public:
    std::uint32_t tickCount() override;
    LocalTime localTime() override;
};

}  // namespace lumetra::win
