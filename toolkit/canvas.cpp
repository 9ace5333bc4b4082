// Creating and releasing the off-screen canvas of a main window.
#include "toolkit/canvas.h"

#include "toolkit/interface_thread.h"

Canvas CreateCanvas(HWND window, bool fromScreen) {
    Canvas canvas;
    HDC windowDc = GetDC(window);
    int width = ScreenWidth();
    int height = ScreenHeight();
    canvas.dc.reset(CreateCompatibleDC(windowDc));
    canvas.bitmap.reset(CreateCompatibleBitmap(windowDc, width, height));
    canvas.previous = SelectObject(canvas.dc.get(), canvas.bitmap.get());
    if (fromScreen) {
        RECT r{};
        GetWindowRect(window, &r);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc.get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    } else {
        PatBlt(canvas.dc.get(), 0, 0, width, height, WHITENESS);
    }
    ReleaseDC(window, windowDc);
    return canvas;
}

void FreeCanvas(Canvas& canvas) {
    if (canvas.dc) SelectObject(canvas.dc.get(), canvas.previous);
    canvas.dc.reset();
    canvas.bitmap.reset();
    canvas.previous = nullptr;
}
