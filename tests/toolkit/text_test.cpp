// The text functions: positions, pieces, replacement, case, trimming and texts holding NULs.
#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Case {
    const char* call;
    std::function<Text()> run;
    Text expected;
};

void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(c.run(), c.expected) << c.call;
}

TEST(Text, PositionsAreOneBasedAndOutOfRangeGivesEmptyText) {
    ExpectAll({
        {"LeftOf(abc, 0)", [] { return LeftOf("abc", 0); }, ""},
        {"LeftOf(abc, -1)", [] { return LeftOf("abc", -1); }, ""},
        {"LeftOf(abc, 2)", [] { return LeftOf("abc", 2); }, "ab"},
        {"LeftOf(abc, 4)", [] { return LeftOf("abc", 4); }, "abc"},
        {"RightOf(abc, 0)", [] { return RightOf("abc", 0); }, ""},
        {"RightOf(abc, 2)", [] { return RightOf("abc", 2); }, "bc"},
        {"RightOf(abc, 3)", [] { return RightOf("abc", 3); }, "abc"},
        {"RightOf(abc, 4) is empty, not the whole text", [] { return RightOf("abc", 4); }, ""},
        {"MidOf(abcde, 1, 2)", [] { return MidOf("abcde", 1, 2); }, "ab"},
        {"MidOf(abcde, 5, 10)", [] { return MidOf("abcde", 5, 10); }, "e"},
        {"MidOf(abcde, 6, 1)", [] { return MidOf("abcde", 6, 1); }, ""},
        {"MidOf(abcde, 0, 2)", [] { return MidOf("abcde", 0, 2); }, ""},
        {"MidOf(abcde, 2, 0)", [] { return MidOf("abcde", 2, 0); }, ""},
        {"DeleteChars cuts an extension", [] { return DeleteChars("name.src", 5, 4); }, "name"},
        {"DeleteChars(abc, 1, 1)", [] { return DeleteChars("abc", 1, 1); }, "bc"},
        {"DeleteChars past what is left", [] { return DeleteChars("abc", 3, 10); }, "ab"},
        {"DeleteChars past the end", [] { return DeleteChars("abc", 4, 1); }, "abc"},
        {"DeleteChars of no characters", [] { return DeleteChars("abc", 2, 0); }, "abc"},
    });
}

TEST(Text, FindTextTakesTheSearchFirstAndCountsFromOne) {
    EXPECT_EQ(FindText("b", "abcb"), 2);
    EXPECT_EQ(FindText("c", "abc"), 3);
    EXPECT_EQ(FindText("B", "abc"), 0) << "comparison must be case-sensitive";
    EXPECT_EQ(FindText("", "abc"), 0) << "an empty search finds nothing";
    EXPECT_EQ(FindText("abcd", "abc"), 0) << "a search longer than the text";
    EXPECT_EQ(FindText("abc", "b"), 0) << "arguments swapped must not match";
    EXPECT_EQ(FindText("x", Text("a\0x", 3)), 3) << "a NUL inside the text must not end the search";
    EXPECT_TRUE(Contains("searchplugins", "plug"));
    EXPECT_FALSE(Contains("searchplugins", ""));
}

TEST(Text, FieldOfCutsAtEverySeparatorFromTheLeft) {
    ExpectAll({
        {"a=b piece 1", [] { return FieldOf("a=b", 1, "="); }, "a"},
        {"a=b piece 2", [] { return FieldOf("a=b", 2, "="); }, "b"},
        {"a=b piece 3", [] { return FieldOf("a=b", 3, "="); }, ""},
        {"no separator, piece 1", [] { return FieldOf("ab", 1, "="); }, "ab"},
        {"no separator, piece 2", [] { return FieldOf("ab", 2, "="); }, ""},
        {"empty separator, piece 1", [] { return FieldOf("ab", 1, ""); }, "ab"},
        {"adjacent separators give an empty piece", [] { return FieldOf("a==b", 2, "="); }, ""},
        {"piece after the empty one", [] { return FieldOf("a==b", 3, "="); }, "b"},
        {"leading separator", [] { return FieldOf("=a", 1, "="); }, ""},
        {"trailing separator", [] { return FieldOf("a=", 2, "="); }, ""},
        {"last of three", [] { return FieldOf("a=b=c", 3, "="); }, "c"},
        {"multi-byte separator", [] { return FieldOf("a::b::c", 2, "::"); }, "b"},
        {"separators do not overlap", [] { return FieldOf("aaa", 2, "aa"); }, "a"},
    });
}

TEST(Text, ReplaceAllScansLeftToRightWithoutRescanningInsertedText) {
    ExpectAll({
        {"overlapping occurrences", [] { return ReplaceAll("aaa", "aa", "b"); }, "ba"},
        {"replacement holds the search", [] { return ReplaceAll("a.b.c", ".", ".."); }, "a..b..c"},
        {"replacement around the search", [] { return ReplaceAll("aXa", "a", "aa"); }, "aaXaa"},
        {"removal", [] { return ReplaceAll("abab", "ab", ""); }, ""},
        {"empty search", [] { return ReplaceAll("abc", "", "x"); }, "abc"},
        {"case-sensitive", [] { return ReplaceAll("Update=x", "update", "#update"); }, "Update=x"},
        {"line ends", [] { return ReplaceAll("a\nb\n", "\n", "\r\n"); }, "a\r\nb\r\n"},
    });
}

TEST(Text, CaseMappingCoversTheWindows1252Letters) {
    const struct {
        unsigned lower;
        unsigned upper;
    } pairs[] = {{'a', 'A'}, {'z', 'Z'}, {0xE4, 0xC4}, {0xF6, 0xD6}, {0xFC, 0xDC}, {0xE0, 0xC0},
                 {0xFE, 0xDE}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
    for (const auto& p : pairs) {
        EXPECT_EQ(CharCode(UpperCase(CharText(p.lower))), static_cast<int>(p.upper)) << "upper of " << p.lower;
        EXPECT_EQ(CharCode(LowerCase(CharText(p.upper))), static_cast<int>(p.lower)) << "lower of " << p.upper;
    }
    // Sharp s has no capital; 0xF7 and 0xD7 are the division and multiplication signs.
    for (unsigned c : {0xDFu, 0xF7u, 0xD7u, 0xB5u, 0xAAu, unsigned('1'), unsigned('@'), unsigned('[')}) {
        EXPECT_EQ(CharCode(UpperCase(CharText(c))), static_cast<int>(c)) << "upper changed " << c;
        EXPECT_EQ(CharCode(LowerCase(CharText(c))), static_cast<int>(c)) << "lower changed " << c;
    }
    EXPECT_EQ(UpperCase(Text("Mo\0zilla", 8)), Text("MO\0ZILLA", 8)) << "case mapping must use the full length";
}

TEST(Text, TrimTextRemovesBlanksLineEndsAndNoBreakSpacesAtBothEnds) {
    EXPECT_EQ(TrimText("\t \r\n\xA0 \xA0"), "");
    EXPECT_EQ(TrimText("\xA0 a\xA0" "b \r\n"), "a\xA0" "b") << "a no-break space inside must stay";
    EXPECT_EQ(TrimText("x"), "x");
    EXPECT_EQ(TrimText(""), "");
}

TEST(Text, CharTextAndCharCodeWorkOnUnsignedBytes) {
    EXPECT_EQ(CharText(0), Text(1, '\0')) << "code 0 gives a one-byte text holding NUL";
    EXPECT_EQ(CharText(256 + 65), "A") << "the code is taken modulo 256";
    EXPECT_EQ(CharCode(""), 0);
    EXPECT_EQ(CharCode("\xE4x"), 0xE4) << "bytes above 127 must not come out negative";
}

TEST(Text, RepeatAndSpaceTextKeepEveryByte) {
    EXPECT_EQ(RepeatText("ab", 3), "ababab");
    EXPECT_EQ(RepeatText("ab", 0), "");
    EXPECT_EQ(RepeatText("ab", -2), "");
    EXPECT_EQ(RepeatText(Text(1, '\0'), 3).size(), 3u);
    EXPECT_EQ(SpaceText(3), "   ");
    EXPECT_EQ(SpaceText(-1), "");
}

TEST(Text, EqualityStopsAtTheFirstNulButConcatenationKeepsFullLengths) {
    EXPECT_TRUE(TextEquals(Text("ab\0x", 4), "ab"));
    EXPECT_TRUE(TextEquals(Text("ab\0x", 4), Text("ab\0y", 4)));
    EXPECT_FALSE(TextEquals("ab", "abc"));
    EXPECT_FALSE(TextEquals("Google", "google"));
    EXPECT_TRUE(TextEquals("", ""));
    EXPECT_EQ(Concatenate(Text("a\0", 2), "b"), Text("a\0b", 3));
}

}  // namespace
