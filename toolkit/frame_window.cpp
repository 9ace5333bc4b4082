// The main ("FENSTER") window: its style flags and title, opening and placing it, its edges,
// clearing it, drawing a bitmap resource into it and its canvas, and the mouse pointer over it.
#include "toolkit/frame_window.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/owned_handle.h"
#include "toolkit/window_handles.h"
#include "toolkit/window_procedures.h"
#include "toolkit/window_settings.h"

namespace {

constexpr std::uint32_t kBaseStyle = 0x2000;
constexpr std::uint32_t kCaptionBits = 0x00C00000;  // WS_CAPTION

RECT MainWindowRect() {
    RECT r{};
    GetWindowRect(MainWindow(), &r);
    return r;
}

// The program has no menu resource "LEER"; a menu is attached only when one loads.
HMENU MainMenu(HINSTANCE instance) {
    if (windowSettings.noMenu.load()) return nullptr;
    return LoadMenuA(instance, "LEER");
}

void CreateMainWindow(int x, int y, int width, int height) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(ProgramInstance());
    Text title = windowSettings.Title();
    HWND window = CreateWindowExA(windowSettings.extendedStyle.load(), "FENSTER", title.c_str(),
                                  windowSettings.style.load(), x, y, width, height, nullptr,
                                  MainMenu(instance), instance, nullptr);
    if (!window) ExitProcess(1);
    eventState.currentWindow.store(AsHandle(window));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

// 15-bit colours hold five bits per channel, red lowest; 8.226 stretches 31 to 255.
COLORREF ToColorRef(int colour) {
    if (GetOption("truecolor") != 0) return static_cast<COLORREF>(colour);
    auto channel = [colour](int shift) {
        return static_cast<BYTE>(static_cast<int>(((colour >> shift) & 31) * 8.226));
    };
    return RGB(channel(0), channel(5), channel(10));
}

void FillWindowAndCanvas(HWND window, COLORREF colour) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    if (Canvas* canvas = CanvasOf(window)) FillCanvas(*canvas, brush.get(), colour);
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    FillRect(dc, &client, brush.get());
    ReleaseDC(window, dc);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A name made of digits is a numeric resource id.
bool IsNumericName(const Text& name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

GdiObject<HBITMAP> LoadBitmapResource(Handle instance, const Text& name) {
    LPCSTR resource = IsNumericName(name)
                          ? MAKEINTRESOURCEA(static_cast<WORD>(std::strtoul(name.c_str(), nullptr, 10)))
                          : name.c_str();
    return GdiObject<HBITMAP>(static_cast<HBITMAP>(
        LoadImageA(reinterpret_cast<HINSTANCE>(instance), resource, IMAGE_BITMAP, 0, 0, 0)));
}

// Draws the bitmap selected into source at (x, y) of target; mode -1 leaves out every pixel
// of the colour of the bitmap's bottom-left pixel.
void DrawInto(HDC target, HDC source, int x, int y, int width, int height, int mode) {
    switch (mode) {
        case -1: {
            COLORREF transparent = GetPixel(source, 0, height - 1);
            GdiTransparentBlt(target, x, y, width, height, source, 0, 0, width, height, transparent);
            return;
        }
        case 1: BitBlt(target, x, y, width, height, source, 0, 0, SRCAND); return;
        case 2: BitBlt(target, x, y, width, height, source, 0, 0, SRCPAINT); return;
        case 3: BitBlt(target, x, y, width, height, source, 0, 0, SRCINVERT); return;
        case 4: BitBlt(target, x, y, width, height, source, 0, 0, DSTINVERT); return;
        default: BitBlt(target, x, y, width, height, source, 0, 0, SRCCOPY); return;
    }
}

void DrawBitmap(HWND window, HBITMAP bitmap, int x, int y, int mode) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC windowDc = GetDC(window);
    const MemoryDc source(CreateCompatibleDC(windowDc));
    HGDIOBJ previous = SelectObject(source.get(), bitmap);
    if (Canvas* canvas = CanvasOf(window)) {
        CoverCanvas(*canvas, window, x + info.bmWidth, y + info.bmHeight);
        DrawInto(canvas->dc.get(), source.get(), x, y, info.bmWidth, info.bmHeight, mode);
    }
    DrawInto(windowDc, source.get(), x, y, info.bmWidth, info.bmHeight, mode);
    SelectObject(source.get(), previous);
    ReleaseDC(window, windowDc);
}

// Pointer numbers 0 to 16: system cursors by id, 11 to 13 the program's own resources.
struct PointerChoice {
    const char* resource;  // program resource name, or nullptr for a system cursor
    WORD systemId;
};
constexpr PointerChoice kPointers[] = {
    {nullptr, 32512}, {nullptr, 32513}, {nullptr, 32514}, {nullptr, 32515}, {nullptr, 32516},
    {nullptr, 32646}, {nullptr, 32641}, {nullptr, 32642}, {nullptr, 32643}, {nullptr, 32644},
    {nullptr, 32645}, {"DRUCKER", 0},   {"SCHIEBEN", 0},  {"GROESSE", 0},   {nullptr, 32648},
    {nullptr, 32650}, {nullptr, 32651},
};

HCURSOR LoadPointer(const PointerChoice& choice) {
    if (choice.resource) {
        return LoadCursorA(reinterpret_cast<HINSTANCE>(ProgramInstance()), choice.resource);
    }
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(choice.systemId));
}

}  // namespace

void SetWindowStyleFlags(int flags) {
    std::uint32_t style = (flags & 1) ? 0x12000 : kBaseStyle;
    if (flags & 2) style |= WS_MINIMIZEBOX;
    if (flags & 4) style |= WS_THICKFRAME;
    if (flags & 8) style |= WS_SYSMENU;
    if (flags & 64) {
        style = (style | WS_POPUP) & ~kCaptionBits;
        windowSettings.extendedStyle.fetch_and(~static_cast<std::uint32_t>(WS_EX_WINDOWEDGE));
    }
    windowSettings.style.store(style);
    // These three are only ever switched on: they hold for every window opened later.
    if (flags & 16) windowSettings.noMenu.store(true);
    if (flags & 32) windowSettings.canvasFromScreen.store(true);
    if (flags & 512) windowSettings.closeAsEvent.store(true);
}

void SetMainWindowTitle(const Text& title) {
    windowSettings.SetTitle(title);
    if (HWND window = MainWindow()) SetWindowTextA(window, title.c_str());
}

void OpenMainWindow(int x, int y, int width, int height) {
    if (x < 0 || y < 0) RaiseWarning(kErrNegativeWindowSize);
    if (HWND window = MainWindow()) {
        SetWindowPos(window, nullptr, x, y, width, height, SWP_ASYNCWINDOWPOS | SWP_NOZORDER);
        return;
    }
    SendRequest([=] { CreateMainWindow(x, y, width, height); });
}

int MainWindowLeft() { return MainWindowRect().left; }
int MainWindowTop() { return MainWindowRect().top; }
int MainWindowRight() { return MainWindowRect().right; }
int MainWindowBottom() { return MainWindowRect().bottom; }

void ClearWindow(int colour) {
    if (!MainWindow()) OpenMainWindow(0, 0, 640, 480);
    const COLORREF fill = ToColorRef(colour);
    SendRequest([fill] { FillWindowAndCanvas(MainWindow(), fill); });
}

void DrawBitmapResource(Handle instance, const Text& name, int x, int y, int mode) {
    bool loaded = false;
    SendRequest([&] {
        const GdiObject<HBITMAP> bitmap = LoadBitmapResource(instance, name);
        if (!bitmap) return;
        loaded = true;
        if (HWND window = MainWindow()) DrawBitmap(window, bitmap.get(), x, y, mode);
    });
    if (!loaded) RaiseWarning(kErrBitmapNotLoadable, name);
}

void SetMousePointer(int number) {
    if (number < 0 || number >= static_cast<int>(std::size(kPointers))) {
        RaiseFatalError(kErrCursorMissing);
        return;
    }
    const PointerChoice choice = kPointers[number];
    SendRequest([choice] {
        HCURSOR cursor = LoadPointer(choice);
        if (!cursor) return;
        SetCursor(cursor);
        if (HWND window = MainWindow()) {
            SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
        }
    });
}
