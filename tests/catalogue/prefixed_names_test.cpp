// Names of rename mode, hiding and deleting.
#include "catalogue/prefixed_names.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct RowNumberCase {
    std::int64_t row;
    std::int64_t rowCount;
    const char* expected;
};

TEST(PrefixedNames, RowNumbersHaveTwoDigitsOrAsManyAsTheLastRowNeeds) {
    const RowNumberCase cases[] = {
        {0, 1, "00"},   {0, 100, "00"},  {9, 100, "09"},   {10, 100, "10"}, {99, 100, "99"},
        {0, 101, "000"}, {9, 101, "009"}, {99, 101, "099"}, {100, 101, "100"},
        {999, 1001, "0999"},
    };
    for (const RowNumberCase& c : cases) {
        EXPECT_EQ(RowNumberText(c.row, c.rowCount), c.expected)
            << "row " << c.row << " of " << c.rowCount;
    }
}

TEST(PrefixedNames, RenameModeSaveNumbersEveryRowWithTheSameWidth) {
    const std::int64_t count = 120;
    std::vector<Text> names;
    for (std::int64_t i = 0; i < count; ++i) {
        names.push_back(PrefixedNamesFor("K", RowNumberText(i, count), "p.src", "").plugin);
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()))
        << "sorting the prefixed names must give the row order";
}

struct PrefixCase {
    const char* label;
    const char* fileName;
    const char* imageName;
    const char* plugin;
    const char* image;
};

TEST(PrefixedNames, SaveReplacesAnOldPrefixOfPluginAndImage) {
    const PrefixCase cases[] = {
        {"plain", "google.src", "google.gif", "K07##google.src", "K07##google.gif"},
        {"no image", "yahoo.src", "", "K07##yahoo.src", ""},
        {"prefixed", "M00##google.src", "M00##google.gif", "K07##google.src", "K07##google.gif"},
        {"## of the name's own", "web##tools.src", "web##tools.png", "K07##web##tools.src", "K07##web##tools.png"},
        {"prefixed, ## of its own", "M00##web##tools.src", "", "K07##web##tools.src", ""},
    };
    for (const PrefixCase& c : cases) {
        const PrefixedNames got = PrefixedNamesFor("K", "07", c.fileName, c.imageName);
        EXPECT_EQ(got.plugin, c.plugin) << c.label;
        EXPECT_EQ(got.image, c.image) << c.label;
    }
}

TEST(PrefixedNames, OnlyALetterDigitsAndTheMarkAtTheStartAreAPrefix) {
    const struct {
        const char* name;
        const char* unprefixed;  // the name itself when it has no prefix
    } cases[] = {
        {"K00##google.src", "google.src"}, {"k100##a.src", "a.src"}, {"K00##a##b.src", "a##b.src"},
        {"web##tools.src", "web##tools.src"}, {"K0##a.src", "K0##a.src"}, {"00##a.src", "00##a.src"},
        {"KK00##a.src", "KK00##a.src"}, {"a#b.src", "a#b.src"}, {"x.src##K00##a.src", "x.src##K00##a.src"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnprefixedName(c.name), c.unprefixed) << c.name;
        EXPECT_EQ(HasPrefix(c.name), Text(c.name) != c.unprefixed) << c.name;
    }
}

TEST(PrefixedNames, OnlyTheNamesOwnExtensionMatchesAPattern) {
    EXPECT_TRUE(MatchesExtensionPattern("google.src", "*.SRC"));
    EXPECT_TRUE(MatchesExtensionPattern("CAPS.SRC", "*.SRC"));
    EXPECT_TRUE(MatchesExtensionPattern("old.Hid", "*.HID"));
    for (const char* other : {"google.src~", "x.srcx", "y.srcold", "z.src.quorrel-backup", "src", "a.hid"}) {
        EXPECT_FALSE(MatchesExtensionPattern(other, "*.SRC")) << other;
    }
    EXPECT_EQ(BackedUpFileName(RewriteBackupName("K00##a.src")), "K00##a.src");
    EXPECT_TRUE(IsRewriteBackupName(RewriteBackupName("a.src")));
    EXPECT_FALSE(IsRewriteBackupName("a.src"));
}

TEST(PrefixedNames, DeleteImageBaseIsThePluginPathWithoutItsExtension) {
    EXPECT_EQ(DeleteImageBase("C:\\Plugins\\Google.SRC"), "C:\\Plugins\\Google");
    EXPECT_EQ(DeleteImageBase("C:\\x.src\\g.src"), "C:\\x.src\\g") << "a folder named x.src is no cut";
    EXPECT_EQ(DeleteImageBase("C:\\P\\news.src.src"), "C:\\P\\news.src") << "only the plugin's own extension goes";
}

TEST(PrefixedNames, TheEditorGetsTheQuotedPath) {
    EXPECT_EQ(EditorCommandLine("C:\\Program Files\\Browser\\searchplugins\\my search.src"),
              "notepad.exe \"C:\\Program Files\\Browser\\searchplugins\\my search.src\"");
}

TEST(PrefixedNames, ImageExtensionsComeInTheirSearchOrder) {
    EXPECT_EQ(SaveImageExtensions(), (std::vector<Text>{".gif", ".png", ".jpg", ".ico"}));
    EXPECT_EQ(DeleteImageExtensions(), (std::vector<Text>{".png", ".gif", ".jpg", ".jpeg", ".jpe",
                                                         ".ico", ".bmp"}));
}

}  // namespace
