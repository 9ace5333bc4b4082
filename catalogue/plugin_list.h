// The plugin rows: filling the plugin list and the file list from the plugin folder, reading
// display names, unpinning Google and Yahoo, counting plugin files and moving rows.
#pragma once

#include <vector>

#include "catalogue/messages.h"
#include "catalogue/plugin_file.h"
#include "catalogue/plugin_text.h"
#include "toolkit/handle.h"
#include "toolkit/text.h"

// Rebuilds both lists from the plugin folder entries that match pattern ("*.SRC" or "*.HID"),
// in the order the file system returns them, then selects row (row 0 when row is -1 or past
// the end), lets the Move buttons follow and gives the focus to the name list.
void FillPluginList(Handle nameList, Handle fileList, int row, const Text& pattern);

// The rows of the name list and the file list as a listing finds them; they reach the list
// boxes together at its end, one request per list instead of one per row.
struct PluginRows {
    std::vector<Text> names;
    std::vector<Text> files;
};

// Adds one row for the plugin file fileName (in the current folder, which is the plugin
// folder), unless it is empty, a folder or has no recognisable name. A plugin named Google or
// Yahoo is renamed with a blank appended, in its file as in its row.
void AddPluginEntry(PluginRows& rows, const Text& fileName);

// Writes the unpinned name of a pinned plugin (display, as listed from read) into its file.
// Returns the name the row shows: the new name, or the name read when the file may not or could
// not be rewritten.
Text UnpinPluginName(const Text& fileName, const DisplayName& display, const PluginFileText& read);

// Number of files (not folders) in the plugin folder that match pattern.
int CountPluginFiles(const Text& pattern);

// Move the current row one place up or down in both lists and keep it selected.
void MovePluginUp();
void MovePluginDown();

// Moves row `from` to index `to` in both lists, as that many single moves would, and selects
// it there. Rows outside the lists move nothing.
void MovePluginTo(int from, int to);

// Rebuilds the plugin list from the folder, keeping the current row selected.
void RefreshPluginList();

// The selected row of the plugin list, -1 for none.
int CurrentRow();

// The message after a command on one plugin file that did not change it. A file that is gone
// is named as such, after the list has been read again to show what the folder holds.
void ReportFileProblem(RewriteOutcome outcome, const Text& fileName);

// What a command over every row could not do.
struct AllRowsOutcome {
    std::vector<Text> notChanged;  // file name and reason
    std::vector<Text> gone;        // file names

    // Records a file left unchanged, not written or gone; other outcomes are no problem.
    void Add(const Text& fileName, RewriteOutcome outcome);
};

// The one message of a command over every row: done when nothing went wrong, else the lead
// with the files not changed, and the files that are gone (the list is then read again first).
void ReportAllRows(const AllRowsOutcome& outcome, const Phrase& done, const Phrase& notChangedLead);
