#include "shell/quorrel_main.h"

#include <windows.h>

#include "shell/main_loop.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/trace.h"

void QuorrelMain() {
    QUORREL_TRACE_MARK("start-up begun");
    RunStartup();
    QUORREL_TRACE_MARK("settings read and folder recovered");
    BuildMainWindow();
    QUORREL_TRACE_MARK("main window built");
    startup.startTick = GetTickCount();
    RunMainLoop();
}
