// The information window: modeless, with the product name, version, credit line, help text,
// a picture and a button that opens the author's home page. The main loop polls it.
#pragma once

#include "shell/dialog_support.h"
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
    DialogKey escapeKey;   // as the window reads it, noted when it opens
};

extern InformationDialogState informationDialog;

// Opens the window centred on the screen and returns at once; the main window stays usable.
void OpenInformationDialog();

// One poll of the open window: the website button opens the home page; OK, a close request
// (Alt+F4), or Escape while the window is in front closes it. An Escape already down when the
// window opened counts only after it was released.
void PollInformationDialog();

// Brings the open window to the front, restoring it when it is minimised: a second click on the
// information button shows the window that is already open instead of opening another.
void BringInformationDialogToFront();

// A static control showing the bitmap resource name (in capitals), loaded at the given size.
// A parent of 0 means the foreground window. A missing resource leaves the control empty.
Handle CreateBitmapStatic(const Text& name, int x, int y, int width, int height, Handle parent);
