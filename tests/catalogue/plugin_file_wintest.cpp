// Rewrites that a full disk or the program's end cut short: the backup beside the plugin file
// and what the next start does with it. (A disk that fills during the write is proved end to end
// on a small file system of its own.)
#include "tests/catalogue/catalogue_fixture.h"

#include "catalogue/plugin_file.h"
#include "catalogue/prefixed_names.h"
#include "catalogue/text_edits.h"
#include "catalogue/update_toggle.h"
#include "tests/support/box_answerer.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;
using PluginFileTest = PluginFolderTest;

TEST_F(PluginFileTest, TheNextStartPutsBackWhatAnInterruptedRewriteHadBackedUp) {
    const Text old = PluginSource("Whole");
    Write("cut.src", "<search name=\"Wh");  // the program ended in the middle of the write
    Write(RewriteBackupName("cut.src"), old);
    SetReadOnly("cut.src");
    Write(RewriteBackupName("gone.src"), old);  // a plugin file that is not there any more
    Write("plain.src", old);
    {
        BoxAnswerer answerer;
        RestoreInterruptedRewrites();
        ASSERT_TRUE(answerer.WaitForBoxes(1)) << "the user must be told what was put back";
        const Text text = answerer.Boxes()[0].text;
        EXPECT_NE(text.find("cut.src"), Text::npos) << text;
        EXPECT_NE(text.find("gone.src"), Text::npos) << text;
        EXPECT_EQ(text.find("plain.src"), Text::npos) << text;
    }
    EXPECT_EQ(Read("cut.src"), old);
    EXPECT_EQ(Read("gone.src"), old);
    EXPECT_EQ(FilesOnDisk(), (Rows{"cut.src", "gone.src", "plain.src"})) << "every backup must go";

    BoxAnswerer quiet;
    RestoreInterruptedRewrites();
    Sleep(100);
    EXPECT_TRUE(quiet.Boxes().empty()) << "nothing to put back, nothing to say";
}

TEST_F(PluginFileTest, ABackupLeftFromAnEarlierRunIsNeverOverwritten) {
    Write("a.src", PluginSource("New"));
    Write(RewriteBackupName("a.src"), PluginSource("Old"));
    EXPECT_EQ(RewritePluginFile(PathOf("a.src"), PluginSource("New"), PluginSource("Newer")), RewriteOutcome::NotWritten);
    EXPECT_EQ(Read("a.src"), PluginSource("New"));
    EXPECT_EQ(Read(RewriteBackupName("a.src")), PluginSource("Old"));
}

TEST_F(PluginFileTest, APluginNamedOutsideTheCodePageIsRewrittenInPlace) {
    WriteWide(L"\u03A9mega.src", "<search name=\"Omega\">\nupdate=\"u\"\n");
    Fill();
    ASSERT_EQ(RowsOf(nameList), Rows{"Omega"});
    EXPECT_EQ(DisableUpdateLines(0), RewriteOutcome::Rewritten);
    EXPECT_EQ(ConvertToDosLineEnds(0), RewriteOutcome::Rewritten);
    EXPECT_EQ(WideFilesOnDisk(), std::vector<std::wstring>{L"\u03A9mega.src"}) << "no backup may stay";
    EXPECT_EQ(ReadWide(L"\u03A9mega.src"), "<search name=\"Omega\">\r\n#update=\"u\"\r\n");
}

}  // namespace
}  // namespace catalogue_test
