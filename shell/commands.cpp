#include "shell/commands.h"

#include <optional>

#include "catalogue/hide_restore_delete.h"
#include "catalogue/order_persistence.h"
#include "catalogue/plugin_list.h"
#include "catalogue/text_edits.h"
#include "catalogue/update_toggle.h"
#include "shell/dialog_support.h"
#include "shell/hidden_plugins_dialog.h"
#include "shell/information_dialog.h"
#include "shell/input_dialog.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "toolkit/drag_list.h"
#include "toolkit/frame_window.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"

namespace {

constexpr int kArrowPointer = 0;
constexpr int kWaitPointer = 2;
constexpr int kMovePauseMs = 50;

// Commands that work through every plugin file show the wait pointer while they run.
template <typename Operation>
void WithWaitPointer(Operation operation) {
    SetMousePointer(kWaitPointer);
    operation();
    SetMousePointer(kArrowPointer);
}

// After a command that showed a box or a dialog: an Enter still held from closing it must not
// open the editor, and the shortcuts need the list to have the focus again.
void BackToTheList() {
    latches.enter = 1;
    SetControlFocus(mainWindow.pluginList);
}

}  // namespace

void RestoreOriginalNamesCommand() {
    FlushEvents();
    WithWaitPointer(RestoreOriginalNames);
}

void SortCommand() {
    FlushEvents();
    WithWaitPointer(SavePluginOrder);
}

// Without a latch: a held key moves the row again on every pass.
void MoveUpCommand() {
    FlushEvents();
    PauseInterface(kMovePauseMs);
    MovePluginUp();
    UpdateMoveButtons();
}

void MoveDownCommand() {
    FlushEvents();
    PauseInterface(kMovePauseMs);
    MovePluginDown();
    UpdateMoveButtons();
}

void DropCommand() {
    FlushEvents();
    if (const std::optional<ListDrop> drop = TakeListDrop()) MovePluginTo(drop->from, drop->to);
    UpdateMoveButtons();
    SetControlFocus(mainWindow.pluginList);
}

void OpenFolderCommand() {
    FlushEvents();
    OpenPluginFolder();
}

void ShowHiddenCommand() {
    FlushEvents();
    HiddenPluginsDialog();
}

void AddPluginCommand() {
    FlushEvents();
    OpenDownloadPage();
}

// An open information window is brought to the front, where the user finds it again.
void InformationCommand() {
    FlushEvents();
    if (informationDialog.open == 0) {
        OpenInformationDialog();
    } else {
        BringInformationDialogToFront();
    }
}

void RefreshCommand() {
    FlushEvents();
    RefreshPluginList();
}

void ConvertCommand() {
    FlushEvents();
    latches.altT = 1;
    ConvertCurrentPlugin();
    BackToTheList();
}

void DisableAllUpdatesCommand() {
    FlushEvents();
    WithWaitPointer(DisableUpdatesOfAllPlugins);
    latches.altU = 1;
}

void EnableAllUpdatesCommand() {
    FlushEvents();
    WithWaitPointer(EnableUpdatesOfAllPlugins);
    latches.altI = 1;
}

void ConvertAllCommand() {
    FlushEvents();
    WithWaitPointer(ConvertAllPlugins);
}

void DisableUpdatesCommand() {
    FlushEvents();
    latches.altU = 1;
    DisableUpdatesOfCurrentPlugin();
}

void EnableUpdatesCommand() {
    FlushEvents();
    latches.altI = 1;
    EnableUpdatesOfCurrentPlugin();
}

void RenameCommand() {
    FlushEvents();
    RenamePlugin(InputDialog);
    BackToTheList();
}

// The row that took the hidden one's place is selected, or the new last row.
void HideCommand() {
    FlushEvents();
    latches.hide = 1;
    const int row = CurrentRow();
    if (HidePlugin()) {
        UpdateShowHiddenButton();
        const int count = ListCount(mainWindow.pluginList);
        ListSelect(mainWindow.pluginList, row == count ? row - 1 : row);
    }
    BackToTheList();
}

void EditCommand() {
    FlushEvents();
    latches.enter = 1;
    if (ForegroundWindow() == mainWindow.mainWindow) EditPluginFile();
}

void DeleteCommand() {
    FlushEvents();
    DeletePlugin();
    BackToTheList();
}

void CloseCommand() {
    FlushEvents();
    ExitProgram();
}
