#include "catalogue/plugin_file.h"

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_text.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/value.h"

namespace {

constexpr int kSlot = 1;
constexpr int kWithLineEnd = 2;  // WriteText separator mode: CR LF after the text
constexpr int kErrorFileNotFound = 2;

}  // namespace

// One raw read of the first kTextBufferSize bytes gives the text read through the buffer: every
// byte counts at least one toward the buffer's capacity, so a longer file has filled the buffer
// before its head ends, and the rest could only be cut off. The same bytes decide whether the
// text is the whole file. The read is first tried without sharing: when another program has the
// file open, it is read shared for its text, but the file is not rewritten under that program.
PluginFileText ReadPluginFile(const Text& path) {
    const auto limit = static_cast<std::size_t>(kTextBufferSize);
    PluginFileText result;
    std::optional<Text> head = ReadFileHead(path, limit);
    if (!head) {
        head = ReadFileHead(path, limit, FileSharing::Shared);
        result.refusal = IsPresentFile(path) ? RewriteOutcome::NotWritten : RewriteOutcome::Missing;
    } else if (!MayRewriteFromReadText(*head)) {
        result.refusal = RewriteOutcome::LeftUnchanged;
    }
    if (!head) {
        result.hasText = false;
        return result;
    }
    ReadTextIntoArea(catalogue.textBuffer, *head);
    result.text = AreaText(catalogue.textBuffer, 0);
    return result;
}

bool IsPresentFile(const Text& path) {
    const std::optional<std::uint32_t> attributes = AttributesIfPresent(path);
    return attributes && (*attributes & kAttributeDirectory) == 0;
}

void ClearReadOnlyBit(const Text& path) {
    const std::optional<std::uint32_t> attributes = AttributesIfPresent(path);
    if (!attributes || (*attributes & kAttributeReadOnly) == 0) return;
    AssignFileName(kSlot, path);
    const int level = ErrorLevel();
    SetErrorLevel(-1);
    SetFileAttributesOf(kSlot, *attributes & ~kAttributeReadOnly);
    SetErrorLevel(level);
}

// The presence test keeps the rewrite from creating a file that was deleted since it was read.
RewriteOutcome RewritePluginFile(const Text& path, const Text& text) {
    if (!IsPresentFile(path)) return RewriteOutcome::Missing;
    ClearReadOnlyBit(path);
    AssignFileName(kSlot, path);
    CreateTextFile(kSlot);
    if (TakeIoStatus() != kIoOk) return RewriteOutcome::NotWritten;
    WriteText(kSlot, text, kWithLineEnd);
    const bool written = TakeIoStatus() == kIoOk;
    CloseTextFile(kSlot);
    return TakeIoStatus() == kIoOk && written ? RewriteOutcome::Rewritten : RewriteOutcome::NotWritten;
}

int RenamePath(const Text& from, const Text& to) {
    TakeIoStatus();
    AssignFileName(kSlot, from);
    RenameFile(kSlot, to);
    return TakeIoStatus();
}

int ErasePath(const Text& path) {
    if (!IsPresentFile(path)) return kErrorFileNotFound;
    ClearReadOnlyBit(path);
    AssignFileName(kSlot, path);
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
    switch (outcome) {
        case RewriteOutcome::LeftUnchanged: return TextWithNames(Say(phrases::kLeftUnchangedTooLong), {fileName});
        case RewriteOutcome::Missing: return TextWithNames(Say(phrases::kPluginFileGone), {fileName});
        default: return TextWithNames(Say(phrases::kNotWritten), {fileName});
    }
}
