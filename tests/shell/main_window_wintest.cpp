// The main window's state helpers on real controls: Move Up and Move Down follow the
// selection, and the Show Hidden caption follows the count of hidden plugin files. And the
// faces the window is drawn with are really there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "shell/main_window.h"
#include "shell/main_window_texts.h"
#include "shell/shell_state.h"
#include "tests/support/test_files.h"
#include "tests/support/test_windows.h"
#include "toolkit/controls.h"
#include "toolkit/list_box.h"

namespace {

Handle AsHandle(HWND window) { return reinterpret_cast<Handle>(window); }

// A window with a plugin list and the three buttons, wired into the shell's state the way the
// main window is; everything is put back when the test ends.
class MainWindowControls : public ::testing::Test {
protected:
    void SetUp() override {
        savedHandles = mainWindow;
        savedStatus = mainWindowStatus;
        savedCatalogue = {catalogue.language, catalogue.pluginFolder, catalogue.startFolder};
        window = RunOnInterfaceThread([] {
            return CreateWindowExA(0, "DIALOG", "shell test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                   200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        });
        mainWindow.pluginList = Child("LISTBOX", LBS_NOTIFY | LBS_HASSTRINGS);
        mainWindow.moveUp = Child("BUTTON", 0);
        mainWindow.moveDown = Child("BUTTON", 0);
        mainWindow.showHidden = Child("BUTTON", 0);
        mainWindowStatus = MainWindowStatus{};
    }

    void TearDown() override {
        HWND w = window;
        RunOnInterfaceThread([w] {
            DestroyWindow(w);
            return HWND{};
        });
        mainWindow = savedHandles;
        mainWindowStatus = savedStatus;
        catalogue.language = savedCatalogue.language;
        catalogue.pluginFolder = savedCatalogue.pluginFolder;
        catalogue.startFolder = savedCatalogue.startFolder;
    }

    Handle Child(const char* className, DWORD style) {
        HWND parent = window;
        return AsHandle(RunOnInterfaceThread([=] {
            return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 80, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        }));
    }

    void FillRows(int count) {
        std::vector<Text> rows;
        for (int i = 0; i < count; ++i) rows.push_back("row " + std::to_string(i));
        ListSetAll(mainWindow.pluginList, rows);
    }

    // Selects the row and lets the buttons follow, as a pass of the main loop does.
    std::string EnabledAfterSelecting(int row) {
        ListSelect(mainWindow.pluginList, row);
        UpdateMoveButtons();
        return std::string("up ") + (Enabled(mainWindow.moveUp) ? "on" : "off") + ", down " +
               (Enabled(mainWindow.moveDown) ? "on" : "off");
    }

    static bool Enabled(Handle control) { return IsWindowEnabled(reinterpret_cast<HWND>(control)) != 0; }

    HWND window = nullptr;

private:
    struct SavedCatalogue {
        Language language;
        Text pluginFolder;
        Text startFolder;
    };
    MainWindowHandles savedHandles;
    MainWindowStatus savedStatus;
    SavedCatalogue savedCatalogue;
};

}  // namespace

TEST_F(MainWindowControls, MoveButtonsAreDisabledWhereNoMoveIsPossible) {
    FillRows(4);
    EXPECT_EQ(EnabledAfterSelecting(0), "up off, down on") << "first row";
    EXPECT_EQ(EnabledAfterSelecting(2), "up on, down on") << "middle row";
    EXPECT_EQ(EnabledAfterSelecting(3), "up on, down off") << "last row";
    EXPECT_EQ(EnabledAfterSelecting(1), "up on, down on") << "back to a middle row";
    EXPECT_EQ(EnabledAfterSelecting(0), "up off, down on") << "back to the first row";
    EXPECT_EQ(mainWindowStatus.selection, 0) << "the selection the commands read must follow";
    EXPECT_EQ(mainWindowStatus.moveUpDisabled, 1);
    EXPECT_EQ(mainWindowStatus.moveDownDisabled, 0);
}

TEST_F(MainWindowControls, OneRowDisablesBothAndNoSelectionKeepsMoveUpAsItWas) {
    FillRows(1);
    EXPECT_EQ(EnabledAfterSelecting(0), "up off, down off") << "a single row cannot move";

    FillRows(3);
    EXPECT_EQ(EnabledAfterSelecting(-1), "up off, down on")
        << "without a selection Move Up keeps its state and Move Down is enabled in a non-empty list";
    EXPECT_EQ(EnabledAfterSelecting(1), "up on, down on");
    EXPECT_EQ(EnabledAfterSelecting(-1), "up on, down on");
}

TEST_F(MainWindowControls, AnEmptyListDisablesMoveDownOnly) {
    FillRows(0);
    EXPECT_EQ(EnabledAfterSelecting(0), "up on, down off")
        << "selecting row 0 of an empty list selects nothing: Move Up stays, Move Down goes";
    EXPECT_EQ(mainWindowStatus.selection, -1);
}

TEST_F(MainWindowControls, ShowHiddenShowsTheCountAndIsEnabledOnlyAboveZero) {
    const TempFolder scratch("quorrel-shell-hidden-");
    const std::string folder = scratch.path();
    ASSERT_TRUE(scratch.made()) << "cannot make " << folder;
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    catalogue.pluginFolder = folder;
    catalogue.startFolder = current;
    auto touch = [&](const char* name) {
        HANDLE h = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    };
    auto caption = [](Handle control) {
        char text[64] = {};
        GetWindowTextA(reinterpret_cast<HWND>(control), text, sizeof text);
        return std::string(text);
    };

    catalogue.language = Language::English;
    touch("a.src");
    UpdateShowHiddenButton();
    EXPECT_EQ(caption(mainWindow.showHidden), "  Show Hidden (0)");
    EXPECT_FALSE(Enabled(mainWindow.showHidden)) << "nothing hidden: the button must be disabled";

    touch("b.hid");
    touch("c.HID");
    touch("d.hid");
    UpdateShowHiddenButton();
    EXPECT_EQ(caption(mainWindow.showHidden), "  Show Hidden (3)");
    EXPECT_TRUE(Enabled(mainWindow.showHidden)) << "after hiding, the button must be enabled again";
    EXPECT_EQ(mainWindowStatus.hiddenCount, 3);

    catalogue.language = Language::German;
    UpdateShowHiddenButton();
    EXPECT_EQ(caption(mainWindow.showHidden), "  Versteckt: 3");
}

namespace {

// The face a window's device context really draws with when the font is selected into it.
std::string FaceDrawn(HWND window, HFONT font) {
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return face;
}

}  // namespace

// Both faces must be installed where the program runs: without Tahoma the controls fall back to
// a wider face that cuts captions such as "Suchplugins sortieren!", and without Marlett the
// caption buttons show letters instead of their glyphs.
TEST_F(MainWindowControls, ControlsDrawInTahomaAndCaptionButtonsInMarlett) {
    const HWND button = reinterpret_cast<HWND>(mainWindow.showHidden);
    SendMessageA(button, WM_SETFONT, static_cast<WPARAM>(CreateFontHandle("Tahoma", 13, 0, 0, 0, 0)), 0);
    EXPECT_EQ(FaceDrawn(button, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0))), "Tahoma");

    const HFONT marlett = CreateFontA(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    EXPECT_EQ(FaceDrawn(button, marlett), "Marlett");
    DeleteObject(marlett);
}
