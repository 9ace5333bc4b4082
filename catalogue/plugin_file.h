// Reading a plugin file whole through the text buffer and rewriting it in place, renaming and
// erasing files through file slot 1: the file side shared by every catalogue operation.
#pragma once

#include <optional>

#include "toolkit/text.h"

// What a rewrite of a plugin file came to.
enum class RewriteOutcome {
    Rewritten,
    NotNeeded,      // the file already had the wanted form and was left alone
    LeftUnchanged,  // longer than the text buffer or holding a NUL byte: never written back
    NotWritten,     // the file is in use or could not be created for writing
    Missing,        // the file is gone since the listing: deleted, renamed, or a folder took its name
};

// A plugin file's text as read through the text buffer (line ends widened, CR LF appended),
// and whether writing that text back would keep the whole file.
struct PluginFileText {
    Text text;
    // Empty when the text may be written back. LeftUnchanged when the file holds a NUL byte or
    // its text did not fit the buffer and was cut; NotWritten when another program has the
    // file open (the text is read all the same when the program shares it for reading);
    // Missing when there is no such file (the text is then empty).
    std::optional<RewriteOutcome> refusal;
    // Whether the text was read; not when the file is missing or held open without sharing.
    bool hasText = true;
};

// Reads the file named by path (absolute, or relative to the current folder). Never raises an
// error and never creates the file.
PluginFileText ReadPluginFile(const Text& path);

// Whether path names a file (not a folder): false once it was deleted, renamed away or
// replaced by a folder of the same name.
bool IsPresentFile(const Text& path);

// Clears the read-only bit of the file when it is set, and only that bit, through slot 1.
// A file that vanished or whose attributes cannot be changed is left as it is, silently: the
// write or erase that follows fails and says so.
void ClearReadOnlyBit(const Text& path);

// Overwrites the file in place with text followed by CR LF, after clearing its read-only bit.
// In place on purpose: on FAT a new directory entry would change the order the user saved.
// Rewritten, NotWritten when the file could not be opened or written, Missing when it is gone
// (no file is created then).
RewriteOutcome RewritePluginFile(const Text& path, const Text& text);

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
