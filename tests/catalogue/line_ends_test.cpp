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

TEST(LineEnds, EveryBareLineFeedAndNothingElseIsWidened) {
    const LineEndCase cases[] = {
        {"DOS text", "a\r\nb\r\n", false, "a\r\nb\r\n"},
        {"first CR LF, later bare LF", "a\r\nb\nc", true, "a\r\nb\r\nc"},
        {"first bare LF, later CR LF", "a\nb\r\n", true, "a\r\nb\r\n"},
        {"Unix text", "a\nb\n", true, "a\r\nb\r\n"},
        {"starts with LF", "\nabc", true, "\r\nabc"},
        {"LF after a lone CR pair", "a\r\r\n\n", true, "a\r\r\n\r\n"},
        {"no LF", "abc", false, "abc"},
        {"CR only", "a\rb\r", false, "a\rb\r"},
        {"empty", "", false, ""},
    };
    for (const LineEndCase& c : cases) {
        EXPECT_EQ(NeedsDosLineEnds(c.bytes), c.needed) << c.label;
        EXPECT_EQ(ToDosLineEnds(c.bytes), c.converted) << c.label;
    }
}

}  // namespace
