// File names that hold characters the ANSI code page lacks (a user's Greek, Cyrillic or CJK
// plugin), kept in a Text all the same: such a character is written as the escape byte 0x01
// followed by its UTF-16 code unit in four upper-case hex digits. Windows allows no control
// character in a file name, so an escaped name never names another file, and the file layer
// turns it back into the exact wide name. Every other character stays as its ANSI bytes, so
// names the code page can hold read exactly as before.
// Portable: the code-page conversions are handed in by the Win32 layer.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "toolkit/text.h"

using WideText = std::u16string;

inline constexpr char kWideEscape = '\x01';

// The ANSI bytes of one UTF-16 code unit, or nothing when the code page cannot hold it exactly.
using AnsiOfUnit = std::function<std::optional<Text>(char16_t)>;
// The UTF-16 form of a run of ANSI bytes.
using WideOfAnsi = std::function<WideText(const Text&)>;

// The Text form of a wide name: plain ANSI bytes where the code page holds the character,
// escapes for the rest and for the escape character itself, so that decoding gives it back.
Text EncodeWideName(const WideText& name, const AnsiOfUnit& ansiOf);

// The wide name a Text stands for, up to its first NUL, as Windows reads a Text. Escapes
// written with lower-case hex digits count too; an escape byte without four hex digits stays
// the control character it is, which Windows then refuses as a name.
WideText DecodeWideName(const Text& name, const WideOfAnsi& wideOf);

// The text for a message box, which shows ANSI texts only: every escaped character as '?'.
Text ReadableText(const Text& text);
