// Window handles inside the toolkit: converting between the application's integer Handle and
// HWND, and the current main window as the event state names it.
#pragma once

#include <windows.h>

#include "toolkit/event_state.h"
#include "toolkit/handle.h"

inline HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }
inline Handle AsHandle(HWND window) { return reinterpret_cast<Handle>(window); }

// The main window opened last, or nullptr before it opens and after it is destroyed.
inline HWND MainWindow() { return AsHwnd(eventState.currentWindow.load()); }
