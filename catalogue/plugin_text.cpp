#include "catalogue/plugin_text.h"

#include "catalogue/prefixed_names.h"

namespace {

const Text kNameKey = "name=";

Text NameAttribute(const Text& quote, const Text& name) {
    return kNameKey + quote + name + quote;
}

// The text after the first "name=", up to the next "name=" or the end.
Text FirstNameRegion(const Text& text) {
    const std::int64_t first = FindText(kNameKey, text);
    if (first == 0) return Text();
    const Text rest = MidOf(text, first + static_cast<std::int64_t>(kNameKey.size()),
                            static_cast<std::int64_t>(text.size()));
    const std::int64_t second = FindText(kNameKey, rest);
    return second == 0 ? rest : LeftOf(rest, second - 1);
}

// The first four of the listing's five replacements: renaming makes a single "= " pass.
Text NormalizeForRename(const Text& text) {
    Text t = ReplaceAll(text, "NAME", "name");
    t = ReplaceAll(t, "Name", "name");
    t = ReplaceAll(t, " =", "=");
    return ReplaceAll(t, "= ", "=");
}

bool HoldsNul(const Text& bytes) {
    return bytes.find('\0') != Text::npos;
}

// A pinned name gets a blank appended, which keeps the browser from pinning it.
Text WithoutPin(const Text& typedName) {
    return IsPinnedName(typedName) ? typedName + " " : typedName;
}

}  // namespace

Text NormalizePluginText(const Text& text) {
    return ReplaceAll(NormalizeForRename(text), "= ", "=");
}

DisplayName ExtractDisplayName(const Text& normalizedText) {
    const Text region = FirstNameRegion(normalizedText);
    const Text quote = LeftOf(region, 1);
    const Text afterQuote = MidOf(region, 2, static_cast<std::int64_t>(region.size()));
    const std::int64_t close = FindText(quote, afterQuote);
    return {close == 0 ? afterQuote : LeftOf(afterQuote, close - 1), quote};
}

bool IsPinnedName(const Text& name) {
    return name == "Google" || name == "Yahoo" || name == "google" || name == "yahoo";
}

UnpinnedPlugin UnpinPluginText(const Text& name, const Text& quote, const Text& normalizedText) {
    const Text newName = ReplaceAll(name + " ", quote, "_");
    return {newName, ReplaceAll(normalizedText, NameAttribute(quote, name),
                                NameAttribute(quote, newName))};
}

bool GetsPluginRow(const Text& displayName) {
    return !TrimText(displayName).empty();
}

Text NextPrefixLetter(const Text& letterInUse, const Text& fileName) {
    return HasPrefix(fileName) ? LeftOf(fileName, 1) : letterInUse;
}

bool IsUsableNewName(const Text& typedName) {
    return WithoutPin(typedName).size() >= 2;
}

std::optional<PluginRename> RenamePluginText(const Text& readText, const Text& listedName,
                                             const Text& typedName) {
    const Text text = NormalizeForRename(readText);
    // Without any "name=" this takes the fifth character, as the position formula gives.
    const Text quote = MidOf(text, FindText(kNameKey, text) + 5, 1);

    if (!IsUsableNewName(typedName)) return std::nullopt;
    const Text newName = ReplaceAll(WithoutPin(typedName), quote, "_");

    const Text oldAttribute = NameAttribute(quote, listedName);
    const bool found = Contains(text, oldAttribute);
    return PluginRename{newName, ReplaceAll(text, oldAttribute, NameAttribute(quote, newName)),
                        found};
}

bool MayRewriteFromRawRead(const Text& fileBytes) {
    return !HoldsNul(fileBytes) &&
           static_cast<std::int64_t>(fileBytes.size()) <= kTextBufferSize - 1;
}
