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

// The clock of the C++ library: steady-clock milliseconds and the C library's local time. The
// Win32 program has its own (GetTickCount, GetLocalTime).
class SystemClock final : public Clock {
  public:
    std::uint32_t tickCount() override;
    LocalTime localTime() override { return currentLocalTime(); }
};

}  // namespace lumetra
