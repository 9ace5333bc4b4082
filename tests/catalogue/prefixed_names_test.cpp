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
        {"## in an original name", "a##b.src", "a##b.png", "K07##b.src", "K07##b.png"},
    };
    for (const PrefixCase& c : cases) {
        const PrefixedNames got = PrefixedNamesFor("K", "07", c.fileName, c.imageName);
        EXPECT_EQ(got.plugin, c.plugin) << c.label;
        EXPECT_EQ(got.image, c.image) << c.label;
    }
}

TEST(PrefixedNames, UnprefixingTakesTheFieldAfterTheFirstMark) {
    EXPECT_EQ(UnprefixedName("K00##google.src"), "google.src");
    EXPECT_EQ(UnprefixedName("K00##a##b.src"), "a");
    EXPECT_TRUE(HasPrefix("a##b.src"));
    EXPECT_FALSE(HasPrefix("a#b.src"));
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
