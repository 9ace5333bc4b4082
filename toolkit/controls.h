// Controls by keyword or class, dialog windows, fonts, placing and showing windows, texts.
// Every call that creates, changes or destroys a window runs on the interface thread through
// the request channel.
#pragma once

#include <cstdint>

#include "toolkit/handle.h"
#include "toolkit/text.h"

Handle CreateControl(const Text& keyword, Handle parent, const Text& text, int x, int y, int width, int height);
Handle CreateButton(Handle parent, const Text& text, int x, int y, int width, int height);
Handle CreateEditField(Handle parent, const Text& text, int x, int y, int width, int height);
Handle CreateTextLabel(Handle parent, const Text& text, int x, int y, int width, int height);
Handle CreateWindowDirect(const Text& className, const Text& text, std::uint32_t style, int x, int y,
                          int width, int height, Handle parent, int id, Handle instance,
                          std::uint32_t extendedStyle);
Handle CreateDialogWindow(Handle parent, const Text& title, int x, int y, int width, int height);
Handle CreateFontHandle(const Text& face, int height, int width, int bold, int italic, int underline);
void SetCreationFontMode(std::intptr_t mode);

// Z-order codes: 0 keeps it, 1 bottom, -1 topmost, -2 not topmost, other values top.
void PlaceWindow(Handle window, int x, int y, int width, int height, int zOrder);
int ShowWindowMode(Handle window, int mode);
// While held, a window and its children draw nothing (a list box adding row after row, a window
// whose controls are being made); releasing redraws the window, its frame and its children once.
void HoldDrawing(Handle window, bool hold);
int DestroyWindowHandle(Handle window);
Text GetControlText(Handle window);
