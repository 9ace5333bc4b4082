// Text rules of a plugin file: normalising, reading the display name, unpinning, renaming,
// and whether a file's bytes may be rewritten.
// Portable and pure: the file operations read and write; these functions only decide.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/text.h"

// Every plugin file is read whole into a block of this size; its text ends with a NUL
// inside it, so a text holds at most kTextBufferSize - 1 characters.
inline constexpr std::int64_t kTextBufferSize = 32768;

// ---- Listing -------------------------------------------------------------------------

// "NAME" and "Name" to "name", one blank before and up to two blanks after every "="
// removed, all over the text (the file keeps this form once it is rewritten).
Text NormalizePluginText(const Text& text);

// The display name of a plugin and the character that follows the first "name=" (the quote
// character). Both empty when the text holds no "name=".
struct DisplayName {
    Text name;
    Text quote;
};
DisplayName ExtractDisplayName(const Text& normalizedText);

// The names the browser pins to the top of its list, compared exactly and with case.
bool IsPinnedName(const Text& name);

// A pinned name with a blank appended (the blank becomes "_" when it is the quote character),
// and the normalised text with every "name=" q name q turned into "name=" q newName q: the
// whole text is what the file is rewritten with.
struct UnpinnedPlugin {
    Text name;
    Text text;
};
UnpinnedPlugin UnpinPluginText(const Text& name, const Text& quote, const Text& normalizedText);

// A plugin gets a row only when its display name holds more than blanks and line ends.
bool GetsPluginRow(const Text& displayName);

// The prefix letter in use after listing a row with this file name: the file name's first
// character when it carries a save's prefix, else the letter in use unchanged.
Text NextPrefixLetter(const Text& letterInUse, const Text& fileName);

// ---- Renaming ------------------------------------------------------------------------

// Result of renaming a plugin's text: the name the row shows, the text to write back and
// whether the old name attribute occurred (when not, the text changed only by normalising).
struct PluginRename {
    Text newName;
    Text text;
    bool attributeFound = false;
};

// Whether a typed name renames at all: not when it is shorter than two characters after a
// pinned name got its blank (a cancelled dialog gives the empty text).
bool IsUsableNewName(const Text& typedName);

// readText: the file as read; listedName: the row's display name, untrimmed; typedName: what
// the user entered (empty when cancelled). Nothing when the rename is to stop: the adjusted
// name is shorter than two characters. The text is normalised with one "= " pass fewer than
// NormalizePluginText, so a name attribute with two blanks after "=" is not matched.
std::optional<PluginRename> RenamePluginText(const Text& readText, const Text& listedName,
                                             const Text& typedName);

// ---- Buffer limits -------------------------------------------------------------------

// Whether a file read raw into the text buffer (bytes unchanged, text up to the first NUL) may
// be rewritten from that text: it holds no NUL byte and leaves room for the closing NUL.
// Here too the first kTextBufferSize bytes of a longer file decide as well as the whole file.
bool MayRewriteFromRawRead(const Text& fileBytes);
