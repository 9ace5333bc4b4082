// Writing a file's whole content at once, for rewrites that must never leave a file cut short:
// a new file written and on disk before anything else changes, and an existing file overwritten
// in place, keeping its own directory entry. Both return the Win32 error code, 0 on success, and
// leave ioStatus alone. Program thread only.
#pragma once

#include "toolkit/text.h"

// Creates the file and writes bytes into it; fails without touching anything when the name
// exists. The data have reached the disk when it returns 0; a file that could not be written
// whole is removed again.
int WriteNewFile(const Text& path, const Text& bytes);

// Writes bytes over an existing file from its start and cuts the file to their length. The file
// is never created, renamed or replaced, so its directory entry (and with it its place in a FAT
// directory) stays. The data have reached the disk when it returns 0. A failure can leave the
// file with a mix of old and new bytes: writing the old bytes back with this function needs no
// more room than the file already has, so it repairs that even on a full disk.
int OverwriteFile(const Text& path, const Text& bytes);
