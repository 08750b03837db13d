#pragma once
// Reading the values of the batch tools' command lines. Every reader takes the whole text: "12x"
// or "" is no number.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

// The readers' refusal: message becomes `text`, and the answer is false.
bool refuse(std::string& message, std::string text);

// A tool's arguments: each one that starts with "-" goes to option(i), which moves i past a value
// it takes and answers false to stop (a refused option, or --help); the others are file names.
template <class Option>
bool splitArguments(std::span<const std::string> args, Option option,
                    std::vector<std::string>& files) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].size() > 1 && args[i][0] == '-') {
            if (!option(i)) return false;
        } else {
            files.push_back(args[i]);
        }
    }
    return true;
}

// True when there are exactly two file names (INPUT and OUTPUT); else the message says
// "Missing `names`" or "Too many file names".
bool twoFileNames(const std::vector<std::string>& files, std::string_view names,
                  std::string& message);

}  // namespace lumetra
