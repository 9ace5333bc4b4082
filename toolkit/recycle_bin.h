// Moving a file to the Recycle Bin with the shell's file operation, from where the user can
// restore it.
#pragma once

#include "toolkit/text.h"

// Moves the file (an absolute path) to the Recycle Bin without asking and without any progress
// or error window of the shell; where its volume keeps no Recycle Bin, the shell deletes it.
// Whether the file went is for the caller to see on the disk: the shell's results are not Win32
// error codes, and it cannot be loaded everywhere. Program thread; the shell works on the
// interface thread.
void RecycleFile(const Text& path);
