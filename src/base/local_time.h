#pragma once
// A calendar date and time as the platform reports it (the fields of a Windows SYSTEMTIME).

#include <cstdint>

namespace lumetra {

struct LocalTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // 1 .. 12
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// The local time from the C library; the Win32 layer may use GetLocalTime instead.
LocalTime currentLocalTime();

}  // namespace lumetra
