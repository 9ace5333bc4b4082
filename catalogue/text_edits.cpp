#include "catalogue/text_edits.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/line_ends.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_list.h"
#include "catalogue/plugin_text.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/list_box.h"
#include "toolkit/value.h"

namespace {

constexpr int kSlot = 1;

// The file's bytes read raw into the text buffer, or why they were not: LeftUnchanged when
// they would not fit with the closing NUL (the buffer is never read past), NotWritten when
// the file could not be read (it is in use).
struct RawRead {
    Text bytes;
    std::optional<RewriteOutcome> refusal;
};

RawRead ReadRawIntoBuffer(const Text& path) {
    const std::int64_t size = FileSize(path);
    if (size > kTextBufferSize - 1) return {Text(), RewriteOutcome::LeftUnchanged};
    if (size < 0) return {Text(), RewriteOutcome::NotWritten};
    MemoryArea& buffer = catalogue.textBuffer;
    std::fill(buffer.bytes.begin(), buffer.bytes.end(), '\0');
    AssignFileName(kSlot, path);
    OpenBinaryFile(kSlot);
    const bool opened = TakeIoStatus() == kIoOk;
    const std::int64_t count =
        opened ? ReadFileBlock(kSlot, buffer, 0, static_cast<std::size_t>(size)) : -1;
    const bool read = TakeIoStatus() == kIoOk && count == size;
    CloseFile(kSlot);
    TakeIoStatus();
    if (!read) return {Text(), RewriteOutcome::NotWritten};
    return {Text(buffer.data(), static_cast<std::size_t>(count)), std::nullopt};
}

RewriteOutcome ConvertFileToDosLineEnds(const Text& fileName) {
    const Text path = PluginPath(fileName);
    AssignFileName(kSlot, path);
    ClearReadOnlyBit();

    const RawRead raw = ReadRawIntoBuffer(path);
    if (raw.refusal) return *raw.refusal;
    catalogue.pluginText = AreaText(catalogue.textBuffer, 0);
    if (!NeedsDosLineEnds(catalogue.pluginText)) return RewriteOutcome::NotNeeded;
    // The text ends at the first NUL byte: writing it back would drop the rest of the file.
    if (!MayRewriteFromRawRead(raw.bytes)) return RewriteOutcome::LeftUnchanged;

    catalogue.pluginText = ToDosLineEnds(catalogue.pluginText);
    return RewritePluginFile(path, catalogue.pluginText) ? RewriteOutcome::Rewritten
                                                         : RewriteOutcome::NotWritten;
}

}  // namespace

void RenamePlugin(const AskText& ask) {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text listedName = GetListItemText(catalogue.pluginList, row);
    const Text typedName =
        ask(Say(phrases::kRenamePrompt), Say(phrases::kRenameTitle), TrimText(listedName));

    const Text fileName = GetListItemText(catalogue.fileList, row);
    const Text path = PluginPath(fileName);
    const PluginFileText read = ReadPluginFile(path);
    catalogue.pluginText = read.text;

    const std::optional<PluginRename> rename = RenamePluginText(read.text, listedName, typedName);
    if (!rename) return;
    if (read.refusal) {
        ShowCommandMessage(RewriteProblemText(*read.refusal, fileName), kExclamationBox);
        return;
    }
    // Without the listed name in the file the rewrite would change nothing but blanks.
    if (!rename->attributeFound) {
        ShowCommandMessage(TextWithNames(Say(phrases::kRenameNameNotFound), {fileName}), kExclamationBox);
        return;
    }
    catalogue.pluginText = rename->text;
    if (!RewritePluginFile(path, catalogue.pluginText)) {
        ShowCommandMessage(RewriteProblemText(RewriteOutcome::NotWritten, fileName), kExclamationBox);
        return;
    }
    ListDelete(catalogue.pluginList, row);
    ListInsert(catalogue.pluginList, row, rename->newName);
    ListSelect(catalogue.pluginList, row);
}

RewriteOutcome ConvertToDosLineEnds(int row) {
    return ConvertFileToDosLineEnds(GetListItemText(catalogue.fileList, row));
}

void ConvertCurrentPlugin() {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text fileName = GetListItemText(catalogue.fileList, row);
    switch (const RewriteOutcome outcome = ConvertFileToDosLineEnds(fileName)) {
        case RewriteOutcome::Rewritten:
            ShowCommandMessage(phrases::kConversionSuccessful, kInformationBox);
            break;
        case RewriteOutcome::NotNeeded:
            ShowCommandMessage(phrases::kConversionNotNecessary, kExclamationBox);
            break;
        default:
            ShowCommandMessage(RewriteProblemText(outcome, fileName), kExclamationBox);
    }
}

// The file names are read once: the rows do not change while the files are rewritten.
void ConvertAllPlugins() {
    std::vector<Text> failures;
    for (const Text& fileName : ListItemTexts(catalogue.fileList)) {
        const RewriteOutcome outcome = ConvertFileToDosLineEnds(fileName);
        if (outcome == RewriteOutcome::LeftUnchanged || outcome == RewriteOutcome::NotWritten) {
            failures.push_back(fileName + " " + RewriteFailureNote(outcome));
        }
    }
    if (failures.empty()) {
        ShowCommandMessage(phrases::kAllConverted, kInformationBox);
    } else {
        ShowCommandMessage(TextWithNames(Say(phrases::kNotConverted), failures), kExclamationBox);
    }
}
