// The main ("FENSTER") window: its style flags and title, opening and placing it, its edges,
// clearing it, drawing a bitmap resource into it, and the mouse pointer over it. Every call
// that creates or draws into the window runs on the interface thread through the request
// channel.
#pragma once

#include "toolkit/handle.h"
#include "toolkit/text.h"

// The style of the main window and the dialog windows opened after the call.
void SetWindowStyleFlags(int flags);
void SetMainWindowTitle(const Text& title);
// Opens the main window, or moves and sizes it when it is open.
void OpenMainWindow(int x, int y, int width, int height);
int MainWindowLeft();
int MainWindowTop();
int MainWindowRight();
int MainWindowBottom();
void ClearWindow(int colour);
void DrawBitmapResource(Handle instance, const Text& name, int x, int y, int mode);
void SetMousePointer(int number);
