#include "shell/dialog_support.h"

#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/frame_window.h"
#include "toolkit/input_state.h"
#include "toolkit/interface_thread.h"

namespace {

constexpr unsigned kWmSetFont = 0x30;
constexpr int kZOrderKeep = 0;
constexpr int kZOrderNotTopmost = -2;

}  // namespace

std::intptr_t SendToWindow(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    return CallLibraryFunction("USER32", "SendMessageA",
                               {window, static_cast<std::intptr_t>(message), wParam, lParam});
}

void SetControlFont(Handle control, Handle font) { SendToWindow(control, kWmSetFont, font, 1); }

void SetWindowCaption(Handle window, const Text& caption) {
    CallLibraryFunction("USER32", "SetWindowTextA", {window, Arg(caption)});
}

Handle ForegroundWindow() { return GetForegroundWindowHandle(); }

DialogKey WatchDialogKey(int virtualKey) { return {virtualKey, KeyDown(virtualKey)}; }

bool DialogKeyPressed(DialogKey& key) {
    const bool down = KeyDown(key.virtualKey);
    if (!down) key.heldSinceOpening = false;
    return down && !key.heldSinceOpening;
}

bool Clicked(Handle button) {
    const auto wParam = static_cast<std::uintptr_t>(eventState.userWParam.load());
    return button != 0 && ((wParam >> 16) & 0xFFFF) == 0 && eventState.userLParam.load() == button;
}

Handle DialogControl(Handle dialog, const char* className, const Text& text, std::uint32_t style, int x,
                     int y, int width, int height, std::uint32_t extendedStyle) {
    return CreateWindowDirect(className, text, style, x, y, width, height, dialog, 0, ProgramInstance(),
                              extendedStyle);
}

int WidthAdjustment() { return mainWindowLayout.frame - 4; }

int HeightAdjustment() { return mainWindowLayout.frame + mainWindowLayout.caption - 42; }

Handle OpenModalDialog(const Text& title) {
    SetWindowStyleFlags(kDialogStyleFlags);
    EnableControl(mainWindow.mainWindow, 0);
    return CreateDialogWindow(mainWindow.mainWindow, title, ScreenWidth(), ScreenHeight(), 0, 0);
}

void CentreModalDialog(Handle dialog, int nominalWidth, int nominalHeight) {
    const int width = WidthAdjustment() + nominalWidth;
    const int height = HeightAdjustment() + nominalHeight;
    const int x = static_cast<int>(ScreenWidth() * 0.5 - width * 0.5);
    const int y = static_cast<int>(ScreenHeight() * 0.5 - height * 0.5);
    PlaceWindow(dialog, x, y, width, height, kZOrderKeep);
}

void CloseModalDialog(Handle dialog) {
    FlushEvents();
    DestroyWindowHandle(dialog);
    EnableControl(mainWindow.mainWindow, 1);
    // A main window lying partly off the screen is placed back without a warning.
    SetErrorLevel(-1);
    PlaceWindow(mainWindow.mainWindow, MainWindowLeft(), MainWindowTop(), MainWindowRight() - MainWindowLeft(),
                MainWindowBottom() - MainWindowTop(), kZOrderNotTopmost);
    SetErrorLevel(0);
}
