// Writing the order of the plugin list to disk (moving the files out and back in copy mode,
// prefixing their names in rename mode) and taking the prefixes off again.
#pragma once

// Writes the order of every row, from row 0 to the last, by the mode of the plugin folder's
// file system, then reports in a message box whether everything went through.
void SavePluginOrder();

// Rename mode: gives every listed prefixed plugin file and its image its name without the
// prefix again and rebuilds the list. Shows a message only when a rename failed.
void RestoreOriginalNames();

// Moves plugin files that an interrupted copy-mode save left in the temporary folder back into
// the plugin folder, never over a file of the same name, removes the folder when it is empty
// then, and tells the user in one message which plugins came back and which are still there.
// Does nothing when the temporary folder holds no plugin file. Run at start-up, before the list
// is filled; a save recovers the same way before it moves anything.
void RecoverFromTemporaryFolder();
