// The off-screen canvas of a main window: a memory device context holding a screen-sized
// bitmap, from which the window repaints itself. Interface thread only.
#pragma once

#include <windows.h>

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

// White, or a copy of the screen under the window when fromScreen is set.
Canvas CreateCanvas(HWND window, bool fromScreen);
void FreeCanvas(Canvas& canvas);
