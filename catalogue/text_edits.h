// Changing a plugin's display name in its file and its row, and converting plugin files from
// Unix to DOS line ends, with the commands that report the result.
#pragma once

#include <functional>

#include "catalogue/plugin_file.h"
#include "toolkit/text.h"

// The input dialog: returns what the user typed, or the empty text when cancelled.
using AskText = std::function<Text(const Text& prompt, const Text& title, const Text& initial)>;

// Asks for a new name for the plugin of the current row and writes it into the name attribute
// of its file and into the row. Cancelling or a name shorter than two characters changes
// nothing and does not read the file. A file that cannot be rewritten whole, or whose name
// attribute does not hold the listed name, is left unchanged with a message, and the row keeps
// its name. A file gone since the listing is reported before the dialog opens.
void RenamePlugin(const AskText& ask);

// Rewrites the plugin file of the row with every LF turned into CR LF, unless its first line
// already ends with CR LF (NotNeeded). A file longer than the text buffer allows, or holding a
// NUL byte, is left unchanged; a file gone since the listing is Missing. The read-only bit is
// cleared in every case but a vanished file.
RewriteOutcome ConvertToDosLineEnds(int row);

// The commands: the current row or every row, each followed by one message box.
void ConvertCurrentPlugin();
void ConvertAllPlugins();
