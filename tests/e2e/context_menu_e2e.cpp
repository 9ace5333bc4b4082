// The plugin list's context menu on the real window, its items chosen with the keyboard: every
// item acts on the selected row (not on the row under the cursor), Move Up is missing on the
// first row and Move Down on the last (seen by what the same position does), the Enter that
// chose Rename or Delete answers neither its dialog nor its question, the "All" submenu acts on
// every plugin, no menu opens without a selection, and the German menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

class ContextMenuTest : public QuorrelTest {
protected:
    void TearDown() override {
        QuorrelTest::TearDown();
        CloseNotepads();
    }

    // Right-clicks the row and waits for the menu; nullptr when none opened.
    HWND OpenMenuAt(int row, int timeoutMs = kTimeoutMs) {
        if (!XClick(RowPoint(row), 3)) return nullptr;
        return WaitPopupMenu(app.Pid(), timeoutMs);
    }

    // Chooses the item at the position (separators not counted, 0 = "All") with the arrow keys.
    void ChoosePosition(int row, int position) {
        HWND menu = OpenMenuAt(row);
        ASSERT_TRUE(menu) << "no menu opened";
        for (int i = 0; i <= position; ++i) MenuKey(menu, VK_DOWN);
        MenuKey(menu, VK_RETURN);
        ASSERT_TRUE(WaitWindowGone(menu));
    }

    void ChooseLetter(int row, char letter) {
        HWND menu = OpenMenuAt(row);
        ASSERT_TRUE(menu) << "no menu opened";
        MenuLetter(menu, letter);
        ASSERT_TRUE(WaitWindowGone(menu));
    }

    // Chooses the item at the position with the arrows and an Enter held for a second, repeating,
    // as a person does who looks up only afterwards.
    void ChooseWithHeldEnter(int row, int position) {
        HWND menu = OpenMenuAt(row);
        ASSERT_TRUE(menu) << "no menu opened";
        for (int i = 0; i <= position; ++i) MenuKey(menu, VK_DOWN);
        ASSERT_TRUE(XHoldKey("Return", 1000));
    }

    // Opens "All" and chooses the submenu item by its letter.
    void ChooseAll(char letter) {
        HWND menu = OpenMenuAt(ListSelection(List()));
        ASSERT_TRUE(menu) << "no menu opened";
        MenuKey(menu, VK_DOWN);
        MenuKey(menu, VK_RIGHT);
        Sleep(200);
        MenuLetter(menu, letter);
        ASSERT_TRUE(WaitUntil([&] { return FindTopLevel({app.Pid(), "#32768", ""}) == nullptr; }))
            << "the menu did not close";
    }
};

// Positions in the menu of a middle row; the first row lacks Move Up, the last Move Down.
enum Position { kAll, kEdit, kRename, kConvert, kDisable, kEnable, kMoveUpOrDown };

TEST_F(ContextMenuTest, EveryItemActsOnTheSelectedRow) {
    AddPlugin("a.src", "Alpha", kUpdateLines);
    ASSERT_TRUE(WriteFileBytes(PluginPath("b.src"), UnixPluginSource("Bravo")));
    AddPlugin("c.src", "Charlie");
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(SelectRow(1));
    ChooseLetter(1, 'c');
    EXPECT_EQ(AnswerBox("Message:"), "Conversion successful!");
    EXPECT_EQ(FileText("b.src").find("\r\n"), 7u) << "Bravo must have DOS line ends now";

    ChooseLetter(1, 'r');
    HWND rename = WaitDialog("Rename Plugin");
    ASSERT_TRUE(rename) << "Rename opened no input dialog";
    ASSERT_TRUE(XKeys({"Escape"}));
    ASSERT_TRUE(DialogClosed(rename));

    // Right-clicking another row still acts on the selected one.
    ASSERT_TRUE(SelectRow(0));
    ChooseLetter(2, 'i');
    EXPECT_EQ(AnswerBox("Message:"), "Update function disabled!");
    EXPECT_NE(FileText("a.src").find("#update="), std::string::npos) << FileText("a.src");
    ChoosePosition(0, kEnable);
    EXPECT_EQ(AnswerBox("Message:"), "Update function enabled!");
    EXPECT_EQ(FileText("a.src").find('#'), std::string::npos) << FileText("a.src");

    // First row: the position after Enable is Move Down.
    ChoosePosition(0, kMoveUpOrDown);
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha", "Charlie"})) << Joined(Rows());
    ASSERT_TRUE(SelectionBecomes(1));
    // Last row: the same position is Move Up.
    ASSERT_TRUE(SelectRow(2));
    ChoosePosition(2, kMoveUpOrDown);
    ASSERT_TRUE(RowsBecome({"Bravo", "Charlie", "Alpha"})) << Joined(Rows());
    ASSERT_TRUE(SelectionBecomes(1));
    // Middle row: both are offered, Move Up by its letter and Move Down after it.
    ChooseLetter(1, 'u');
    ASSERT_TRUE(RowsBecome({"Charlie", "Bravo", "Alpha"})) << Joined(Rows());
    ASSERT_TRUE(SelectionBecomes(0));
    ASSERT_TRUE(SelectRow(1));
    ChoosePosition(1, kMoveUpOrDown + 1);
    ASSERT_TRUE(RowsBecome({"Charlie", "Alpha", "Bravo"})) << Joined(Rows());
    ASSERT_TRUE(SelectionBecomes(2));

    // First row: one Move item only, so Hide follows it directly.
    ASSERT_TRUE(SelectRow(0));
    ChoosePosition(0, kMoveUpOrDown + 1);
    ASSERT_TRUE(RowsBecome({"Alpha", "Bravo"})) << "the first row should have been hidden: " << Joined(Rows());
    EXPECT_TRUE(FileExists(PluginPath("c.hid")));

    ChoosePosition(0, kEdit);
    ASSERT_TRUE(WaitUntil([] { return !NotepadWindows().empty(); }, 10000)) << "Edit started no editor";
    EXPECT_NE(WindowText(NotepadWindows().front()).find("a.src"), std::string::npos);
    CloseNotepads();

    ASSERT_TRUE(SelectRow(1));
    ChooseLetter(1, 'h');
    ASSERT_TRUE(RowsBecome({"Alpha"})) << Joined(Rows());
    ChoosePosition(0, kMoveUpOrDown + 1);   // a single row has no Move item: Hide, then Delete
    EXPECT_EQ(AnswerBox("Question:", IDYES), "Do yo really want to delete this plugin?\r\rAlpha");
    EXPECT_TRUE(RowsBecome({})) << Joined(Rows());
    EXPECT_FALSE(FileExists(PluginPath("a.src")));
}

// A person choosing Rename or Delete with the arrows and Enter still holds Enter for a moment when
// the dialog or the question opens: that Enter belongs to the menu and must answer neither.
TEST_F(ContextMenuTest, TheEnterThatChoseRenameLeavesTheDialogOpen) {
    // Line ends that any rewrite would change, so a rewrite with the same name shows.
    ASSERT_TRUE(WriteFileBytes(PluginPath("a.src"), UnixPluginSource("Alpha")));
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string before = FileText("a.src");

    ASSERT_TRUE(SelectRow(0));
    ASSERT_NO_FATAL_FAILURE(ChooseWithHeldEnter(0, kRename));
    HWND rename = WaitDialog("Rename Plugin");
    Sleep(300);
    EXPECT_EQ(FileText("a.src"), before) << "the plugin file was rewritten unasked";
    ASSERT_TRUE(rename && IsWindow(rename)) << "the Enter that chose Rename confirmed the dialog (or none opened)";

    ASSERT_TRUE(XKeys({"Escape"}));
    ASSERT_TRUE(DialogClosed(rename));
    EXPECT_EQ(FileText("a.src"), before);
}

TEST_F(ContextMenuTest, TheEnterThatChoseDeleteLeavesTheQuestionOpen) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(SelectRow(0));
    ASSERT_NO_FATAL_FAILURE(ChooseWithHeldEnter(0, kMoveUpOrDown + 2));  // Move Down, Hide, Delete
    HWND box = WaitMessageBox(app.Pid(), "Question:");
    Sleep(300);
    EXPECT_TRUE(FileExists(PluginPath("a.src"))) << "the held Enter deleted the plugin unasked";
    ASSERT_TRUE(box && IsWindow(box)) << "the held Enter answered the question (or none came)";
    EXPECT_EQ(AnswerBox("Question:", IDYES), "Do yo really want to delete this plugin?\r\rAlpha");
    EXPECT_TRUE(RowsBecome({"Bravo"})) << Joined(Rows());
    EXPECT_FALSE(FileExists(PluginPath("a.src")));
}

TEST_F(ContextMenuTest, AllSubmenuActsOnEveryPlugin) {
    AddPlugin("a.src", "Alpha", kUpdateLines);
    ASSERT_TRUE(WriteFileBytes(PluginPath("b.src"), UnixPluginSource("Bravo")));
    AddPlugin("c.src", "Charlie", kUpdateLines);
    ASSERT_NO_FATAL_FAILURE(Start());

    ChooseAll('d');
    EXPECT_EQ(AnswerBox("Message:"), "Update function disabled for all plugins!");
    EXPECT_NE(FileText("a.src").find("#update="), std::string::npos) << FileText("a.src");
    EXPECT_NE(FileText("c.src").find("#update="), std::string::npos) << FileText("c.src");

    ChooseAll('e');
    EXPECT_EQ(AnswerBox("Message:"), "Update function enabled for all plugins!");
    EXPECT_EQ(FileText("a.src").find('#'), std::string::npos) << FileText("a.src");
    EXPECT_EQ(FileText("c.src").find('#'), std::string::npos) << FileText("c.src");

    ChooseAll('c');
    EXPECT_EQ(AnswerBox("Message:"), "All plugins were converted to DOS text!");
    EXPECT_EQ(FileText("b.src").find("\r\n"), 7u) << "Bravo must have DOS line ends now";
}

TEST_F(ContextMenuTest, NoSelectionNoMenu) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(SelectRow(-1));
    EXPECT_EQ(OpenMenuAt(0, 800), nullptr) << "a menu opened without a selected row";
}

TEST_F(ContextMenuTest, GermanMenuChoosesByItsLetters) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    AddPlugin("c.src", "Charlie");
    ASSERT_NO_FATAL_FAILURE(Start("-d"));
    ASSERT_TRUE(SelectRow(1));
    HWND menu = OpenMenuAt(1);
    ASSERT_TRUE(menu);
    MenuLetter(menu, 'o');
    ASSERT_TRUE(WaitWindowGone(menu));
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha", "Charlie"})) << "\"Nach &oben\": " << Joined(Rows());
    ASSERT_TRUE(SelectionBecomes(0));
    ChooseLetter(0, 'v');
    ASSERT_TRUE(RowsBecome({"Alpha", "Charlie"})) << "\"&Verstecken\": " << Joined(Rows());
    EXPECT_TRUE(TextBecomes(At(kShowHidden), "  Versteckt: 1")) << WindowText(At(kShowHidden));
}

}  // namespace
}  // namespace e2e
