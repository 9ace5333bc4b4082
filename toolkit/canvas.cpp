#include "toolkit/canvas.h"

#include "toolkit/interface_thread.h"

Canvas CreateCanvas(HWND window, bool fromScreen) {
    Canvas canvas;
    HDC windowDc = GetDC(window);
    int width = ScreenWidth();
    int height = ScreenHeight();
    canvas.dc = CreateCompatibleDC(windowDc);
    canvas.bitmap = CreateCompatibleBitmap(windowDc, width, height);
    canvas.previous = SelectObject(canvas.dc, canvas.bitmap);
    if (fromScreen) {
        RECT r{};
        GetWindowRect(window, &r);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    } else {
        PatBlt(canvas.dc, 0, 0, width, height, WHITENESS);
    }
    ReleaseDC(window, windowDc);
    return canvas;
}

void FreeCanvas(Canvas& canvas) {
    if (canvas.dc) {
        SelectObject(canvas.dc, canvas.previous);
        DeleteDC(canvas.dc);
    }
    if (canvas.bitmap) DeleteObject(canvas.bitmap);
    canvas = Canvas{};
}
