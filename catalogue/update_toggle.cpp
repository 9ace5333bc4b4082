#include "catalogue/update_toggle.h"

#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_list.h"
#include "catalogue/update_lines.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"

namespace {

using TextRule = Text (*)(const Text&);

RewriteOutcome ToggleUpdateLines(int row, TextRule rule) {
    const Text path = PluginPath(GetListItemText(catalogue.fileList, row));
    const PluginFileText read = ReadPluginFile(path);
    catalogue.pluginText = read.text;
    RewriteOutcome outcome = read.refusal.value_or(RewriteOutcome::Rewritten);
    if (!read.refusal) {
        catalogue.pluginText = rule(catalogue.pluginText);
        if (!RewritePluginFile(path, catalogue.pluginText)) outcome = RewriteOutcome::NotWritten;
    }
    SetControlFocus(catalogue.pluginList);
    return outcome;
}

void ToggleCurrent(TextRule rule, const Phrase& done) {
    const int row = CurrentRow();
    if (row < 0) return;
    const RewriteOutcome outcome = ToggleUpdateLines(row, rule);
    const Text fileName = GetListItemText(catalogue.fileList, row);
    if (outcome == RewriteOutcome::Rewritten) {
        ShowCommandMessage(done, kInformationBox);
    } else {
        ShowCommandMessage(RewriteProblemText(outcome, fileName), kExclamationBox);
    }
}

void ToggleAll(TextRule rule, const Phrase& done) {
    std::vector<Text> failures;
    const int count = ListCount(catalogue.pluginList);
    for (int row = 0; row < count; ++row) {
        const RewriteOutcome outcome = ToggleUpdateLines(row, rule);
        if (outcome != RewriteOutcome::Rewritten) {
            failures.push_back(GetListItemText(catalogue.fileList, row) + " " + RewriteFailureNote(outcome));
        }
    }
    if (failures.empty()) {
        ShowCommandMessage(done, kInformationBox);
    } else {
        ShowCommandMessage(TextWithNames(Say(phrases::kUpdateNotChanged), failures), kExclamationBox);
    }
}

}  // namespace

RewriteOutcome DisableUpdateLines(int row) {
    return ToggleUpdateLines(row, TextWithUpdatesDisabled);
}

RewriteOutcome EnableUpdateLines(int row) {
    return ToggleUpdateLines(row, TextWithUpdatesEnabled);
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
