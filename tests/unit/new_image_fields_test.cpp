// The size fields of the New Image dialog.

#include <gtest/gtest.h>

#include <limits>

#include "image/new_image_fields.h"

namespace lumetra {
namespace {

TEST(NewImageFields, LeavingASizeFieldAndArrows) {
    EXPECT_EQ(leaveSizeField(300, 10.0), 300);  // 10 is ignored
    EXPECT_EQ(leaveSizeField(300, 11.0), 11);
    EXPECT_EQ(leaveSizeField(300, 640.9), 640);
    EXPECT_EQ(leaveSizeField(300, -5.0), 300);
    EXPECT_EQ(leaveSizeField(300, std::numeric_limits<double>::quiet_NaN()), 300);
    EXPECT_EQ(leaveSizeField(300, 1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(stepSizeArrow(30, 30.0, -1), 10);  // not -20
    EXPECT_EQ(stepSizeArrow(30, 30.0, +1), 80);
    EXPECT_EQ(stepSizeArrow(300, 5.0, +1), 350);  // a field of 10 or less: from the stored value
    EXPECT_EQ(stepSizeArrow(300, 500.0, 0), 300);
    EXPECT_EQ(stepSizeArrow(1, 1e30, +1), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace lumetra
