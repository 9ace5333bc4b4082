// The text form of wide file names: round trips, names the code page holds left as they are,
// and the readable form for message boxes.
#include "toolkit/wide_names.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A single-byte code page that holds the first 256 code points, as Windows-1252 holds most.
std::optional<Text> Latin1Of(char16_t unit) {
    if (unit > 0xFF) return std::nullopt;
    return Text(1, static_cast<char>(unit));
}

WideText WideOfLatin1(const Text& bytes) {
    WideText wide;
    for (const unsigned char c : bytes) wide += static_cast<char16_t>(c);
    return wide;
}

TEST(WideNames, EncodingKeepsPlainNamesAndEscapesTheRestSoThatDecodingGivesThemBack) {
    struct Case {
        WideText name;
        Text encoded;
    };
    const std::vector<Case> cases = {
        {u"google.src", "google.src"},
        {u"Gr\u00F6\u00DFe ##x.src", "Gr\xF6\xDF" "e ##x.src"},
        {u"\u03A9mega.src", "\x01" "03A9mega.src"},
        {u"K00##\u65E5\u672C.gif", "K00##\x01" "65E5\x01" "672C.gif"},
        {u"\U0001F600.src", "\x01" "D83D\x01" "DE00.src"},         // a surrogate pair, unit by unit
        {u"a\u0001" "0041.src", "a\x01" "00010041.src"},            // the escape character itself
    };
    for (const Case& c : cases) {
        const Text encoded = EncodeWideName(c.name, Latin1Of);
        EXPECT_EQ(encoded, c.encoded);
        EXPECT_EQ(DecodeWideName(encoded, WideOfLatin1), c.name) << encoded;
    }
}

TEST(WideNames, DecodingReadsLowerCaseHexStopsAtNulAndKeepsBrokenEscapes) {
    EXPECT_EQ(DecodeWideName("\x01" "03a9.src", WideOfLatin1), u"\u03A9.src")
        << "a name lower-cased for a comparison";
    EXPECT_EQ(DecodeWideName(Text("a\0b", 3), WideOfLatin1), u"a");
    EXPECT_EQ(DecodeWideName("x\x01" "03G9", WideOfLatin1), u"x\u0001" "03G9");
    EXPECT_EQ(DecodeWideName("x\x01" "03A", WideOfLatin1), u"x\u0001" "03A") << "cut short";
}

TEST(WideNames, ReadableTextShowsEachEscapedCharacterAsAQuestionMark) {
    EXPECT_EQ(ReadableText("K00##\x01" "65E5\x01" "672C.src -> x.src"), "K00##??.src -> x.src");
    EXPECT_EQ(ReadableText("cut \x01" "03"), "cut ?03");
    EXPECT_EQ(ReadableText("Gr\xF6\xDF" "e.src"), "Gr\xF6\xDF" "e.src");
}

}  // namespace
