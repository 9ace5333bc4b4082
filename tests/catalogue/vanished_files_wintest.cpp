// A plugin file that is deleted, or replaced by a folder of its name, between the listing and a
// command: every command that touches plugin files says which one is gone, creates nothing,
// reads the list again and never ends the program.
#include "tests/catalogue/catalogue_fixture.h"

#include <functional>

#include "catalogue/hide_restore_delete.h"
#include "catalogue/order_persistence.h"
#include "catalogue/text_edits.h"
#include "catalogue/update_toggle.h"
#include "tests/support/box_answerer.h"
#include "tests/support/error_capture.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

struct Command {
    const char* label;
    std::function<void()> run;
    bool changesOtherFiles;  // the "All" commands and the save go on with the other rows
};

class VanishedFileTest : public PluginFolderTest {};

// Prefixed, so that taking the prefixes off would touch it too.
const Text kGone = "K01##a.src";

TEST_F(VanishedFileTest, EveryCommandNamesTheGoneFileAndGoesOn) {
    bool asked = false;
    const Command commands[] = {
        {"disable updates", DisableUpdatesOfCurrentPlugin, false},
        {"enable all updates", EnableUpdatesOfAllPlugins, true},
        {"convert", ConvertCurrentPlugin, false},
        {"convert all", ConvertAllPlugins, true},
        {"rename", [&] { RenamePlugin([&](const Text&, const Text&, const Text&) { asked = true; return Text("New"); }); }, false},
        {"hide", [] { HidePlugin(); }, false},
        {"delete", DeletePlugin, false},
        {"edit", EditPluginFile, false},
        {"save", SavePluginOrder, true},
        {"original names", RestoreOriginalNames, false},
    };
    for (const bool byFolder : {false, true}) {
        for (const Command& command : commands) {
            const Text context = Text(command.label) + (byFolder ? ", replaced by a folder" : ", deleted");
            Write(kGone, PluginSource("A", "\n"));
            Write("K01##a.png", "png");
            Write("b.src", PluginSource("B", "\n"));
            Fill(1);
            ASSERT_EQ(RowsOf(fileList), (Rows{"b.src", kGone})) << context;
            ASSERT_TRUE(DeleteFileA(PathOf(kGone).c_str()));
            if (byFolder) {
                ASSERT_TRUE(CreateDirectoryA(PathOf(kGone).c_str(), nullptr));
            }
            const Text otherBefore = Read("b.src");
            asked = false;

            ErrorCapture errors(0);
            BoxAnswerer answerer(IDYES);
            command.run();
            ASSERT_TRUE(answerer.WaitForBoxes(1)) << context << ": nothing was said";
            Sleep(50);
            EXPECT_EQ(errors.ends, 0) << context << " ended the program";
            const auto boxes = answerer.Boxes();
            EXPECT_EQ(boxes.size(), 1u) << context;
            EXPECT_NE(boxes.back().text.find("no longer in the plugin folder"), Text::npos) << context << ": " << boxes.back().text;
            EXPECT_NE(boxes.back().text.find(kGone), Text::npos) << context << ": " << boxes.back().text;
            EXPECT_FALSE(asked) << context << ": the dialog opened for a file that is gone";
            EXPECT_EQ(GetFileAttributesA(PathOf(kGone).c_str()),
                      byFolder ? static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY) : INVALID_FILE_ATTRIBUTES)
                << context << ": the name was created or the folder changed";
            EXPECT_EQ(Read("K01##a.png"), "png") << context;
            if (!command.changesOtherFiles) {
                EXPECT_EQ(Read("b.src"), otherBefore) << context;
            }
            EXPECT_EQ(ListCount(fileList), 1) << context << ": the list was not read again";

            if (byFolder) {
                ASSERT_TRUE(RemoveDirectoryA(PathOf(kGone).c_str()));
            }
            for (const Text& name : FilesOnDisk()) ASSERT_TRUE(DeleteFileA(PathOf(name).c_str())) << name;
        }
    }
}

// The file can go between the read that comes first and the rewrite itself: the rewrite must
// not bring it back as a new file, nor write into a folder that took its name.
TEST_F(VanishedFileTest, ARewriteOfAGoneFileCreatesNothing) {
    EXPECT_EQ(RewritePluginFile(PathOf(kGone), PluginSource("A"), PluginSource("B")), RewriteOutcome::Missing);
    EXPECT_FALSE(Exists(kGone));
    ASSERT_TRUE(CreateDirectoryA(PathOf(kGone).c_str(), nullptr));
    EXPECT_EQ(RewritePluginFile(PathOf(kGone), PluginSource("A"), PluginSource("B")), RewriteOutcome::Missing);
    EXPECT_EQ(GetFileAttributesA(PathOf(kGone).c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    ASSERT_TRUE(RemoveDirectoryA(PathOf(kGone).c_str()));
}

}  // namespace
}  // namespace catalogue_test
