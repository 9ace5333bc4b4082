#include "shell/links.h"

#include <windows.h>

#include <cstdint>

#include "catalogue/web_addresses.h"
#include "shell/dialog_support.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/files.h"
#include "toolkit/frame_window.h"
#include "toolkit/input_state.h"
#include "toolkit/interface_thread.h"

namespace {

constexpr int kVkLButton = 1;
constexpr unsigned kWmLButtonUp = 514;
constexpr std::uint32_t kArmingDelayMs = 1500;
constexpr int kArrowPointer = 0;
constexpr int kHandPointer = 11;
constexpr int kShowNormal = 1;

void ReadCursor() {
    int x = 0;
    int y = 0;
    GetCursorPosition(x, y);
    mainLoop.cursorX = x - MainWindowLeft();
    mainLoop.cursorY = y - MainWindowTop();
}

void Apply(const LinkActions& actions) {
    if (actions.showHand) SetMousePointer(kHandPointer);
    if (actions.openProductPage) ShellOpen(kBrowserProductPageAddress, "open", kShowNormal);
    if (actions.openHomePage) ShellOpen(kHomePageAddress, "open", kShowNormal);
    if (actions.endClick) {
        SendToWindow(mainWindow.mainWindow, kWmLButtonUp, 1, 0);
        SetMousePointer(kArrowPointer);
    }
    if (actions.showArrow) SetMousePointer(kArrowPointer);
}

}  // namespace

bool OverLogo(int x, int y) { return 247 < x && x < 435 && 237 < y && y < 308; }

bool OverCredit(int x, int y) { return 292 < x && x < 438 && 331 < y && y < 342; }

LinkActions StepLinks(LinkState& s, const LinkInput& in) {
    LinkActions actions;
    const bool overLogo = OverLogo(in.cursorX, in.cursorY);
    const bool overCredit = OverCredit(in.cursorX, in.cursorY);
    const bool linkPressed = s.logoPressed || s.creditPressed;
    if ((overLogo || overCredit) && s.heldOutside == 0) {
        if (s.hover == 0) actions.showHand = true;
        s.hover = 1;
        if (in.leftDown && !linkPressed) {
            if (overLogo) s.logoPressed = 1;
            if (overCredit) s.creditPressed = 1;
        } else if (!in.leftDown && linkPressed) {
            if (in.armed) {
                actions.openProductPage = overLogo && s.logoPressed;
                actions.openHomePage = s.creditPressed && overCredit;
                actions.endClick = true;
                s.hover = 0;
            }
            if (overLogo) s.logoPressed = 0;
            if (overCredit) s.creditPressed = 0;
        }
    } else {
        s.heldOutside = in.leftDown ? 1 : 0;
        if (!in.leftDown && linkPressed) {
            // The press ended away from the link: nothing opens.
            s.logoPressed = 0;
            s.creditPressed = 0;
        } else if (!linkPressed && s.hover) {
            actions.showArrow = true;
            s.hover = 0;
        }
    }
    return actions;
}

int MsUntilLinksArm() {
    if (mainLoop.linksArmed != 0) return 0;
    const std::uint32_t elapsed = GetTickCount() - startup.startTick;
    return elapsed > kArmingDelayMs ? 0 : static_cast<int>(kArmingDelayMs - elapsed) + 1;
}

void TrackLinks() {
    ReadCursor();
    if (MsUntilLinksArm() == 0) mainLoop.linksArmed = 1;
    if (ForegroundWindow() != mainWindow.mainWindow) return;
    LinkInput input;
    input.cursorX = mainLoop.cursorX;
    input.cursorY = mainLoop.cursorY;
    input.leftDown = KeyDown(kVkLButton);
    input.armed = mainLoop.linksArmed == 1;
    Apply(StepLinks(mainLoop.links, input));
}
