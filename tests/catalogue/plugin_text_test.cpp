// Listing, unpinning and renaming rules of plugin texts, and the buffer limits for rewriting.
#include "catalogue/plugin_text.h"

#include <gtest/gtest.h>

namespace {

struct NormalizeCase {
    const char* input;
    const char* expected;
};

TEST(PluginText, NormalizeRecognisesThreeLetterCasesAndRemovesBlanksAroundEquals) {
    const NormalizeCase cases[] = {
        {"<search NAME=\"A\">", "<search name=\"A\">"},
        {"<search Name = \"A\">", "<search name=\"A\">"},
        {"name  =\"A\"", "name =\"A\""},    // only one blank before "=" goes
        {"name=  \"A\"", "name=\"A\""},     // two blanks after it go
        {"name=   \"A\"", "name= \"A\""},   // a third stays
        {"nAme=\"A\"", "nAme=\"A\""},       // other letter cases are not recognised
        {"<input Name=\"q\" value = \"x\">", "<input name=\"q\" value=\"x\">"},
    };
    for (const NormalizeCase& c : cases) {
        EXPECT_EQ(NormalizePluginText(c.input), c.expected) << "input: " << c.input;
    }
}

struct ExtractCase {
    const char* text;
    const char* name;
    const char* quote;
};

TEST(PluginText, DisplayNameRunsFromTheQuoteAfterTheFirstNameAttributeToTheNextQuote) {
    const ExtractCase cases[] = {
        {"<search name=\"Example\" method=\"GET\">\r\n", "Example", "\""},
        {"<search name= Google rest\r\n", "Google", " "},
        // The first "name=" anywhere wins, here that of an input element.
        {"<input name=\"q\">\r\n<search name=\"Example\">\r\n", "q", "\""},
        // Unquoted: B is the quote, the name runs to the end, line end included.
        {"<search name=Bing\r\n", "ing\r\n", "B"},
        // An unclosed quote runs to the next "name=".
        {"<search name=\"Open\r\n<input name=\"q\">", "Open\r\n<input ", "\""},
        {"<search name=\"\">", "", "\""},
        {"<search title=\"x\">\r\n", "", ""},
        {"name=", "", ""},
    };
    for (const ExtractCase& c : cases) {
        const DisplayName got = ExtractDisplayName(c.text);
        EXPECT_EQ(got.name, c.name) << "text: " << c.text;
        EXPECT_EQ(got.quote, c.quote) << "text: " << c.text;
    }
}

TEST(PluginText, OnlyTheFourExactNamesArePinned) {
    for (const char* pinned : {"Google", "Yahoo", "google", "yahoo"}) {
        EXPECT_TRUE(IsPinnedName(pinned)) << pinned;
    }
    for (const char* free : {"Google ", "GOOGLE", "Google Maps", "yahoo!", "", " Yahoo"}) {
        EXPECT_FALSE(IsPinnedName(free)) << "'" << free << "' must not be pinned";
    }
}

struct ListingCase {
    const char* fileText;
    const char* row;
    const char* rewritten;  // nullptr: the file is not rewritten
};

// The whole listing path of one file: normalise, read the name, unpin a pinned name.
TEST(PluginText, ListingUnpinsGoogleAndYahooAndLeavesOtherNamesAlone) {
    const ListingCase cases[] = {
        {"<search name = \"Google\">\r\n", "Google ", "<search name=\"Google \">\r\n"},
        {"<search name=\"yahoo\"><x name=\"yahoo\">", "yahoo ",
         "<search name=\"yahoo \"><x name=\"yahoo \">"},
        // Three blanks: one stays and becomes the quote, so the appended blank becomes "_".
        {"<search name=   Google rest\r\n", "Google_", "<search name= Google_ rest\r\n"},
        {"<search name=\"Google \">\r\n", "Google ", nullptr},
        {"<search name=\"GOOGLE\">\r\n", "GOOGLE", nullptr},
        {"<search name=\"Google Maps\">\r\n", "Google Maps", nullptr},
    };
    for (const ListingCase& c : cases) {
        const Text t0 = NormalizePluginText(c.fileText);
        const DisplayName shown = ExtractDisplayName(t0);
        if (c.rewritten == nullptr) {
            EXPECT_FALSE(IsPinnedName(shown.name)) << c.fileText;
            EXPECT_EQ(shown.name, c.row) << c.fileText;
            continue;
        }
        ASSERT_TRUE(IsPinnedName(shown.name)) << c.fileText;
        const UnpinnedPlugin unpinned = UnpinPluginText(shown.name, shown.quote, t0);
        EXPECT_EQ(unpinned.name, c.row) << c.fileText;
        EXPECT_EQ(unpinned.text, c.rewritten) << c.fileText;
    }
}

TEST(PluginText, PrefixLetterFollowsTheLastPrefixedFileNameAndIsNeverCleared) {
    Text letter;
    letter = NextPrefixLetter(letter, "K03##google.src");
    letter = NextPrefixLetter(letter, "K04##yahoo.src");
    EXPECT_EQ(letter, "K");
    EXPECT_EQ(NextPrefixLetter(letter, "google.src"), "K") << "a plain name must keep the letter";
    EXPECT_EQ(NextPrefixLetter(letter, "A00##x.src"), "A");
}

struct RenameCase {
    const char* label;
    const char* fileText;
    const char* listed;
    const char* typed;
    const char* newName;
    const char* written;
    bool found;
};

TEST(PluginText, RenameReplacesEveryOldAttributeWithTheAdjustedNewName) {
    const RenameCase cases[] = {
        {"plain", "<search name=\"Example\">\r\n", "Example", "Other", "Other",
         "<search name=\"Other\">\r\n", true},
        {"pinned new name", "<search name=\"Example\">", "Example", "Google", "Google ",
         "<search name=\"Google \">", true},
        {"quotes in new name", "<search name=\"Example\">", "Example", "My \"best\" one",
         "My _best_ one", "<search name=\"My _best_ one\">", true},
        {"capitals, blanks around =", "<SEARCH NAME = \"Example\">", "Example", "Other", "Other",
         "<SEARCH name=\"Other\">", true},
        {"every occurrence", "<a name=\"Ex\"><b name=\"Ex\">", "Ex", "New", "New",
         "<a name=\"New\"><b name=\"New\">", true},
        {"listed name untrimmed", "<search name=\"Google \">", "Google ", "Bing", "Bing",
         "<search name=\"Bing\">", true},
        // One "= " pass only: a blank stays, becomes the quote, and the attribute is missed.
        {"two blanks after =", "<search name=  \"Example\">", "Example", "Other", "Other",
         "<search name= \"Example\">", false},
    };
    for (const RenameCase& c : cases) {
        const auto got = RenamePluginText(c.fileText, c.listed, c.typed);
        ASSERT_TRUE(got.has_value()) << c.label << ": rename stopped";
        EXPECT_EQ(got->newName, c.newName) << c.label;
        EXPECT_EQ(got->text, c.written) << c.label;
        EXPECT_EQ(got->attributeFound, c.found) << c.label;
    }
}

TEST(PluginText, RenameStopsOnCancelOrOneCharacter) {
    for (const char* typed : {"", "X"}) {
        EXPECT_FALSE(RenamePluginText("<search name=\"Ex\">", "Ex", typed).has_value())
            << "typed '" << typed << "' must change nothing";
    }
    EXPECT_TRUE(RenamePluginText("<search name=\"Ex\">", "Ex", "Go").has_value());
}

TEST(PluginText, RawReadMayBeWrittenBackWhenItFitsWithItsNul) {
    EXPECT_TRUE(MayRewriteFromRawRead(Text(kTextBufferSize - 1, '\n')));
    EXPECT_FALSE(MayRewriteFromRawRead(Text(kTextBufferSize, 'a'))) << "no room for the NUL";
    EXPECT_FALSE(MayRewriteFromRawRead(Text("a\0b", 3))) << "the text would lose the rest";
}

}  // namespace
