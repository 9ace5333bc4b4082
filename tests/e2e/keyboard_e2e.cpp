// The keyboard shortcuts of the plugin list, pressed on the real window: numpad minus and plus
// (repeating while held), Alt+T, Alt+U and Alt+I (once per press), Backspace, Enter (once per
// press), Delete after asking, into the Recycle Bin, numpad star and Shift with the plus key (one row per press), and
// that none of them acts while a button has the focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

class KeyboardTest : public QuorrelTest {
protected:
    void TearDown() override {
        QuorrelTest::TearDown();
        CloseNotepads();
    }

    void AddLetters(const std::vector<std::string>& names) {
        for (const std::string& name : names) AddPlugin(std::string(1, name[0]) + ".src", name);
    }
};

TEST_F(KeyboardTest, NumpadMinusAndPlusMoveTheRowAndRepeatWhileHeld) {
    AddLetters({"Alpha", "Bravo", "Charlie", "Delta", "Echo"});
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(SelectRow(2));
    ASSERT_TRUE(PressKey(app.Main(), VK_SUBTRACT, 100));
    ASSERT_TRUE(WaitUntil([&] { return Rows()[2] != "Charlie"; })) << "numpad minus moved nothing";
    EXPECT_TRUE(WaitUntil([&] {
        const int selected = ListSelection(List());
        return selected >= 0 && selected < 2 && Rows()[selected] == "Charlie";
    })) << "the moved row stays selected: " << Joined(Rows());
    Sleep(300);

    ASSERT_TRUE(SelectRow(0));
    const std::string first = Rows()[0];
    ASSERT_TRUE(PressKey(app.Main(), VK_ADD, 900));
    EXPECT_TRUE(WaitUntil([&] { return Rows()[4] == first; })) << "holding numpad plus must carry the row down to the "
                                                                   "end: "
                                                                << Joined(Rows());
    EXPECT_TRUE(SelectionBecomes(4));
    EXPECT_TRUE(WaitUntil([&] { return FileRows()[4][0] == first[0]; })) << "the file list moves along";
}

TEST_F(KeyboardTest, AltTAltUAndAltIActOncePerPress) {
    ASSERT_TRUE(WriteFileBytes(PluginPath("a.src"), UnixPluginSource("Alpha")));
    AddPlugin("b.src", "Bravo", kUpdateLines);
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(XKeys({"alt", "t"}, 700));
    EXPECT_EQ(AnswerBox("Message:"), "Conversion successful!");
    EXPECT_TRUE(NoBoxFor(800)) << "a held Alt+T converted again";
    EXPECT_EQ(FileText("a.src"), "<search\r\nname=\"Alpha\"\r\nmethod=\"GET\"\r\n>\r\n</search>\r\n");

    ASSERT_TRUE(SelectRow(1));
    FocusList();
    ASSERT_TRUE(XKeys({"alt", "u"}, 700));
    EXPECT_EQ(AnswerBox("Message:"), "Update function disabled!");
    EXPECT_TRUE(NoBoxFor(800)) << "a held Alt+U disabled again";
    EXPECT_NE(FileText("b.src").find("#update=\"http://example.org/a.src\"\r\n#updateicon="), std::string::npos)
        << FileText("b.src");

    FocusList();
    ASSERT_TRUE(XKeys({"alt", "i"}, 700));
    EXPECT_EQ(AnswerBox("Message:"), "Update function enabled!");
    EXPECT_TRUE(NoBoxFor(800)) << "a held Alt+I enabled again";
    EXPECT_EQ(FileText("b.src").find('#'), std::string::npos) << FileText("b.src");
}

TEST_F(KeyboardTest, BackspaceRenamesEnterOpensTheEditorOnceAndDeleteAsksFirst) {
    AddLetters({"Alpha", "Bravo"});
    ASSERT_TRUE(WriteFileBytes(PluginPath("A.png"), "PNG image of Alpha"));
    Trash trash(pluginFolder);
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(PressKey(app.Main(), VK_BACK));
    HWND rename = WaitDialog("Rename Plugin");
    ASSERT_TRUE(rename) << "Backspace opened no input dialog";
    ASSERT_TRUE(XKeys({"Escape"}));
    ASSERT_TRUE(DialogClosed(rename));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Bravo"}));

    ASSERT_TRUE(PressKey(app.Main(), VK_RETURN, 800));
    ASSERT_TRUE(WaitUntil([] { return !NotepadWindows().empty(); }, 10000)) << "Enter started no editor";
    Sleep(800);
    const std::vector<HWND> editors = NotepadWindows();
    EXPECT_EQ(editors.size(), 1u) << "a held Enter must open the editor once";
    EXPECT_NE(WindowText(editors.front()).find("A.src"), std::string::npos) << WindowText(editors.front());
    CloseNotepads();

    // Delete held with repeats asks once and answers nothing.
    FocusList();
    ASSERT_TRUE(XHoldKey("Delete", 1000));
    EXPECT_EQ(AnswerBox("Question:", IDNO), "Do yo really want to delete this plugin?\r\rAlpha");
    EXPECT_TRUE(FileExists(PluginPath("a.src"))) << "No must keep the plugin";
    // After the box the program gives the list its focus back before it reads keys again, and it
    // reads them once a pass: a short press in between would be missed on a busy machine.
    Sleep(300);
    ASSERT_TRUE(PressKey(app.Main(), VK_DELETE, 400));
    EXPECT_EQ(AnswerBox("Question:", IDYES), "Do yo really want to delete this plugin?\r\rAlpha");
    EXPECT_TRUE(RowsBecome({"Bravo"})) << Joined(Rows());
    EXPECT_FALSE(FileExists(PluginPath("a.src")));
    EXPECT_FALSE(FileExists(PluginPath("a.png")));
    EXPECT_EQ(trash.Received("A.src"), PluginSource("Alpha")) << "the plugin goes to the Recycle Bin whole";
    EXPECT_EQ(trash.Received("A.png"), "PNG image of Alpha") << "its image goes along";
}

TEST_F(KeyboardTest, NumpadStarAndShiftPlusHideOneRowPerPress) {
    AddLetters({"Alpha", "Bravo", "Charlie", "Delta"});
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(SelectRow(1));
    ASSERT_TRUE(PressKey(app.Main(), VK_MULTIPLY, 700));
    ASSERT_TRUE(RowsBecome({"Alpha", "Charlie", "Delta"})) << Joined(Rows());
    EXPECT_TRUE(RowsStay({"Alpha", "Charlie", "Delta"})) << "a held star hid more than one row";
    EXPECT_TRUE(FileExists(PluginPath("b.hid")));
    EXPECT_TRUE(SelectionBecomes(1)) << "the row that took the hidden one's place is selected";
    EXPECT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (1)");
    EXPECT_TRUE(IsEnabled(At(kShowHidden)));

    ASSERT_TRUE(SelectRow(2));
    ASSERT_TRUE(PressKeys(app.Main(), {VK_SHIFT, VK_OEM_PLUS}));
    ASSERT_TRUE(RowsBecome({"Alpha", "Charlie"})) << Joined(Rows());
    EXPECT_TRUE(SelectionBecomes(1)) << "hiding the last row selects the new last row";
    EXPECT_TRUE(TextBecomes(At(kShowHidden), "  Show Hidden (2)")) << WindowText(At(kShowHidden));
}

TEST_F(KeyboardTest, ShortcutsDoNothingWhileAButtonHasTheFocus) {
    ASSERT_TRUE(WriteFileBytes(PluginPath("a.src"), UnixPluginSource("Alpha")));
    AddLetters({"Bravo", "Charlie"});
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(XClick(WindowCenter(At(kMoveDown))));
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha", "Charlie"})) << Joined(Rows());
    ASSERT_EQ(FocusOf(app.Main()), At(kMoveDown)) << "the clicked button should have the focus";

    const std::vector<std::string> rows = Rows();
    ASSERT_TRUE(PressKey(app.Main(), VK_SUBTRACT));
    ASSERT_TRUE(PressKey(app.Main(), VK_MULTIPLY));
    ASSERT_TRUE(XKeys({"alt", "t"}));
    ASSERT_TRUE(PressKey(app.Main(), VK_DELETE));
    ASSERT_TRUE(PressKey(app.Main(), VK_BACK));
    EXPECT_TRUE(RowsStay(rows)) << Joined(Rows());
    EXPECT_TRUE(NoBoxFor(300)) << "a shortcut acted while a button had the focus";
    EXPECT_EQ(FindTopLevel({app.Pid(), "", "Rename Plugin"}), nullptr);

    FocusList();
    ASSERT_TRUE(PressKey(app.Main(), VK_SUBTRACT, 100));
    EXPECT_TRUE(RowsBecome({"Alpha", "Bravo", "Charlie"})) << "with the list focused the key works: " << Joined(Rows());
}

}  // namespace
}  // namespace e2e
