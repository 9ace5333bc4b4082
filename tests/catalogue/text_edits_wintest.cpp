// Renaming a plugin with the dialog's answer supplied, and converting plugin files to DOS
// line ends, on real files.
#include "tests/catalogue/catalogue_fixture.h"

#include "catalogue/text_edits.h"
#include "tests/support/box_answerer.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

class TextEditsTest : public PluginFolderTest {
protected:
    // Renames the current row as if the user typed `typed`; returns the texts of the boxes.
    Rows Rename(const Text& typed) {
        BoxAnswerer answerer;
        RenamePlugin([&](const Text& prompt, const Text& title, const Text& initial) {
            asked = {prompt, title, initial};
            return typed;
        });
        Sleep(100);
        Rows texts;
        for (const auto& box : answerer.Boxes()) texts.push_back(box.text);
        return texts;
    }

    template <typename Command>
    BoxAnswerer::SeenBox RunWithOneBox(Command command) {
        BoxAnswerer answerer;
        command();
        EXPECT_TRUE(answerer.WaitForBoxes(1));
        Sleep(50);
        EXPECT_EQ(answerer.Boxes().size(), 1u);
        const auto boxes = answerer.Boxes();
        return boxes.empty() ? BoxAnswerer::SeenBox{} : boxes.front();
    }

    Rows asked;
};

TEST_F(TextEditsTest, RenamingWritesTheNewNameIntoFileAndRow) {
    Write("a.src", PluginSource("Other"));
    Write("ex.src", "<search\r\nname=\"Example\"\r\n>\r\n<input name=\"Example\">\r\n");
    SetReadOnly("ex.src");
    Fill(1);
    EXPECT_TRUE(Rename("New one").empty()) << "a rename that worked shows no message";
    EXPECT_EQ(asked, (Rows{"New Name:", "Rename Plugin", "Example"}));
    EXPECT_EQ(Read("ex.src"), "<search\r\nname=\"New one\"\r\n>\r\n<input name=\"New one\">\r\n")
        << "every occurrence of the old attribute changes, and nothing else";
    EXPECT_FALSE(IsReadOnly("ex.src"));
    EXPECT_EQ(RowsOf(nameList), (Rows{"Other", "New one"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"a.src", "ex.src"})) << "the file keeps its name";
    EXPECT_EQ(CurrentRow(), 1);
}

TEST_F(TextEditsTest, PinnedNamesGetABlankAndQuoteCharactersBecomeUnderscores) {
    Write("p.src", PluginSource("Plugin"));
    Fill(0);
    Rename("Google");
    EXPECT_EQ(RowsOf(nameList), Rows{"Google "});
    EXPECT_NE(Read("p.src").find("name=\"Google \""), Text::npos);

    Rename("say \"hi\" now");
    EXPECT_EQ(RowsOf(nameList), Rows{"say _hi_ now"});
    EXPECT_NE(Read("p.src").find("name=\"say _hi_ now\""), Text::npos);
    EXPECT_EQ(asked[2], "Google") << "the dialog starts with the listed name, trimmed";
}

TEST_F(TextEditsTest, CancellingOrOneCharacterChangesNothing) {
    Write("p.src", PluginSource("Plugin"));
    Fill(0);
    for (const Text& typed : {Text(), Text("x")}) {
        EXPECT_TRUE(Rename(typed).empty()) << "no message for '" << typed << "'";
        EXPECT_EQ(Read("p.src"), PluginSource("Plugin")) << "the file changed for '" << typed << "'";
        EXPECT_EQ(RowsOf(nameList), Rows{"Plugin"});
    }
}

TEST_F(TextEditsTest, CapitalsWithBlanksAroundTheEqualsSignAreFound) {
    Write("p.src", "<search\r\nNAME = \"Caps\"\r\n>\r\n");
    Fill(0);
    ASSERT_EQ(RowsOf(nameList), Rows{"Caps"});
    Rename("Lower");
    EXPECT_EQ(Read("p.src"), "<search\r\nname=\"Lower\"\r\n>\r\n");
    EXPECT_EQ(RowsOf(nameList), Rows{"Lower"});
}

TEST_F(TextEditsTest, ANameAttributeThatIsNotFoundLeavesFileAndRowAloneAndSaysSo) {
    // Listing removes two blanks after "=", renaming only one: the attribute is not matched.
    const Text twoBlanks = "<search\r\nname=  \"Spaced\"\r\n>\r\n";
    Write("p.src", twoBlanks);
    Fill(0);
    ASSERT_EQ(RowsOf(nameList), Rows{"Spaced"});
    const Rows texts = Rename("Renamed");
    ASSERT_EQ(texts.size(), 1u) << "a rename that changed nothing must say so";
    EXPECT_NE(texts[0].find("p.src"), Text::npos);
    EXPECT_EQ(Read("p.src"), twoBlanks);
    EXPECT_EQ(RowsOf(nameList), Rows{"Spaced"});
}

TEST_F(TextEditsTest, RenamingRefusesFilesThatCannotBeWrittenBackWhole) {
    const Text longFile = "<search name=\"Long\">\r\n" + Text(33000, 'x');
    const Text nulFile = Text("<search name=\"Nul\">\r\n") + '\0' + "\r\n";
    Write("a.src", longFile);
    Write("b.src", nulFile);
    Fill(0);
    for (int row : {0, 1}) {
        ListSelect(nameList, row);
        const Rows texts = Rename("Changed");
        ASSERT_EQ(texts.size(), 1u) << "row " << row;
        EXPECT_NE(texts[0].find(row == 0 ? "a.src" : "b.src"), Text::npos) << texts[0];
    }
    EXPECT_TRUE(Read("a.src") == longFile);
    EXPECT_EQ(Read("b.src"), nulFile);
    EXPECT_EQ(RowsOf(nameList), (Rows{"Long", "Nul"}));
}

TEST_F(TextEditsTest, EveryBareLineFeedIsConvertedAndNothingElse) {
    Write("a.src", "<search name=\"A\">\nx\r\ny\n");      // bare LF first
    Write("b.src", "<search name=\"B\">\r\nx\ny");        // CR LF first, a bare LF later
    Write("c.src", "<search name=\"C\">\rx\r\n");          // no bare LF: not necessary
    SetReadOnly("c.src");
    Fill(0);
    EXPECT_EQ(ConvertToDosLineEnds(0), RewriteOutcome::Rewritten);
    EXPECT_EQ(Read("a.src"), "<search name=\"A\">\r\nx\r\ny\r\n");
    EXPECT_EQ(ConvertToDosLineEnds(1), RewriteOutcome::Rewritten);
    EXPECT_EQ(Read("b.src"), "<search name=\"B\">\r\nx\r\ny") << "no line end is added";
    EXPECT_EQ(ConvertToDosLineEnds(2), RewriteOutcome::NotNeeded);
    EXPECT_EQ(Read("c.src"), "<search name=\"C\">\rx\r\n");
    EXPECT_FALSE(IsReadOnly("c.src")) << "the read-only bit is cleared even when nothing is converted";
}

TEST_F(TextEditsTest, ConvertCommandsReportEachResult) {
    Write("a.src", "<search name=\"A\">\nx\n");
    Write("b.src", "<search name=\"B\">\r\n");
    Fill(0);
    auto box = RunWithOneBox(ConvertCurrentPlugin);
    EXPECT_EQ(box.caption, "Message:");
    EXPECT_EQ(box.text, "Conversion successful!");
    EXPECT_EQ(box.icon, MB_ICONASTERISK);
    box = RunWithOneBox(ConvertCurrentPlugin);
    EXPECT_EQ(box.text, "Conversion not necessary!");
    EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
    box = RunWithOneBox(ConvertAllPlugins);
    EXPECT_EQ(box.text, "All plugins were converted to DOS text!");
    EXPECT_EQ(box.icon, MB_ICONASTERISK);
}

TEST_F(TextEditsTest, ConversionRefusesFilesTooLongForTheBufferOrHoldingNul) {
    const Text longFile = "<search name=\"A\">\n" + Text(32767, 'x');   // one byte too many
    const Text fits = "<search name=\"B\">\n" + Text(32767 - 18, 'x');   // exactly 32767 bytes
    const Text nulFile = Text("<search name=\"C\">\n") + '\0' + "tail\n";
    Write("a.src", longFile);
    Write("b.src", fits);
    Write("c.src", nulFile);
    ASSERT_EQ(fits.size(), 32767u);
    Fill(0);
    EXPECT_EQ(ConvertToDosLineEnds(0), RewriteOutcome::LeftUnchanged);
    EXPECT_TRUE(Read("a.src") == longFile);
    EXPECT_EQ(ConvertToDosLineEnds(1), RewriteOutcome::Rewritten);
    EXPECT_TRUE(Read("b.src") == "<search name=\"B\">\r\n" + Text(32767 - 18, 'x')) << "b.src was not converted";
    EXPECT_EQ(ConvertToDosLineEnds(2), RewriteOutcome::LeftUnchanged);
    EXPECT_EQ(Read("c.src"), nulFile);

    Write("b.src", fits);
    const auto box = RunWithOneBox(ConvertAllPlugins);
    EXPECT_NE(box.text.find("a.src"), Text::npos) << box.text;
    EXPECT_EQ(box.text.find("b.src"), Text::npos) << box.text;
    EXPECT_NE(box.text.find("c.src"), Text::npos) << box.text;
    EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
    EXPECT_EQ(Read("b.src").size(), 32767u + 1) << "the file that fits is still converted";
}

TEST_F(TextEditsTest, AFileInUseIsNeitherRenamedNorConvertedAndBothSaySo) {
    const Text original = "<search name=\"Busy\">\nx\n";
    Write("busy.src", original);
    Fill(0);
    FileLock lock(PathOf("busy.src"));
    ASSERT_TRUE(lock.Held());
    const Rows texts = Rename("Renamed");
    ASSERT_EQ(texts.size(), 1u) << "a rename that could not be written must say so";
    EXPECT_NE(texts[0].find("busy.src"), Text::npos) << texts[0];
    EXPECT_EQ(RowsOf(nameList), Rows{"Busy"}) << "the row must keep the name the file still has";

    const auto box = RunWithOneBox(ConvertCurrentPlugin);
    EXPECT_NE(box.text, "Conversion successful!") << "a conversion that was not written was reported as done";
    EXPECT_NE(box.text.find("busy.src"), Text::npos) << box.text;
    EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
    lock.Release();
    EXPECT_EQ(Read("busy.src"), original);
}

}  // namespace
}  // namespace catalogue_test
