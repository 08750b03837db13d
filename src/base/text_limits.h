#pragma once
// Bounded texts: the program's message buffers and path fields hold a fixed number of characters,
// and a cut must never split a UTF-8 sequence.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumetra {

// Number of characters as the Windows wide API counts them (UTF-16 code units) in UTF-8 text.
std::size_t wideLength(std::string_view utf8);

// The longest leading part of `utf8` that has at most `maxCharacters` characters (counted as by
// wideLength) and ends on a whole UTF-8 sequence.
std::string truncateText(std::string_view utf8, std::size_t maxCharacters);

}  // namespace lumetra
