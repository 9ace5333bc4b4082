// The main window's captions and tooltips in both languages, and the Show Hidden caption.
#pragma once

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"

struct MainWindowTexts {
    Phrase hint;
    Phrase moveUp;
    Phrase moveDown;
    Phrase refresh;
    Phrase addPlugin;
    Phrase openFolder;
    Phrase sort;
    Phrase origFilenames;
    Phrase infoButton;
    Phrase groupBox;
    Phrase credit;

    Phrase origFilenamesTip;
    Phrase sortTip;
    Phrase openFolderTip;
    Phrase showHiddenTip;
    Phrase refreshTip;
    Phrase moveUpTip;
    Phrase moveDownTip;
    Phrase infoButtonTip;
    Phrase pluginListTip;
    Phrase addPluginTip;
};

extern const MainWindowTexts kMainWindowTexts;

extern const char* const kMainWindowTitle;

// The Show Hidden button's caption for a count of hidden plugin files.
Text ShowHiddenCaption(Language language, int hiddenCount);
