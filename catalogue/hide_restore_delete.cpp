#include "catalogue/hide_restore_delete.h"

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_file.h"
#include "catalogue/plugin_list.h"
#include "catalogue/prefixed_names.h"
#include "catalogue/web_addresses.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"

namespace {

constexpr int kShowNormal = 1;

// Renames a file of the plugin folder; on failure shows lead with both names and the reason.
bool RenameOrReport(const Text& from, const Text& to, const Phrase& lead) {
    const int error = RenamePath(PluginPath(from), PluginPath(to));
    if (error == 0) return true;
    ShowCommandMessage(Say(lead) + "\r\r" + from + " -> " + to + "\r" + FailureReason(error),
                       kExclamationBox);
    return false;
}

void RemoveRow(int row) {
    ListDelete(catalogue.pluginList, row);
    ListDelete(catalogue.fileList, row);
}

// Whether an image base lies inside the plugin folder. A folder path holding ".src" cuts the
// base inside the folder path, and an image found there would be some unrelated file.
bool BaseInsidePluginFolder(const Text& base) {
    const Text folder = LowerCase(catalogue.pluginFolder + "\\");
    return base.size() > folder.size() && base.compare(0, folder.size(), folder) == 0;
}

// Deletes the first image beside the deleted plugin file that is not empty; probing for the
// missing ones must stay silent. Returns the Win32 error of the erase, 0 when none failed.
int DeleteImageOf(const Text& pluginPath, Text& imagePath) {
    const Text base = DeleteImageBase(pluginPath);
    if (!BaseInsidePluginFolder(base)) return 0;
    int error = 0;
    for (const Text& extension : DeleteImageExtensions()) {
        SetErrorLevel(-1);
        if (FileSize(base + extension) > 0) {
            imagePath = base + extension;
            error = ErasePath(imagePath);
            break;
        }
        SetErrorLevel(0);
    }
    SetErrorLevel(0);
    return error;
}

// Deletes the plugin file of the row, then its image, and removes the row. A plugin file that
// cannot be deleted keeps its row and its image.
void DeleteRow(int row) {
    const Text path = PluginPath(GetListItemText(catalogue.fileList, row));
    const int error = ErasePath(path);
    if (error != 0) {
        ShowCommandMessage(Say(phrases::kDeleteFailed) + "\r\r" + path + "\r" + FailureReason(error),
                           kExclamationBox);
        return;
    }
    Text imagePath;
    const int imageError = DeleteImageOf(path, imagePath);
    RemoveRow(row);
    const int count = ListCount(catalogue.pluginList);
    ListSelect(catalogue.pluginList, row == count ? row - 1 : row);
    if (imageError != 0) {
        ShowCommandMessage(Say(phrases::kImageDeleteFailed) + "\r\r" + imagePath + "\r" +
                               FailureReason(imageError),
                           kExclamationBox);
    }
}

}  // namespace

bool HidePlugin() {
    const int row = CurrentRow();
    if (row < 0) return false;
    const Text fileName = GetListItemText(catalogue.fileList, row);
    if (!RenameOrReport(fileName, HiddenNameOf(fileName), phrases::kHideFailed)) return false;
    RemoveRow(row);
    return true;
}

bool RestoreHiddenPlugin(const Text& hiddenName) {
    return RenameOrReport(hiddenName, RestoredNameOf(hiddenName), phrases::kRestoreFailed);
}

void DeletePlugin() {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text question = Say(phrases::kDeleteQuestion) + GetListItemText(catalogue.pluginList, row);
    if (AskQuestion(question, kYesNoQuestionBox) == kAnswerYes) DeleteRow(row);
    SetControlFocus(catalogue.pluginList);
}

void EditPluginFile() {
    const int row = CurrentRow();
    if (row < 0) return;
    // The path is not quoted: the editor takes the rest of its command line as the file name.
    const Text command = "notepad.exe " + PluginPath(GetListItemText(catalogue.fileList, row));
    CallLibraryFunction("KERNEL32", "WinExec", {Arg(command), kShowNormal});
}

void OpenPluginFolder() {
    ShellOpen(catalogue.pluginFolder, "explore", kShowNormal);
}

void OpenDownloadPage() {
    ShellOpen(kDownloadPageAddress, "open", kShowNormal);
}
