#include "toolkit/trace.h"

#ifdef QUORREL_TRACE

#include <windows.h>

#include <cstdio>

namespace {

// Opened at the first mark and kept open for the process's life; appends from several threads and
// processes (bench-driver writes its own marks to the same file) each land whole.
HANDLE TraceFile() {
    static const HANDLE file = [] {
        char path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableA("QUORREL_TRACE_FILE", path, sizeof path);
        if (length == 0 || length >= sizeof path) return INVALID_HANDLE_VALUE;
        return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }();
    return file;
}

}  // namespace

void TraceMark(const char* what) {
    const HANDLE file = TraceFile();
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    char line[160];
    const int length = std::snprintf(line, sizeof line, "%lld %lld %lu %s\n", now.QuadPart, frequency.QuadPart,
                                     GetCurrentThreadId(), what);
    if (length <= 0) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length < static_cast<int>(sizeof line) ? length : sizeof line - 1),
              &written, nullptr);
}

#endif
