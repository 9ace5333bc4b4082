// Helpers for the Win32 tests: windows made on the interface thread, bounded waits and
// messages posted later.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "toolkit/handle.h"
#include "toolkit/text.h"

// Runs fn on the interface thread and returns what it returned.
HWND RunOnInterfaceThread(const std::function<HWND()>& fn);

// Polls until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// Posts a message from another thread after a delay, so that a wait can start first.
void PostLater(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int delayMs = 100);
