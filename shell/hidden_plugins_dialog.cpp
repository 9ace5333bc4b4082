#include "shell/hidden_plugins_dialog.h"

#include "catalogue/hide_restore_delete.h"
#include "catalogue/plugin_list.h"
#include "catalogue/messages.h"
#include "shell/dialog_support.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/controls.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"

namespace {

const Phrase kTitle{"Hidden Search Plugins", "Verstecke Suchplugins"};
const Phrase kLabel{"Here you can restore hidden search plugins:", "Wählen Sie ein Suchplugin:"};
const Phrase kRestoreText{"Restore Selected Plugin", "Suchplugin wiederherstellen"};
const char* const kOkText = "OK";

constexpr int kNominalWidth = 320;
constexpr int kNominalHeight = 300;
constexpr int kPollMs = 20;

// The dialog's controls and what its polling remembers between passes. Program thread only,
// while the dialog is open.
struct HiddenPluginsDialogState {
    Handle displayList = 0;
    Handle fileList = 0;   // zero size: row i holds the file name of display row i
    Handle okButton = 0;
    Handle restoreButton = 0;
    int row = -1;          // the selected row of the display list
    int restoreLatch = 0;  // 1 until both restore keys have been seen up
    int restoreButtonDisabled = 0;
};

void CreateControls(Handle dialog, HiddenPluginsDialogState& d) {
    const Handle label = DialogControl(dialog, "STATIC", Say(kLabel), kTextLabelStyle, 8, 7, 300, 16);
    DialogControl(dialog, "STATIC", "", kSeparatorStyle, 5, 215, 308, 4);
    d.fileList = DialogControl(dialog, "LISTBOX", "", kListBoxStyle, 5, 25, 0, 0, kClientEdge);
    d.displayList = DialogControl(dialog, "LISTBOX", "", kListBoxStyle, 5, 25, 304, 155, kClientEdge);
    d.okButton = DialogControl(dialog, "BUTTON", kOkText, kPushButtonStyle, 222, 225, 80, 22);
    d.restoreButton = DialogControl(dialog, "BUTTON", Say(kRestoreText), kPushButtonStyle, 5, 186, 304, 22);
    CentreModalDialog(dialog, kNominalWidth, kNominalHeight);
    SetControlFont(label, startup.boldFont);
    SetControlFont(d.displayList, startup.normalFont);
    SetControlFont(d.okButton, startup.boldFont);
    SetControlFont(d.restoreButton, startup.normalFont);
}

// The restore keys are the main window's hide keys: numpad star, or Shift with the plus key.
bool RestoreKeysDown() {
    return (KeyDown(kVkShift) && KeyDown(kVkOemPlus)) || KeyDown(kVkMultiply);
}

bool RestoreAsked(const HiddenPluginsDialogState& d) {
    return (HasFocus(d.displayList) && RestoreKeysDown() && d.row >= 0 && d.restoreLatch == 0) ||
           Clicked(d.restoreButton);
}

// After a restore that failed (the catalogue has said why) both lists are read again, so that a
// hidden file gone since the dialog opened loses its row and the count follows the folder.
void RestoreSelectedRow(HiddenPluginsDialogState& d) {
    if (d.row < 0) return;
    if (!RestoreHiddenPlugin(GetListItemText(d.fileList, d.row))) {
        FillPluginList(d.displayList, d.fileList, d.row, "*.HID");
        UpdateShowHiddenButton();
        return;
    }
    ListDelete(d.displayList, d.row);
    ListDelete(d.fileList, d.row);
    const int left = ListCount(d.displayList);
    ListSelect(d.displayList, d.row == left ? left - 1 : d.row);
    UpdateShowHiddenButton();
    FillPluginList(mainWindow.pluginList, mainWindow.fileList, CurrentRow(), "*.SRC");
    // The rebuild focuses the main list, which lies disabled behind the dialog; without the focus
    // back on the dialog's list, its keys would stop working after the first restore.
    SetControlFocus(d.displayList);
}

// The restore button is usable only while a row is selected.
void FollowSelection(HiddenPluginsDialogState& d) {
    if (d.row < 0 && d.restoreButtonDisabled == 0) {
        EnableControl(d.restoreButton, 0);
        d.restoreButtonDisabled = 1;
    } else if (d.row >= 0 && d.restoreButtonDisabled == 1) {
        EnableControl(d.restoreButton, 1);
        d.restoreButtonDisabled = 0;
    }
}

}  // namespace

void HiddenPluginsDialog() {
    DialogKey escape = WatchDialogKey(kVkEscape);
    DialogKey enter = WatchDialogKey(kVkReturn);
    const Handle dialog = OpenModalDialog(Say(kTitle));
    HiddenPluginsDialogState d;
    CreateControls(dialog, d);
    FillPluginList(d.displayList, d.fileList, 0, "*.HID");

    for (;;) {
        d.row = ListSelection(d.displayList);
        if (KeyUp(kVkMultiply) && KeyUp(kVkOemPlus)) d.restoreLatch = 0;
        if (DialogKeyPressed(escape)) break;
        if (RestoreAsked(d)) {
            FlushEvents();
            d.restoreLatch = 1;
            RestoreSelectedRow(d);
        } else if (DialogKeyPressed(enter) || Clicked(d.okButton)) {
            break;
        }
        FollowSelection(d);
        PauseInterface(kPollMs);
    }

    CloseModalDialog(dialog);
    SetControlFocus(mainWindow.pluginList);
    latches.enter = 1;
}
