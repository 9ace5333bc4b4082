// Window procedures of the toolkit's classes: they record what happens in the event state
// and wake the program thread. Interface thread only.
#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog procedure of dialogs made from a template resource: records like DialogWindowProc.
INT_PTR CALLBACK TemplateDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The canvas of a main window ("FENSTER"), or nullptr for any other window.
Canvas* CanvasOf(HWND window);
