#include "toolkit/whole_file_writes.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/owned_handle.h"
#include "toolkit/wide_paths.h"

namespace {

// Writes every byte at the file's current position; false at the first failed or empty write
// (a full disk shows as one or the other).
bool WriteAllBytes(HANDLE file, const Text& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, next, chunk, &written, nullptr) || written == 0) return false;
        next += written;
        left -= written;
    }
    return true;
}

// The error of the step that failed; a write that stopped short without one is a full disk.
int FailedWriteError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<int>(error) : ERROR_DISK_FULL;
}

}  // namespace

int WriteNewFile(const Text& path, const Text& bytes) {
    int error = 0;
    {
        FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return static_cast<int>(GetLastError());
        SetLastError(ERROR_SUCCESS);
        if (!WriteAllBytes(file.get(), bytes) || !FlushFileBuffers(file.get())) error = FailedWriteError();
    }
    if (error != 0) DeleteFileW(WidePath(path).c_str());
    return error;
}

int OverwriteFile(const Text& path, const Text& bytes) {
    // Others may go on reading the file, as a text editor that shows it does.
    FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return static_cast<int>(GetLastError());
    SetLastError(ERROR_SUCCESS);
    if (!WriteAllBytes(file.get(), bytes) || !SetEndOfFile(file.get()) || !FlushFileBuffers(file.get())) {
        return FailedWriteError();
    }
    return 0;
}
