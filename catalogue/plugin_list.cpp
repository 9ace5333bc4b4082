#include "catalogue/plugin_list.h"

#include "catalogue/catalogue_state.h"
#include "catalogue/plugin_text.h"
#include "catalogue/prefixed_names.h"
#include "toolkit/controls.h"
#include "toolkit/files.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"
#include "toolkit/trace.h"

CatalogueState catalogue;

namespace {

// Lists the plugin folder: calls visit for every file (not folder) whose own name ends in the
// pattern's extension, in the order the file system returns them. Nothing is visited when the
// folder cannot be entered.
template <typename Visit>
void ForEachPluginFile(const Text& pattern, Visit visit) {
    TakeIoStatus();
    ChangeFolder(catalogue.pluginFolder);
    if (TakeIoStatus() == kIoOk) {
        Text entry = FindFirstEntry(pattern);
        // The status is taken right after each search step, so that what visit does to the
        // file cannot end the listing early.
        while (TakeIoStatus() == kIoOk) {
            if (!IsFolderEntry(entry) && MatchesExtensionPattern(entry, pattern)) visit(entry);
            entry = FindNextEntry();
        }
    }
    ChangeFolder(catalogue.startFolder);
    TakeIoStatus();
}

void FollowSelection() {
    if (catalogue.updateMoveButtons) catalogue.updateMoveButtons();
}

// Inserts a copy of row `from` at insertAt, then removes the row that is now at removeAt.
void MoveRow(Handle list, int from, int insertAt, int removeAt) {
    ListInsert(list, insertAt, GetListItemText(list, from));
    ListDelete(list, removeAt);
}

}  // namespace

void FillPluginList(Handle nameList, Handle fileList, int row, const Text& pattern) {
    PluginRows rows;
    ForEachPluginFile(pattern, [&](const Text& fileName) { AddPluginEntry(rows, fileName); });
    QUORREL_TRACE_MARK("list files read");
    ListSetAll(fileList, rows.files);
    ListSetAll(nameList, rows.names);
    QUORREL_TRACE_MARK("list rows set");
    ListSelect(nameList, row >= 0 && row < ListCount(nameList) ? row : 0);
    FollowSelection();
    SetControlFocus(nameList);
}

// A file that is gone by now, or that another program holds open without letting others read
// it, gets no row; the next listing shows it again once it can be read.
void AddPluginEntry(PluginRows& rows, const Text& fileName) {
    if (fileName.empty() || IsFolderEntry(fileName)) return;
    const PluginFileText read = ReadPluginFile(fileName);
    if (!read.hasText) return;
    const DisplayName display = ExtractDisplayName(NormalizePluginText(read.text));
    Text name = display.name;
    if (IsPinnedName(name)) {
        name = UnpinPluginName(fileName, display, read);
    }
    if (!GetsPluginRow(name)) return;
    catalogue.prefixLetter = NextPrefixLetter(catalogue.prefixLetter, fileName);
    rows.names.push_back(name);
    rows.files.push_back(fileName);
}

Text UnpinPluginName(const Text& fileName, const DisplayName& display, const PluginFileText& read) {
    // A cut or NUL-stripped text written back would lose the rest of the file.
    if (read.refusal) return display.name;
    const UnpinnedPlugin unpinned = UnpinPluginText(display.name, display.quote, NormalizePluginText(read.bytes));
    const RewriteOutcome written = RewritePluginFile(PluginPath(fileName), read.bytes, unpinned.text);
    return written == RewriteOutcome::Rewritten ? unpinned.name : display.name;
}

int CountPluginFiles(const Text& pattern) {
    int count = 0;
    ForEachPluginFile(pattern, [&](const Text&) { ++count; });
    return count;
}

void MovePluginUp() {
    const int s = CurrentRow();
    if (s > 0) MovePluginTo(s, s - 1);
}

void MovePluginDown() {
    const int s = CurrentRow();
    if (s >= 0) MovePluginTo(s, s + 1);
}

// Upward the copy goes in before row `to` and the old row has moved one down; downward the copy
// goes in after row `to` and the old row is still in its place.
void MovePluginTo(int from, int to) {
    const int count = ListCount(catalogue.pluginList);
    if (from < 0 || from >= count || to < 0 || to >= count || to == from) return;
    const int insertAt = to < from ? to : to + 1;
    const int removeAt = to < from ? from + 1 : from;
    MoveRow(catalogue.pluginList, from, insertAt, removeAt);
    MoveRow(catalogue.fileList, from, insertAt, removeAt);
    ListSelect(catalogue.pluginList, to);
    FollowSelection();
}

void RefreshPluginList() {
    QUORREL_TRACE_MARK("list refresh begun");
    FillPluginList(catalogue.pluginList, catalogue.fileList, CurrentRow(), "*.SRC");
    QUORREL_TRACE_MARK("list refreshed");
}

int CurrentRow() {
    return ListSelection(catalogue.pluginList);
}

void ReportFileProblem(RewriteOutcome outcome, const Text& fileName) {
    if (outcome == RewriteOutcome::Missing) RefreshPluginList();
    ShowCommandMessage(RewriteProblemText(outcome, fileName), kExclamationBox);
}

void AllRowsOutcome::Add(const Text& fileName, RewriteOutcome outcome) {
    if (outcome == RewriteOutcome::Missing) {
        gone.push_back(fileName);
    } else if (outcome == RewriteOutcome::LeftUnchanged || outcome == RewriteOutcome::NotWritten) {
        notChanged.push_back(fileName + " " + RewriteFailureNote(outcome));
    }
}

void ReportAllRows(const AllRowsOutcome& outcome, const Phrase& done, const Phrase& notChangedLead) {
    if (outcome.notChanged.empty() && outcome.gone.empty()) {
        ShowCommandMessage(done, kInformationBox);
        return;
    }
    Text text = outcome.notChanged.empty() ? Say(done) : TextWithNames(Say(notChangedLead), outcome.notChanged);
    if (!outcome.gone.empty()) RefreshPluginList();
    AddNamesParagraph(text, Say(phrases::kPluginFilesGone), outcome.gone);
    ShowCommandMessage(text, kExclamationBox);
}
