// Hiding, restoring and deleting plugins on real files, including the failures that must keep
// the row and be reported, and handing the folder and the download page to the shell.
#include "tests/catalogue/catalogue_fixture.h"

#include <cstdlib>

#include "catalogue/hide_restore_delete.h"
#include "catalogue/web_addresses.h"
#include "tests/support/box_answerer.h"
#include "tests/support/shell_log.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

class HideRestoreDeleteTest : public PluginFolderTest {
protected:
    // Runs command while every box is answered with `button`; returns the boxes.
    template <typename Command>
    std::vector<BoxAnswerer::SeenBox> Answering(int button, Command command) {
        BoxAnswerer answerer(button);
        command();
        Sleep(100);
        return answerer.Boxes();
    }
};

TEST_F(HideRestoreDeleteTest, HidingAndRestoringChangeOnlyTheExtension) {
    Write("Google.SRC", PluginSource("G"));
    Write("Google.gif", "gif");
    Write("b.src", PluginSource("B"));
    Fill(1);
    ASSERT_EQ(RowsOf(fileList), (Rows{"b.src", "Google.SRC"}));
    bool hidden = false;
    EXPECT_TRUE(Answering(IDOK, [&] { hidden = HidePlugin(); }).empty());
    EXPECT_TRUE(hidden);
    EXPECT_EQ(FilesOnDisk(), (Rows{"b.src", "Google.gif", "Google.hid"}));
    EXPECT_EQ(RowsOf(nameList), Rows{"B"});
    EXPECT_EQ(RowsOf(fileList), Rows{"b.src"});
    EXPECT_EQ(CountPluginFiles("*.HID"), 1);

    EXPECT_TRUE(RestoreHiddenPlugin("Google.hid"));
    EXPECT_EQ(FilesOnDisk(), (Rows{"b.src", "Google.gif", "Google.src"}));
}

TEST_F(HideRestoreDeleteTest, HidingTheOnlyRowEmptiesBothLists) {
    Write("a.src", PluginSource("A"));
    Fill(0);
    EXPECT_TRUE(HidePlugin());
    EXPECT_EQ(ListCount(nameList), 0);
    EXPECT_EQ(ListCount(fileList), 0);
    EXPECT_EQ(CountPluginFiles("*.HID"), 1);
}

TEST_F(HideRestoreDeleteTest, HidingOntoAnExistingHiddenFileKeepsTheRowAndSaysWhy) {
    Write("google.src", PluginSource("Visible"));
    Write("google.hid", PluginSource("Hidden before"));
    Fill(0);
    bool hidden = true;
    const auto boxes = Answering(IDOK, [&] { hidden = HidePlugin(); });
    EXPECT_FALSE(hidden);
    ASSERT_EQ(boxes.size(), 1u) << "a failed hide must not pass in silence";
    EXPECT_EQ(boxes[0].caption, "Message:");
    EXPECT_EQ(boxes[0].icon, MB_ICONEXCLAMATION);
    EXPECT_NE(boxes[0].text.find("google.src"), Text::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("exists already"), Text::npos) << boxes[0].text;
    EXPECT_EQ(RowsOf(fileList), Rows{"google.src"}) << "the plugin is still there, so is its row";
    EXPECT_EQ(Read("google.hid"), PluginSource("Hidden before"));
    EXPECT_EQ(Read("google.src"), PluginSource("Visible"));
}

TEST_F(HideRestoreDeleteTest, RestoringOntoAnExistingPluginFailsAndSaysSo) {
    Write("google.src", PluginSource("Visible"));
    Write("google.hid", PluginSource("Hidden"));
    bool restored = true;
    const auto boxes = Answering(IDOK, [&] { restored = RestoreHiddenPlugin("google.hid"); });
    EXPECT_FALSE(restored) << "the dialog must keep the row of a plugin that stayed hidden";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("google.hid"), Text::npos) << boxes[0].text;
    EXPECT_EQ(Read("google.hid"), PluginSource("Hidden"));
    EXPECT_EQ(Read("google.src"), PluginSource("Visible"));
}

TEST_F(HideRestoreDeleteTest, DeletingAsksWithTheListedNameAndDeletesThePluginAndOneImage) {
    Write("a.src", PluginSource("A"));
    Write("google.src", "<search name=\"Google\">\r\n");
    Write("google.gif", "gif");
    Write("google.png", "png");
    Fill(1);
    ASSERT_EQ(RowsOf(nameList), (Rows{"A", "Google "}));
    SetReadOnly("google.src");
    SetReadOnly("google.png");

    const auto boxes = Answering(IDYES, DeletePlugin);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Question:");
    EXPECT_EQ(boxes[0].text, "Do yo really want to delete this plugin?\r\rGoogle ");
    EXPECT_EQ(boxes[0].icon, MB_ICONQUESTION);
    EXPECT_TRUE(boxes[0].hadButton) << "the question must offer Yes";
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.src", "google.gif"})) << ".png is tried before .gif; read-only files go too";
    EXPECT_EQ(RowsOf(nameList), Rows{"A"});
    EXPECT_EQ(RowsOf(fileList), Rows{"a.src"});
    EXPECT_EQ(CurrentRow(), 0) << "deleting the last row selects the new last row";
}

TEST_F(HideRestoreDeleteTest, AnEmptyImageIsNotDeletedButTheNextOneIs) {
    for (const char* name : {"a", "b", "c"}) Write(Text(name) + ".src", PluginSource(name));
    Write("b.png", "");
    Write("b.jpg", "jpg");
    Write("b.ico", "ico");
    Fill(1);
    Answering(IDYES, DeletePlugin);
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.src", "b.ico", "b.png", "c.src"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"a.src", "c.src"}));
    EXPECT_EQ(CurrentRow(), 1) << "the row that took the deleted one's place is selected";
    EXPECT_EQ(ErrorLevel(), 0) << "the image search ends at error level 0";
}

TEST_F(HideRestoreDeleteTest, AnsweringNoDeletesNothing) {
    Write("a.src", PluginSource("A"));
    Write("a.gif", "gif");
    Fill(0);
    catalogue.language = Language::German;
    const auto boxes = Answering(IDNO, DeletePlugin);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].hadButton) << "the question must offer No";
    EXPECT_EQ(boxes[0].caption, "Frage:");
    EXPECT_EQ(boxes[0].text, "Wollen Sie dieses Suchplugin wirklich löschen?\r\rA");
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.gif", "a.src"}));
    EXPECT_EQ(RowsOf(fileList), Rows{"a.src"});
    EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(HideRestoreDeleteTest, APluginThatCannotBeDeletedKeepsItsRowAndItsImage) {
    Write("a.src", PluginSource("A"));
    Write("a.gif", "gif");
    Fill(0);
    FileLock lock(PathOf("a.src"));
    ASSERT_TRUE(lock.Held());
    const auto boxes = Answering(IDYES, DeletePlugin);
    lock.Release();
    ASSERT_EQ(boxes.size(), 2u) << "the question and then the failure";
    EXPECT_EQ(boxes[1].caption, "Message:");
    EXPECT_EQ(boxes[1].icon, MB_ICONEXCLAMATION);
    EXPECT_NE(boxes[1].text.find("a.src"), Text::npos) << boxes[1].text;
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.gif", "a.src"}));
    EXPECT_EQ(RowsOf(fileList), Rows{"a.src"});
}

TEST_F(HideRestoreDeleteTest, AnImageThatCannotBeDeletedIsReported) {
    Write("a.src", PluginSource("A"));
    Write("a.png", "png");
    Fill(0);
    FileLock lock(PathOf("a.png"));
    const auto boxes = Answering(IDYES, DeletePlugin);
    lock.Release();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find("a.png"), Text::npos) << boxes[1].text;
    EXPECT_EQ(FilesOnDisk(), Rows{"a.png"});
    EXPECT_EQ(ListCount(fileList), 0) << "the plugin file is gone, so is its row";
}

TEST_F(HideRestoreDeleteTest, ImagesAreFoundBesideThePluginByItsOwnBaseName) {
    ASSERT_TRUE(CreateDirectoryA(PathOf("x.src").c_str(), nullptr));
    catalogue.pluginFolder = PathOf("x.src");
    Write("x.src\\news.src.src", PluginSource("News twice"));
    Write("x.src\\news.src", PluginSource("News"));
    Write("x.src\\news.src.png", "png of news.src.src");
    Write("x.src\\news.png", "png of news.src");
    Write("x.png", "beside the folder");
    Fill(0);
    ASSERT_EQ(RowsOf(fileList), (Rows{"news.src", "news.src.src"}));
    ListSelect(nameList, 1);
    Answering(IDYES, DeletePlugin);
    EXPECT_EQ(FilesOnDisk("x.src"), (Rows{"news.png", "news.src"})) << "news.png belongs to news.src";
    ListSelect(nameList, 0);
    Answering(IDYES, DeletePlugin);
    EXPECT_TRUE(FilesOnDisk("x.src").empty()) << "under a folder named x.src the image is found all the same";
    EXPECT_EQ(Read("x.png"), "beside the folder");
}

TEST_F(HideRestoreDeleteTest, TheFolderAndTheDownloadPageGoToTheShell) {
    {
        const ScopedShellLog shellLog(folder + "\\shell.log");
        OpenPluginFolder();
        OpenDownloadPage();
    }
    EXPECT_EQ(Read("shell.log"), "explore\t" + folder + "\t1\r\nopen\t" + kDownloadPageAddress + "\t1\r\n");
}

}  // namespace
}  // namespace catalogue_test
