#include "shell/main_window.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <initializer_list>

#include "catalogue/catalogue_state.h"
#include "catalogue/plugin_list.h"
#include "shell/main_window_texts.h"
#include "shell/shell_state.h"
#include "toolkit/controls.h"
#include "toolkit/drag_list.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/frame_window.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"
#include "toolkit/trace.h"

namespace {

constexpr int kMainWindowStyleFlags = 538;   // minimise box, system menu, no menu, close as event
constexpr std::uint32_t kStaticHintStyle = 0x5C000100;
constexpr std::uint32_t kListStyle = 0x54211141;
constexpr std::uint32_t kColumnButtonStyle = 0x54010100;
constexpr std::uint32_t kInfoButtonStyle = 0x54010000;
constexpr std::uint32_t kSeparatorStyle = 0x54000130;
constexpr std::uint32_t kTooltipStyle = 0xD0000000;
constexpr std::uint32_t kClientEdge = 0x200;
constexpr std::uint32_t kStaticEdge = 0x20000;
constexpr int kTransparent = -1;

std::intptr_t Send(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    return CallLibraryFunction("USER32", "SendMessageA", {window, message, wParam, lParam});
}

int SystemMetric(int index) {
    return static_cast<std::int32_t>(CallLibraryFunction("USER32", "GetSystemMetrics", {index}));
}

int SystemColour(int index) {
    return static_cast<std::int32_t>(CallLibraryFunction("USER32", "GetSysColor", {index}));
}

void SetCaption(Handle window, const Text& caption) {
    CallLibraryFunction("USER32", "SetWindowTextA", {window, Arg(caption)});
}

// The window is 450 x 370 nominally; the system's frame and caption adjust it.
void ComputeLayout() {
    MainWindowLayout& l = mainWindowLayout;
    l.frame = SystemMetric(SM_CXFRAME);
    l.caption = SystemMetric(SM_CYCAPTION);
    l.captionAndFrame = l.frame + l.caption;
    l.windowWidth = 450 + (l.frame - 4);
    l.windowHeight = 370 + (l.frame + l.caption - 42);
}

// Opened just outside the visible screen, so the user never sees it being filled.
void OpenOffScreen() {
    SetMainWindowTitle(kMainWindowTitle);
    SetWindowStyleFlags(kMainWindowStyleFlags);
    OpenMainWindow(ScreenWidth(), ScreenHeight(), mainWindowLayout.windowWidth,
                   mainWindowLayout.windowHeight);
    mainWindow.mainWindow = eventState.currentWindow.load();
    SetTrueColour(1);
    ClearWindow(SystemColour(COLOR_BTNFACE));
}

Handle Direct(const char* className, const Text& text, std::uint32_t style, int x, int y, int width,
              int height, std::uint32_t extendedStyle = 0) {
    return CreateWindowDirect(className, text, style, x, y, width, height, mainWindow.mainWindow, 0,
                              ProgramInstance(), extendedStyle);
}

// The tab order follows the order of creation.
void CreateControls() {
    const MainWindowTexts& t = kMainWindowTexts;
    const Handle main = mainWindow.mainWindow;
    MainWindowHandles& w = mainWindow;
    w.hintText = Direct("STATIC", Say(t.hint), kStaticHintStyle, 9, 218, 230, 40);
    w.fileList = Direct("LISTBOX", "", kListStyle, 500, 500, 0, 0, kClientEdge);
    w.pluginList = Direct("LISTBOX", "", kListStyle, 15, 25, 300, 170, kClientEdge);
    w.moveUp = CreateButton(main, Say(t.moveUp), 327, 27, 100, 24);
    w.moveDown = CreateButton(main, Say(t.moveDown), 327, 62, 100, 24);
    w.refresh = Direct("BUTTON", Say(t.refresh), kColumnButtonStyle, 327, 105, 100, 20);
    w.showHidden = Direct("BUTTON", "", kColumnButtonStyle, 327, 128, 100, 20);
    UpdateShowHiddenButton();
    w.addPlugin = Direct("BUTTON", Say(t.addPlugin), kColumnButtonStyle, 327, 151, 100, 20);
    w.openFolder = Direct("BUTTON", Say(t.openFolder), kColumnButtonStyle, 327, 174, 100, 20);
    w.sort = CreateButton(main, Say(t.sort), 5, 260, 133, 30);
    if (catalogue.ntfsMode == 1) {
        w.origFilenames = CreateButton(main, Say(t.origFilenames), 143, 260, 98, 30);
    }
    w.infoButton = Direct("BUTTON", Say(t.infoButton), kInfoButtonStyle, 5, 303, 23, 21, kStaticEdge);
    w.groupBox = CreateControl("GroupBox", main, Say(t.groupBox), 5, 5, 434, 200);
    w.creditLabel = CreateControl("Text", main, Say(t.credit), 260, 307, 200, 16);
    Direct("STATIC", "", kSeparatorStyle, 3, 298, 441, 2);
}

void SetFont(Handle control, Handle font) { Send(control, WM_SETFONT, font, 1); }

// The separator and the invisible file list keep the system font.
void ApplyFonts() {
    const MainWindowHandles& w = mainWindow;
    SetFont(w.sort, startup.boldFont);
    SetFont(w.groupBox, startup.boldFont);
    SetFont(w.creditLabel, startup.underlinedFont);
    for (Handle control : {w.moveUp, w.origFilenames, w.hintText, w.moveDown, w.refresh, w.infoButton,
                           w.showHidden, w.openFolder, w.addPlugin, w.pluginList}) {
        if (control != 0) SetFont(control, startup.normalFont);
    }
}

void AddTooltip(Handle control, const Phrase& tip) {
    if (control == 0) return;
    const Text text = Say(tip);
    TOOLINFOA info{};
    // The full structure size: a 32-bit sized TOOLINFO is refused on 64-bit Windows.
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = reinterpret_cast<HWND>(mainWindow.mainWindow);
    info.uId = static_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text.c_str());
    Send(mainWindow.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<std::intptr_t>(&info));
}

void CreateTooltips() {
    MainWindowHandles& w = mainWindow;
    const MainWindowTexts& t = kMainWindowTexts;
    w.tooltip = CreateWindowDirect("tooltips_class32", "", kTooltipStyle, 0, 0, 0, 0, w.mainWindow, 0,
                                   ProgramInstance(), 0);
    Send(w.tooltip, TTM_SETTIPBKCOLOR, SystemColour(COLOR_INFOBK), 0);
    Send(w.tooltip, TTM_SETTIPTEXTCOLOR, SystemColour(COLOR_INFOTEXT), 0);
    Send(w.tooltip, TTM_ACTIVATE, 1, 0);
    AddTooltip(w.origFilenames, t.origFilenamesTip);
    AddTooltip(w.sort, t.sortTip);
    AddTooltip(w.openFolder, t.openFolderTip);
    AddTooltip(w.showHidden, t.showHiddenTip);
    AddTooltip(w.refresh, t.refreshTip);
    AddTooltip(w.moveUp, t.moveUpTip);
    AddTooltip(w.moveDown, t.moveDownTip);
    AddTooltip(w.infoButton, t.infoButtonTip);
    AddTooltip(w.pluginList, t.pluginListTip);
    AddTooltip(w.addPlugin, t.addPluginTip);
}

// Topmost and then not topmost again: in front of every other window, without staying there.
void CentreOnScreen() {
    const MainWindowLayout& l = mainWindowLayout;
    const int x = static_cast<int>(ScreenWidth() * 0.5 - l.windowWidth * 0.5);
    const int y = static_cast<int>(ScreenHeight() * 0.5 - l.windowHeight * 0.5);
    PlaceWindow(mainWindow.mainWindow, x, y, l.windowWidth, l.windowHeight, -1);
    PlaceWindow(mainWindow.mainWindow, x, y, l.windowWidth, l.windowHeight, -2);
}

}  // namespace

void BuildMainWindow() {
    ComputeLayout();
    OpenOffScreen();
    // Nobody sees the window before it is centred: its controls and rows are drawn once then,
    // not one by one as they are made and filled.
    HoldDrawing(mainWindow.mainWindow, true);
    CreateControls();
    // The main loop reads the selection and the row count on every pass.
    FollowList(mainWindow.pluginList);
    // A row can be dragged to its place; after FollowList, so that the drag list sees the
    // list's messages first.
    MakeListDraggable(mainWindow.pluginList);
    // Each message by name from this thread is a request of its own; these go in one.
    SendRequest(ApplyFonts);
    catalogue.pluginList = mainWindow.pluginList;
    catalogue.fileList = mainWindow.fileList;
    catalogue.updateMoveButtons = UpdateMoveButtons;
    FillPluginList(mainWindow.pluginList, mainWindow.fileList, -1, "*.SRC");
    QUORREL_TRACE_MARK("plugin list filled");
    SendRequest(CreateTooltips);
    HoldDrawing(mainWindow.mainWindow, false);
    CentreOnScreen();
    QUORREL_TRACE_MARK("window centred on screen");
    DrawBitmapResource(ProgramInstance(), "FIREFOX", 245, 215, kTransparent);
    // Placing the window on screen may activate it, and activation moves the keyboard focus to
    // the window itself: the list must have it for the shortcuts to work from the start.
    SetControlFocus(mainWindow.pluginList);
}

void UpdateMoveButtons() {
    MainWindowStatus& s = mainWindowStatus;
    const int selection = ListSelection(mainWindow.pluginList);
    s.selection = selection;
    if (s.moveUpDisabled == 0 && selection == 0) {
        EnableControl(mainWindow.moveUp, 0);
        s.moveUpDisabled = 1;
    } else if (s.moveUpDisabled == 1 && selection > 0) {
        EnableControl(mainWindow.moveUp, 1);
        s.moveUpDisabled = 0;
    }
    const int count = ListCount(mainWindow.pluginList);
    if (s.moveDownDisabled == 0 && selection == count - 1) {
        EnableControl(mainWindow.moveDown, 0);
        s.moveDownDisabled = 1;
    } else if (s.moveDownDisabled == 1 && selection < count - 1) {
        EnableControl(mainWindow.moveDown, 1);
        s.moveDownDisabled = 0;
    }
}

void UpdateShowHiddenButton() {
    mainWindowStatus.hiddenCount = CountPluginFiles("*.HID");
    SetCaption(mainWindow.showHidden, ShowHiddenCaption(catalogue.language, mainWindowStatus.hiddenCount));
    EnableControl(mainWindow.showHidden, mainWindowStatus.hiddenCount > 0 ? 1 : 0);
}
