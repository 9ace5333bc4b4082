// The fatal message that ends the program when it cannot work at all (no plugin folder).
// Used by the shell's start-up.
#pragma once

#include "toolkit/text.h"

enum FatalErrorCode : int {
    kFatalNoPluginFolder = 1,
};

// The message text (English in both interface languages) and the caption "Fatal Error (#000n)".
Text FatalErrorText(int code);
Text FatalErrorCaption(int code);

// Shows the message with an error icon and ends the program.
[[noreturn]] void FatalError(int code);
