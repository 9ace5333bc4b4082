// The interface thread's services for the toolkit's own code and for no layer above it: what
// the window procedures and the message loop record and whom they wake, ending the program
// thread, and releasing the toolkit's own resources when the message loop has ended.
#pragma once

#include <windows.h>

#include <functional>

// Whether the application has registered the message (RegisterUserMessages).
bool IsUserMessage(unsigned id);

// Stores a message and its parameters as the last one seen in the event state.
void RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Wake the program thread, from the window procedures on the interface thread.
void PulseInputEvents();   // the input event and the key, command/mouse and character events
void PulseInputEvent();    // the input event alone
void SetInputEvent();      // stays set until the program thread waits
void WakeProgramThread();  // ends the program thread's AwaitWake; kept until then

// Posts the quit message of the program's own end: the message loop ends on it, and on no other.
void EndMessageLoop(int exitCode);

// Ends the program thread at once, when the main window is destroyed under it.
void TerminateProgramThread();

// Runs cleanup after the message loop ended (fonts, a loaded library, the shared search).
void AtToolkitEnd(std::function<void()> cleanup);
