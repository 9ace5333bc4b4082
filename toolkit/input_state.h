// Keyboard and mouse state. The keys, the foreground window and the window under a point are
// read directly on the calling thread: the program thread shares the interface thread's input
// state, so it sees the program's windows without sending a request on every pass. The cursor
// is read on the interface thread: asked on the program thread, Wine's display driver opens a
// display connection for that thread alone (about half a megabyte) to answer.
#pragma once

#include "toolkit/handle.h"

int GetKeyStateOf(int virtualKey);             // GetKeyState's 16-bit result

// Every key of the thread's input state at one moment, read in one call (GetKeyboardState).
struct KeyboardState {
    unsigned char keys[256] = {};
    // What GetKeyState would have answered then: -128 or -127 while down, 0 or 1 while up.
    int State(int virtualKey) const { return static_cast<signed char>(keys[virtualKey & 0xFF] & 0x81); }
};
KeyboardState ReadKeyboardState();
Handle GetForegroundWindowHandle();
void GetCursorPosition(int& x, int& y);        // screen coordinates, read on the interface thread
Handle WindowFromScreenPoint(int x, int y);
