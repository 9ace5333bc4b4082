#include "shell/main_loop.h"

#include <cstdint>
#include <cstdlib>

#include "catalogue/catalogue_state.h"
#include "shell/commands.h"
#include "shell/context_menu.h"
#include "shell/dialog_support.h"
#include "shell/information_dialog.h"
#include "shell/links.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "shell/startup_rules.h"
#include "toolkit/drag_list.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/frame_window.h"
#include "toolkit/input_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"
#include "toolkit/trace.h"

MainLoopState mainLoop;

DispatchInputs dispatchInputs = {
    [](int virtualKey) { return mainLoop.keys.State(virtualKey); },
    [] { return HasFocus(mainWindow.pluginList) != 0; },
    ForegroundWindow,
    [] { return ListCount(mainWindow.pluginList); },
};

namespace {

constexpr int kWmClose = 16;
constexpr int kPassPauseMs = 25;
// An idle loop sleeps until it is woken: every input and every message that may change what a
// pass reads wakes it, so a program nobody uses costs no time at all.
constexpr int kNoTimeLimit = -1;

// Keys of the shortcuts.
constexpr int kVkLButton = 1;
constexpr int kVkBack = 8;
constexpr int kVkMenu = 18;
constexpr int kVkDelete = 46;
constexpr int kVkT = 84;
constexpr int kVkU = 85;
constexpr int kVkI = 73;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kVkRButton = 2;
constexpr int kVkApps = 93;

int Selection() { return mainWindowStatus.selection; }
int RowCount() { return dispatchInputs.rowCount(); }
bool ListFocus() { return dispatchInputs.listHasFocus(); }
bool Foreground() { return dispatchInputs.foreground() == mainWindow.mainWindow; }
bool Down(int virtualKey) { return KeyStateIsDown(dispatchInputs.keyState(virtualKey)); }
// The keys come first: they are read from the pass's keyboard state, the focus may need a call.
bool ListKey(int virtualKey) { return Down(virtualKey) && ListFocus(); }
bool ListAltKey(int letter) { return Down(kVkMenu) && Down(letter) && ListFocus(); }
bool MenuItem(int id) {
    return (static_cast<std::uintptr_t>(eventState.userWParam.load()) & 0xFFFF) == static_cast<std::uintptr_t>(id);
}

// The conditions of the dispatch table. A menu item stands in for the focus-and-key test only;
// the Move items skip the other tests too, since the menu offers them only where they apply.
bool OrigFilenamesAsked() { return Clicked(mainWindow.origFilenames) && catalogue.ntfsMode == 1; }
bool SortAsked() { return Clicked(mainWindow.sort); }
bool MoveUpAsked() {
    return ((ListKey(kVkSubtract) || Clicked(mainWindow.moveUp)) && Foreground() && Selection() > 0) ||
           MenuItem(kMenuMoveUp);
}
bool MoveDownAsked() {
    return (Selection() < RowCount() - 1 && (ListKey(kVkAdd) || Clicked(mainWindow.moveDown)) && Foreground() &&
            Selection() >= 0) ||
           MenuItem(kMenuMoveDown);
}
bool OpenFolderAsked() { return Clicked(mainWindow.openFolder); }
bool ShowHiddenAsked() { return Clicked(mainWindow.showHidden); }
bool AddPluginAsked() { return Clicked(mainWindow.addPlugin); }
bool InformationAsked() { return Clicked(mainWindow.infoButton); }
bool RefreshAsked() { return Clicked(mainWindow.refresh); }
bool ConvertAsked() {
    return (ListAltKey(kVkT) || MenuItem(kMenuConvert)) && Foreground() && latches.altT == 0 && Selection() >= 0;
}
bool DisableAllAsked() { return MenuItem(kMenuDisableAll); }
bool EnableAllAsked() { return MenuItem(kMenuEnableAll); }
bool ConvertAllAsked() { return MenuItem(kMenuConvertAll); }
bool DisableUpdatesAsked() {
    return (ListAltKey(kVkU) || MenuItem(kMenuDisableUpdates)) && Foreground() && latches.altU == 0 &&
           Selection() >= 0;
}
bool EnableUpdatesAsked() {
    return (ListAltKey(kVkI) || MenuItem(kMenuEnableUpdates)) && Foreground() && latches.altI == 0 &&
           Selection() >= 0;
}
bool RenameAsked() { return (ListKey(kVkBack) || MenuItem(kMenuRename)) && Foreground() && Selection() >= 0; }
// Numpad star, or Shift with the plus key of the main keyboard.
bool HideAsked() {
    return ((Down(kVkShift) && Down(kVkOemPlus) && ListFocus()) || ListKey(kVkMultiply) ||
            MenuItem(kMenuHide)) &&
           Foreground() && latches.hide == 0 && Selection() >= 0;
}
bool EditAsked() {
    return (ListKey(kVkReturn) || MenuItem(kMenuEdit)) && Foreground() && Selection() >= 0 && latches.enter == 0;
}
// Delete counts as down while the key is held at all.
bool DeleteAsked() {
    return ((dispatchInputs.keyState(kVkDelete) < 0 && ListFocus()) || MenuItem(kMenuDelete)) && Foreground() &&
           Selection() >= 0;
}
bool CloseAsked() { return eventState.userMessage.load() == kWmClose; }
bool DropAsked() { return ListDropWaiting(); }

void DispatchOneCommand() {
    for (const DispatchRow& row : kDispatchTable) {
        if (row.applies()) {
            QUORREL_TRACE_MARK("command started");
            row.run();
            // Whatever a command switched off or on, the next one reports at the program's level.
            SetErrorLevel(0);
            return;
        }
    }
}

bool Up(int virtualKey) { return KeyStateIsUp(mainLoop.keys.State(virtualKey)); }

// The Alt key is not looked at: the letter alone ends its latch.
void ClearReleasedLatches() {
    if (Up(kVkMultiply) && Up(kVkOemPlus)) latches.hide = 0;
    if (Up(kVkReturn)) latches.enter = 0;
    if (Up(kVkT)) latches.altT = 0;
    if (Up(kVkU)) latches.altU = 0;
    if (Up(kVkI)) latches.altI = 0;
}

// GetKeyState's toggle bit alone (1) does not count as the right button being down.
bool ContextMenuKeyDown() {
    return mainLoop.keys.State(kVkApps) < 0 || std::abs(mainLoop.keys.State(kVkRButton)) > 1;
}

Handle WindowUnderCursor() {
    return WindowFromScreenPoint(MainWindowLeft() + mainLoop.cursorX, MainWindowTop() + mainLoop.cursorY);
}

void OfferContextMenu() {
    if (!ContextMenuKeyDown() || WindowUnderCursor() != mainWindow.pluginList || Selection() < 0) return;
    FlushEvents();
    SetControlFocus(mainWindow.mainWindow);
    ShowContextMenu(Selection(), RowCount(), mainLoop.cursorX - mainWindowLayout.frame,
                    mainLoop.cursorY - mainWindowLayout.captionAndFrame);
    mainLoop.noWait = 1;
}

// Keys that a rule reads while they are held: the shortcuts (numpad minus and plus and Delete
// act again on every pass), the modifiers that go with them, and the context menu's keys.
constexpr int kHeldKeys[] = {kVkBack, kVkReturn, kVkShift, kVkMenu, kVkDelete, kVkI, kVkT, kVkU,
                             kVkMultiply, kVkAdd, kVkSubtract, kVkOemPlus, kVkRButton, kVkApps};

bool AnyHeldKeyDown() {
    for (int key : kHeldKeys) {
        if (KeyStateIsDown(mainLoop.keys.State(key))) return true;
    }
    return false;
}

bool AnyLatchSet() {
    return latches.enter != 0 || latches.altT != 0 || latches.altU != 0 || latches.altI != 0 || latches.hide != 0;
}

// The links look at the cursor and the left button, which change while the pointer is outside
// the program's windows, where no message tells of them. (Their arming looks only at the time:
// the idle wait ends when it is due.)
bool LinksInPlay() {
    const LinkState& l = mainLoop.links;
    if (l.hover != 0 || l.logoPressed != 0 || l.creditPressed != 0) return true;
    return (OverLogo(mainLoop.cursorX, mainLoop.cursorY) || OverCredit(mainLoop.cursorX, mainLoop.cursorY)) &&
           Foreground();
}

// From the press that begins a drag until both mouse buttons are up again, no command runs and
// no menu opens: the right click that cancels a drag must not open the context menu. The drop
// waits in the event state until then.
void FollowDrag() {
    if (ListDragUnderWay()) {
        mainLoop.dragHeld = 1;
    } else if (Up(kVkLButton) && Up(kVkRButton)) {
        mainLoop.dragHeld = 0;
    }
}

bool NeedsSteadyPasses() {
    return AnyHeldKeyDown() || AnyLatchSet() || LinksInPlay() || informationDialog.open == 1 ||
           (mainLoop.dragHeld != 0 && !ListDragUnderWay());
}

// Until the first wait (or the first menu) the loop waits for a message at the end of a pass.
// From then on it passes every 25 ms while a rule looks at time or at held keys, and otherwise
// sleeps until the interface thread wakes it (a command then starts at once) or the links are
// due to arm.
void EndPass() {
    if (mainLoop.noWait == 0) {
        PauseInterface(kPassPauseMs);
        if (mainLoop.links.hover == 0) {
            AwaitNextMessage();
            mainLoop.noWait = 1;
        }
        return;
    }
    if (NeedsSteadyPasses()) {
        PauseInterface(kPassPauseMs);
    } else {
        const int untilArming = MsUntilLinksArm();
        AwaitWake(untilArming > 0 ? untilArming : kNoTimeLimit);
    }
}

}  // namespace

const DispatchRow kDispatchTable[kDispatchRows] = {
    {OrigFilenamesAsked, RestoreOriginalNamesCommand},
    {SortAsked, SortCommand},
    {MoveUpAsked, MoveUpCommand},
    {MoveDownAsked, MoveDownCommand},
    {OpenFolderAsked, OpenFolderCommand},
    {ShowHiddenAsked, ShowHiddenCommand},
    {AddPluginAsked, AddPluginCommand},
    {InformationAsked, InformationCommand},
    {RefreshAsked, RefreshCommand},
    {ConvertAsked, ConvertCommand},
    {DisableAllAsked, DisableAllUpdatesCommand},
    {EnableAllAsked, EnableAllUpdatesCommand},
    {ConvertAllAsked, ConvertAllCommand},
    {DisableUpdatesAsked, DisableUpdatesCommand},
    {EnableUpdatesAsked, EnableUpdatesCommand},
    {RenameAsked, RenameCommand},
    {HideAsked, HideCommand},
    {EditAsked, EditCommand},
    {DeleteAsked, DeleteCommand},
    {CloseAsked, CloseCommand},
    {DropAsked, DropCommand},
};

void RunMainLoop() {
    for (;;) {
        // Whatever the registered-message triple held as the pass began has been read when it ends;
        // until then a control's notification does not replace a command in it.
        const std::uint32_t userMessages = eventState.userMessageCount.load(std::memory_order_acquire);
        UpdateMoveButtons();
        mainLoop.keys = ReadKeyboardState();
        FollowDrag();
        if (mainLoop.dragHeld == 0) DispatchOneCommand();
        if (informationDialog.open == 1) PollInformationDialog();
        TrackLinks();
        mainLoop.keys = ReadKeyboardState();
        ClearReleasedLatches();
        if (mainLoop.dragHeld == 0) OfferContextMenu();
        eventState.userMessagesRead.store(userMessages);
        EndPass();
    }
}
