// What the plugin catalogue works on: the plugin folder, the mode of saving, the two list
// boxes of plugin rows and the shared text buffer. Filled by the shell at start-up and used
// by the catalogue's operations; program thread only.
#pragma once

#include <functional>

#include "toolkit/handle.h"
#include "toolkit/text.h"
#include "toolkit/value.h"

enum class Language : int { English = 0, German = 1 };

struct CatalogueState {
    Language language = Language::English;
    Text pluginFolder;        // plugin files are addressed as pluginFolder + "\" + file name
    Text tempFolder;          // beside pluginFolder, same name + ".quorrel-temp": copy-mode saves park files there
    Text startFolder;         // current folder at start; listing returns to it
    int ntfsMode = 0;         // 0: copy mode (FAT), 1: rename mode (any other file system)

    Handle pluginList = 0;    // visible list of display names
    Handle fileList = 0;      // invisible list: row i holds the file name of plugin row i
    Text prefixLetter;        // letter of the prefixed names found by the last listing, or empty

    MemoryArea textBuffer;    // 32768 bytes: every plugin file is read whole into it
    Text pluginText;          // the plugin file being worked on between reading and writing

    // Lets the main window follow a changed selection (enables Move Up / Move Down).
    std::function<void()> updateMoveButtons;
};

extern CatalogueState catalogue;
