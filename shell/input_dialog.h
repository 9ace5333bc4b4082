// The input dialog: a modal one-line text prompt, used to ask for a plugin's new name.
#pragma once

#include "toolkit/text.h"

// Shows the prompt and a text field holding the initial text, selected so that typing
// replaces it; at most 48 characters can be typed. Returns the field's text when confirmed
// with Enter or OK, the empty text when cancelled with Escape or Cancel.
Text InputDialog(const Text& prompt, const Text& title, const Text& initial);
