// Controls by keyword and by class, dialog windows, fonts, style flags, placing, showing,
// destroying and reading texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/error_capture.h"
#include "tests/support/test_windows.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"
#include "toolkit/frame_window.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"
#include "toolkit/window_settings.h"

namespace {

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }

Text ClassOf(Handle window) {
    char name[64] = {};
    GetClassNameA(AsHwnd(window), name, sizeof name);
    return name;
}

std::uint32_t StyleOf(Handle window) {
    return static_cast<std::uint32_t>(GetWindowLongA(AsHwnd(window), GWL_STYLE));
}

std::uint32_t ExStyleOf(Handle window) {
    return static_cast<std::uint32_t>(GetWindowLongA(AsHwnd(window), GWL_EXSTYLE));
}

RECT RectOf(Handle window) {
    RECT r{};
    GetWindowRect(AsHwnd(window), &r);
    return r;
}

bool IsTopmost(Handle window) { return (ExStyleOf(window) & WS_EX_TOPMOST) != 0; }

// A dialog window as parent of the controls of one test. Unlike the main window, a dialog
// window may be destroyed without ending the program thread.
struct ParentWindow {
    Handle window = CreateDialogWindow(0, "controls test", 60, 60, 420, 320);
    ParentWindow() { EXPECT_NE(window, 0) << "CreateDialogWindow failed"; }
    ~ParentWindow() { DestroyWindowHandle(window); }
};

// Puts the main-window settings back, because flags 16, 32 and 512 cannot be switched off.
struct SavedWindowSettings {
    std::uint32_t style = windowSettings.style.load();
    std::uint32_t extendedStyle = windowSettings.extendedStyle.load();
    bool noMenu = windowSettings.noMenu.load();
    bool closeAsEvent = windowSettings.closeAsEvent.load();
    bool canvasFromScreen = windowSettings.canvasFromScreen.load();
    ~SavedWindowSettings() {
        windowSettings.style.store(style);
        windowSettings.extendedStyle.store(extendedStyle);
        windowSettings.noMenu.store(noMenu);
        windowSettings.closeAsEvent.store(closeAsEvent);
        windowSettings.canvasFromScreen.store(canvasFromScreen);
    }
};

// Records the class, styles and id of every window that the interface thread creates, as
// passed to CreateWindowEx: a CBT hook sees them before a control adjusts its own styles
// (list boxes and rich edits drop scroll bars they do not need, date pickers add an edge).
struct CreationRecord {
    HWND window;
    Text className;
    std::uint32_t style;
    std::uint32_t extendedStyle;
};

class CreationRecorder {
public:
    CreationRecorder() {
        std::lock_guard<std::mutex> guard(lock);
        records.clear();
        SendRequest([this] {
            hook = SetWindowsHookExA(WH_CBT, Record, nullptr, GetCurrentThreadId());
        });
        EXPECT_NE(hook, nullptr) << "the creation hook could not be installed";
    }
    ~CreationRecorder() {
        SendRequest([this] { UnhookWindowsHookEx(hook); });
    }
    CreationRecord Of(Handle window) const {
        std::lock_guard<std::mutex> guard(lock);
        for (const CreationRecord& r : records) {
            if (r.window == reinterpret_cast<HWND>(window)) return r;
        }
        return CreationRecord{nullptr, "(not recorded)", 0, 0};
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            Text name = HIWORD(reinterpret_cast<std::uintptr_t>(cs->lpszClass)) ? cs->lpszClass : "(atom)";
            std::lock_guard<std::mutex> guard(lock);
            records.push_back({reinterpret_cast<HWND>(wParam), name, static_cast<std::uint32_t>(cs->style),
                               static_cast<std::uint32_t>(cs->dwExStyle)});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::mutex lock;
    static inline std::vector<CreationRecord> records;
    HHOOK hook = nullptr;
};

struct KeywordRow {
    const char* keyword;
    const char* className;
    std::uint32_t style;
    std::uint32_t extendedStyle;
};

}  // namespace

TEST(ControlKeywords, EveryKeywordCreatesItsClassWithItsStyles) {
    const KeywordRow rows[] = {
        {"button", "Button", 0x50010000, 0},          {"defbutton", "Button", 0x50010001, 0},
        {"checkbox", "Button", 0x50010003, 0},        {"radiobutton", "Button", 0x50010009, 0},
        {"text", "Static", 0x50000000, 0},            {"edit", "Edit", 0x50010080, 0x200},
        {"multiedit", "Edit", 0x50311144, 0x200},     {"listbox", "ListBox", 0x50B101C1, 0x200},
        {"sortedlistbox", "ListBox", 0x50B101C3, 0x200}, {"choicebox", "ComboBox", 0x50210303, 0},
        {"groupbox", "Button", 0x50020007, 0},        {"hscroll", "ScrollBar", 0x50010000, 0},
        {"vscroll", "ScrollBar", 0x50010001, 0},      {"tabctrl", "SysTabControl32", 0x54010000, 0},
        {"richedit", "RichEdit20A", 0x54214044, 0x200}, {"dateedit", "SysDateTimePick32", 0x50000000, 0},
        {"timeedit", "SysDateTimePick32", 0x50000009, 0}, {"spinedit", "Edit", 0x50010080, 0x200},
    };
    ParentWindow parent;
    CreationRecorder recorder;
    for (const KeywordRow& row : rows) {
        Handle control = CreateControl(row.keyword, parent.window, "x", 5, 5, 120, 60);
        ASSERT_NE(control, 0) << row.keyword << " was not created";
        const CreationRecord made = recorder.Of(control);
        EXPECT_EQ(lstrcmpiA(made.className.c_str(), row.className), 0)
            << row.keyword << " made class " << made.className;
        EXPECT_EQ(made.style, row.style) << row.keyword << std::hex << " style 0x" << made.style;
        EXPECT_EQ(made.extendedStyle, row.extendedStyle) << row.keyword << std::hex << " extended style 0x"
                                                          << made.extendedStyle;
        EXPECT_EQ(GetParent(AsHwnd(control)), AsHwnd(parent.window)) << row.keyword;
    }
    // "spinedit" attaches an up-down control that counts in its field.
    ParentWindow spinParent;
    HWND spinEdit = AsHwnd(CreateControl("spinedit", spinParent.window, "1", 5, 5, 80, 22));
    HWND upDown = FindWindowExA(AsHwnd(spinParent.window), nullptr, "msctls_updown32", nullptr);
    ASSERT_NE(upDown, nullptr) << "spinedit made no up-down control";
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, 0x046A /* UDM_GETBUDDY */, 0, 0)), spinEdit);

    // "window" makes a dialog window owned by the parent.
    Handle window = CreateControl("Window", parent.window, "inner", 100, 100, 200, 150);
    ASSERT_NE(window, 0);
    EXPECT_EQ(ClassOf(window), "DIALOG");
    EXPECT_EQ(GetWindow(AsHwnd(window), GW_OWNER), AsHwnd(parent.window));
    DestroyWindowHandle(window);
}

TEST(ControlKeywords, KeywordsMatchWithoutRegardToCase) {
    ParentWindow parent;
    Handle lower = CreateControl("groupbox", parent.window, "a", 5, 5, 100, 50);
    Handle mixed = CreateControl("GroupBox", parent.window, "b", 5, 60, 100, 50);
    ASSERT_NE(mixed, 0) << "\"GroupBox\" was not recognised";
    EXPECT_EQ(ClassOf(mixed), ClassOf(lower));
    EXPECT_EQ(StyleOf(mixed), StyleOf(lower));
    EXPECT_EQ(ExStyleOf(mixed), ExStyleOf(lower));
    EXPECT_EQ(lstrcmpiA(ClassOf(CreateControl("RichEdit", parent.window, "", 5, 120, 100, 50)).c_str(),
                        "RichEdit20A"), 0);
}

TEST(ControlKeywords, AnUnknownKeywordIsFatal101WithTheKeywordInCapitals) {
    ParentWindow parent;
    ErrorCapture errors(1);
    EXPECT_EQ(CreateControl("label", parent.window, "x", 5, 5, 50, 20), 0);
    ASSERT_EQ(errors.boxes.size(), 1u) << "no error box for an unknown keyword";
    EXPECT_EQ(errors.boxes[0].caption, "Unbekanntes Create-Objekt: LABEL");
    EXPECT_EQ(errors.boxes[0].flags & 0xF0, kBoxIconError);
    EXPECT_EQ(errors.ends, 1) << "a fatal error must end the program";
    EXPECT_EQ(LastErrorNumber(), 101);
    EXPECT_EQ(GetWindow(AsHwnd(parent.window), GW_CHILD), nullptr) << "an unknown keyword created a window";
}

TEST(ControlKeywords, ANegativeHeightMakesAPasswordFieldOrWrappingLines) {
    ParentWindow parent;
    Handle password = CreateEditField(parent.window, "secret", 5, 5, 150, -20);
    ASSERT_NE(password, 0) << "an edit field with height -20 was not created";
    EXPECT_NE(StyleOf(password) & ES_PASSWORD, 0u) << "height -20 must make a password field";
    EXPECT_EQ(RectOf(password).bottom - RectOf(password).top, 20) << "the absolute height is used";

    Handle plain = CreateEditField(parent.window, "", 5, 40, 150, 20);
    EXPECT_EQ(StyleOf(plain) & ES_PASSWORD, 0u);

    Handle wrapping = CreateControl("multiedit", parent.window, "", 5, 70, 150, -60);
    ASSERT_NE(wrapping, 0);
    EXPECT_EQ(StyleOf(wrapping) & WS_HSCROLL, 0u) << "a negative height removes the horizontal scroll bar";
    EXPECT_EQ(RectOf(wrapping).bottom - RectOf(wrapping).top, 60);
    Handle scrolling = CreateControl("multiedit", parent.window, "", 5, 140, 150, 60);
    EXPECT_NE(StyleOf(scrolling) & WS_HSCROLL, 0u);
}

TEST(ControlIds, AutomaticIdsCountUpAndExplicitIdsDoNotAdvanceTheCounter) {
    ParentWindow parent;
    Handle first = CreateButton(parent.window, "one", 5, 5, 60, 20);
    Handle second = CreateTextLabel(parent.window, "two", 5, 30, 60, 20);
    const int firstId = GetDlgCtrlID(AsHwnd(first));
    EXPECT_GE(firstId, 1000) << "automatic ids start at 1000";
    EXPECT_EQ(GetDlgCtrlID(AsHwnd(second)), firstId + 1);
    EXPECT_EQ(GetWindowLongPtrA(AsHwnd(first), GWLP_HINSTANCE), ProgramInstance());

    const Handle otherInstance = reinterpret_cast<Handle>(GetModuleHandleA("KERNEL32"));
    Handle direct = CreateWindowDirect("BUTTON", "direct", WS_CHILD | WS_VISIBLE, 5, 55, 60, 20,
                                       parent.window, 4711, otherInstance, WS_EX_STATICEDGE);
    ASSERT_NE(direct, 0);
    EXPECT_EQ(GetDlgCtrlID(AsHwnd(direct)), 4711) << "CreateWindowDirect must use the id it is given";
    EXPECT_EQ(GetWindowLongPtrA(AsHwnd(direct), GWLP_HINSTANCE), otherInstance);
    EXPECT_NE(ExStyleOf(direct) & WS_EX_STATICEDGE, 0u);

    Handle third = CreateControl("listbox", parent.window, "", 5, 80, 60, 40);
    EXPECT_EQ(GetDlgCtrlID(AsHwnd(third)), firstId + 2) << "CreateWindowDirect advanced the counter";
}

TEST(ControlIds, ARefusedCreationReturnsZeroWithoutAnError) {
    ErrorCapture errors(1);
    EXPECT_EQ(CreateWindowDirect("NoSuchClass", "", WS_CHILD, 0, 0, 10, 10, 0, 0, ProgramInstance(), 0), 0);
    EXPECT_TRUE(errors.boxes.empty());
}

TEST(Fonts, CreatedFontsCarryTheirAttributesAndTheCreationModeSetsThemOnNewControls) {
    Handle bold = CreateFontHandle("Arial", -13, 0, 1, 0x101, 0);
    ASSERT_NE(bold, 0);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(bold), sizeof font, &font);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1) << "only the low byte of the italic argument counts";
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_STREQ(font.lfFaceName, "Arial");

    ParentWindow parent;
    SetCreationFontMode(bold);
    Handle withFont = CreateButton(parent.window, "bold", 5, 5, 80, 22);
    SetCreationFontMode(0);
    Handle withoutFont = CreateButton(parent.window, "plain", 5, 35, 80, 22);
    EXPECT_EQ(SendMessageA(AsHwnd(withFont), WM_GETFONT, 0, 0), bold) << "mode >= 2 is the font handle";
    EXPECT_NE(SendMessageA(AsHwnd(withoutFont), WM_GETFONT, 0, 0), bold) << "mode 0 sets no font";
}

TEST(StyleFlags, TheStyleIsRebuiltButFlags16_32And512StayOnceGiven) {
    SavedWindowSettings saved;
    windowSettings.noMenu.store(false);
    windowSettings.closeAsEvent.store(false);
    windowSettings.canvasFromScreen.store(false);
    windowSettings.extendedStyle.store(WS_EX_WINDOWEDGE);

    SetWindowStyleFlags(538);
    EXPECT_EQ(windowSettings.style.load(), 0xA2000u) << "538: minimise box and system menu on 0x2000";
    SetWindowStyleFlags(32 | 1 | 4);
    EXPECT_EQ(windowSettings.style.load(), 0x52000u) << "1 makes 0x12000, 4 adds the sizing border";
    SetWindowStyleFlags(2);
    EXPECT_EQ(windowSettings.style.load(), 0x22000u) << "the style must be rebuilt by every call";
    EXPECT_TRUE(windowSettings.noMenu.load()) << "flag 16 must stay";
    EXPECT_TRUE(windowSettings.closeAsEvent.load()) << "flag 512 must stay";
    EXPECT_TRUE(windowSettings.canvasFromScreen.load()) << "flag 32 must stay";
    EXPECT_EQ(windowSettings.extendedStyle.load(), static_cast<std::uint32_t>(WS_EX_WINDOWEDGE));

    SetWindowStyleFlags(64 | 8);
    EXPECT_EQ(windowSettings.style.load(), (0x82000u | WS_POPUP)) << "popup: no caption bits";
    EXPECT_EQ(windowSettings.extendedStyle.load() & WS_EX_WINDOWEDGE, 0u) << "popup loses the window edge";
}

TEST(DialogWindows, ADialogWindowHasTheCurrentStyleItsOwnerAndIsShown) {
    SavedWindowSettings saved;
    SetWindowStyleFlags(18);
    ParentWindow owner;
    Handle dialog = CreateDialogWindow(owner.window, "Dialog title", 80, 90, 240, 160);
    ASSERT_NE(dialog, 0);
    EXPECT_EQ(ClassOf(dialog), "DIALOG");
    EXPECT_EQ(GetWindow(AsHwnd(dialog), GW_OWNER), AsHwnd(owner.window));
    EXPECT_TRUE(IsWindowVisible(AsHwnd(dialog)));
    EXPECT_NE(StyleOf(dialog) & WS_MINIMIZEBOX, 0u) << "flag 2 of the current style";
    EXPECT_EQ(StyleOf(dialog) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(GetMenu(AsHwnd(dialog)), nullptr);
    EXPECT_EQ(GetControlText(dialog), "Dialog title");
    EXPECT_NE(DestroyWindowHandle(dialog), 0);
    EXPECT_FALSE(IsWindow(AsHwnd(dialog)));
    EXPECT_EQ(DestroyWindowHandle(dialog), 0) << "destroying a destroyed window must fail";
}

TEST(Placing, ZOrderZeroKeepsTheZOrderMinusOneMakesTopmostMinusTwoUndoesIt) {
    ParentWindow window;
    const Handle w = window.window;
    PlaceWindow(w, 40, 50, 220, 130, -1);
    ASSERT_TRUE(WaitUntil([&] { return IsTopmost(w) && RectOf(w).left == 40; }))
        << "z-order -1 did not make the window topmost at (40, 50)";
    EXPECT_EQ(RectOf(w).top, 50);
    EXPECT_EQ(RectOf(w).right - RectOf(w).left, 220);
    EXPECT_EQ(RectOf(w).bottom - RectOf(w).top, 130);

    PlaceWindow(w, 70, 80, 200, 120, 0);
    ASSERT_TRUE(WaitUntil([&] { return RectOf(w).left == 70 && RectOf(w).top == 80; }));
    EXPECT_TRUE(IsTopmost(w)) << "z-order 0 changed the z-order";

    PlaceWindow(w, 70, 80, 200, 120, -2);
    EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(w); })) << "z-order -2 did not end topmost";
}

TEST(Placing, NegativeCoordinatesWarn223AndTheWindowStillMoves) {
    ParentWindow window;
    ErrorCapture errors(1);
    PlaceWindow(window.window, -30, 20, 200, 100, 0);
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].caption, "Negative Fenstergröße!");
    EXPECT_EQ(errors.boxes[0].flags & 0xF0, kBoxIconWarning);
    EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
    EXPECT_EQ(errors.ends, 0);
    EXPECT_TRUE(WaitUntil([&] { return RectOf(window.window).left == -30; })) << "the window was not moved";
}

TEST(Showing, ShowWindowModeReportsThePreviousStateAndReturnsWhenItHasTakenEffect) {
    ParentWindow window;
    const HWND w = AsHwnd(window.window);
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(ShowWindowMode(window.window, SW_HIDE), 1);
    EXPECT_FALSE(IsWindowVisible(w)) << "the window was still visible when ShowWindowMode returned";
    EXPECT_EQ(ShowWindowMode(window.window, SW_SHOW), 0);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(ShowWindowMode(window.window, SW_MINIMIZE), 1);
    EXPECT_TRUE(IsIconic(w));
}

TEST(Texts, ControlTextsOfAnyLengthAreReadWhole) {
    ParentWindow parent;
    const Text longText(700, 'q');
    Handle label = CreateTextLabel(parent.window, longText, 5, 5, 300, 20);
    EXPECT_EQ(GetControlText(label), longText);
    Handle empty = CreateEditField(parent.window, "", 5, 30, 100, 20);
    EXPECT_EQ(GetControlText(empty), "");
    SetWindowTextA(AsHwnd(empty), "Gr\xF6\xDF" "e");
    EXPECT_EQ(GetControlText(empty), "Gr\xF6\xDF" "e");
}

TEST(Focus, SetControlFocusMovesTheKeyboardFocusWhereverTheUserLeftIt) {
    ParentWindow parent;
    Handle first = CreateEditField(parent.window, "", 5, 5, 100, 20);
    Handle second = CreateEditField(parent.window, "", 5, 30, 100, 20);
    SetControlFocus(first);
    ASSERT_EQ(GetFocus(), AsHwnd(first));
    SetControlFocus(first);  // the focus is already there: nothing to do
    EXPECT_EQ(GetFocus(), AsHwnd(first));
    EXPECT_EQ(HasFocus(first), 1);

    // The user tabs to the other field; asking for the first one again must move the focus back.
    SendRequest([second] { SetFocus(AsHwnd(second)); });
    ASSERT_EQ(GetFocus(), AsHwnd(second));
    SetControlFocus(first);
    EXPECT_EQ(GetFocus(), AsHwnd(first));
    EXPECT_EQ(HasFocus(second), 0);
}

// The same steps on a plain list box and on one whose selection and row count the interface
// thread follows: the followed one must answer as the list box itself would.
TEST(ListBoxes, RowsAreAddedInsertedDeletedAndReadOneByOneOrAllTogetherFollowedOrNot) {
    for (const bool followed : {false, true}) {
        SCOPED_TRACE(followed ? "followed list" : "plain list");
        ParentWindow parent;
        Handle list = CreateWindowDirect("LISTBOX", "", 0x54211141, 5, 5, 200, 150, parent.window, 0,
                                         ProgramInstance(), 0x200);
        ASSERT_NE(list, 0);
        if (followed) FollowList(list);
        ListSetAll(list, {"beta", "delta"});
        ListInsert(list, 0, "alpha");
        ListInsert(list, 2, "gamma");
        ASSERT_EQ(ListCount(list), 4);
        EXPECT_EQ(GetListItemText(list, 0), "alpha");
        EXPECT_EQ(GetListItemText(list, 2), "gamma");
        EXPECT_EQ(GetListItemText(list, 3), "delta") << "the list must not be sorted";
        EXPECT_EQ(GetListItemText(list, 4), "") << "an index past the end reads empty";
        EXPECT_EQ(GetListItemText(list, -1), "");
        const std::vector<Text> rows{"alpha", "beta", "gamma", "delta"};
        std::vector<Text> many;
        for (int i = 0; i < 40; ++i) many.push_back("row " + std::to_string(i));
        EXPECT_TRUE(ListSetAll(list, many));
        ListSelect(list, 30);
        SendMessageA(reinterpret_cast<HWND>(list), LB_SETTOPINDEX, 5, 0);
        EXPECT_FALSE(ListSetAll(list, many));
        EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(list), LB_GETTOPINDEX, 0, 0), 5)
            << "a list that holds the rows already is left as it is";
        EXPECT_EQ(ListSelection(list), 30);
        EXPECT_TRUE(ListSetAll(list, {"zulu", "", "echo"}));
        EXPECT_EQ(ListItemTexts(list), (std::vector<Text>{"zulu", "", "echo"}))
            << "rows set together replace the others, in their order";
        EXPECT_EQ(ListSelection(list), -1);
        EXPECT_TRUE(ListSetAll(list, rows));

        ListSelect(list, 2);
        EXPECT_EQ(ListSelection(list), 2);
        ListDelete(list, 0);
        EXPECT_EQ(ListSelection(list), 1) << "the selection moves up with its row";
        EXPECT_EQ(ListCount(list), 3);
        EXPECT_EQ(GetListItemText(list, 0), "beta");
        ListSetAll(list, {});
        EXPECT_EQ(ListCount(list), 0);
        EXPECT_EQ(ListSelection(list), -1);

        // Another program selects with a message straight to the list box, past the toolkit.
        ListSetAll(list, {"one", "two"});
        SendMessageA(reinterpret_cast<HWND>(list), LB_SETCURSEL, 1, 0);
        EXPECT_EQ(ListSelection(list), 1);
        EXPECT_EQ(ListCount(list), 2);
    }
}
