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
};

// A plugin file's text as read through the text buffer (line ends widened, CR LF appended),
// and whether writing that text back would keep the whole file.
struct PluginFileText {
    Text text;
    // Empty when the text may be written back. LeftUnchanged when the file holds a NUL byte or
    // its text did not fit the buffer and was cut; NotWritten when the file could not be read
    // raw to find out (it is in use).
    std::optional<RewriteOutcome> refusal;
};

// Reads the file named by path (absolute, or relative to the current folder). A file that
// cannot be read raises the toolkit's runtime error 300.
PluginFileText ReadPluginFile(const Text& path);

// Clears the read-only bit of the file named in slot 1 when it is set, and only that bit.
void ClearReadOnlyBit();

// Overwrites the file in place with text followed by CR LF, after clearing its read-only bit.
// In place on purpose: on FAT a new directory entry would change the order the user saved.
// Returns false when the file could not be created or written.
bool RewritePluginFile(const Text& path, const Text& text);

// Renames (moves) a file; never replaces an existing target. Returns the Win32 error code,
// 0 on success.
int RenamePath(const Text& from, const Text& to);

// Erases a file after clearing its read-only bit. Returns the Win32 error code, 0 on success.
int ErasePath(const Text& path);

// plugin folder + "\" + file name.
Text PluginPath(const Text& fileName);

// Whether a listing entry is a folder: the enumeration returns folders as "[name]".
bool IsFolderEntry(const Text& entry);

// Why a file was not rewritten, for a message that lists several files; empty otherwise.
Text RewriteFailureNote(RewriteOutcome outcome);

// The message about one file that was left unchanged or could not be written.
Text RewriteProblemText(RewriteOutcome outcome, const Text& fileName);
