#include "shell/shell_state.h"

StartupValues startup;
KeyLatches latches;
MainWindowHandles mainWindow;
MainWindowStatus mainWindowStatus;
MainWindowLayout mainWindowLayout;
