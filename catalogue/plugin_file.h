// Reading a plugin file whole through the text buffer and rewriting it in place, renaming and
// erasing files through file slot 1: the file side shared by every catalogue operation.
#pragma once

#include <optional>
#include <vector>

#include "toolkit/text.h"

// What a rewrite of a plugin file came to.
enum class RewriteOutcome {
    Rewritten,
    NotNeeded,      // the file already had the wanted form and was left alone
    LeftUnchanged,  // longer than the text buffer or holding a NUL byte: never written back
    NotWritten,     // the file is in use or could not be created for writing
    Missing,        // the file is gone since the listing: deleted, renamed, or a folder took its name
};

// A plugin file as read: its bytes as they are on disk, which every rewrite starts from, and the
// text read through the text buffer (line ends widened, CR LF appended), which the listing shows.
struct PluginFileText {
    Text bytes;
    Text text;
    // Empty when the bytes may be rewritten. LeftUnchanged when the file holds a NUL byte or does
    // not fit the text buffer; NotWritten when another program has the file open (it is read all
    // the same when the program shares it for reading); Missing when there is no such file.
    std::optional<RewriteOutcome> refusal;
    // Whether the file was read; not when it is missing or held open without sharing.
    bool hasText = true;
};

// Reads the file named by path (absolute, or relative to the current folder). Never raises an
// error, not even for a text cut to the buffer, and never creates the file.
PluginFileText ReadPluginFile(const Text& path);

// Whether path names a file (not a folder): false once it was deleted, renamed away or
// replaced by a folder of the same name.
bool IsPresentFile(const Text& path);

// Whether path names a file (not a folder), as IsPresentFile; a read-only file has that bit, and
// only that bit, cleared through slot 1 first. One look at the attributes serves both. A file
// whose attributes cannot be changed is left as it is, silently: the write or erase that follows
// fails and says so.
bool IsWritablePresentFile(const Text& path);

// Writes bytes over the plugin file in place, after clearing its read-only bit, so that the file
// keeps its directory entry: on FAT a new entry would change the order the user saved. oldBytes
// are the file's bytes as the caller read them (whole: ReadPluginFile refused nothing). The file
// is always whole: the old bytes are first kept in a backup file beside it, written to disk before
// the plugin is touched; a write that fails puts the old bytes back, and a program that dies in
// the middle leaves the backup for RestoreInterruptedRewrites at the next start.
// Rewritten (also when the bytes were already on disk), NotWritten when the file stayed as it was
// (in use, or no room for the backup or the new bytes), Missing when it is gone (nothing is
// created then).
RewriteOutcome RewritePluginFile(const Text& path, const Text& oldBytes, const Text& bytes);

// Puts the old bytes back into every plugin file whose rewrite was interrupted (a backup is still
// beside it) and says which ones, in one message; says nothing when there were none.
void RestoreInterruptedRewrites();

// The files and folders of a folder whose names match the pattern, without "." and "..", in the
// order the file system returns them.
struct FolderListing {
    std::vector<Text> files;
    std::vector<Text> folders;
};
FolderListing ListFolder(const Text& folder, const Text& pattern);

// Renames (moves) a file; never replaces an existing target. Returns the Win32 error code,
// 0 on success.
int RenamePath(const Text& from, const Text& to);

// Erases a file after clearing its read-only bit. Returns the Win32 error code, 0 on success.
// Never touches a folder: a folder in the file's place gives ERROR_FILE_NOT_FOUND.
int ErasePath(const Text& path);

// plugin folder + "\" + file name.
Text PluginPath(const Text& fileName);

// Whether a listing entry is a folder: the enumeration returns folders as "[name]".
bool IsFolderEntry(const Text& entry);

// Why a file was not rewritten, for a message that lists several files; empty otherwise.
Text RewriteFailureNote(RewriteOutcome outcome);

// The message about one file that was left unchanged or could not be written.
Text RewriteProblemText(RewriteOutcome outcome, const Text& fileName);
