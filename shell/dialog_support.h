// What the dialog windows share: their control styles, the click test, fonts, the size
// adjustments from the system metrics, and the opening and closing of a modal dialog.
#pragma once

#include <cstdint>

#include "toolkit/handle.h"
#include "toolkit/text.h"

// Styles of the controls the dialogs make with CreateWindowDirect (id 0, program instance).
constexpr std::uint32_t kPushButtonStyle = 0x54010000;   // child, visible, clip siblings, tab stop
constexpr std::uint32_t kTextLabelStyle = 0x54000100;    // the same without tab stop, SS_NOTIFY
constexpr std::uint32_t kSeparatorStyle = 0x54000130;    // an etched horizontal line
constexpr std::uint32_t kListBoxStyle = 0x54211141;      // unsorted, strings, notify, scroll bar
constexpr std::uint32_t kClientEdge = 0x200;
constexpr std::uint32_t kStaticEdge = 0x20000;

// SetWindowStyleFlags of every dialog: minimise box and no menu bar, but no system menu.
constexpr int kDialogStyleFlags = 18;

constexpr int kVkReturn = 13;
constexpr int kVkShift = 16;
constexpr int kVkEscape = 27;
constexpr int kVkMultiply = 106;
constexpr int kVkOemPlus = 187;

// SendMessageA, carried out on the interface thread.
std::intptr_t SendToWindow(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam);
void SetControlFont(Handle control, Handle font);
void SetWindowCaption(Handle window, const Text& caption);
Handle ForegroundWindow();

// Enter or Escape as a dialog reads it. A key that is already down when the dialog opens belongs
// to whatever opened the dialog (the Enter that chose a menu item, the key that clicked a button):
// it counts for the dialog only after it has been released.
struct DialogKey {
    int virtualKey = 0;
    bool heldSinceOpening = false;
};

// Called as the dialog opens: notes whether the key is down already.
DialogKey WatchDialogKey(int virtualKey);
// Whether the key is down and counts for the dialog. Call it on every pass of the dialog's poll,
// so that it sees the release of a key that was held when the dialog opened.
bool DialogKeyPressed(DialogKey& key);

// Whether the last registered WM_COMMAND was a click (BN_CLICKED) on the button. It stays
// true until FlushEvents or another command replaces it.
bool Clicked(Handle button);

// A control of a dialog made with CreateWindowDirect.
Handle DialogControl(Handle dialog, const char* className, const Text& text, std::uint32_t style, int x,
                     int y, int width, int height, std::uint32_t extendedStyle = 0);

// A dialog's outer size is its nominal size plus these, the same as the main window's.
int WidthAdjustment();
int HeightAdjustment();

// A modal dialog: the main window is disabled and the dialog is created empty and off screen;
// once its controls exist, it is centred with its outer size. Closing it consumes the event,
// gives the main window its input back and brings it in front again.
Handle OpenModalDialog(const Text& title);
void CentreModalDialog(Handle dialog, int nominalWidth, int nominalHeight);
void CloseModalDialog(Handle dialog);
