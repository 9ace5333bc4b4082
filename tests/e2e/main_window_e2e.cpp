// The main window as the user sees it: its controls with their classes, styles, places and
// captions in both languages, the tooltips, the plugin list in on-disk order beside the file
// list, Show Hidden with its count, and Move Up and Move Down following the selection. Fonts
// cannot be read from another process under Wine (WM_GETFONT answers 0): the shell tests check
// in process that Tahoma and Marlett are the faces drawn, and the screenshots of both
// languages, saved in the driver's work folder, show them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

struct ExpectedControl {
    const char* className;
    DWORD style;
    DWORD extendedStyle;
    RECT place;  // left, top, right, bottom in client coordinates
    const char* english;
    const char* german;
};

// One row per child of the main window, in the order of MainChild.
const ExpectedControl kControls[kMainChildCount] = {
    {"Static", 0x5C000100, 0, {9, 218, 239, 258},
     "Use the right-click menu to delete, edit, rename or hide plugins.",
     "Benutzen Sie das Rechtsklickmenü zum löschen, bearbeiten, umbenennen oder verstecken."},
    {"ListBox", 0x54211141, 0x200, {500, 500, 500, 500}, "", ""},
    {"ListBox", 0x54211141, 0x200, {15, 25, 315, 195}, "", ""},
    {"Button", 0x50010000, 0, {327, 27, 427, 51}, "Move Up", "Nach oben"},
    {"Button", 0x50010000, 0, {327, 62, 427, 86}, "Move Down", "Nach unten"},
    {"Button", 0x54010100, 0, {327, 105, 427, 125}, "  Refresh List", "  Aktualisieren"},
    {"Button", 0x54010100, 0, {327, 128, 427, 148}, "  Show Hidden (2)", "  Versteckt: 2"},
    {"Button", 0x54010100, 0, {327, 151, 427, 171}, "  Add Plugin...", "  Hinzufügen..."},
    {"Button", 0x54010100, 0, {327, 174, 427, 194}, "  Open Folder...", "  Ordner öffnen"},
    {"Button", 0x50010000, 0, {5, 260, 138, 290}, "Sort Search Plugins!", "Suchplugins sortieren!"},
    {"Button", 0x50010000, 0, {143, 260, 241, 290}, "Orig. Filenames", "Urspr. Dateinamen"},
    {"Button", 0x54010000, 0x20000, {5, 303, 28, 324}, "?", "?"},
    {"Button", 0x50020007, 0, {5, 5, 439, 205}, "Search Engine Order", "Reihenfolge der Suchmaschinen"},
    {"Static", 0x50000000, 0, {260, 307, 460, 323}, nullptr, nullptr},
    {"Static", 0x54000130, 0, {3, 298, 444, 300}, "", ""},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

RECT ClientPlace(HWND main, HWND control) {
    RECT r = WindowRect(control);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

class MainWindowTest : public QuorrelTest {
protected:
    void Start(const std::string& language) {
        XMouseMove({1, 1});  // away from the window, so no tooltip pops up unasked
        QuorrelTest::Start(language);
    }

    // Four plugins whose display names are not in file-name order, and two hidden ones.
    void AddStandardPlugins() {
        AddPlugin("k10.src", "Alpha");
        AddPlugin("b.src", "Zeta");
        AddPlugin("K2.src", "Mu");
        AddPlugin("a.src", "Omega");
        ASSERT_TRUE(WriteFileBytes(PluginPath("a.png"), "not a plugin"));
        AddPlugin("h1.hid", "Hidden one");
        AddPlugin("h2.HID", "Hidden two");
    }

    // Rests the pointer on the control and returns the text of the tip that appears.
    std::string TipOnHover(HWND tooltip, HWND control) {
        if (!XMouseMove(WindowCenter(control))) return "(the pointer could not be moved)";
        std::string tip;
        WaitUntil([&] {
            RECT r = WindowRect(tooltip);
            tip = r.right > r.left ? WindowText(tooltip) : "";
            return !tip.empty();
        });
        return tip;
    }

    static void Shot(const std::string& name) {
        const std::string path = JoinPath(WorkFolder(), name);
        EXPECT_TRUE(Screenshot(path)) << "cannot save " << path;
    }
};

TEST_F(MainWindowTest, ControlsHaveTheirClassesStylesPlacesAndEnglishCaptions) {
    AddStandardPlugins();
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    EXPECT_EQ(WindowText(app.Main()), "Quorrel 1.03");
    for (size_t i = 0; i < kMainChildCount; ++i) {
        const ExpectedControl& expected = kControls[i];
        HWND control = children[i];
        EXPECT_EQ(Lower(WindowClass(control)), Lower(expected.className)) << "control " << i;
        // Move Up starts disabled, the hint text is disabled by its style.
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & ~WS_DISABLED, expected.style & ~WS_DISABLED)
            << "style of control " << i;
        if (i == kSeparator) continue;  // the system gives etched lines a static edge and widens them by it
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), expected.extendedStyle)
            << "extended style of control " << i;
        EXPECT_EQ(Describe(ClientPlace(app.Main(), control)), Describe(expected.place)) << "place of control " << i;
        if (expected.english) {
            EXPECT_EQ(WindowText(control), expected.english) << "caption of control " << i;
        }
    }
    EXPECT_FALSE(WindowText(At(kCredit)).empty()) << "the credit line is missing";
    EXPECT_EQ(GetWindowLongA(At(kHint), GWL_STYLE) & WS_DISABLED, WS_DISABLED) << "the hint text is drawn disabled";
    EXPECT_TRUE(IsEnabled(At(kShowHidden))) << "two hidden plugins: Show Hidden must be enabled";

    // The window is centred and sized from the frame and caption metrics.
    const int frame = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int width = frame + 446;
    const int height = frame + caption + 328;
    RECT r = WindowRect(app.Main());
    EXPECT_EQ(r.left, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN) * 0.5 - width * 0.5)) << "not centred";
    EXPECT_EQ(r.top, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN) * 0.5 - height * 0.5)) << "not centred";
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    EXPECT_EQ(GetWindowLongA(app.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the window must not stay topmost";
    Shot("main_window_en.png");
}

TEST_F(MainWindowTest, TooltipsCoverTenControlsAndShowTheirTextOnHover) {
    AddStandardPlugins();
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    HWND tooltip = FindTopLevel({app.Pid(), "tooltips_class32", "", false});
    ASSERT_TRUE(tooltip) << "no tooltip window";
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), app.Main()) << "the tooltip window belongs to the main window";
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 10) << "one tool per control of the tooltip table";

    EXPECT_EQ(TipOnHover(tooltip, At(kSort)), "Save the selected order");
}

TEST_F(MainWindowTest, GermanCaptionsShowHiddenCountAndTooltip) {
    AddStandardPlugins();
    ASSERT_NO_FATAL_FAILURE(Start("-d"));
    for (size_t i = 0; i < kMainChildCount; ++i) {
        if (kControls[i].german) {
            EXPECT_EQ(WindowText(children[i]), kControls[i].german) << "control " << i;
        }
    }
    EXPECT_EQ(WindowText(app.Main()), "Quorrel 1.03");
    Shot("main_window_de.png");
    HWND tooltip = FindTopLevel({app.Pid(), "tooltips_class32", "", false});
    ASSERT_TRUE(tooltip) << "no tooltip window";
    EXPECT_EQ(TipOnHover(tooltip, At(kSort)), "Die gewählte Reihenfolge übernehmen");
}

TEST_F(MainWindowTest, PluginListShowsDisplayNamesInOnDiskOrderBesideTheFileNames) {
    AddStandardPlugins();
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    std::map<std::string, std::string> nameOfFile = {
        {"k10.src", "Alpha"}, {"b.src", "Zeta"}, {"K2.src", "Mu"}, {"a.src", "Omega"}};
    std::vector<std::string> files;
    std::vector<std::string> names;
    for (const std::string& file : ListFolder(pluginFolder)) {
        if (nameOfFile.count(file)) {
            files.push_back(file);
            names.push_back(nameOfFile[file]);
        }
    }
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_NE(names, sorted) << "the test needs an on-disk order that is not alphabetical";
    EXPECT_EQ(ListRows(At(kPluginList)), names) << "display names must come in on-disk order";
    EXPECT_EQ(ListRows(At(kFileList)), files) << "row i of the file list must hold the file of plugin row i";
    EXPECT_EQ(ListSelection(At(kPluginList)), 0) << "the first row is selected at start";
}

TEST_F(MainWindowTest, ShowHiddenIsDisabledWithNothingHidden) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    EXPECT_EQ(WindowText(At(kShowHidden)), "  Show Hidden (0)");
    EXPECT_FALSE(IsEnabled(At(kShowHidden)));
}

TEST_F(MainWindowTest, MoveButtonsFollowTheSelection) {
    AddStandardPlugins();
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    HWND list = At(kPluginList);
    auto state = [&] {
        return std::string("up ") + (IsEnabled(At(kMoveUp)) ? "on" : "off") + ", down " +
               (IsEnabled(At(kMoveDown)) ? "on" : "off");
    };
    auto becomes = [&](const std::string& expected) { return WaitUntil([&] { return state() == expected; }, 2000); };
    EXPECT_TRUE(becomes("up off, down on")) << "first row at start: " << state();
    for (auto [row, expected] : std::vector<std::pair<int, std::string>>{
             {2, "up on, down on"}, {3, "up on, down off"}, {1, "up on, down on"}, {0, "up off, down on"}}) {
        ASSERT_TRUE(SetListSelection(list, row));
        // A user's selection comes with input messages; a main loop that still waits for its
        // first message needs one to make its next pass.
        PostMessageA(app.Main(), WM_NULL, 0, 0);
        EXPECT_TRUE(becomes(expected)) << "row " << row << " selected: " << state();
    }
}

TEST_F(MainWindowTest, AnEmptyFolderGivesEmptyListsAndOnlyMoveDownDisabled) {
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    EXPECT_EQ(ListCount(At(kPluginList)), 0);
    EXPECT_EQ(ListCount(At(kFileList)), 0);
    EXPECT_EQ(ListSelection(At(kPluginList)), -1);
    EXPECT_TRUE(IsEnabled(At(kMoveUp))) << "with no selection Move Up keeps its state";
    EXPECT_FALSE(IsEnabled(At(kMoveDown))) << "an empty list disables Move Down";
}

// Any program on the desktop can send the request message 32769 to the hidden request window,
// with any parameters that point nowhere or anywhere, or ask it to close.
TEST_F(MainWindowTest, MadeUpRequestMessagesFromAnotherProgramAreIgnored) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    HWND requestWindow = FindTopLevel({app.Pid(), "CW", "", false});
    ASSERT_NE(requestWindow, nullptr) << "no request window";
    const LPARAM lParams[] = {0, 1, 0x1000, 0x7FFE0000, static_cast<LPARAM>(0x7FFFFFFF0000), -1};
    for (WPARAM code : {0, 40961, 40962, 40966, 40967, 40970, 40971, 40972, 40973, 40977}) {
        for (LPARAM lParam : lParams) {
            ASSERT_TRUE(SendBounded(requestWindow, 32769, code, lParam)) << "no answer to " << code << ", " << lParam;
            PostMessageA(requestWindow, 32769, code, lParam);
        }
    }
    ASSERT_TRUE(SendBounded(requestWindow, WM_CLOSE));
    ASSERT_TRUE(app.Running());
    // Moving and sorting take requests of their own: the list, the folder and the box show
    // that they are still served.
    ASSERT_TRUE(SelectRow(1));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(At(kMoveUp)); }));
    ASSERT_TRUE(ClickButton(At(kMoveUp)));
    EXPECT_TRUE(RowsBecome({"Bravo", "Alpha"})) << "a click after the messages was not obeyed: " << Joined(Rows());
    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Message:"), "Re-sort successfully done!");
    EXPECT_TRUE(app.Running());
}

// Any program can post WM_QUIT to the program's interface thread or to its window, also while a
// box is open: the program runs on, obeys the next command and ends only when it is closed.
TEST_F(MainWindowTest, QuitMessagesFromAnotherProgramAreIgnored) {
    AddPlugin("a.src", "Alpha");
    ASSERT_NO_FATAL_FAILURE(Start("-e"));
    const DWORD thread = GetWindowThreadProcessId(app.Main(), nullptr);
    ASSERT_TRUE(PostThreadMessageA(thread, WM_QUIT, 3, 0));
    ASSERT_TRUE(PostMessageA(app.Main(), WM_QUIT, 4, 0));
    ASSERT_TRUE(ClickButton(At(kSort)));
    HWND box = WaitMessageBox(app.Pid(), "Message:");
    ASSERT_TRUE(box) << "the program stopped answering after the quit messages";
    ASSERT_TRUE(PostThreadMessageA(thread, WM_QUIT, 5, 0));
    Sleep(300);
    EXPECT_TRUE(IsWindow(box)) << "a quit message closed the box";
    EXPECT_EQ(AnswerBox("Message:"), "Re-sort successfully done!");

    AddPlugin("z.src", "Zulu");
    ASSERT_TRUE(ClickButton(At(kRefresh)));
    EXPECT_TRUE(RowsBecome({"Alpha", "Zulu"})) << Joined(Rows());
    ASSERT_TRUE(PostClose(app.Main()));
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
