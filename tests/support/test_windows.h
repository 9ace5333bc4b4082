// Helpers for the Win32 tests: windows made on the interface thread, bounded waits, and an
// error sink that records instead of showing boxes and ending the program.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/handle.h"
#include "toolkit/text.h"

// Runs fn on the interface thread and returns what it returned.
HWND RunOnInterfaceThread(const std::function<HWND()>& fn);

// Polls until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// Posts a message from another thread after a delay, so that a wait can start first.
void PostLater(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int delayMs = 100);

// Records raised errors and boxes; restores the previous error level and sink when it ends.
class RecordingErrors {
public:
    struct Box {
        Text text;
        Text caption;
        int flags;
    };
    explicit RecordingErrors(int level, int answer = 1);
    ~RecordingErrors();
    RecordingErrors(const RecordingErrors&) = delete;
    RecordingErrors& operator=(const RecordingErrors&) = delete;

    std::vector<Box> boxes;
    int endings = 0;

private:
    int previousLevel;
};
