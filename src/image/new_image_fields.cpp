#include "image/new_image_fields.h"

#include "base/float_conversion.h"

namespace lumetra {

namespace {
constexpr std::int32_t kSmallestSize = 10;
constexpr std::int32_t kArrowStep = 50;
}  // namespace

std::int32_t leaveSizeField(std::int32_t stored, double v) {
    if (!(v > kSmallestSize)) return stored;
    return truncToInt32(v);
}

std::int32_t stepSizeArrow(std::int32_t stored, double fieldValue, int direction) {
    if (direction == 0) return stored;
    const std::int64_t base = fieldValue > kSmallestSize ? truncToInt32(fieldValue) : stored;
    const std::int64_t next = base + (direction > 0 ? kArrowStep : -kArrowStep);
    return next < kSmallestSize ? kSmallestSize : saturateToInt32(next);
}

}  // namespace lumetra
