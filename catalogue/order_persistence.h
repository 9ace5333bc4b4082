// Writing the order of the plugin list to disk (moving the files out and back in copy mode,
// prefixing their names in rename mode) and taking the prefixes off again.
#pragma once

// Writes the order of every row, from row 0 to the last, by the mode of the plugin folder's
// file system, then reports in a message box whether everything went through.
void SavePluginOrder();

// Rename mode: gives every listed prefixed plugin file and its image its name without the
// prefix again and rebuilds the list. Shows a message only when a rename failed.
void RestoreOriginalNames();
