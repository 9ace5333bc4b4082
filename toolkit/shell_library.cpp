// Loading the shell's library at its first use.
#include "toolkit/shell_library.h"

#include "toolkit/owned_handle.h"

namespace {
// Loaded once, released when the program's statics are.
LoadedLibrary shellLibrary;
}  // namespace

FARPROC ShellProcedure(const char* name) {
    if (!shellLibrary) shellLibrary.reset(LoadLibraryA("shell32.dll"));
    return shellLibrary ? GetProcAddress(shellLibrary.get(), name) : nullptr;
}
