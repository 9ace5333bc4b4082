#include "shell/startup_rules.h"

#include <cstdlib>
#include <initializer_list>

namespace {

bool IsOneOf(const Text& word, std::initializer_list<const char*> words) {
    for (const char* candidate : words) {
        if (word == candidate) return true;
    }
    return false;
}

// Copy mode parks files beside the plugin folder, in a folder of the same name with this ending:
// inside the plugin folder, its own directory entry would stand between the files.
const char* const kTemporaryFolderSuffix = ".quorrel-temp";

Text WithTrailingBackslash(const Text& folder) {
    return (!folder.empty() && folder.back() == '\\') ? folder : folder + "\\";
}

}  // namespace

std::optional<Language> LanguageFromParameter(const Text& parameter) {
    const Text word = LowerCase(parameter);
    if (IsOneOf(word, {"d", "-d", "/d", "deutsch", "-deutsch", "/deutsch"})) return Language::German;
    if (IsOneOf(word, {"e", "-e", "/e", "english", "-english", "/english"})) return Language::English;
    return std::nullopt;
}

Language LanguageFromCountry(const Text& country) {
    return IsOneOf(LowerCase(country), {"deutschland", "schweiz", "österreich"}) ? Language::German
                                                                                 : Language::English;
}

bool IsFatFileSystem(const Text& fileSystemName) { return Contains(fileSystemName, "FAT"); }

bool NamesDriveFolder(const Text& folder) { return Contains(folder, ":\\"); }

DerivedFolders DeriveFolders(const Text& configuredFolder) {
    DerivedFolders result;
    if (!Contains(LowerCase(configuredFolder), "searchplugins")) {
        // A folder typed into the settings file by hand may lack the backslash that the
        // folder browser always adds; the subfolder must not be glued to its name.
        const Text parent = WithTrailingBackslash(configuredFolder);
        result.pluginFolder = parent + "searchplugins";
        result.tempFolder = parent + "searchplugins" + kTemporaryFolderSuffix;
        result.configuredFolder = parent + "searchplugins";
        return result;
    }
    // The plugin folder keeps a backslash that the browser added: the paths built from it then
    // hold a doubled backslash, which the file functions accept.
    result.pluginFolder = configuredFolder;
    result.configuredFolder = configuredFolder;
    if (!result.configuredFolder.empty() && result.configuredFolder.back() == '\\') {
        result.configuredFolder.pop_back();
    }
    result.tempFolder = result.configuredFolder + kTemporaryFolderSuffix;
    return result;
}

int KeyStateValue(std::intptr_t getKeyStateResult) {
    return static_cast<std::int16_t>(getKeyStateResult & 0xFFFF);
}

bool KeyStateIsDown(int state) { return std::abs(state) > 100; }

bool KeyStateIsUp(int state) { return std::abs(state) < 100; }
