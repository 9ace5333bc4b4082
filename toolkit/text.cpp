// The text functions: positions, pieces, replacement, case and trimming of Windows-1252 texts.
#include "toolkit/text.h"

#include <array>
#include <cstring>

#include "toolkit/errors.h"
#include "toolkit/value.h"

namespace {

using CaseTable = std::array<unsigned char, 256>;

// Upper-case letters of Windows-1252 by their lower-case partner. Built into tables instead of
// asking the C library so that the result never depends on the locale in force.
struct CasePair {
    unsigned char lower;
    unsigned char upper;
};

constexpr CaseTable BuildCaseTable(bool toUpper) {
    CaseTable table{};
    for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
    auto map = [&](int lower, int upper) {
        if (toUpper)
            table[lower] = static_cast<unsigned char>(upper);
        else
            table[upper] = static_cast<unsigned char>(lower);
    };
    for (int c = 'a'; c <= 'z'; ++c) map(c, c - 0x20);
    // Accented letters: the lower-case block sits 0x20 above the upper-case one; 0xF7 and 0xD7
    // are the division and multiplication signs, and 0xDF (sharp s) has no single-byte capital.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) map(c, c - 0x20);
    constexpr CasePair extra[] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
    for (const CasePair& p : extra) map(p.lower, p.upper);
    return table;
}

constexpr CaseTable kUpper = BuildCaseTable(true);
constexpr CaseTable kLower = BuildCaseTable(false);

Text MapBytes(const Text& text, const CaseTable& table) {
    Text result = text;
    for (char& c : result) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return result;
}

bool IsTrimmed(unsigned char c) {
    return c == 9 || c == 32 || c == 10 || c == 13 || c == 160;
}

std::int64_t Length(const Text& text) {
    return static_cast<std::int64_t>(text.size());
}

}  // namespace

Text IntToText(std::int64_t n) {
    const Text digits = std::to_string(n);
    return SpaceText(NumberWidth() - Length(digits)) + digits;
}

Text LeftOf(const Text& text, std::int64_t n) {
    if (n <= 0) return Text();
    if (n >= Length(text)) return text;
    return text.substr(0, static_cast<std::size_t>(n));
}

Text RightOf(const Text& text, std::int64_t n) {
    if (n <= 0 || n > Length(text)) return Text();
    return text.substr(static_cast<std::size_t>(Length(text) - n));
}

Text MidOf(const Text& text, std::int64_t start, std::int64_t count) {
    if (count <= 0 || start <= 0 || start > Length(text)) return Text();
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

Text DeleteChars(const Text& text, std::int64_t position, std::int64_t count) {
    if (position < 1) {
        RaiseFatalError(kErrStringIndex);
        return text;
    }
    if (count <= 0 || position > Length(text)) return text;
    Text result = text;
    result.erase(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(count));
    return result;
}

std::int64_t FindText(const Text& search, const Text& text) {
    if (search.empty()) return 0;
    const std::size_t at = text.find(search);
    return at == Text::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

Text FieldOf(const Text& text, std::int64_t n, const Text& separator) {
    if (n < 1) {
        RaiseFatalError(kErrSubstringNumber);
        return Text();
    }
    if (separator.empty() || text.find(separator) == Text::npos) return n == 1 ? text : Text();
    std::size_t start = 0;
    for (std::int64_t skipped = 1; skipped < n; ++skipped) {
        const std::size_t at = text.find(separator, start);
        if (at == Text::npos) return Text();
        start = at + separator.size();
    }
    const std::size_t end = text.find(separator, start);
    return text.substr(start, end == Text::npos ? Text::npos : end - start);
}

Text ReplaceAll(const Text& text, const Text& search, const Text& replacement) {
    if (search.empty()) return text;
    Text result;
    std::size_t from = 0;
    for (std::size_t at = text.find(search); at != Text::npos; at = text.find(search, from)) {
        result.append(text, from, at - from);
        result += replacement;
        from = at + search.size();
    }
    result.append(text, from, Text::npos);
    return result;
}

Text UpperCase(const Text& text) {
    return MapBytes(text, kUpper);
}

Text LowerCase(const Text& text) {
    return MapBytes(text, kLower);
}

Text TrimText(const Text& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && IsTrimmed(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

Text CharText(std::int64_t code) {
    return Text(1, static_cast<char>(static_cast<unsigned char>(code & 0xFF)));
}

int CharCode(const Text& text) {
    return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

Text RepeatText(const Text& text, std::int64_t count) {
    Text result;
    if (count <= 0 || text.empty()) return result;
    result.reserve(text.size() * static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) result += text;
    return result;
}

Text SpaceText(std::int64_t n) {
    return n <= 0 ? Text() : Text(static_cast<std::size_t>(n), ' ');
}

bool TextEquals(const Text& a, const Text& b) {
    return std::strcmp(a.c_str(), b.c_str()) == 0;
}

Text Concatenate(const Text& a, const Text& b) {
    return a + b;
}

bool Contains(const Text& text, const Text& search) {
    return FindText(search, text) > 0;
}
