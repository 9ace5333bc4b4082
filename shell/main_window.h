// The main window: its controls, fonts and tooltips, the first fill of the plugin list, the
// Move buttons that follow the selection and the Show Hidden caption.
#pragma once

// Builds the main window off screen, fills it and places it centred on the screen.
void BuildMainWindow();

// Reads the plugin-list selection and keeps Move Up and Move Down enabled only where a move
// is possible.
void UpdateMoveButtons();

// Counts the hidden plugin files, shows the count on Show Hidden and enables the button only
// when there is something to show.
void UpdateShowHiddenButton();
