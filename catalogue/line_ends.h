// The line-end rule of converting a plugin file from Unix to DOS line ends.
// Portable and pure: works on the file's bytes as read raw, without line-end translation.
#pragma once

#include "toolkit/text.h"

// Whether the text holds a bare LF, one without a CR directly before it, wherever it stands.
bool NeedsDosLineEnds(const Text& fileText);

// Every bare LF becomes CR LF; CR LF pairs, lone CRs and everything else stay as they are.
Text ToDosLineEnds(const Text& fileText);
