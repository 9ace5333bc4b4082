#include "catalogue/update_toggle.h"

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_list.h"
#include "catalogue/update_lines.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"

namespace {

using TextRule = Text (*)(const Text&);

RewriteOutcome ToggleUpdateLinesOf(const Text& fileName, TextRule rule) {
    const Text path = PluginPath(fileName);
    const PluginFileText read = ReadPluginFile(path);
    catalogue.pluginText = read.bytes;
    RewriteOutcome outcome = read.refusal.value_or(RewriteOutcome::Rewritten);
    if (!read.refusal) {
        catalogue.pluginText = rule(catalogue.pluginText);
        outcome = RewritePluginFile(path, read.bytes, catalogue.pluginText);
    }
    SetControlFocus(catalogue.pluginList);
    return outcome;
}

void ToggleCurrent(TextRule rule, const Phrase& done) {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text fileName = GetListItemText(catalogue.fileList, row);
    const RewriteOutcome outcome = ToggleUpdateLinesOf(fileName, rule);
    if (outcome == RewriteOutcome::Rewritten) {
        ShowCommandMessage(done, kInformationBox);
    } else {
        ReportFileProblem(outcome, fileName);
    }
}

// The file names are read once: the rows do not change while the files are rewritten.
void ToggleAll(TextRule rule, const Phrase& done) {
    AllRowsOutcome outcome;
    for (const Text& fileName : ListItemTexts(catalogue.fileList)) {
        outcome.Add(fileName, ToggleUpdateLinesOf(fileName, rule));
    }
    ReportAllRows(outcome, done, phrases::kUpdateNotChanged);
}

}  // namespace

RewriteOutcome DisableUpdateLines(int row) {
    return ToggleUpdateLinesOf(GetListItemText(catalogue.fileList, row), TextWithUpdatesDisabled);
}

RewriteOutcome EnableUpdateLines(int row) {
    return ToggleUpdateLinesOf(GetListItemText(catalogue.fileList, row), TextWithUpdatesEnabled);
}

void DisableUpdatesOfCurrentPlugin() {
    ToggleCurrent(TextWithUpdatesDisabled, phrases::kUpdateDisabled);
}

void EnableUpdatesOfCurrentPlugin() {
    ToggleCurrent(TextWithUpdatesEnabled, phrases::kUpdateEnabled);
}

void DisableUpdatesOfAllPlugins() {
    ToggleAll(TextWithUpdatesDisabled, phrases::kUpdateDisabledForAll);
}

void EnableUpdatesOfAllPlugins() {
    ToggleAll(TextWithUpdatesEnabled, phrases::kUpdateEnabledForAll);
}
