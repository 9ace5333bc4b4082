// Start-up of the program thread (single instance, language, plugin folder, file-system
// mode) and the shared procedures of the shell: the key state, the event flush that every
// command runs first, and the orderly exit.
#pragma once

// Runs every start-up step once. Returns when the main window can be built; a second copy
// and a start without a usable folder end the program inside.
void RunStartup();

// GetKeyState of the virtual key, called by name; down and up by the shell's key-state rule.
int KeyState(int virtualKey);
bool KeyDown(int virtualKey);
bool KeyUp(int virtualKey);

// Consumes the current event, so that the registered message that started a command cannot
// start it again: waits for the next input, at the latest about a millisecond.
void FlushEvents();

// Frees the memory blocks, destroys the tooltip window and ends the program.
[[noreturn]] void ExitProgram();
