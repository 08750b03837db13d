#pragma once
// The size-field rules of the New Image dialog (width W and height H), free of any window.

#include <cstdint>

namespace lumetra {

// Leaving W or H with the number v read from it: a value above 10 is taken (truncated), anything
// else keeps `stored`. Returns the value to store and show.
std::int32_t leaveSizeField(std::int32_t stored, double v);

// An arrow click (direction +1 up, -1 down, 0 nothing): from the field's value if it is above
// 10, else from `stored`, 50 up or down, never below 10. Returns the value to store and show.
std::int32_t stepSizeArrow(std::int32_t stored, double fieldValue, int direction);

}  // namespace lumetra
