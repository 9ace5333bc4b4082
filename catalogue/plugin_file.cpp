#include "catalogue/plugin_file.h"

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_text.h"
#include "toolkit/files.h"
#include "toolkit/value.h"

namespace {

constexpr int kSlot = 1;
constexpr int kWithLineEnd = 2;  // WriteText separator mode: CR LF after the text

}  // namespace

// One raw read of the first kTextBufferSize bytes decides whether the text read through the
// buffer is the whole file, and for the usual plugin file, shorter than that, it is the whole
// file: its text is then made from those bytes instead of reading the file a second time.
PluginFileText ReadPluginFile(const Text& path) {
    const auto limit = static_cast<std::size_t>(kTextBufferSize);
    const std::optional<Text> head = ReadFileHead(path, limit);
    if (head && head->size() < limit) {
        ReadTextIntoArea(catalogue.textBuffer, *head);
    } else {
        // Longer, or in use by another program: the text comes from a shared read, and a
        // file that cannot be read at all is the runtime error it raises.
        ReadTextFileIntoArea(catalogue.textBuffer, path);
    }
    PluginFileText read;
    read.text = AreaText(catalogue.textBuffer, 0);
    if (!head) {
        read.refusal = RewriteOutcome::NotWritten;
    } else if (!MayRewriteFromReadText(*head)) {
        read.refusal = RewriteOutcome::LeftUnchanged;
    }
    return read;
}

void ClearReadOnlyBit() {
    const std::uint32_t attributes = GetFileAttributesOf(kSlot);
    if (attributes & kAttributeReadOnly) {
        SetFileAttributesOf(kSlot, attributes & ~kAttributeReadOnly);
    }
}

bool RewritePluginFile(const Text& path, const Text& text) {
    AssignFileName(kSlot, path);
    ClearReadOnlyBit();
    CreateTextFile(kSlot);
    if (TakeIoStatus() != kIoOk) return false;
    WriteText(kSlot, text, kWithLineEnd);
    const bool written = TakeIoStatus() == kIoOk;
    CloseTextFile(kSlot);
    return TakeIoStatus() == kIoOk && written;
}

int RenamePath(const Text& from, const Text& to) {
    TakeIoStatus();
    AssignFileName(kSlot, from);
    RenameFile(kSlot, to);
    return TakeIoStatus();
}

int ErasePath(const Text& path) {
    AssignFileName(kSlot, path);
    ClearReadOnlyBit();
    TakeIoStatus();
    EraseFile(kSlot);
    return TakeIoStatus();
}

Text PluginPath(const Text& fileName) {
    return catalogue.pluginFolder + "\\" + fileName;
}

bool IsFolderEntry(const Text& entry) {
    return entry.size() >= 2 && entry.front() == '[' && entry.back() == ']';
}

Text RewriteFailureNote(RewriteOutcome outcome) {
    switch (outcome) {
        case RewriteOutcome::LeftUnchanged: return Say(phrases::kReasonTooLong);
        case RewriteOutcome::NotWritten: return Say(phrases::kReasonNotWritten);
        default: return Text();
    }
}

Text RewriteProblemText(RewriteOutcome outcome, const Text& fileName) {
    const Phrase& lead = outcome == RewriteOutcome::LeftUnchanged ? phrases::kLeftUnchangedTooLong
                                                                   : phrases::kNotWritten;
    return TextWithNames(Say(lead), {fileName});
}
