// Disabling and enabling the update attributes of plugin files, for one row or all rows,
// and the commands that report the result.
#pragma once

#include "catalogue/plugin_file.h"

// Rewrites the plugin file of the row with a "#" before update=, updateicon= and
// updatecheckdays= (disable) or without it (enable). A file that does not fit the text buffer
// or holds a NUL byte is left unchanged.
RewriteOutcome DisableUpdateLines(int row);
RewriteOutcome EnableUpdateLines(int row);

// The commands: the current row or every row, each followed by one message box.
void DisableUpdatesOfCurrentPlugin();
void EnableUpdatesOfCurrentPlugin();
void DisableUpdatesOfAllPlugins();
void EnableUpdatesOfAllPlugins();
