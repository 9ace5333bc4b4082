// The main window and the interface services: title and style, clearing, drawing a bitmap
// resource, the mouse pointer, finding windows by title, the folder browser, the popup menu.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "tests/support/error_capture.h"
#include "tests/support/test_windows.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/frame_window.h"
#include "toolkit/interface_thread.h"
#include "toolkit/window_procedures.h"
#include "toolkit/window_services.h"
#include "toolkit/window_settings.h"

namespace {

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }

constexpr const char* kMainTitle = "Quorrel services test";

// The main window, opened once for the whole test program: destroying it would end the
// program thread. It is opened the way the application opens its own.
HWND MainWindow() {
    if (eventState.currentWindow.load() == 0) {
        SetMainWindowTitle(kMainTitle);
        SetWindowStyleFlags(538);
        OpenMainWindow(30, 30, 450, 351);
    }
    return AsHwnd(eventState.currentWindow.load());
}

RECT RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Reads a pixel of the main window's canvas on the interface thread.
// A point of the main window's canvas, which first grows to hold it, as it does for a repaint
// or a drawing that reaches the point.
COLORREF CanvasPixel(int x, int y) {
    COLORREF colour = CLR_INVALID;
    SendRequest([&] {
        if (Canvas* canvas = CanvasOf(MainWindow())) {
            CoverCanvas(*canvas, MainWindow(), x + 1, y + 1);
            colour = GetPixel(canvas->dc.get(), x, y);
        }
    });
    return colour;
}

// A visible top-level window of the class and title (nullptr: any title), or nullptr.
HWND FindVisible(const char* className, const char* title) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title))) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Runs in the background while the program thread is blocked in a modal service: waits a few
// seconds for a visible top-level window of the class and title, then runs the action on it.
// The helper thread is joined before the test goes on.
class Driver {
public:
    Driver(const char* className, const char* title, std::function<void(HWND)> action)
        : thread([this, className, title, action] {
              HWND found = nullptr;
              WaitUntil([&] { return (found = FindVisible(className, title)) != nullptr; },
                        std::chrono::milliseconds(8000));
              if (!found) return;
              seen = true;
              action(found);
          }) {}
    ~Driver() { thread.join(); }
    std::atomic<bool> seen{false};

private:
    std::thread thread;
};

// Presses a button of a dialog and waits for the dialog to go; cancels it if it stays.
void PressAndWaitForClose(HWND dialog, int buttonId) {
    PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(dialog); }, std::chrono::milliseconds(5000))) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

Text ItemLabel(HWND tree, HTREEITEM item) {
    char label[260] = {};
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = label;
    info.cchTextMax = sizeof label;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return label;
}

// Expands parent and returns its child whose label contains the text, case-insensitively.
HTREEITEM ChildContaining(HWND tree, HTREEITEM parent, const Text& text) {
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    auto child = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; child; child = reinterpret_cast<HTREEITEM>(SendMessageA(
                      tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        if (Contains(UpperCase(ItemLabel(tree, child)), UpperCase(text))) return child;
    }
    return nullptr;
}

// Selects the folder reached by the labels, starting below the tree's root, and presses OK.
// Cancels when a label is missing.
void ChooseFolder(HWND browser, const std::vector<Text>& labels) {
    HWND tree = GetDlgItem(browser, 14145);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (const Text& label : labels) {
        if (item) item = ChildContaining(tree, item, label);
    }
    if (!item) {
        PressAndWaitForClose(browser, IDCANCEL);
        return;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    PressAndWaitForClose(browser, IDOK);
}

}  // namespace

TEST(MainWindow, OpensWithTheStyleFlagsAndTitleAndWithoutAMenu) {
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    char className[32] = {};
    GetClassNameA(main, className, sizeof className);
    EXPECT_STREQ(className, "FENSTER");
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(main, GWL_STYLE));
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << "flags 538 give no maximise box and no sizing border";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(GetMenu(main), nullptr) << "the program has no menu \"LEER\"";
    EXPECT_NE(CanvasOf(main), nullptr) << "a main window owns a canvas";

    char title[64] = {};
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, kMainTitle);
    SetMainWindowTitle("Renamed at once");
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Renamed at once") << "a title change must apply to the open window";
    SetMainWindowTitle(kMainTitle);
}

TEST(MainWindow, OpeningAgainMovesTheWindowAndEdgesAreItsScreenRectangle) {
    HWND main = MainWindow();
    OpenMainWindow(40, 45, 460, 360);
    ASSERT_TRUE(WaitUntil([&] { return RectOf(main).left == 40 && RectOf(main).top == 45; }))
        << "opening an open main window must move it";
    EXPECT_EQ(AsHwnd(eventState.currentWindow.load()), main) << "no second main window";
    EXPECT_EQ(MainWindowLeft(), 40);
    EXPECT_EQ(MainWindowTop(), 45);
    EXPECT_EQ(MainWindowRight(), 500);
    EXPECT_EQ(MainWindowBottom(), 405);

    ErrorCapture errors(1);
    OpenMainWindow(-10, 45, 460, 360);
    ASSERT_EQ(errors.boxes.size(), 1u) << "negative coordinates must warn";
    EXPECT_EQ(errors.boxes[0].caption, "Negative Fenstergröße!");
    EXPECT_TRUE(WaitUntil([] { return MainWindowLeft() == -10; })) << "after the warning the window still moves";
    OpenMainWindow(30, 30, 450, 351);
    WaitUntil([] { return MainWindowLeft() == 30; });
}

TEST(MainWindow, ClearWindowFillsTheCanvasWithRgbOrScaled15BitColours) {
    MainWindow();
    const int previous = SetOption("truecolor", 1);
    ClearWindow(RGB(10, 200, 30));
    EXPECT_EQ(CanvasPixel(5, 5), RGB(10, 200, 30));
    int heldWidth = 0;
    SendRequest([&] {
        Canvas* canvas = CanvasOf(MainWindow());
        heldWidth = canvas->width;
        SetPixel(canvas->dc.get(), 7, 7, RGB(1, 2, 3));
    });
    EXPECT_LT(heldWidth, ScreenWidth()) << "the canvas holds what the window needs, not the whole screen";
    EXPECT_EQ(CanvasPixel(ScreenWidth() - 1, ScreenHeight() - 1), RGB(10, 200, 30)) << "the whole canvas";
    EXPECT_EQ(CanvasPixel(7, 7), RGB(1, 2, 3)) << "growing must keep what was drawn";

    SetOption("truecolor", 0);
    ClearWindow(31 | (1 << 5) | (16 << 10));  // 5 bits each, red lowest
    EXPECT_EQ(CanvasPixel(5, 5), RGB(255, 8, 131)) << "each channel scaled by 8.226 and truncated";
    SetOption("truecolor", previous);
}

TEST(MainWindow, ABitmapResourceIsDrawnIntoCanvasAndWindowInEachMode) {
    // The system's check-mark bitmap stands in for a program resource: instance 0 and a
    // numeric name load it.
    const Text checkMark = "32760";
    HBITMAP reference = static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCEA(32760), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(reference, nullptr) << "the system check-mark bitmap is needed for this test";
    BITMAP size{};
    GetObjectA(reference, sizeof size, &size);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, reference);
    const COLORREF background = GetPixel(source, 0, size.bmHeight - 1);
    const COLORREF fill = RGB(1, 2, 3);
    MainWindow();
    SetOption("truecolor", 1);
    const int x = 20, y = 30;

    ClearWindow(fill);
    DrawBitmapResource(0, checkMark, x, y, 0);
    int differing = 0;
    for (int j = 0; j < size.bmHeight; ++j) {
        for (int i = 0; i < size.bmWidth; ++i) differing += CanvasPixel(x + i, y + j) != GetPixel(source, i, j);
    }
    EXPECT_EQ(differing, 0) << "mode 0 must copy the bitmap into the canvas";
    EXPECT_EQ(CanvasPixel(x + size.bmWidth, y), fill) << "drawn beyond the bitmap's own size";

    ClearWindow(fill);
    DrawBitmapResource(0, checkMark, x, y, -1);
    int transparentPixels = 0;
    differing = 0;
    for (int j = 0; j < size.bmHeight; ++j) {
        for (int i = 0; i < size.bmWidth; ++i) {
            const COLORREF own = GetPixel(source, i, j);
            transparentPixels += own == background;
            differing += CanvasPixel(x + i, y + j) != (own == background ? fill : own);
        }
    }
    EXPECT_GT(transparentPixels, 0);
    EXPECT_LT(transparentPixels, size.bmWidth * size.bmHeight) << "the test bitmap needs two colours";
    EXPECT_EQ(differing, 0) << "mode -1 must leave out exactly the pixels of the bottom-left colour";

    ClearWindow(fill);
    DrawBitmapResource(0, checkMark, x, y, 4);
    EXPECT_EQ(CanvasPixel(x, y), RGB(254, 253, 252)) << "mode 4 inverts the destination";

    // A repaint of the window comes from the canvas.
    COLORREF shown = CLR_INVALID;
    SendRequest([&] {
        HWND main = MainWindow();
        InvalidateRect(main, nullptr, TRUE);
        UpdateWindow(main);
        HDC dc = GetDC(main);
        shown = GetPixel(dc, x, y);
        ReleaseDC(main, dc);
    });
    EXPECT_EQ(shown, RGB(254, 253, 252)) << "the repainted window does not show the canvas";

    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(reference);
}

TEST(MainWindow, AMissingBitmapWarns228WithItsNameAndDrawsNothing) {
    MainWindow();
    SetOption("truecolor", 1);
    ClearWindow(RGB(9, 9, 9));
    ErrorCapture errors(1);
    DrawBitmapResource(ProgramInstance(), "NOSUCHBITMAP", 0, 0, 0);
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].caption, "Bitmap nicht ladbar: NOSUCHBITMAP");
    EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
    EXPECT_EQ(CanvasPixel(0, 0), RGB(9, 9, 9));
}

TEST(MainWindow, MousePointersSetTheClassCursorAndUnknownNumbersAreFatal230) {
    HWND main = MainWindow();
    auto classCursor = [main] { return reinterpret_cast<HCURSOR>(GetClassLongPtrA(main, GCLP_HCURSOR)); };
    SetMousePointer(2);
    EXPECT_EQ(classCursor(), LoadCursorA(nullptr, IDC_WAIT));
    SetMousePointer(11);  // this test program carries no cursor resource "DRUCKER"
    EXPECT_EQ(classCursor(), LoadCursorA(nullptr, IDC_WAIT)) << "a cursor that does not load must change nothing";
    SetMousePointer(16);
    EXPECT_EQ(classCursor(), LoadCursorA(nullptr, IDC_HELP));

    ErrorCapture errors(1);
    SetMousePointer(17);
    SetMousePointer(-1);
    ASSERT_EQ(errors.boxes.size(), 2u);
    EXPECT_EQ(errors.boxes[0].caption, "Cursor nicht vorhanden! (Nur 0..11)");
    EXPECT_EQ(errors.ends, 2) << "an unknown pointer number is fatal";
    EXPECT_EQ(classCursor(), LoadCursorA(nullptr, IDC_HELP));
    SetMousePointer(0);
    EXPECT_EQ(classCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST(FindWindowByTitle, MatchesTheStartOfATitleInAnyLetterCase) {
    Handle probe = CreateDialogWindow(0, "Quorrel Probe Window 1.03 and more", 400, 400, 200, 100);
    ASSERT_NE(probe, 0);
    EXPECT_EQ(FindWindowByTitle("quorrel PROBE window"), probe);
    EXPECT_EQ(FindWindowByTitle("Quorrel Probe Window 1.03 and more and more"), 0)
        << "a prefix longer than the title must not match";
    EXPECT_EQ(FindWindowByTitle("Probe Window"), 0) << "only the start of a title counts";
    Handle first = FindWindowByTitle("");
    EXPECT_NE(first, 0) << "an empty prefix matches the first window";
    DestroyWindowHandle(probe);
    EXPECT_EQ(FindWindowByTitle("quorrel PROBE window"), 0);
}

TEST(BrowseForFolder, CancellingReturnsEmptyAndLastResultZero) {
    MainWindow();
    eventState.lastResult.store(7);
    Text chosen;
    {
        Driver driver("#32770", "Browse for Folder", [](HWND browser) { PressAndWaitForClose(browser, IDCANCEL); });
        chosen = BrowseForFolder("Pick a folder");
        EXPECT_TRUE(driver.seen) << "the folder browser did not appear";
    }
    EXPECT_EQ(chosen, "");
    EXPECT_EQ(eventState.lastResult.load(), 0);
}

TEST(BrowseForFolder, AChosenFolderEndsWithExactlyOneBackslash) {
    MainWindow();
    struct Case {
        std::vector<Text> labels;
        Text expected;
    };
    const Case cases[] = {
        {{"My Computer", "(C:)"}, "C:\\"},                  // a drive root keeps its backslash
        {{"My Computer", "(C:)", "windows"}, "C:\\windows\\"},
    };
    for (const Case& c : cases) {
        eventState.lastResult.store(0);
        Text chosen;
        {
            Driver driver("#32770", "Browse for Folder", [&](HWND browser) { ChooseFolder(browser, c.labels); });
            chosen = BrowseForFolder("Pick a folder");
            EXPECT_TRUE(driver.seen) << "the folder browser did not appear";
        }
        EXPECT_EQ(UpperCase(chosen), UpperCase(c.expected));
        EXPECT_EQ(eventState.lastResult.load(), 1);
    }
}

TEST(PopupMenu, TheChosenItemArrivesAsAMenuCommandAndTheMenuIsDestroyed) {
    HWND main = MainWindow();
    SetForegroundWindow(main);
    for (bool choose : {true, false}) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 101, "First");
        AppendMenuA(menu, MF_STRING, 102, "Second");
        SetPopupMenu(reinterpret_cast<Handle>(menu));
        eventState.menuItem.store(55);
        POINT expected{15, 25};
        ClientToScreen(main, &expected);
        RECT shownAt{};
        {
            Driver driver("#32768", nullptr, [&](HWND popup) {
                shownAt = RectOf(popup);
                if (choose) {
                    PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
                    PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
                    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 1);
                } else {
                    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
                }
            });
            ShowPopupMenu(15, 25);
            EXPECT_TRUE(driver.seen) << "the popup menu did not appear";
        }
        EXPECT_FALSE(IsMenu(menu)) << "the menu must be destroyed after it was shown";
        EXPECT_EQ(shownAt.left, expected.x) << "the point is in client coordinates of the main window";
        EXPECT_EQ(shownAt.top, expected.y);
        if (choose) {
            EXPECT_TRUE(WaitUntil([] { return eventState.menuItem.load() == 102; }))
                << "the chosen item did not arrive; menuItem = " << eventState.menuItem.load();
        } else {
            PauseInterface(100);
            EXPECT_EQ(eventState.menuItem.load(), 0) << "ShowPopupMenu must clear menuItem";
        }
    }
}

TEST(DialogLines, ClearingEmptiesTheList) {
    AddDialogLine("one");
    AddDialogLine("two");
    EXPECT_EQ(DialogLineCount(), 2);
    ClearDialogLines();
    EXPECT_EQ(DialogLineCount(), 0);
    ClearDialogLines();
    EXPECT_EQ(DialogLineCount(), 0);
}
