// The main loop's dispatch table read against the event state: which row a button click, a menu
// item, a list notification or a close request selects, with the main window not in front and
// no key down, so that only the rows without a foreground or key test can hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "catalogue/catalogue_state.h"
#include "shell/context_menu.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"
#include "toolkit/event_state.h"

namespace {

constexpr int kNoRow = -1;

// Handles no window has: the calls on them fail quietly, and none of them is in front.
class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        savedHandles = mainWindow;
        savedStatus = mainWindowStatus;
        savedMode = catalogue.ntfsMode;
        Handle next = 0x7F000010;
        MainWindowHandles& w = mainWindow;
        for (Handle* h : {&w.mainWindow, &w.pluginList, &w.fileList, &w.moveUp, &w.moveDown, &w.refresh, &w.showHidden,
                          &w.addPlugin, &w.openFolder, &w.sort, &w.origFilenames, &w.infoButton}) {
            *h = next;
            next += 0x10;
        }
        mainWindowStatus.selection = 1;
        catalogue.ntfsMode = 1;
        events.focusControl.store(0);
    }

    void TearDown() override {
        mainWindow = savedHandles;
        mainWindowStatus = savedStatus;
        catalogue.ntfsMode = savedMode;
        Post(0, 0, 0);
    }

    static void Post(int message, std::intptr_t wParam, std::intptr_t lParam) {
        events.userMessage.store(message);
        events.userWParam.store(wParam);
        events.userLParam.store(lParam);
    }
    static void Click(Handle button) { Post(273, 1000, button); }
    static void Menu(int id) { Post(273, id, 0); }

    // The first row whose condition holds, as the loop would pick it.
    static int FirstRow() {
        for (int i = 0; i < 20; ++i) {
            if (kDispatchTable[i].applies()) return i;
        }
        return kNoRow;
    }

    MainWindowHandles savedHandles;
    MainWindowStatus savedStatus;
    int savedMode = 0;
};

}  // namespace

TEST_F(Dispatch, EachButtonSelectsItsRow) {
    const std::pair<Handle, int> buttons[] = {
        {mainWindow.origFilenames, 0}, {mainWindow.sort, 1},      {mainWindow.openFolder, 4},
        {mainWindow.showHidden, 5},    {mainWindow.addPlugin, 6}, {mainWindow.infoButton, 7},
        {mainWindow.refresh, 8}};
    for (const auto& [button, row] : buttons) {
        Click(button);
        EXPECT_EQ(FirstRow(), row) << "click on button " << std::hex << button;
    }
}

TEST_F(Dispatch, MoveButtonsNeedTheMainWindowInFrontButMoveMenuItemsDoNot) {
    Click(mainWindow.moveUp);
    EXPECT_EQ(FirstRow(), kNoRow) << "Move Up clicked while another window is in front";
    Click(mainWindow.moveDown);
    EXPECT_EQ(FirstRow(), kNoRow);
    Menu(kMenuMoveUp);
    EXPECT_EQ(FirstRow(), 2);
    Menu(kMenuMoveDown);
    EXPECT_EQ(FirstRow(), 3);
}

TEST_F(Dispatch, AllItemsNeedNothingElseAndRowItemsNeedTheMainWindowInFront) {
    Menu(kMenuDisableAll);
    EXPECT_EQ(FirstRow(), 10);
    Menu(kMenuEnableAll);
    EXPECT_EQ(FirstRow(), 11);
    Menu(kMenuConvertAll);
    EXPECT_EQ(FirstRow(), 12);
    for (int id : {kMenuEdit, kMenuRename, kMenuConvert, kMenuDisableUpdates, kMenuEnableUpdates, kMenuHide,
                   kMenuDelete}) {
        Menu(id);
        EXPECT_EQ(FirstRow(), kNoRow) << "menu item " << id << " ran without the main window in front";
    }
}

TEST_F(Dispatch, InCopyModeOrigFilenamesIsNeverTakenForAMenuItem) {
    catalogue.ntfsMode = 0;
    mainWindow.origFilenames = 0;   // the button does not exist, and a menu item has lParam 0 too
    Menu(kMenuDisableAll);
    EXPECT_EQ(FirstRow(), 10);
    Post(0, 0, 0);
    EXPECT_EQ(FirstRow(), kNoRow) << "an empty event state must start nothing";
}

TEST_F(Dispatch, ListNotificationsStartNothingAndCloseEndsTheProgram) {
    for (std::intptr_t code : {1, 2, 4, 5}) {   // selection change, double click, focus gained and lost
        Post(273, code << 16, mainWindow.pluginList);
        EXPECT_EQ(FirstRow(), kNoRow) << "list notification " << code;
    }
    Post(16, 0, 0);
    EXPECT_EQ(FirstRow(), 19);
}
