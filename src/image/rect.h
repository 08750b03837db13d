#pragma once
// A rectangle of a picture: selections, regions of operations and renders.

#include <cstdint>

namespace lumetra {

// Picture coordinates: y = 0 is the top row; right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lumetra
