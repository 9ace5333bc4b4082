// The main window's buttons and links driving the real program: Move Up and Move Down, dragging a
// row with the mouse, Sort and
// Orig. Filenames with what they do to the folder and the list, Refresh, the buttons that hand a
// page or the folder to the shell, Show Hidden and "?" opening their windows, the logo and credit
// links with their arming delay, and closing with the close box or Alt+F4.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

const char* const kDownloadPage = "https://mycroftproject.com/search-engines.html";
const char* const kProductPage = "https://www.mozilla.org/firefox/";
const char* const kHomePage = "https://quorrel.example.org/";

class CommandsTest : public QuorrelTest {
protected:
    // Plugin files of the folder that match the pattern, in file-system order.
    std::vector<std::string> FolderFiles(const std::string& pattern) const {
        std::vector<std::string> files;
        const std::regex match(pattern, std::regex::icase);
        for (const std::string& file : ListFolder(pluginFolder)) {
            if (std::regex_match(file, match)) files.push_back(file);
        }
        return files;
    }

    // The plugin files of the folder in its order, with the prefixes of a save taken off.
    std::vector<std::string> UnprefixedFiles() const {
        std::vector<std::string> files;
        const std::regex prefixed("[A-Z]\\d\\d##(.*)");
        std::smatch m;
        for (const std::string& file : FolderFiles(".*\\.src")) {
            files.push_back(std::regex_match(file, m, prefixed) ? std::string(m[1]) : "<no prefix> " + file);
        }
        return files;
    }

    // A point given relative to the top-left corner of the main window's outer rectangle.
    POINT Outer(int x, int y) const {
        const RECT r = WindowRect(app.Main());
        return POINT{r.left + x, r.top + y};
    }
};

TEST_F(CommandsTest, MoveButtonsSortOrigFilenamesAndRefreshChangeListAndFolder) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    AddPlugin("c.src", "Charlie");
    ASSERT_TRUE(WriteFileBytes(PluginPath("a.gif"), "GIF89a"));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));

    ASSERT_TRUE(SelectRow(2));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(At(kMoveUp)); })) << "Move Up must follow the selection";
    ASSERT_TRUE(ClickButton(At(kMoveUp)));
    ASSERT_TRUE(RowsBecome({"Alpha", "Charlie", "Bravo"})) << Joined(Rows());
    EXPECT_TRUE(SelectionBecomes(1)) << "the moved row stays selected";
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(At(kMoveUp)); }));
    ASSERT_TRUE(ClickButton(At(kMoveUp)));
    ASSERT_TRUE(RowsBecome({"Charlie", "Alpha", "Bravo"})) << Joined(Rows());
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(At(kMoveUp)); })) << "Move Up must be disabled on the first row";
    ASSERT_TRUE(ClickButton(At(kMoveDown)));
    ASSERT_TRUE(RowsBecome({"Alpha", "Charlie", "Bravo"})) << Joined(Rows());
    EXPECT_TRUE(FileRowsBecome({"a.src", "c.src", "b.src"})) << "the file list moves along: " << Joined(FileRows());
    EXPECT_EQ(FolderFiles(".*\\.src"), (std::vector<std::string>{"a.src", "b.src", "c.src"}))
        << "moving rows must not touch the folder";

    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Message:"), "Re-sort successfully done!");
    const std::vector<std::string> sorted = FolderFiles(".*\\.src");
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(UnprefixedFiles(), (std::vector<std::string>{"a.src", "c.src", "b.src"}))
        << "the folder must return the files in the list's order";
    EXPECT_EQ(FolderFiles(".*\\.gif"), std::vector<std::string>{sorted[0].substr(0, 5) + "a.gif"})
        << "the image goes along with its plugin";
    EXPECT_TRUE(RowsBecome({"Alpha", "Charlie", "Bravo"})) << Joined(Rows());
    EXPECT_TRUE(FileRowsBecome(sorted)) << "the list is rebuilt from the renamed files: " << Joined(FileRows());

    ASSERT_TRUE(ClickButton(At(kOrigFilenames)));
    const std::vector<std::string> original = {"a.src", "b.src", "c.src"};
    EXPECT_TRUE(WaitUntil([&] { return FolderFiles(".*\\.src") == original; }))
        << "Orig. Filenames must take the prefixes off";
    EXPECT_TRUE(RowsBecome({"Alpha", "Bravo", "Charlie"})) << Joined(Rows());
    EXPECT_TRUE(SelectionBecomes(1)) << "the rebuilt list keeps the selected row";
    EXPECT_EQ(FolderFiles(".*\\.gif"), std::vector<std::string>{"a.gif"});
    EXPECT_TRUE(NoBoxFor(500)) << "restoring the names shows no message";

    AddPlugin("b2.src", "Bravo two");
    ASSERT_TRUE(SelectRow(2));
    ASSERT_TRUE(ClickButton(At(kRefresh)));
    EXPECT_TRUE(RowsBecome({"Alpha", "Bravo", "Bravo two", "Charlie"})) << Joined(Rows());
    EXPECT_TRUE(SelectionBecomes(2)) << "Refresh keeps the selected row";
}

// More rows than the list shows, so that a drag held below it scrolls it.
TEST_F(CommandsTest, DraggingARowMovesItThereAndSortSavesThatOrder) {
    std::vector<std::string> names;
    std::vector<std::string> files;
    for (char c = 'a'; c <= 'p'; ++c) {
        files.push_back(std::string(1, c) + ".src");
        names.push_back(std::string("Plugin ") + c);
        AddPlugin(files.back(), names.back());
    }
    const std::vector<std::string> original = files;
    ASSERT_NO_FATAL_FAILURE(Start());
    const int last = static_cast<int>(names.size()) - 1;
    const auto expectMove = [&](int from, int to) {
        for (std::vector<std::string>* rows : {&names, &files}) {
            const std::string row = (*rows)[from];
            rows->erase(rows->begin() + from);
            rows->insert(rows->begin() + to, row);
        }
        EXPECT_TRUE(RowsBecome(names)) << Joined(Rows());
        EXPECT_TRUE(FileRowsBecome(files)) << "the file list moves along: " << Joined(FileRows());
        EXPECT_TRUE(SelectionBecomes(to)) << "the dragged row stays selected";
        EXPECT_EQ(FocusOf(app.Main()), List());
    };

    ASSERT_TRUE(XDrag(RowPoint(4), RowPoint(0)));
    ASSERT_TRUE(XMouseUp(1));
    expectMove(4, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(At(kMoveUp)) && IsEnabled(At(kMoveDown)); }))
        << "the Move buttons follow the selection";

    RECT client{};
    GetClientRect(List(), &client);
    ASSERT_TRUE(XDrag(RowPoint(0), ClientToScreenPoint(List(), 40, client.bottom + 12)));
    const int shown = client.bottom / static_cast<int>(SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(List(), LB_GETTOPINDEX, 0, 0) == last + 1 - shown; }))
        << "held below the list, the pointer must scroll it to its end";
    ASSERT_TRUE(XMouseMove(RowPoint(last)));
    Sleep(100);
    ASSERT_TRUE(XMouseUp(1));
    expectMove(0, last);
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(At(kMoveUp)) && !IsEnabled(At(kMoveDown)); }));

    // Released outside the list, cancelled with Escape or with a right click: nothing moves, and
    // the right click opens no menu.
    ASSERT_TRUE(XDrag(RowPoint(last - 1), WindowCenter(At(kRefresh))));
    ASSERT_TRUE(XMouseUp(1));
    ASSERT_TRUE(XDrag(RowPoint(last - 1), RowPoint(last - 4)));
    ASSERT_TRUE(XKeys({"Escape"}));
    ASSERT_TRUE(XMouseUp(1));
    ASSERT_TRUE(XDrag(RowPoint(last - 1), RowPoint(last - 4)));
    ASSERT_TRUE(XClick(RowPoint(last - 4), 3));
    ASSERT_TRUE(XMouseUp(1));
    EXPECT_EQ(WaitPopupMenu(app.Pid(), 500), nullptr) << "a right click that cancels a drag must open no menu";
    EXPECT_TRUE(RowsStay(names)) << Joined(Rows());
    EXPECT_EQ(FileRows(), files);
    EXPECT_EQ(FolderFiles(".*\\.src"), original) << "dragging rows must not touch the folder";

    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Message:"), "Re-sort successfully done!");
    EXPECT_EQ(UnprefixedFiles(), files) << "the folder must return the files in the dragged order";
}

TEST_F(CommandsTest, GermanSortReportsInGerman) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start("-d"));
    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Meldung:"), "Sortierung erfolgreich abgeschlossen!");
}

TEST_F(CommandsTest, ButtonsHandPagesAndTheFolderToTheShellAndOpenTheirWindows) {
    ShellLog log(TestName());
    AddPlugin("a.src", "Alpha");
    AddPlugin("h.hid", "Hidden");
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(ClickButton(At(kAddPlugin)));
    ASSERT_TRUE(log.WaitLines(1)) << "Add Plugin opened nothing";
    ASSERT_TRUE(ClickButton(At(kOpenFolder)));
    ASSERT_TRUE(log.WaitLines(2)) << "Open Folder opened nothing";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{std::string("open\t") + kDownloadPage + "\t1",
                                                     "explore\t" + pluginFolder + "\t1"}));

    ASSERT_TRUE(ClickButton(At(kShowHidden)));
    HWND hidden = WaitDialog("Hidden Search Plugins");
    ASSERT_TRUE(hidden) << "Show Hidden opened no dialog";
    ASSERT_TRUE(ClickButton(FindButton(hidden, "OK")));
    EXPECT_TRUE(DialogClosed(hidden));

    ASSERT_TRUE(ClickButton(At(kInfo)));
    HWND info = WaitDialog("About...");
    ASSERT_TRUE(info) << "\"?\" opened no information window";
    ASSERT_TRUE(ClickButton(FindButton(info, "OK")));
    EXPECT_TRUE(DialogClosed(info));
    EXPECT_EQ(log.Lines().size(), 2u) << "no further shell calls";
}

TEST_F(CommandsTest, LinksOpenTheirPagesOnlyWhenPressedAndReleasedOnThemOnceArmed) {
    ShellLog log(TestName());
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start());
    const POINT logo = Outer(341, 272);
    const POINT credit = Outer(365, 336);

    // Within the first 1.5 seconds a click on the logo opens nothing.
    ASSERT_TRUE(XClick(logo));
    Sleep(1700);
    EXPECT_TRUE(log.Lines().empty()) << "a click before the links were armed opened " << log.Lines().front();

    ASSERT_TRUE(XClick(logo));
    ASSERT_TRUE(log.WaitLines(1)) << "a click on the logo opened nothing";
    ASSERT_TRUE(XClick(credit));
    ASSERT_TRUE(log.WaitLines(2)) << "a click on the credit line opened nothing";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{std::string("open\t") + kProductPage + "\t1",
                                                     std::string("open\t") + kHomePage + "\t1"}));

    // Pressed on the logo, released elsewhere: nothing opens.
    ASSERT_TRUE(XMouseMove(logo));
    Sleep(100);
    ASSERT_TRUE(XMouseDown(1));
    Sleep(150);
    ASSERT_TRUE(XMouseMove(Outer(100, 300)));
    Sleep(150);
    ASSERT_TRUE(XMouseUp(1));
    Sleep(500);
    EXPECT_EQ(log.Lines().size(), 2u) << "a press that ended away from the logo opened a page";
}

TEST_F(CommandsTest, TheCloseBoxEndsTheProgramWithExitCodeZero) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start());
    // The close box is the last caption button, at the right end of the caption bar.
    const RECT r = WindowRect(app.Main());
    const int frame = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    ASSERT_TRUE(XClick(POINT{r.right - frame - GetSystemMetrics(SM_CXSIZE) / 2, r.top + frame + caption / 2}));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0)) << "the close box must end the program without asking";
}

TEST_F(CommandsTest, AltF4EndsTheProgramWithExitCodeZero) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(XKeys({"alt", "F4"}));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0)) << "Alt+F4 must end the program without asking";
}

}  // namespace
}  // namespace e2e
