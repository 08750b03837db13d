#include "base/text_limits.h"

namespace lumetra {
namespace {

// UTF-16 code units taken by the sequence that starts with `lead`: characters beyond the basic
// plane need a surrogate pair; continuation bytes count nothing.
std::size_t wideUnits(unsigned char lead) {
    if ((lead & 0xC0) == 0x80) return 0;
    if (lead >= 0xF0) return 2;
    return 1;
}

}  // namespace

std::size_t wideLength(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        n += wideUnits(static_cast<unsigned char>(c));
    return n;
}

std::string truncateText(std::string_view utf8, std::size_t maxCharacters) {
    std::size_t used = 0;
    std::size_t end = 0;
    while (end < utf8.size()) {
        const std::size_t units = wideUnits(static_cast<unsigned char>(utf8[end]));
        if (used + units > maxCharacters) break;
        used += units;
        std::size_t next = end + 1;
        while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80)
            ++next;
        end = next;
    }
    return std::string(utf8.substr(0, end));
}

}  // namespace lumetra
