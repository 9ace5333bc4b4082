// Hiding a plugin (extension "hid"), restoring a hidden one, deleting a plugin with its image,
// and handing a plugin, the folder or the download page to other programs.
#pragma once

#include "toolkit/text.h"

// Every command on the current row first makes sure that its plugin file is still there; when
// it is gone (deleted, renamed, or a folder took its name) a message says so, the list is read
// again and nothing else happens.

// Renames the plugin file of the current row to the hidden extension and removes the row.
// When the rename fails the row stays and a message says why. Returns whether it was hidden.
bool HidePlugin();

// Renames the hidden plugin file hiddenName back to the plugin extension. When that fails, or
// the hidden file is gone, a message says why. Returns whether it was restored.
bool RestoreHiddenPlugin(const Text& hiddenName);

// Asks, then moves the plugin file of the current row and its first non-empty image beside it
// (the plugin's base name with an image extension) to the Recycle Bin, or deletes them where
// there is none, and removes the row. A plugin file that can be neither moved nor deleted keeps
// its row and its image, and the message names it.
void DeletePlugin();

// Opens the plugin file of the current row in the system text editor.
void EditPluginFile();

// Opens the plugin folder in the shell's explorer view.
void OpenPluginFolder();

// Opens the search-plugin download page in the user's browser.
void OpenDownloadPage();
