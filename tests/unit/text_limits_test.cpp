#include "base/text_limits.h"
#include "base/registry_error.h"

#include <gtest/gtest.h>

#include <boost/system/error_code.hpp>

namespace lumetra {
namespace {

// UTF-16 units: u umlaut and a CJK character are one, a character beyond the basic plane two;
// truncation keeps whole characters.
TEST(TextLimits, WideLengthAndTruncation) {
    EXPECT_EQ(wideLength(""), 0u);
    EXPECT_EQ(wideLength("abc\xC3\xBC\xE6\x9C\xA8\xF0\x9F\x8E\xB5"), 7u);
    EXPECT_EQ(truncateText("abcdef", 4), "abcd");
    EXPECT_EQ(truncateText("abc", 10), "abc");
    EXPECT_EQ(truncateText("a\xC3\xBC\x62", 2), "a\xC3\xBC");
    EXPECT_EQ(truncateText("a\xF0\x9F\x8E\xB5", 2), "a");  // the pair does not fit in one
    EXPECT_EQ(truncateText("a\xF0\x9F\x8E\xB5", 3), "a\xF0\x9F\x8E\xB5");
    EXPECT_EQ(truncateText("xyz", 0), "");
}

TEST(RegistryError, CarriesTheOperationAndTheSystemText) {
    const RegistryError failed("Could not open new key handle", 5);
    EXPECT_EQ(failed.code(), 5);
    const std::string text = failed.what();
    EXPECT_EQ(text.rfind("Could not open new key handle\nError 5: ", 0), 0u);
    std::string system = boost::system::system_category().message(5);
    while (!system.empty() && (system.back() == '\n' || system.back() == '\r'))
        system.pop_back();
    EXPECT_NE(text.find(system), std::string::npos);
    EXPECT_NE(text.back(), '\n');
}

}  // namespace
}  // namespace lumetra
