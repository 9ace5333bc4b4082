// The hidden-plugins dialog: a modal list of the hidden plugin files, from which the user
// restores one at a time with the restore button or the hide keys of the main window.
#pragma once

// Runs the dialog until OK, Enter or Escape closes it. Every restore updates the Show Hidden
// button and rebuilds the main plugin list at once.
void HiddenPluginsDialog();
