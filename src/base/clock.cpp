#include "base/clock.h"

#include <chrono>

namespace lumetra {

std::uint32_t SystemClock::tickCount() {
    using namespace std::chrono;
    // Only the low 32 bits: the tick counter wraps like the system's.
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace lumetra
