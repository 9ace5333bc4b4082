// The information window's help text: sections with their three-line headers in order, CR-only
// line ends without one after the last line, the version history's form and the entries of
// the Functions section with their exact titles.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "shell/information_text.h"

namespace {

const std::string kUnderscores(44, '_');
const std::string kMacrons(44, '\xAF');

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find('\r', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

// The content lines of one section: from after its header to the next header's underscores.
std::vector<std::string> SectionLines(const std::vector<std::string>& lines, const std::string& title) {
    std::vector<std::string> content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != " :: " + title) continue;
        for (std::size_t j = i + 2; j < lines.size() && lines[j] != kUnderscores; ++j) content.push_back(lines[j]);
    }
    return content;
}

}  // namespace

TEST(InformationText, SectionsComeInOrderEachWithItsThreeLineHeader) {
    const std::vector<std::string> expected = {"Information",          "Short Description", "Version History",
                                               "Technical Background", "Functions",         "Trademarks",
                                               "Disclaimer"};
    std::vector<std::string> titles;
    for (const Text& title : InformationSectionTitles()) titles.push_back(title);
    ASSERT_EQ(titles, expected);

    const std::vector<std::string> lines = Lines(InformationText());
    std::vector<std::string> found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(" :: ", 0) != 0) continue;
        found.push_back(lines[i].substr(4));
        ASSERT_GT(i, 0u);
        ASSERT_LT(i + 1, lines.size());
        EXPECT_EQ(lines[i - 1], kUnderscores) << "no 44 underscores above \"" << lines[i] << "\"";
        EXPECT_EQ(lines[i + 1], kMacrons) << "no 44 macrons (0xAF) below \"" << lines[i] << "\"";
    }
    EXPECT_EQ(found, expected) << "the section headers found in the text";
    EXPECT_EQ(lines.front(), kUnderscores) << "the text must open with the first header";
}

TEST(InformationText, LinesEndWithCrAloneAndTheLastLineHasNoLineEnd) {
    const std::string text = InformationText();
    EXPECT_EQ(text.find('\n'), std::string::npos) << "line feeds have no place in the text";
    const std::string ending = "I assume no liability for any loss or damage caused by\rany errors in the software.";
    ASSERT_GE(text.size(), ending.size());
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending) << "the disclaimer must close the text";
}

TEST(InformationText, InformationSectionNamesTheMailAndWebAddresses) {
    const std::vector<std::string> content = SectionLines(Lines(InformationText()), "Information");
    ASSERT_GE(content.size(), 2u);
    EXPECT_EQ(content[0].rfind("eMail: ", 0), 0u) << content[0];
    EXPECT_EQ(content[1].rfind("Website: ", 0), 0u) << content[1];
}

TEST(InformationText, VersionHistoryListsEveryVersionWithDateAndChanges) {
    const std::vector<std::string> content = SectionLines(Lines(InformationText()), "Version History");
    const std::regex versionLine(R"((1\.0\d?) \((\d\d)\.(\d\d)\.(\d{4})\))");
    std::vector<std::string> versions;
    bool expectVersion = true;
    bool sawChange = false;
    for (const std::string& line : content) {
        std::smatch match;
        if (expectVersion) {
            ASSERT_TRUE(std::regex_match(line, match, versionLine)) << "not a version line: \"" << line << "\"";
            versions.push_back(match[1]);
            expectVersion = false;
            sawChange = false;
        } else if (line.empty()) {
            EXPECT_TRUE(sawChange) << "version " << versions.back() << " lists no change";
            expectVersion = true;
        } else {
            ASSERT_TRUE(line[0] == '-' || (line[0] == ' ' && sawChange))
                << "a change starts with \"-\", its continuation with a blank: \"" << line << "\"";
            sawChange = true;
        }
    }
    EXPECT_EQ(versions, (std::vector<std::string>{"1.0", "1.01", "1.02", "1.03", "1.04"}));
}

TEST(InformationText, FunctionsSectionHasAnEntryPerCommandInOrder) {
    const std::vector<std::string> content = SectionLines(Lines(InformationText()), "Functions");
    const std::vector<std::string> expected = {
        "-Move Up / Move Down:", "-Sort Search Plugins:", "-Refresh List:", "-Show Hidden:",
        "-Add Plugin:", "-Open Folder:", "==> RIGHT CLICK MENU", "-Edit:", "-Rename:", "-Convert: Unix -> DOS:",
        "-Disable Update Function:", "-Move Up / Move Down:", "-Hide:", "-Delete:"};
    // Every block ends with an empty line; an entry is a title and one to three lines.
    std::vector<std::string> titles;
    std::size_t i = 0;
    while (i < content.size()) {
        const std::string title = content[i];
        std::size_t explanation = 0;
        for (++i; i < content.size() && !content[i].empty(); ++i) ++explanation;
        ASSERT_LT(i, content.size()) << "the block of \"" << title << "\" does not end with an empty line";
        ++i;
        titles.push_back(title);
        if (title == "==> RIGHT CLICK MENU") {
            EXPECT_EQ(explanation, 0u) << "the menu line stands alone";
        } else {
            EXPECT_TRUE(explanation >= 1 && explanation <= 3) << title << " has " << explanation << " lines";
        }
    }
    EXPECT_EQ(titles, expected);
}

TEST(InformationText, TrademarksAreThreeEntriesStartingWithADash) {
    std::vector<std::string> entries;
    for (const std::string& line : SectionLines(Lines(InformationText()), "Trademarks")) {
        if (!line.empty()) entries.push_back(line);
    }
    ASSERT_EQ(entries.size(), 3u);
    for (const std::string& entry : entries) EXPECT_EQ(entry.rfind("- ", 0), 0u) << entry;
}
