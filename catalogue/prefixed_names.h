// File names of rename mode, hiding and deleting: prefixes, base names, image extensions,
// and the editor's command line.
// Portable and pure: the operations that rename or delete files build their names here.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/text.h"

// A plugin file name without its last four characters (google.src gives google).
Text BaseNameOf(const Text& fileName);

// Whether a file name carries the prefix a save in rename mode gives: a letter, two or more
// digits and "##" (K00##google.src). A "##" of the name's own, as in web##tools.src, is not one.
bool HasPrefix(const Text& fileName);

// The name after its prefix (K00##google.src gives google.src, K00##web##tools.src gives
// web##tools.src); the name itself when it has none.
Text UnprefixedName(const Text& fileName);

// Whether a listed name belongs to a search pattern of the form "*.EXT": its own name ends in
// ".EXT", in any case. A search also matches the short names the file system makes up for longer
// extensions (google.src~, x.srcx), which the browser does not load.
bool MatchesExtensionPattern(const Text& fileName, const Text& pattern);

// The backup a rewrite keeps of a plugin file's old bytes until the new ones are on disk, and the
// plugin file a backup belongs to. The backup's name matches no plugin pattern.
inline constexpr char kRewriteBackupSuffix[] = ".quorrel-backup";
Text RewriteBackupName(const Text& fileName);
bool IsRewriteBackupName(const Text& name);
Text BackedUpFileName(const Text& backupName);

// The row number of a save, zero-padded to one width for the whole list so that the names
// sort in row order: two digits, more when the last row index needs them.
Text RowNumberText(std::int64_t row, std::int64_t rowCount);

// New names of a plugin file and its image for a save: letter, row number, "##" and the name
// without its old prefix. Whether there is an old prefix is decided by the plugin file name,
// for both. image is empty when the plugin has no image.
struct PrefixedNames {
    Text plugin;
    Text image;
};
PrefixedNames PrefixedNamesFor(const Text& letter, const Text& rowNumber, const Text& fileName,
                               const Text& imageName);

// A hidden plugin's name (last three characters "hid") and the name it is restored to ("src").
Text HiddenNameOf(const Text& fileName);
Text RestoredNameOf(const Text& hiddenName);

// The path before which a delete looks for the image: the plugin path without its last four
// characters (".src"), so images are looked for beside the plugin by its own base name.
Text DeleteImageBase(const Text& pluginPath);

// The command line that opens a file in the system text editor; the path is quoted, so a
// path with blanks names the one file.
Text EditorCommandLine(const Text& path);

// The extensions tried beside a base name, in order: a save takes the first image found with
// ".gif", ".png", ".jpg", ".ico"; a delete the first non-empty one of the fields of
// kDeleteImageExtensionText.
inline constexpr char kDeleteImageExtensionText[] = ".png#.gif#.jpg#.jpeg#.jpe#.ico#.bmp";
std::vector<Text> SaveImageExtensions();
std::vector<Text> DeleteImageExtensions();
