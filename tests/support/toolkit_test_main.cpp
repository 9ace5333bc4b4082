// main() of the Win32 test executables: starts the toolkit as the program does and runs the
// tests on its program thread, so toolkit operations are exercised the way the application
// calls them.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/interface_thread.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RunToolkit(reinterpret_cast<Handle>(GetModuleHandleA(nullptr)), GetCommandLineA(),
                      [] { return RUN_ALL_TESTS(); });
}
