// The toolkit's text type and the text functions every layer uses.
// Portable: no Win32 here, so the rules also build natively for tests and fuzzing.
#pragma once

#include <cstdint>
#include <string>

// A byte string in the Windows-1252 code page with an explicit length. std::string
// keeps a NUL after the last byte and copies own their buffer; texts may hold NUL
// bytes, and functions that hand a text to Windows use c_str(), which stops there.
using Text = std::string;

// Positions are 1-based; out-of-range arguments give the empty text unless noted.
Text IntToText(std::int64_t n);                         // padded on the left to the number width
Text LeftOf(const Text& text, std::int64_t n);
Text RightOf(const Text& text, std::int64_t n);         // empty when n exceeds the length
Text MidOf(const Text& text, std::int64_t start, std::int64_t count);
Text DeleteChars(const Text& text, std::int64_t position, std::int64_t count);  // error 204 below 1, text kept
std::int64_t FindText(const Text& search, const Text& text);  // note: search comes first
Text FieldOf(const Text& text, std::int64_t n, const Text& separator);         // error 205 below 1, empty
Text ReplaceAll(const Text& text, const Text& search, const Text& replacement);
Text UpperCase(const Text& text);                       // Windows-1252 letters, accents included
Text LowerCase(const Text& text);
Text TrimText(const Text& text);                        // tab, space, LF, CR and 0xA0
Text CharText(std::int64_t code);
int CharCode(const Text& text);
Text RepeatText(const Text& text, std::int64_t count);
Text SpaceText(std::int64_t n);
bool TextEquals(const Text& a, const Text& b);          // compares up to the first NUL
Text Concatenate(const Text& a, const Text& b);
bool Contains(const Text& text, const Text& search);    // FindText(search, text) > 0
