// Listing the plugin folder into the two lists, unpinning Google and Yahoo, counting and
// moving rows, on real files.
#include "tests/catalogue/catalogue_fixture.h"

#include "catalogue/plugin_list.h"
#include "tests/support/error_capture.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

using PluginListTest = PluginFolderTest;

TEST_F(PluginListTest, RowsFollowTheFileSystemOrderAndNotTheDisplayNames) {
    Write("a.src", PluginSource("Zeta"));
    Write("b.src", PluginSource("Alpha"));
    Write("c.SRC", PluginSource("  Mid  "));
    Write("d.src", "<search action=\"x\">\r\n");          // no name: no row
    Write("e.src", PluginSource("   "));                 // blank name: no row
    Write("f.hid", PluginSource("Hidden"));
    Write("g.gif", "GIF89a");
    Fill();
    EXPECT_EQ(RowsOf(nameList), (Rows{"Zeta", "Alpha", "  Mid  "})) << "rows must keep the enumeration order, names untrimmed";
    EXPECT_EQ(RowsOf(fileList), (Rows{"a.src", "b.src", "c.SRC"}));
    Fill(-1, "*.HID");
    EXPECT_EQ(RowsOf(nameList), Rows{"Hidden"});
    EXPECT_EQ(RowsOf(fileList), Rows{"f.hid"});
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(Text(current), catalogue.startFolder) << "listing must return to the start folder";
}

TEST_F(PluginListTest, FillSelectsTheRequestedRowOrRowZero) {
    for (const char* name : {"a", "b", "c"}) Write(Text(name) + ".src", PluginSource(name));
    Fill(2);
    EXPECT_EQ(ListSelection(nameList), 2);
    Fill(5);
    EXPECT_EQ(ListSelection(nameList), 0) << "a row past the end selects row 0";
    Fill(-1);
    EXPECT_EQ(ListSelection(nameList), 0) << "-1 selects row 0";
    EXPECT_EQ(moveButtonUpdates, 3) << "every fill lets the Move buttons follow the selection";

    for (const char* name : {"a.src", "b.src", "c.src"}) DeleteFileA(PathOf(name).c_str());
    Fill(1);
    EXPECT_EQ(ListCount(nameList), 0);
    EXPECT_EQ(ListCount(fileList), 0);
    EXPECT_EQ(ListSelection(nameList), -1) << "an empty folder leaves nothing selected";
}

// A search also matches the short names made up for longer extensions: an editor's backup or a
// renamed-away file is no plugin.
TEST_F(PluginListTest, OnlyFilesWhoseOwnNameEndsInTheExtensionAreListedAndCounted) {
    Write("a.src", PluginSource("A"));
    Write("b.hid", PluginSource("B"));
    for (const char* other : {"google.src~", "x.srcx", "y.srcold", "z.hidden", "b.hid~"}) Write(other, PluginSource(other));
    ASSERT_TRUE(CreateDirectoryA(PathOf("sub.SRC").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(PathOf("old.hid").c_str(), nullptr));
    ErrorCapture errors(0);
    Fill();
    Fill(-1, "*.HID");
    EXPECT_TRUE(errors.boxes.empty()) << "a folder was read as a plugin file: " << errors.boxes.front().caption;
    EXPECT_EQ(errors.ends, 0);
    EXPECT_EQ(RowsOf(fileList), Rows{"b.hid"});
    Fill();
    EXPECT_EQ(RowsOf(fileList), Rows{"a.src"});
    EXPECT_EQ(CountPluginFiles("*.SRC"), 1);
    EXPECT_EQ(CountPluginFiles("*.HID"), 1);
    EXPECT_EQ(CountPluginFiles("*.xyz"), 0);
}

TEST_F(PluginListTest, PinnedNamesGetABlankInFileAndRowEvenWhenReadOnly) {
    Write("google.src", "<search\nname = \"Google\"\nmethod=\"GET\">\n");
    SetReadOnly("google.src");
    Write("yahoo.src", "<search name=\"yahoo\">\r\n");
    const Text unpinned = "<search name=\"Google \">\r\n";
    const Text shouted = "<search name=\"GOOGLE\">\r\n";
    const Text more = "<search name=\"Google Maps\">\r\n";
    Write("x1.src", unpinned);
    Write("x2.src", shouted);
    Write("x3.src", more);
    Fill();
    EXPECT_EQ(RowsOf(nameList), (Rows{"Google ", "Google ", "GOOGLE", "Google Maps", "yahoo "}));
    EXPECT_EQ(Read("google.src"), "<search\nname=\"Google \"\nmethod=\"GET\">\n")
        << "the file holds the normalised text with the blank, and its own line ends";
    EXPECT_FALSE(IsReadOnly("google.src")) << "the read-only bit must be cleared for the rewrite";
    EXPECT_EQ(Read("yahoo.src"), "<search name=\"yahoo \">\r\n");
    EXPECT_EQ(Read("x1.src"), unpinned) << "a name that is no longer pinned must not be rewritten";
    EXPECT_EQ(Read("x2.src"), shouted);
    EXPECT_EQ(Read("x3.src"), more);
}

TEST_F(PluginListTest, PinnedPluginThatDoesNotFitTheBufferOrHoldsNulIsListedButNotRewritten) {
    const Text longFile = "<search name=\"Google\">\r\n" + Text(40000, 'x') + "\r\n";
    const Text nulFile = Text("<search name=\"Yahoo\">\r\n<!-- ") + '\0' + " -->\r\n";
    Write("long.src", longFile);
    Write("zero.src", nulFile);
    ErrorCapture errors(1);  // a text cut to the buffer is no warning, even where warnings show
    Fill();
    EXPECT_TRUE(errors.boxes.empty()) << errors.boxes.front().caption;
    EXPECT_EQ(RowsOf(nameList), (Rows{"Google", "Yahoo"})) << "the rows show the names as read";
    EXPECT_TRUE(Read("long.src") == longFile) << "a cut text was written back over a long plugin";
    EXPECT_EQ(Read("zero.src"), nulFile) << "a NUL-stripped text was written back";
}

TEST_F(PluginListTest, PrefixLetterComesFromTheLastPrefixedRowAndStays) {
    Write("K03##google.src", PluginSource("Web"));
    Write("K04##yahoo.src", PluginSource("Other"));
    Write("Z05##noname.src", "<search>\r\n");  // no row, so its letter does not count
    Fill();
    EXPECT_EQ(catalogue.prefixLetter, "K");
    DeleteFileA(PathOf("K03##google.src").c_str());
    DeleteFileA(PathOf("K04##yahoo.src").c_str());
    Write("plain.src", PluginSource("Plain"));
    Fill();
    EXPECT_EQ(catalogue.prefixLetter, "K") << "a listing without prefixed names keeps the letter";
}

TEST_F(PluginListTest, MovingRowsChangesBothListsAlikeAndKeepsTheRowSelected) {
    for (const char* name : {"A", "B", "C", "D"}) Write(Text(name) + ".src", PluginSource(Text("n") + name));
    Fill(2);
    const int updatesBefore = moveButtonUpdates;
    MovePluginUp();
    EXPECT_EQ(RowsOf(nameList), (Rows{"nA", "nC", "nB", "nD"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"A.src", "C.src", "B.src", "D.src"}));
    EXPECT_EQ(CurrentRow(), 1);
    EXPECT_EQ(moveButtonUpdates, updatesBefore + 1);

    ListSelect(nameList, 2);
    MovePluginDown();
    EXPECT_EQ(RowsOf(nameList), (Rows{"nA", "nC", "nD", "nB"})) << "moving into the last row";
    EXPECT_EQ(RowsOf(fileList), (Rows{"A.src", "C.src", "D.src", "B.src"}));
    EXPECT_EQ(CurrentRow(), 3);

    MovePluginTo(3, 0);  // several places at once, as three moves up would
    EXPECT_EQ(RowsOf(fileList), (Rows{"B.src", "A.src", "C.src", "D.src"}));
    EXPECT_EQ(CurrentRow(), 0);
    MovePluginTo(0, 3);
    EXPECT_EQ(RowsOf(nameList), (Rows{"nA", "nC", "nD", "nB"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"A.src", "C.src", "D.src", "B.src"}));
    EXPECT_EQ(CurrentRow(), 3);
    MovePluginTo(1, 4);  // past the end: nothing moves

    MovePluginDown();  // the last row cannot go further
    ListSelect(nameList, 0);
    MovePluginUp();    // nor the first one
    EXPECT_EQ(RowsOf(fileList), (Rows{"A.src", "C.src", "D.src", "B.src"}));
    EXPECT_EQ(CurrentRow(), 0);
    EXPECT_EQ(FilesOnDisk().size(), 4u);
    EXPECT_EQ(Read("B.src"), PluginSource("nB")) << "moving rows must not touch the files";
}

TEST_F(PluginListTest, RefreshRereadsTheFolderAndKeepsTheCurrentRow) {
    for (const char* name : {"a", "b", "c"}) Write(Text(name) + ".src", PluginSource(name));
    Fill(1);
    Write("b.src", PluginSource("changed outside"));
    RefreshPluginList();
    EXPECT_EQ(RowsOf(nameList), (Rows{"a", "changed outside", "c"}));
    EXPECT_EQ(CurrentRow(), 1);
}

}  // namespace
}  // namespace catalogue_test
