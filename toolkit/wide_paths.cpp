#include "toolkit/wide_paths.h"

#include <windows.h>

#include <cwchar>
#include <optional>

#include "toolkit/wide_names.h"

namespace {

std::optional<Text> AnsiOfCodeUnit(char16_t unit) {
    // Half of a surrogate pair has no ANSI form of its own in any code page.
    if (unit >= 0xD800 && unit <= 0xDFFF) return std::nullopt;
    const auto wide = static_cast<wchar_t>(unit);
    char bytes[8];
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;  // takes neither the flag nor the default-char report
    const int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                           sizeof bytes, nullptr, utf8 ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    return Text(bytes, static_cast<std::size_t>(length));
}

WideText WideOfAnsiBytes(const Text& bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return WideText();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return WideText(wide.begin(), wide.end());
}

}  // namespace

// The path as the wide functions take it; a plain ANSI path converts as the A functions would.
std::wstring WidePath(const Text& path) {
    const WideText wide = DecodeWideName(path, WideOfAnsiBytes);
    return std::wstring(wide.begin(), wide.end());
}

Text TextOfWide(const wchar_t* name) {
    return EncodeWideName(WideText(name, name + wcslen(name)), AnsiOfCodeUnit);
}

