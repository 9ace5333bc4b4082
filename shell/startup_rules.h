// Start-up's decisions as pure rules over texts and numbers: the language words, the
// country rule, the file-system rule, the folder rules and the key-state rule.
#pragma once

#include <cstdint>
#include <optional>

#include "catalogue/catalogue_state.h"
#include "toolkit/text.h"

// The language a command-line word asks for, compared whole after lower-casing; nothing
// when the word is not one of ours.
std::optional<Language> LanguageFromParameter(const Text& parameter);

// German for the country names of the German-speaking countries (any letter case, umlauts
// included), English for everything else, the empty text too.
Language LanguageFromCountry(const Text& country);

// A file-system name with "FAT" anywhere (FAT, FAT32) means copy mode.
bool IsFatFileSystem(const Text& fileSystemName);

// A folder the program can work in names a drive: it holds ":\". A cancelled browser (empty),
// a network path or a damaged setting does not.
bool NamesDriveFolder(const Text& folder);

// The three folders derived from the configured folder.
struct DerivedFolders {
    Text pluginFolder;      // the folder whose plugins are listed
    Text tempFolder;        // where copy mode parks the files while saving: beside the plugin folder
    Text configuredFolder;  // what is written back to the settings file
};
// A folder without "searchplugins" in its name is the installation or profile folder, whose
// searchplugins subfolder is meant; otherwise it is the searchplugins folder itself.
DerivedFolders DeriveFolders(const Text& configuredFolder);

// GetKeyState's result as returned through a call by name: only its low 16 bits are the
// function's SHORT result. A key is down when the absolute state exceeds 100, up below 100.
int KeyStateValue(std::intptr_t getKeyStateResult);
bool KeyStateIsDown(int state);
bool KeyStateIsUp(int state);
