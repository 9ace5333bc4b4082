// The program's entry routine: the toolkit takes over this thread as its interface thread and
// runs Quorrel's main routine on the program thread.
#include <windows.h>

#include "shell/quorrel_main.h"
#include "toolkit/interface_thread.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunToolkit(reinterpret_cast<Handle>(instance), GetCommandLineA(), [] {
        QuorrelMain();
        return 0;
    });
}
