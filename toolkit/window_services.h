// Ready-made interface services: finding a window by title, the folder browser, the popup
// menu and the list-selection lines.
#pragma once

#include "toolkit/handle.h"
#include "toolkit/text.h"

Handle FindWindowByTitle(const Text& prefix);   // case-insensitive prefix; 0 when none
Text BrowseForFolder(const Text& prompt);       // ends with a backslash; empty when cancelled

// The menu that ShowPopupMenu shows: the application builds it and hands it over here; the
// toolkit destroys it after it was shown.
void SetPopupMenu(Handle menu);
void ShowPopupMenu(int x, int y);               // main-window client coordinates

// Lines that the list-selection dialog shows.
void AddDialogLine(const Text& line);
int DialogLineCount();
void ClearDialogLines();
