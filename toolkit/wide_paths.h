// Paths between the toolkit's Texts and the wide file functions: a Text path (ANSI bytes, with
// escapes for characters the code page lacks) as the wide functions take it, and a wide name
// from a listing as a Text. Win32 only; used by the toolkit's file layers.
#pragma once

#include <string>

#include "toolkit/text.h"

std::wstring WidePath(const Text& path);
Text TextOfWide(const wchar_t* name);
