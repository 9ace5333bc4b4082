// Keyboard and mouse state, read directly on the calling thread: the program thread shares the
// interface thread's input state, so it sees the program's windows without sending a request
// on every poll.
#pragma once

#include "toolkit/handle.h"

int GetKeyStateOf(int virtualKey);             // GetKeyState's 16-bit result
Handle GetForegroundWindowHandle();
void GetCursorPosition(int& x, int& y);        // screen coordinates
Handle WindowFromScreenPoint(int x, int y);
