// The information window: modeless, with the product name, version, credit line, help text,
// a picture and a button that opens the author's home page. The main loop polls it.
#pragma once

#include "toolkit/handle.h"
#include "toolkit/text.h"

// The window while it is open, read by the main loop. Program thread only.
struct InformationDialogState {
    int open = 0;
    Handle window = 0;
    Handle textView = 0;
    Handle websiteButton = 0;
    Handle okButton = 0;
    Handle picture = 0;
};

extern InformationDialogState informationDialog;

// Opens the window centred on the screen and returns at once; the main window stays usable.
void OpenInformationDialog();

// One poll of the open window: the website button opens the home page; OK, or Escape while
// the window is in front, closes it.
void PollInformationDialog();

// A static control showing the bitmap resource name (in capitals), loaded at the given size.
// A parent of 0 means the foreground window. A missing resource leaves the control empty.
Handle CreateBitmapStatic(const Text& name, int x, int y, int width, int height, Handle parent);
