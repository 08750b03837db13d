#include "base/win/system_clock.h"

#include <windows.h>

namespace lumetra::win {

std::uint32_t SystemClock::tickCount() {
    return GetTickCount();
}

LocalTime SystemClock::localTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                     t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

}  // namespace lumetra::win
