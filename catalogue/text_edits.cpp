#include "catalogue/text_edits.h"

#include <algorithm>
#include <optional>

#include "catalogue/catalogue_state.h"
#include "catalogue/line_ends.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_list.h"
#include "catalogue/plugin_text.h"
#include "toolkit/files.h"
#include "toolkit/list_box.h"
#include "toolkit/value.h"

namespace {

// The file's bytes read raw into the text buffer, or why they were not: LeftUnchanged when
// they would not fit with the closing NUL (the buffer is never read past), NotWritten when
// another program has the file open, Missing when it is gone.
struct RawRead {
    Text bytes;
    std::optional<RewriteOutcome> refusal;
};

RawRead ReadRawIntoBuffer(const Text& path) {
    const std::optional<Text> bytes = ReadFileHead(path, static_cast<std::size_t>(kTextBufferSize));
    if (!bytes) return {Text(), IsPresentFile(path) ? RewriteOutcome::NotWritten : RewriteOutcome::Missing};
    if (static_cast<std::int64_t>(bytes->size()) > kTextBufferSize - 1) return {Text(), RewriteOutcome::LeftUnchanged};
    MemoryArea& buffer = catalogue.textBuffer;
    std::fill(buffer.bytes.begin(), buffer.bytes.end(), '\0');
    std::copy(bytes->begin(), bytes->end(), buffer.bytes.begin());
    return {*bytes, std::nullopt};
}

// The read-only bit goes before the file is read, also when no conversion follows.
RewriteOutcome ConvertFileToDosLineEnds(const Text& fileName) {
    const Text path = PluginPath(fileName);
    if (!IsWritablePresentFile(path)) return RewriteOutcome::Missing;

    const RawRead raw = ReadRawIntoBuffer(path);
    if (raw.refusal) return *raw.refusal;
    catalogue.pluginText = AreaText(catalogue.textBuffer, 0);
    if (!NeedsDosLineEnds(catalogue.pluginText)) return RewriteOutcome::NotNeeded;
    // The text ends at the first NUL byte: writing it back would drop the rest of the file.
    if (!MayRewriteFromRawRead(raw.bytes)) return RewriteOutcome::LeftUnchanged;

    catalogue.pluginText = ToDosLineEnds(catalogue.pluginText);
    return RewritePluginFile(path, raw.bytes, catalogue.pluginText);
}

}  // namespace

// A plugin file that is gone is reported before the dialog asks for a name: there is nothing to
// rename. A cancelled dialog, or a name too short to use, leaves the file unread.
void RenamePlugin(const AskText& ask) {
    const int row = CurrentRow();
    if (row < 0) return;
    const Text fileName = GetListItemText(catalogue.fileList, row);
    const Text path = PluginPath(fileName);
    if (!IsPresentFile(path)) {
        ReportFileProblem(RewriteOutcome::Missing, fileName);
        return;
    }
    const Text listedName = GetListItemText(catalogue.pluginList, row);
    const Text typedName =
        ask(Say(phrases::kRenamePrompt), Say(phrases::kRenameTitle), TrimText(listedName));
    if (!IsUsableNewName(typedName)) return;

    const PluginFileText read = ReadPluginFile(path);
    catalogue.pluginText = read.bytes;
    if (read.refusal) {
        ReportFileProblem(*read.refusal, fileName);
        return;
    }
    const std::optional<PluginRename> rename = RenamePluginText(read.bytes, listedName, typedName);
    if (!rename) return;
    // Without the listed name in the file the rewrite would change nothing but blanks.
    if (!rename->attributeFound) {
        ShowCommandMessage(TextWithNames(Say(phrases::kRenameNameNotFound), {fileName}), kExclamationBox);
        return;
    }
    catalogue.pluginText = rename->text;
    const RewriteOutcome written = RewritePluginFile(path, read.bytes, catalogue.pluginText);
    if (written != RewriteOutcome::Rewritten) {
        ReportFileProblem(written, fileName);
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
            ReportFileProblem(outcome, fileName);
    }
}

// The file names are read once: the rows do not change while the files are rewritten.
void ConvertAllPlugins() {
    AllRowsOutcome outcome;
    for (const Text& fileName : ListItemTexts(catalogue.fileList)) {
        outcome.Add(fileName, ConvertFileToDosLineEnds(fileName));
    }
    ReportAllRows(outcome, phrases::kAllConverted, phrases::kNotConverted);
}
