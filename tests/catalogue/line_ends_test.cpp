// The rule that decides and performs the conversion to DOS line ends.
#include "catalogue/line_ends.h"

#include <gtest/gtest.h>

namespace {

struct LineEndCase {
    const char* label;
    const char* bytes;
    bool needed;
    const char* converted;
};

TEST(LineEnds, OnlyTheFirstLineFeedDecidesAndEveryLineFeedIsWidened) {
    const LineEndCase cases[] = {
        {"DOS text", "a\r\nb\r\n", false, "a\r\r\nb\r\r\n"},
        {"first CR LF, later bare LF", "a\r\nb\nc", false, "a\r\r\nb\r\nc"},
        {"first bare LF, later CR LF", "a\nb\r\nc", true, "a\r\nb\r\r\nc"},
        {"Unix text", "a\nb\n", true, "a\r\nb\r\n"},
        {"starts with LF", "\nabc", true, "\r\nabc"},
        {"no LF", "abc", true, "abc"},
        {"CR only", "a\rb\r", true, "a\rb\r"},
        {"empty", "", true, ""},
    };
    for (const LineEndCase& c : cases) {
        EXPECT_EQ(NeedsDosLineEnds(c.bytes), c.needed) << c.label;
        EXPECT_EQ(ToDosLineEnds(c.bytes), c.converted) << c.label;
    }
}

}  // namespace
