// The file side of disabling and enabling update attributes: rewriting in place, line ends,
// read-only files, the messages, and files that must not be written back.
#include "tests/catalogue/catalogue_fixture.h"

#include "catalogue/update_toggle.h"
#include "tests/support/box_answerer.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

const Text kUpdates =
    "<search name=\"Web\">\r\n</search>\r\nupdate=\"https://example.com/w.src\"\r\n"
    "updateIcon = \"https://example.com/w.png\"\r\nupdateCheckDays= 7\r\n";
const Text kDisabled =
    "<search name=\"Web\">\r\n</search>\r\n#update=\"https://example.com/w.src\"\r\n"
    "#updateicon=\"https://example.com/w.png\"\r\n#updatecheckdays=7\r\n";
const Text kEnabled =
    "<search name=\"Web\">\r\n</search>\r\nupdate=\"https://example.com/w.src\"\r\n"
    "updateicon=\"https://example.com/w.png\"\r\nupdatecheckdays=7\r\n";

class UpdateToggleTest : public PluginFolderTest {
protected:
    // Runs a command and returns the texts of the boxes it showed.
    template <typename Command>
    Rows RunCommand(Command command) {
        BoxAnswerer answerer;
        command();
        answerer.WaitForBoxes(1);
        Sleep(50);
        Rows texts;
        for (const auto& box : answerer.Boxes()) {
            EXPECT_EQ(box.caption, "Message:");
            texts.push_back(box.text);
            lastIcon = box.icon;
        }
        return texts;
    }
    int lastIcon = 0;
};

TEST_F(UpdateToggleTest, DisablingAndEnablingRewriteExactlyTheFilesOwnTextWithTheKeysChanged) {
    Write("web.src", kUpdates);
    SetReadOnly("web.src");
    Fill(0);
    EXPECT_EQ(DisableUpdateLines(0), RewriteOutcome::Rewritten);
    EXPECT_EQ(Read("web.src"), kDisabled);
    EXPECT_FALSE(IsReadOnly("web.src")) << "a read-only plugin must be rewritten and lose the bit";

    EXPECT_EQ(RunCommand(DisableUpdatesOfCurrentPlugin), Rows{"Update function disabled!"});
    EXPECT_EQ(lastIcon, MB_ICONASTERISK);
    EXPECT_EQ(Read("web.src"), kDisabled) << "disabling twice keeps one #";

    EXPECT_EQ(RunCommand(EnableUpdatesOfCurrentPlugin), Rows{"Update function enabled!"});
    EXPECT_EQ(RunCommand(EnableUpdatesOfCurrentPlugin), Rows{"Update function enabled!"});
    EXPECT_EQ(Read("web.src"), kEnabled);
    EXPECT_EQ(RowsOf(nameList), Rows{"Web"}) << "the rows do not change";
}

TEST_F(UpdateToggleTest, EveryLineEndStaysAsTheFileHadIt) {
    const struct {
        const char* label;
        Text before;
        Text after;
    } cases[] = {
        {"Unix", "<search name=\"U\">\nupdate=\"u\"\n</search>\n", "<search name=\"U\">\n#update=\"u\"\n</search>\n"},
        {"lone CR", "<search name=\"U\">\rupdate=\"u\"\r", "<search name=\"U\">\r#update=\"u\"\r"},
        {"no last line end", "<search name=\"U\">\r\nupdate=\"u\"", "<search name=\"U\">\r\n#update=\"u\""},
    };
    for (const auto& c : cases) {
        Write("u.src", c.before);
        Fill(0);
        EXPECT_EQ(DisableUpdateLines(0), RewriteOutcome::Rewritten) << c.label;
        EXPECT_EQ(Read("u.src"), c.after) << c.label;
        EXPECT_EQ(FilesOnDisk(), std::vector<Text>{"u.src"}) << c.label << ": the backup must go";
    }
}

TEST_F(UpdateToggleTest, AllCommandsRewriteEveryRowInOrderAndShowOneMessage) {
    Write("a.src", "<search name=\"A\">\r\nupdate=\"a\"\r\n");
    Write("b.src", "<search name=\"B\">\r\n");
    Write("c.src", "<search name=\"C\">\r\n#update=\"c\"\r\n");
    Fill(1);
    EXPECT_EQ(RunCommand(DisableUpdatesOfAllPlugins), Rows{"Update function disabled for all plugins!"});
    EXPECT_EQ(Read("a.src"), "<search name=\"A\">\r\n#update=\"a\"\r\n");
    EXPECT_EQ(Read("b.src"), "<search name=\"B\">\r\n") << "files without update lines are rewritten too";
    EXPECT_EQ(Read("c.src"), "<search name=\"C\">\r\n#update=\"c\"\r\n");
    EXPECT_EQ(RunCommand(EnableUpdatesOfAllPlugins), Rows{"Update function enabled for all plugins!"});
    EXPECT_EQ(Read("c.src"), "<search name=\"C\">\r\nupdate=\"c\"\r\n");

    ListSetAll(nameList, {});
    ListSetAll(fileList, {});
    EXPECT_EQ(RunCommand(EnableUpdatesOfAllPlugins), Rows{"Update function enabled for all plugins!"})
        << "an empty list still reports";
}

TEST_F(UpdateToggleTest, FilesThatDoNotFitTheBufferOrHoldNulAreLeftUnchangedWithAMessage) {
    const Text longFile = "<search name=\"Long\">\r\nupdate=\"x\"\r\n" + Text(32767, 'x');
    const Text nulFile = Text("<search name=\"Nul\">\r\nupdate=\"x\"\r\n") + '\0' + "tail\r\n";
    const Text fine = "<search name=\"Fine\">\r\nupdate=\"x\"\r\n";
    Write("a-long.src", longFile);
    Write("b-nul.src", nulFile);
    Write("c-fine.src", fine);
    Fill(0);

    const Rows one = RunCommand(DisableUpdatesOfCurrentPlugin);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_NE(one[0].find("a-long.src"), Text::npos) << one[0];
    EXPECT_NE(one[0], "Update function disabled!") << "a refused file was reported as done";
    EXPECT_EQ(lastIcon, MB_ICONEXCLAMATION);
    EXPECT_TRUE(Read("a-long.src") == longFile);

    const Rows all = RunCommand(DisableUpdatesOfAllPlugins);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_NE(all[0].find("a-long.src"), Text::npos) << all[0];
    EXPECT_NE(all[0].find("b-nul.src"), Text::npos) << all[0];
    EXPECT_EQ(all[0].find("c-fine.src"), Text::npos) << "a file that was changed is not a failure";
    EXPECT_TRUE(Read("a-long.src") == longFile);
    EXPECT_EQ(Read("b-nul.src"), nulFile);
    EXPECT_EQ(Read("c-fine.src"), "<search name=\"Fine\">\r\n#update=\"x\"\r\n")
        << "the other rows are still done";
}

TEST_F(UpdateToggleTest, AFileInUseIsReportedAsNotWritten) {
    Write("busy.src", kUpdates);
    Fill(0);
    FileLock lock(PathOf("busy.src"));
    ASSERT_TRUE(lock.Held());
    const Rows texts = RunCommand(DisableUpdatesOfCurrentPlugin);
    lock.Release();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0], "Update function disabled!") << "a file that was not written was reported as done";
    EXPECT_NE(texts[0].find("busy.src"), Text::npos);
    EXPECT_EQ(Read("busy.src"), kUpdates);
}

}  // namespace
}  // namespace catalogue_test
