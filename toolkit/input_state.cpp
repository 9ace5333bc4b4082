#include "toolkit/input_state.h"

#include <windows.h>

#include "toolkit/interface_thread.h"

int GetKeyStateOf(int virtualKey) { return GetKeyState(virtualKey); }

KeyboardState ReadKeyboardState() {
    KeyboardState state;
    GetKeyboardState(state.keys);
    return state;
}

Handle GetForegroundWindowHandle() { return reinterpret_cast<Handle>(GetForegroundWindow()); }

void GetCursorPosition(int& x, int& y) {
    POINT p{};
    SendRequest([&p] { GetCursorPos(&p); });
    x = p.x;
    y = p.y;
}

Handle WindowFromScreenPoint(int x, int y) {
    return reinterpret_cast<Handle>(WindowFromPoint(POINT{x, y}));
}
