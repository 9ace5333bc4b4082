#include "catalogue/prefixed_names.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

const Text kPrefixMark = "##";

Text WithoutLast(const Text& name, std::int64_t count) {
    return LeftOf(name, static_cast<std::int64_t>(name.size()) - count);
}

}  // namespace

Text BaseNameOf(const Text& fileName) {
    return WithoutLast(fileName, 4);
}

bool HasPrefix(const Text& fileName) {
    return Contains(fileName, kPrefixMark);
}

Text UnprefixedName(const Text& fileName) {
    return FieldOf(fileName, 2, kPrefixMark);
}

Text RowNumberText(std::int64_t row, std::int64_t rowCount) {
    // Numbers of different widths would sort row 100 between rows 10 and 11.
    const std::size_t lastDigits = std::to_string(std::max<std::int64_t>(rowCount - 1, 0)).size();
    const Text digits = std::to_string(row);
    const std::size_t width = std::max<std::size_t>(2, lastDigits);
    return digits.size() >= width ? digits : Text(width - digits.size(), '0') + digits;
}

PrefixedNames PrefixedNamesFor(const Text& letter, const Text& rowNumber, const Text& fileName,
                               const Text& imageName) {
    const Text head = letter + rowNumber + kPrefixMark;
    if (!HasPrefix(fileName)) {
        return {head + fileName, imageName.empty() ? Text() : head + imageName};
    }
    return {head + UnprefixedName(fileName),
            imageName.empty() ? Text() : head + UnprefixedName(imageName)};
}

Text HiddenNameOf(const Text& fileName) {
    return WithoutLast(fileName, 3) + "hid";
}

Text RestoredNameOf(const Text& hiddenName) {
    return WithoutLast(hiddenName, 3) + "src";
}

Text DeleteImageBase(const Text& pluginPath) {
    return WithoutLast(pluginPath, 4);
}

Text EditorCommandLine(const Text& path) {
    return "notepad.exe \"" + path + "\"";
}

std::vector<Text> SaveImageExtensions() {
    return {".gif", ".png", ".jpg", ".ico"};
}

std::vector<Text> DeleteImageExtensions() {
    std::vector<Text> extensions;
    for (std::int64_t k = 1;; ++k) {
        Text field = FieldOf(kDeleteImageExtensionText, k, "#");
        if (field.empty()) return extensions;
        extensions.push_back(std::move(field));
    }
}
