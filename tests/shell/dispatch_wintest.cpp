// The main loop's dispatch table, read against a made-up input: the event state (a click, a menu
// item, a list notification, a close request, a row dropped by a drag), the keys held down, the
// plugin list's focus, the window in front, the selection, the row count, the latches and the
// saving mode. Each case names the one row the loop must pick, so a dropped latch, a wrong key
// code or a lost foreground test shows here within seconds.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "shell/context_menu.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"
#include "toolkit/drag_list.h"
#include "toolkit/event_state.h"

namespace {

constexpr int kNoRow = -1;

// Virtual keys as the shortcuts use them.
enum Key : int {
    kBack = 8, kReturn = 13, kShift = 16, kAlt = 18, kDelete = 46, kLetterI = 73, kLetterT = 84, kLetterU = 85,
    kNumMultiply = 106, kNumAdd = 107, kNumSubtract = 109, kOemPlus = 187,
};

enum class Event { None, Click, Menu, Notification, Close, Drop };
enum Button { kOrigFilenames, kSort, kMoveUp, kMoveDown, kOpenFolder, kShowHidden, kAddPlugin, kInfo, kRefresh };

// Latches that a case sets; all others are clear.
enum Latch : unsigned { kEnterLatch = 1, kAltTLatch = 2, kAltULatch = 4, kAltILatch = 8, kHideLatch = 16 };

struct Case {
    const char* what;
    Event event;
    int detail;                     // the button, the menu item or the notification code
    std::set<int> keys;             // held down
    bool listFocus = true;
    bool foreground = true;
    int selection = 1;
    unsigned latchesSet = 0;
    int expectedRow = kNoRow;
    int rows = 3;
    int ntfsMode = 1;
    int deleteState = -128;         // GetKeyState of a held Delete key
};

// The input the conditions read while a case runs.
struct MadeUpInput {
    std::set<int> keys;
    int deleteState = 0;
    bool listFocus = false;
    bool foreground = false;
    int rows = 0;
} input;

int MadeUpKeyState(int key) {
    if (!input.keys.count(key)) return 0;
    return key == kDelete ? input.deleteState : -128;
}

Handle MainWindowOrNone() { return input.foreground ? mainWindow.mainWindow : 0x7E000000; }

const std::vector<Case> kCases = {
    {"Orig. Filenames in rename mode", Event::Click, kOrigFilenames, {}, false, false, -1, 0, 0},
    {"Orig. Filenames in copy mode", Event::Click, kOrigFilenames, {}, true, true, 1, 0, kNoRow, 3, 0},
    {"Sort", Event::Click, kSort, {}, false, false, -1, 0, 1},
    {"Sort comes before a held Enter", Event::Click, kSort, {kReturn}, true, true, 1, 0, 1},
    {"numpad minus", Event::None, 0, {kNumSubtract}, true, true, 1, 0, 2},
    {"numpad minus without the list's focus", Event::None, 0, {kNumSubtract}, false, true, 1, 0, kNoRow},
    {"numpad minus behind another window", Event::None, 0, {kNumSubtract}, true, false, 1, 0, kNoRow},
    {"numpad minus on the first row", Event::None, 0, {kNumSubtract}, true, true, 0, 0, kNoRow},
    {"Move Up clicked", Event::Click, kMoveUp, {}, false, true, 1, 0, 2},
    {"Move Up clicked behind another window", Event::Click, kMoveUp, {}, false, false, 1, 0, kNoRow},
    {"Move Up item needs nothing else", Event::Menu, kMenuMoveUp, {}, false, false, 0, 0, 2},
    {"numpad plus", Event::None, 0, {kNumAdd}, true, true, 1, 0, 3},
    {"numpad plus on the last row", Event::None, 0, {kNumAdd}, true, true, 2, 0, kNoRow},
    {"numpad plus with no row selected", Event::None, 0, {kNumAdd}, true, true, -1, 0, kNoRow},
    {"Move Down clicked", Event::Click, kMoveDown, {}, false, true, 0, 0, 3},
    {"Move Down clicked behind another window", Event::Click, kMoveDown, {}, false, false, 0, 0, kNoRow},
    {"Move Down item needs nothing else", Event::Menu, kMenuMoveDown, {}, false, false, 2, 0, 3},
    {"Open Folder", Event::Click, kOpenFolder, {}, false, false, -1, 0, 4},
    {"Show Hidden", Event::Click, kShowHidden, {}, false, false, -1, 0, 5},
    {"Add Plugin", Event::Click, kAddPlugin, {}, false, false, -1, 0, 6},
    {"information", Event::Click, kInfo, {}, false, false, -1, 0, 7},
    {"Refresh", Event::Click, kRefresh, {}, false, false, -1, 0, 8},
    {"Alt+T", Event::None, 0, {kAlt, kLetterT}, true, true, 1, 0, 9},
    {"Alt+T comes before Alt+U", Event::None, 0, {kAlt, kLetterT, kLetterU}, true, true, 1, 0, 9},
    {"T without Alt", Event::None, 0, {kLetterT}, true, true, 1, 0, kNoRow},
    {"Alt+T latched", Event::None, 0, {kAlt, kLetterT}, true, true, 1, kAltTLatch, kNoRow},
    {"Convert item", Event::Menu, kMenuConvert, {}, false, true, 0, 0, 9},
    {"Convert item behind another window", Event::Menu, kMenuConvert, {}, false, false, 0, 0, kNoRow},
    {"Convert item while Alt+T is latched", Event::Menu, kMenuConvert, {}, false, true, 0, kAltTLatch, kNoRow},
    {"Disable all", Event::Menu, kMenuDisableAll, {}, false, false, -1, 0, 10},
    {"Enable all", Event::Menu, kMenuEnableAll, {}, false, false, -1, 0, 11},
    {"Convert all", Event::Menu, kMenuConvertAll, {}, false, false, -1, 0, 12},
    {"Alt+U", Event::None, 0, {kAlt, kLetterU}, true, true, 1, 0, 13},
    {"Alt+U latched", Event::None, 0, {kAlt, kLetterU}, true, true, 1, kAltULatch, kNoRow},
    {"Disable Update item", Event::Menu, kMenuDisableUpdates, {}, false, true, 0, 0, 13},
    {"Disable Update item with no row selected", Event::Menu, kMenuDisableUpdates, {}, false, true, -1, 0, kNoRow},
    {"Alt+I", Event::None, 0, {kAlt, kLetterI}, true, true, 1, 0, 14},
    {"Alt+I latched", Event::None, 0, {kAlt, kLetterI}, true, true, 1, kAltILatch, kNoRow},
    {"Alt+I without the list's focus", Event::None, 0, {kAlt, kLetterI}, false, true, 1, 0, kNoRow},
    {"Enable Update item", Event::Menu, kMenuEnableUpdates, {}, false, true, 0, 0, 14},
    {"Backspace", Event::None, 0, {kBack}, true, true, 0, 0, 15},
    {"Backspace with no row selected", Event::None, 0, {kBack}, true, true, -1, 0, kNoRow},
    {"Rename item", Event::Menu, kMenuRename, {}, false, true, 0, 0, 15},
    {"Rename item behind another window", Event::Menu, kMenuRename, {}, false, false, 0, 0, kNoRow},
    {"Shift and plus", Event::None, 0, {kShift, kOemPlus}, true, true, 1, 0, 16},
    {"plus without Shift", Event::None, 0, {kOemPlus}, true, true, 1, 0, kNoRow},
    {"numpad star", Event::None, 0, {kNumMultiply}, true, true, 1, 0, 16},
    {"numpad star latched", Event::None, 0, {kNumMultiply}, true, true, 1, kHideLatch, kNoRow},
    {"Hide item", Event::Menu, kMenuHide, {}, false, true, 0, 0, 16},
    {"Hide item while hiding is latched", Event::Menu, kMenuHide, {}, false, true, 0, kHideLatch, kNoRow},
    {"Enter", Event::None, 0, {kReturn}, true, true, 1, 0, 17},
    {"Enter latched", Event::None, 0, {kReturn}, true, true, 1, kEnterLatch, kNoRow},
    {"Enter behind another window", Event::None, 0, {kReturn}, true, false, 1, 0, kNoRow},
    {"Edit item", Event::Menu, kMenuEdit, {}, false, true, 0, 0, 17},
    {"Edit item while Enter is latched", Event::Menu, kMenuEdit, {}, false, true, 0, kEnterLatch, kNoRow},
    {"Delete held", Event::None, 0, {kDelete}, true, true, 1, 0, 18},
    {"Delete held, toggled", Event::None, 0, {kDelete}, true, true, 1, 0, 18, 3, 1, -127},
    {"Delete only toggled, not held", Event::None, 0, {kDelete}, true, true, 1, 0, kNoRow, 3, 1, 1},
    {"Delete held without the list's focus", Event::None, 0, {kDelete}, false, true, 1, 0, kNoRow},
    {"Delete item", Event::Menu, kMenuDelete, {}, false, true, 0, 0, 18},
    {"Delete item with no row selected", Event::Menu, kMenuDelete, {}, false, true, -1, 0, kNoRow},
    {"close", Event::Close, 0, {}, false, false, -1, 0, 19},
    {"a row dropped on another", Event::Drop, 0, {}, false, false, -1, 0, 20},
    {"nothing happened", Event::None, 0, {}, true, true, 1, 0, kNoRow},
    {"selection changed in the list", Event::Notification, 1, {}, true, true, 1, 0, kNoRow},
    {"double click in the list", Event::Notification, 2, {}, true, true, 1, 0, kNoRow},
    {"list gained the focus", Event::Notification, 4, {}, true, true, 1, 0, kNoRow},
    {"list lost the focus", Event::Notification, 5, {}, true, true, 1, 0, kNoRow},
};

// Handles no window has, and the made-up input in place of the live one.
class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        savedHandles = mainWindow;
        savedStatus = mainWindowStatus;
        savedLatches = latches;
        savedInputs = dispatchInputs;
        savedMode = catalogue.ntfsMode;
        Handle next = 0x7F000010;
        MainWindowHandles& w = mainWindow;
        for (Handle* h : {&w.mainWindow, &w.pluginList, &w.fileList, &w.moveUp, &w.moveDown, &w.refresh, &w.showHidden,
                          &w.addPlugin, &w.openFolder, &w.sort, &w.origFilenames, &w.infoButton}) {
            *h = next;
            next += 0x10;
        }
        dispatchInputs = {MadeUpKeyState, [] { return input.listFocus; }, MainWindowOrNone, [] { return input.rows; }};
    }

    void TearDown() override {
        mainWindow = savedHandles;
        mainWindowStatus = savedStatus;
        latches = savedLatches;
        dispatchInputs = savedInputs;
        catalogue.ntfsMode = savedMode;
        Post(0, 0, 0);
        eventState.listDrop.store(kNoListDrop);
    }

    static void Post(int message, std::intptr_t wParam, std::intptr_t lParam) {
        eventState.userMessage.store(message);
        eventState.userWParam.store(wParam);
        eventState.userLParam.store(lParam);
    }

    static Handle ButtonHandle(int button) {
        const Handle buttons[] = {mainWindow.origFilenames, mainWindow.sort,      mainWindow.moveUp,
                                  mainWindow.moveDown,      mainWindow.openFolder, mainWindow.showHidden,
                                  mainWindow.addPlugin,     mainWindow.infoButton, mainWindow.refresh};
        return buttons[button];
    }

    static void Arrange(const Case& c) {
        input = {c.keys, c.deleteState, c.listFocus, c.foreground, c.rows};
        mainWindowStatus.selection = c.selection;
        catalogue.ntfsMode = c.ntfsMode;
        latches = KeyLatches{};
        latches.enter = (c.latchesSet & kEnterLatch) ? 1 : 0;
        latches.altT = (c.latchesSet & kAltTLatch) ? 1 : 0;
        latches.altU = (c.latchesSet & kAltULatch) ? 1 : 0;
        latches.altI = (c.latchesSet & kAltILatch) ? 1 : 0;
        latches.hide = (c.latchesSet & kHideLatch) ? 1 : 0;
        eventState.listDrop.store(kNoListDrop);
        switch (c.event) {
            case Event::None: Post(0, 0, 0); break;
            case Event::Click: Post(273, 1000, ButtonHandle(c.detail)); break;
            case Event::Menu: Post(273, c.detail, 0); break;
            case Event::Notification: Post(273, std::intptr_t{c.detail} << 16, mainWindow.pluginList); break;
            case Event::Close: Post(16, 0, 0); break;
            case Event::Drop:
                Post(0, 0, 0);
                eventState.listDrop.store(PackListDrop({2, 0}));
                break;
        }
    }

    // The first row whose condition holds, as the loop would pick it.
    static int FirstRow() {
        for (int i = 0; i < kDispatchRows; ++i) {
            if (kDispatchTable[i].applies()) return i;
        }
        return kNoRow;
    }

    MainWindowHandles savedHandles;
    MainWindowStatus savedStatus;
    KeyLatches savedLatches;
    DispatchInputs savedInputs{};
    int savedMode = 0;
};

}  // namespace

TEST_F(Dispatch, EachInputSelectsTheRowItMust) {
    for (const Case& c : kCases) {
        Arrange(c);
        EXPECT_EQ(FirstRow(), c.expectedRow) << c.what;
    }
}

TEST_F(Dispatch, InCopyModeOrigFilenamesIsNeverTakenForAMenuItem) {
    catalogue.ntfsMode = 0;
    mainWindow.origFilenames = 0;   // the button does not exist, and a menu item has lParam 0 too
    input = {};
    Post(273, kMenuDisableAll, 0);
    EXPECT_EQ(FirstRow(), 10);
}
