// The program thread's main loop: one pass whenever the interface thread reports something new,
// and one about every 25 ms while a rule that looks at time is in play, until the program ends.
// Each pass runs at most one command, polls the information window, follows the mouse over the
// links, clears the latches of released keys and opens the context menu.
#pragma once

#include "shell/links.h"
#include "toolkit/handle.h"
#include "toolkit/input_state.h"

// What the loop remembers between passes. Program thread only. The selection is the one that
// UpdateMoveButtons reads at the top of every pass (mainWindowStatus.selection).
struct MainLoopState {
    int noWait = 0;       // once set, a pass no longer waits for a message
    int linksArmed = 0;   // set 1.5 s after the loop started, for good
    int cursorX = 0;      // relative to the top-left corner of the main window's outer rectangle
    int cursorY = 0;
    LinkState links;
    KeyboardState keys;   // read once before the dispatch and once after it
    int dragHeld = 0;     // a row is being dragged, or a mouse button of that drag is still down
};

extern MainLoopState mainLoop;

// What the dispatch conditions read besides the event state, the latches and the selection:
// the keys, the plugin list's keyboard focus, the window in front and the number of rows. The
// loop reads the live input state; a test puts a made-up one in its place.
struct DispatchInputs {
    int (*keyState)(int virtualKey);   // GetKeyState's 16-bit result
    bool (*listHasFocus)();
    Handle (*foreground)();
    int (*rowCount)();
};

extern DispatchInputs dispatchInputs;

// The loop's condition-and-command table, in the order in which the conditions are tested. The
// last row moves a row that a drag in the plugin list dropped on another row.
struct DispatchRow {
    bool (*applies)();
    void (*run)();
};
constexpr int kDispatchRows = 21;
extern const DispatchRow kDispatchTable[kDispatchRows];

[[noreturn]] void RunMainLoop();
