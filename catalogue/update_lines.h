// The update-line toggle as text rules: disabling or enabling a plugin's update attributes.
// Portable and pure: the caller reads the plugin text, applies one of these and writes it back.
#pragma once

#include "toolkit/text.h"

// Both remove blanks next to every "=" of the text and bring the listed letter-case variants
// of update=, updateicon and updatecheckdays to lower case. Disabling then puts one "#" before
// each key (also when it had one already); enabling takes one "#" away.
Text TextWithUpdatesDisabled(const Text& pluginText);
Text TextWithUpdatesEnabled(const Text& pluginText);
