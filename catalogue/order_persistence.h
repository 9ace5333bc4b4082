// Writing the order of the plugin list to disk (moving the files out and back in copy mode,
// prefixing their names in rename mode) and taking the prefixes off again.
#pragma once

// Writes the order of every row, from row 0 to the last, by the mode of the plugin folder's
// file system, then reports in a message box whether everything went through.
void SavePluginOrder();

// Rename mode: gives every listed prefixed plugin file and its image its name without the
// prefix again and rebuilds the list. Shows a message only when a rename failed.
void RestoreOriginalNames();

// Moves every file that an interrupted copy-mode save left in the temporary folder, and the
// plugin files left in the "temp" folder inside the plugin folder that earlier versions used,
// back into the plugin folder, never over an entry of the same name; removes a folder that this
// empties, and tells the user in one message which files came back and which are still there.
// Does nothing when neither folder holds such a file. Run at start-up, before the list is
// filled; a save recovers the same way before it moves anything.
void RecoverFromTemporaryFolder();
