// The line-end rule of converting a plugin file from Unix to DOS line ends.
// Portable and pure: works on the file's bytes as read raw, without line-end translation.
#pragma once

#include "toolkit/text.h"

// Only the first LF decides: a CR directly before it means the file is DOS text already. A
// text without LF, or one that starts with LF, is converted too.
bool NeedsDosLineEnds(const Text& fileText);

// Every LF becomes CR LF, also one that follows a CR already; lone CRs stay.
Text ToDosLineEnds(const Text& fileText);
