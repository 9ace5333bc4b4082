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
#include "toolkit/recycle_bin.h"

namespace {

constexpr int kShowNormal = 1;
constexpr int kErrorFileNotFound = 2;

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

// The file of the current row when it is still there; otherwise the user is told that it is
// gone, the list is read again, and the result is empty.
Text PresentFileOfRow(int row) {
    const Text fileName = GetListItemText(catalogue.fileList, row);
    if (IsPresentFile(PluginPath(fileName))) return fileName;
    ReportFileProblem(RewriteOutcome::Missing, fileName);
    return Text();
}

// Moves a file of the plugin folder to the Recycle Bin after clearing its read-only bit. A file
// that the shell leaves in place (the shell cannot be loaded, or it failed) is erased instead,
// as a delete always did. Returns the Win32 error of that erase, 0 when the file is gone.
int DiscardPath(const Text& path) {
    if (!IsWritablePresentFile(path)) return kErrorFileNotFound;
    RecycleFile(path);
    return IsPresentFile(path) ? ErasePath(path) : 0;
}

// Deletes the first image beside the deleted plugin file that is not empty; probing for the
// missing ones must stay silent. Returns the Win32 error of the erase, 0 when none failed.
int DeleteImageOf(const Text& pluginPath, Text& imagePath) {
    const Text base = DeleteImageBase(pluginPath);
    int error = 0;
    for (const Text& extension : DeleteImageExtensions()) {
        SetErrorLevel(-1);
        if (FileSize(base + extension) > 0) {
            imagePath = base + extension;
            error = DiscardPath(imagePath);
            break;
        }
        SetErrorLevel(0);
    }
    SetErrorLevel(0);
    return error;
}

// Discards the plugin file of the row, then its image, and removes the row. A plugin file that
// cannot be deleted keeps its row and its image; one that went while the question was open is
// reported as gone.
void DeleteRow(int row) {
    const Text fileName = GetListItemText(catalogue.fileList, row);
    const Text path = PluginPath(fileName);
    const int error = DiscardPath(path);
    if (error == kErrorFileNotFound) {
        ReportFileProblem(RewriteOutcome::Missing, fileName);
        return;
    }
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

// A file gone since the listing is not renamed: a folder that took its name would be.
bool HidePlugin() {
    const int row = CurrentRow();
    if (row < 0) return false;
    const Text fileName = PresentFileOfRow(row);
    if (fileName.empty()) return false;
    if (!RenameOrReport(fileName, HiddenNameOf(fileName), phrases::kHideFailed)) return false;
    RemoveRow(row);
    return true;
}

bool RestoreHiddenPlugin(const Text& hiddenName) {
    if (!IsPresentFile(PluginPath(hiddenName))) {
        ShowCommandMessage(RewriteProblemText(RewriteOutcome::Missing, hiddenName), kExclamationBox);
        return false;
    }
    return RenameOrReport(hiddenName, RestoredNameOf(hiddenName), phrases::kRestoreFailed);
}

// A plugin file gone since the listing is reported before the question: there is nothing to
// delete.
void DeletePlugin() {
    const int row = CurrentRow();
    if (row < 0) return;
    if (!PresentFileOfRow(row).empty()) {
        const Text question = Say(phrases::kDeleteQuestion) + GetListItemText(catalogue.pluginList, row);
        if (AskQuestion(question, kYesNoQuestionBox) == kAnswerYes) DeleteRow(row);
    }
    SetControlFocus(catalogue.pluginList);
}

// The path is quoted, so that a path with blanks opens the right file; a file that is gone is
// not handed over, since the editor would offer to create it.
void EditPluginFile() {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text fileName = PresentFileOfRow(row);
    if (fileName.empty()) return;
    StartProgram(EditorCommandLine(PluginPath(fileName)), kShowNormal);
}

void OpenPluginFolder() {
    ShellOpen(catalogue.pluginFolder, "explore", kShowNormal);
}

void OpenDownloadPage() {
    ShellOpen(kDownloadPageAddress, "open", kShowNormal);
}
