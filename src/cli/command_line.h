#pragma once
// Reading the values of the batch tools' command lines. Every reader takes the whole text: "12x"
// or "" is no number.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "image/rect.h"

namespace lumetra {

template <typename Number>
bool readNumber(std::string_view text, Number& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if constexpr (std::is_floating_point_v<Number>) {
        if (error == std::errc() && !std::isfinite(value)) return false;
    }
    return error == std::errc() && end == text.data() + text.size();
}

// A 32-bit word in decimal or, after "0x", in hexadecimal.
bool readWord(std::string_view text, std::uint32_t& value);

// Whole numbers separated by commas, exactly as many as `values` holds.
bool readNumberList(std::string_view text, std::span<std::int32_t> values);

// "L,T,R,B".
bool readRect(std::string_view text, Rect& rect);

}  // namespace lumetra
