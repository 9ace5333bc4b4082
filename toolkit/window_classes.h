// Registration of the toolkit's window classes "FENSTER" (main window) and "DIALOG".
#pragma once

#include <windows.h>

bool RegisterToolkitWindowClasses(HINSTANCE instance);   // also initialises the common controls
void UnregisterToolkitWindowClasses(HINSTANCE instance);
