#include "catalogue/plugin_file.h"

#include <utility>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_text.h"
#include "catalogue/prefixed_names.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/value.h"
#include "toolkit/whole_file_writes.h"

namespace {

constexpr int kSlot = 1;
constexpr int kErrorFileNotFound = 2;

void ClearReadOnlyBitOf(const Text& path, std::uint32_t attributes) {
    if ((attributes & kAttributeReadOnly) == 0) return;
    AssignFileName(kSlot, path);
    SilencedErrors silenced;
    SetFileAttributesOf(kSlot, attributes & ~kAttributeReadOnly);
}

// Erases a file the caller knows to be a writable file: the backup a rewrite has just made.
int EraseOwnFile(const Text& path) {
    AssignFileName(kSlot, path);
    TakeIoStatus();
    EraseFile(kSlot);
    return TakeIoStatus();
}

}  // namespace

// One raw read of the first kTextBufferSize bytes gives both the bytes a rewrite starts from and
// the text the listing shows; a file that filled them does not fit the buffer and is never
// rewritten. The read is first tried without sharing: when another program has the file open, it
// is read shared for its text, but the file is not rewritten under that program.
PluginFileText ReadPluginFile(const Text& path) {
    const auto limit = static_cast<std::size_t>(kTextBufferSize);
    PluginFileText result;
    std::optional<Text> head = ReadFileHead(path, limit);
    if (!head) {
        head = ReadFileHead(path, limit, FileSharing::Shared);
        result.refusal = IsPresentFile(path) ? RewriteOutcome::NotWritten : RewriteOutcome::Missing;
    } else if (!MayRewriteFromRawRead(*head)) {
        result.refusal = RewriteOutcome::LeftUnchanged;
    }
    if (!head) {
        result.hasText = false;
        return result;
    }
    {
        // A text cut to the buffer is what the refusal above is for, not a warning to the user.
        SilencedErrors silenced;
        ReadTextIntoArea(catalogue.textBuffer, *head);
    }
    result.bytes = std::move(*head);
    result.text = AreaText(catalogue.textBuffer, 0);
    return result;
}

bool IsPresentFile(const Text& path) {
    const std::optional<std::uint32_t> attributes = AttributesIfPresent(path);
    return attributes && (*attributes & kAttributeDirectory) == 0;
}

bool IsWritablePresentFile(const Text& path) {
    const std::optional<std::uint32_t> attributes = AttributesIfPresent(path);
    if (!attributes || (*attributes & kAttributeDirectory) != 0) return false;
    ClearReadOnlyBitOf(path, *attributes);
    return true;
}

namespace {

// The old bytes of a rewrite go back over the plugin file; the backup goes only once they are
// back, so that a failure here leaves it for the next start.
bool PutBackFromBackup(const Text& path, const Text& backupPath, const Text& oldBytes) {
    return OverwriteFile(path, oldBytes) == 0 && ErasePath(backupPath) == 0;
}

// Backups of interrupted rewrites in the plugin folder, by file name. The search also matches
// short names made up for longer names, so each name is checked itself.
std::vector<Text> RewriteBackupsInPluginFolder() {
    std::vector<Text> names;
    for (const Text& name : ListFolder(catalogue.pluginFolder, "*" + Text(kRewriteBackupSuffix)).files) {
        if (IsRewriteBackupName(name)) names.push_back(name);
    }
    return names;
}

// The plugin file gets its old bytes back in place; one that is gone gets the backup's name.
bool RestoreFromBackup(const Text& backupName) {
    const Text backupPath = PluginPath(backupName);
    const Text path = PluginPath(BackedUpFileName(backupName));
    if (!IsWritablePresentFile(path)) return RenamePath(backupPath, path) == 0;
    const std::optional<Text> oldBytes = ReadFileHead(backupPath, static_cast<std::size_t>(kTextBufferSize));
    if (!oldBytes) return false;
    return PutBackFromBackup(path, backupPath, *oldBytes);
}

}  // namespace

// The presence test keeps the rewrite from creating a file that was deleted since it was read,
// and from writing into a folder that took its name.
RewriteOutcome RewritePluginFile(const Text& path, const Text& oldBytes, const Text& bytes) {
    if (!IsWritablePresentFile(path)) return RewriteOutcome::Missing;
    if (oldBytes == bytes) return RewriteOutcome::Rewritten;

    const Text backupPath = RewriteBackupName(path);
    if (WriteNewFile(backupPath, oldBytes) != 0) return RewriteOutcome::NotWritten;
    if (OverwriteFile(path, bytes) != 0) {
        PutBackFromBackup(path, backupPath, oldBytes);
        return RewriteOutcome::NotWritten;
    }
    // A backup left behind would undo this rewrite at the next start.
    if (EraseOwnFile(backupPath) != 0) {
        PutBackFromBackup(path, backupPath, oldBytes);
        return RewriteOutcome::NotWritten;
    }
    return RewriteOutcome::Rewritten;
}

void RestoreInterruptedRewrites() {
    std::vector<Text> restored;
    std::vector<Text> kept;
    for (const Text& backupName : RewriteBackupsInPluginFolder()) {
        (RestoreFromBackup(backupName) ? restored : kept).push_back(backupName);
    }
    if (restored.empty() && kept.empty()) return;
    Text text;
    std::vector<Text> restoredFiles;
    for (const Text& name : restored) restoredFiles.push_back(BackedUpFileName(name));
    AddNamesParagraph(text, Say(phrases::kRestoredInterruptedRewrites), restoredFiles);
    AddNamesParagraph(text, Say(phrases::kInterruptedRewritesKept), kept);
    ShowCommandMessage(text, kept.empty() ? kInformationBox : kExclamationBox);
}

FolderListing ListFolder(const Text& folder, const Text& pattern) {
    FolderListing listing;
    TakeIoStatus();
    Text entry = FindFirstEntry(folder + "\\" + pattern);
    while (TakeIoStatus() == kIoOk) {
        if (!IsFolderEntry(entry)) {
            listing.files.push_back(entry);
        } else if (entry != "[.]" && entry != "[..]") {
            listing.folders.push_back(entry.substr(1, entry.size() - 2));
        }
        entry = FindNextEntry();
    }
    return listing;
}

int RenamePath(const Text& from, const Text& to) {
    TakeIoStatus();
    AssignFileName(kSlot, from);
    RenameFile(kSlot, to);
    return TakeIoStatus();
}

int ErasePath(const Text& path) {
    return IsWritablePresentFile(path) ? EraseOwnFile(path) : kErrorFileNotFound;
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
