#include "catalogue/prefixed_names.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

const Text kPrefixMark = "##";

Text WithoutLast(const Text& name, std::int64_t count) {
    return LeftOf(name, static_cast<std::int64_t>(name.size()) - count);
}

// The length of the prefix at the start of the name (letter, digits, "##"), 0 when there is none.
std::size_t PrefixLength(const Text& fileName) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (fileName.empty() || !isLetter(fileName[0])) return 0;
    std::size_t end = 1;
    while (end < fileName.size() && isDigit(fileName[end])) ++end;
    if (end < 3 || fileName.compare(end, kPrefixMark.size(), kPrefixMark) != 0) return 0;
    return end + kPrefixMark.size();
}

// Whether the name ends in the suffix, compared without case as the file system compares names.
bool EndsWithIgnoringCase(const Text& name, const Text& suffix) {
    return name.size() >= suffix.size() &&
           LowerCase(RightOf(name, static_cast<std::int64_t>(suffix.size()))) == LowerCase(suffix);
}

}  // namespace

Text BaseNameOf(const Text& fileName) {
    return WithoutLast(fileName, 4);
}

bool HasPrefix(const Text& fileName) {
    return PrefixLength(fileName) > 0;
}

Text UnprefixedName(const Text& fileName) {
    return fileName.substr(PrefixLength(fileName));
}

bool MatchesExtensionPattern(const Text& fileName, const Text& pattern) {
    return EndsWithIgnoringCase(fileName, MidOf(pattern, 2, static_cast<std::int64_t>(pattern.size())));
}

Text RewriteBackupName(const Text& fileName) {
    return fileName + kRewriteBackupSuffix;
}

bool IsRewriteBackupName(const Text& name) {
    const Text suffix = kRewriteBackupSuffix;
    return name.size() > suffix.size() && EndsWithIgnoringCase(name, suffix);
}

Text BackedUpFileName(const Text& backupName) {
    return WithoutLast(backupName, static_cast<std::int64_t>(Text(kRewriteBackupSuffix).size()));
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
