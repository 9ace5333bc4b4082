#include "toolkit/wide_names.h"

#include <cstdio>

namespace {

constexpr std::size_t kHexDigits = 4;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The code unit of the escape at pos, or nothing when no escape with four hex digits is there.
std::optional<char16_t> EscapedUnitAt(const Text& text, std::size_t pos) {
    if (text[pos] != kWideEscape || text.size() - pos <= kHexDigits) return std::nullopt;
    unsigned unit = 0;
    for (std::size_t i = 1; i <= kHexDigits; ++i) {
        const int digit = HexValue(text[pos + i]);
        if (digit < 0) return std::nullopt;
        unit = unit * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<char16_t>(unit);
}

Text EscapeOf(char16_t unit) {
    char hex[kHexDigits + 1];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(unit));
    return kWideEscape + Text(hex);
}

}  // namespace

Text EncodeWideName(const WideText& name, const AnsiOfUnit& ansiOf) {
    Text text;
    for (const char16_t unit : name) {
        const std::optional<Text> ansi =
            unit == static_cast<char16_t>(kWideEscape) ? std::nullopt : ansiOf(unit);
        text += ansi ? *ansi : EscapeOf(unit);
    }
    return text;
}

WideText DecodeWideName(const Text& name, const WideOfAnsi& wideOf) {
    const Text text = name.c_str();
    WideText wide;
    Text run;  // plain bytes are converted together: a double-byte code page needs both bytes
    auto endRun = [&] {
        if (!run.empty()) wide += wideOf(run);
        run.clear();
    };
    for (std::size_t pos = 0; pos < text.size();) {
        if (const std::optional<char16_t> unit = EscapedUnitAt(text, pos)) {
            endRun();
            wide += *unit;
            pos += 1 + kHexDigits;
        } else {
            run += text[pos++];
        }
    }
    endRun();
    return wide;
}

Text ReadableText(const Text& text) {
    Text readable;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] != kWideEscape) {
            readable += text[pos++];
            continue;
        }
        readable += '?';
        pos += EscapedUnitAt(text, pos) ? 1 + kHexDigits : 1;
    }
    return readable;
}
