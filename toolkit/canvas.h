// The off-screen canvas of a main window: a memory device context holding a screen-sized
// bitmap, from which the window repaints itself. Interface thread only.
#pragma once

#include <windows.h>

#include "toolkit/owned_handle.h"

// The bitmap is declared before the device context so that it outlives it: it must not be
// deleted while the context still has it selected.
struct Canvas {
    GdiObject<HBITMAP> bitmap;
    MemoryDc dc;
    HGDIOBJ previous = nullptr;  // what the context held before the bitmap
};

// White, or a copy of the screen under the window when fromScreen is set.
Canvas CreateCanvas(HWND window, bool fromScreen);
// Selects the bitmap out of the context and releases both.
void FreeCanvas(Canvas& canvas);
