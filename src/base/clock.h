#pragma once
// Time as the core sees it: the system's millisecond tick counter and the local calendar time.

#include <cstdint>

#include "base/local_time.h"

namespace lumetra {

class Clock {
  public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start; wraps around after 2^32 (about 49 days).
    virtual std::uint32_t tickCount() = 0;
    virtual LocalTime localTime() = 0;
};

}  // namespace lumetra
