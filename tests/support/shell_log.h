// Shell calls recorded instead of opened, for test builds: LogShellCall takes ShellOpen's place
// in the program the end-to-end tests start, and ScopedShellLog puts it there in a test process.
#pragma once

#include <cstdint>

#include "toolkit/text.h"

// The file that receives the lines, one "verb<TAB>file<TAB>showMode\r\n" per call; inherited by
// the programs a test starts. Without it calls are dropped, never passed to the shell.
constexpr const char* kShellLogVariable = "QUORREL_SHELL_LOG";
// What a recorded call returns: above 32, so the caller reads it as success.
constexpr std::intptr_t kShellLoggedResult = 33;

std::intptr_t LogShellCall(const Text& file, const Text& verb, int showMode);

// While it lives, ShellOpen in this process appends to the log file instead of opening anything.
class ScopedShellLog {
public:
    explicit ScopedShellLog(const Text& logFile);
    ~ScopedShellLog();
    ScopedShellLog(const ScopedShellLog&) = delete;
    ScopedShellLog& operator=(const ScopedShellLog&) = delete;
};
