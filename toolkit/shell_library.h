// The shell's library, loaded on the first call that needs it (opening a file, a folder or a web
// page, the folder browser) and kept until the program ends. A session that needs none of them
// does without the library and the two it brings along, most of a megabyte. Interface thread only.
#pragma once

#include <windows.h>

// The shell's function of that name; nullptr when the library or the function cannot be found.
FARPROC ShellProcedure(const char* name);

template <typename Function>
Function ShellFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(ShellProcedure(name)));
}
