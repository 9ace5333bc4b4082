// Quorrel's main routine: start-up, the main window and the main loop. Runs on the program
// thread and ends the program itself.
#pragma once

void QuorrelMain();
