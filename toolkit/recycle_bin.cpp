#include "toolkit/recycle_bin.h"

#include <windows.h>
#include <shellapi.h>

#include "toolkit/interface_thread.h"
#include "toolkit/shell_library.h"

namespace {
constexpr FILEOP_FLAGS kQuietUndoableDelete = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
}  // namespace

void RecycleFile(const Text& path) {
    // The shell reads a list of paths, each ended by a NUL and the list by one more.
    Text list(path.c_str());
    list.push_back('\0');
    list.push_back('\0');
    // On the interface thread, which has COM initialised for the shell.
    SendRequest([&] {
        const auto fileOperation = ShellFunction<decltype(&SHFileOperationA)>("SHFileOperationA");
        if (!fileOperation) return;
        SHFILEOPSTRUCTA operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = list.c_str();
        operation.fFlags = kQuietUndoableDelete;
        fileOperation(&operation);
    });
}
