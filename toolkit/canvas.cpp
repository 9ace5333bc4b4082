// Creating, growing, filling and releasing the off-screen canvas of a main window.
#include "toolkit/canvas.h"

#include <algorithm>

#include "toolkit/interface_thread.h"

namespace {

// Growth comes in steps, so that a window enlarged bit by bit does not copy its canvas each time.
constexpr int kGrowthStep = 128;

int Grown(int have, int need, int limit) {
    if (need <= have) return have;
    return std::min(limit, (need + kGrowthStep - 1) / kGrowthStep * kGrowthStep);
}

void PaintBackground(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT area{left, top, right, bottom};
    FillRect(dc, &area, brush.get());
}

}  // namespace

Canvas CreateCanvas(HWND window, bool fromScreen) {
    Canvas canvas;
    HDC windowDc = GetDC(window);
    if (fromScreen) {
        canvas.width = ScreenWidth();
        canvas.height = ScreenHeight();
    } else {
        RECT client{};
        GetClientRect(window, &client);
        canvas.width = std::clamp(static_cast<int>(client.right), 1, ScreenWidth());
        canvas.height = std::clamp(static_cast<int>(client.bottom), 1, ScreenHeight());
    }
    canvas.dc.reset(CreateCompatibleDC(windowDc));
    canvas.bitmap.reset(CreateCompatibleBitmap(windowDc, canvas.width, canvas.height));
    canvas.previous = SelectObject(canvas.dc.get(), canvas.bitmap.get());
    if (fromScreen) {
        RECT r{};
        GetWindowRect(window, &r);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc.get(), 0, 0, canvas.width, canvas.height, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    } else {
        PatBlt(canvas.dc.get(), 0, 0, canvas.width, canvas.height, WHITENESS);
    }
    ReleaseDC(window, windowDc);
    return canvas;
}

void CoverCanvas(Canvas& canvas, HWND window, int right, int bottom) {
    const int width = Grown(canvas.width, right, ScreenWidth());
    const int height = Grown(canvas.height, bottom, ScreenHeight());
    if (!canvas.dc || (width == canvas.width && height == canvas.height)) return;
    HDC windowDc = GetDC(window);
    GdiObject<HBITMAP> larger(CreateCompatibleBitmap(windowDc, width, height));
    ReleaseDC(window, windowDc);
    if (!larger) return;  // the canvas keeps its size; drawing beyond it is clipped
    {
        const MemoryDc copy(CreateCompatibleDC(canvas.dc.get()));
        HGDIOBJ before = SelectObject(copy.get(), larger.get());
        PaintBackground(copy.get(), canvas.width, 0, width, height, canvas.background);
        PaintBackground(copy.get(), 0, canvas.height, canvas.width, height, canvas.background);
        BitBlt(copy.get(), 0, 0, canvas.width, canvas.height, canvas.dc.get(), 0, 0, SRCCOPY);
        SelectObject(copy.get(), before);
    }
    SelectObject(canvas.dc.get(), larger.get());
    canvas.bitmap = std::move(larger);
    canvas.width = width;
    canvas.height = height;
}

void FillCanvas(Canvas& canvas, HBRUSH brush, COLORREF colour) {
    const RECT all{0, 0, canvas.width, canvas.height};
    FillRect(canvas.dc.get(), &all, brush);
    canvas.background = colour;
}

void FreeCanvas(Canvas& canvas) {
    if (canvas.dc) SelectObject(canvas.dc.get(), canvas.previous);
    canvas.dc.reset();
    canvas.bitmap.reset();
    canvas.previous = nullptr;
    canvas.width = 0;
    canvas.height = 0;
}
