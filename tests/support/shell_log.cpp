#include "tests/support/shell_log.h"

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/files.h"

namespace {

Text LogFileName() {
    const DWORD size = GetEnvironmentVariableA(kShellLogVariable, nullptr, 0);
    if (size == 0) return Text();
    std::vector<char> buffer(size);
    const DWORD length = GetEnvironmentVariableA(kShellLogVariable, buffer.data(), size);
    if (length == 0 || length >= size) return Text();
    return Text(buffer.data(), length);
}

}  // namespace

std::intptr_t LogShellCall(const Text& file, const Text& verb, int showMode) {
    const Text logFile = LogFileName();
    if (logFile.empty()) return kShellLoggedResult;
    HANDLE log = CreateFileA(logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return kShellLoggedResult;
    const Text line = Text(verb.c_str()) + "\t" + file.c_str() + "\t" + std::to_string(showMode) + "\r\n";
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return kShellLoggedResult;
}

ScopedShellLog::ScopedShellLog(const Text& logFile) {
    SetEnvironmentVariableA(kShellLogVariable, logFile.c_str());
    ReplaceShellOpen(LogShellCall);
}

ScopedShellLog::~ScopedShellLog() {
    ReplaceShellOpen(nullptr);
    SetEnvironmentVariableA(kShellLogVariable, nullptr);
}
