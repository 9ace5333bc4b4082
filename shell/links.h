// The two link areas of the main window, the logo and the credit line: the hand pointer while
// the mouse is over them, and a click that starts and ends on one opens its page.
#pragma once

// What the link tracking remembers between passes of the main loop. Program thread only.
struct LinkState {
    int hover = 0;          // the hand pointer is shown
    int logoPressed = 0;    // the left button went down on the logo and is still down
    int creditPressed = 0;
    int heldOutside = 0;    // the left button was down while the pointer was off both links
};

// Positions relative to the top-left corner of the main window's outer rectangle.
bool OverLogo(int x, int y);
bool OverCredit(int x, int y);

struct LinkInput {
    int cursorX = 0;
    int cursorY = 0;
    bool leftDown = false;
    bool armed = false;     // clicks open pages only from 1.5 s after the loop started
};

// What one pass has to do, in this order.
struct LinkActions {
    bool showHand = false;
    bool openProductPage = false;
    bool openHomePage = false;
    bool endClick = false;  // release the button in the main window and show the arrow
    bool showArrow = false;
};

// One step of the state machine, for a pass in which the main window is in front.
LinkActions StepLinks(LinkState& state, const LinkInput& input);

// Milliseconds until a pass would arm the links; 0 once they are armed. Arming looks only at
// the time, so the loop may sleep until then instead of pacing itself.
int MsUntilLinksArm();

// The link step of a main-loop pass: reads the cursor (kept for the context menu), arms the
// links once their time has come and, while the main window is in front, follows the mouse.
void TrackLinks();
