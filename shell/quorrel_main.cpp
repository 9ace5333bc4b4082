#include "shell/quorrel_main.h"

#include <windows.h>

#include "shell/main_loop.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

void QuorrelMain() {
    RunStartup();
    BuildMainWindow();
    startup.startTick = GetTickCount();
    RunMainLoop();
}
