// The off-screen canvas of a main window: a memory device context from which the window repaints
// itself. It stands for a bitmap the size of the screen, but holds only the part that has been
// needed so far (the window's client area at first) and grows when a drawing or a repaint
// reaches beyond it: a point it does not hold yet has the colour of the last fill. That keeps
// every pixel a screen-sized canvas would have, without the memory of one. Interface thread only.
#pragma once

#include <windows.h>

#include "toolkit/owned_handle.h"

// The bitmap is declared before the device context so that it outlives it: it must not be
// deleted while the context still has it selected.
struct Canvas {
    GdiObject<HBITMAP> bitmap;
    MemoryDc dc;
    HGDIOBJ previous = nullptr;  // what the context held before the first bitmap
    int width = 0;               // the size the bitmap holds, at most the screen's
    int height = 0;
    COLORREF background = RGB(255, 255, 255);  // of every point not drawn since the last fill
};

// White, or a copy of the screen under the window when fromScreen is set (screen-sized at once,
// since the screen under the window cannot be copied later).
Canvas CreateCanvas(HWND window, bool fromScreen);
// Grows the bitmap until it holds the points left of right and above bottom (up to the screen's
// size); what it gains has the background colour.
void CoverCanvas(Canvas& canvas, HWND window, int right, int bottom);
// Fills the whole canvas with the brush's colour, which becomes the background colour.
void FillCanvas(Canvas& canvas, HBRUSH brush, COLORREF colour);
// Selects the bitmap out of the context and releases both.
void FreeCanvas(Canvas& canvas);
