// What start-up shows the user when it has no usable plugin folder, in both languages.
#pragma once

#include "catalogue/messages.h"

struct StartupTexts {
    Phrase noticeCaption;
    Phrase notice;          // where the browser keeps its plugins, before the folder browser
    Phrase browserPrompt;
};

extern const StartupTexts kStartupTexts;
