// Numbered runtime errors with their German texts, the error level and the runtime options.
// The rules are portable; how a box is shown and how the program ends is a seam (ErrorSink)
// that the Win32 side fills at toolkit start and tests replace.
#pragma once

#include <functional>

#include "toolkit/text.h"

enum class ErrorKind : int { None = 0, Warning = 1, Fatal = 2 };

// Error numbers the toolkit raises.
enum ErrorNumber : int {
    kErrUnknownCreateObject = 101,
    kErrNegativeWindowSize = 223,
    kErrStringIndex = 204,
    kErrSubstringNumber = 205,
    kErrMissingParameter = 208,
    kErrFileNotFound = 209,
    kErrFileNumber = 210,
    kErrBitmapNotLoadable = 228,
    kErrCursorMissing = 230,
    kErrTextDoesNotFit = 244,
    kErrDllLoad = 247,
    kErrDllFunction = 248,
    kErrFileNotReadable = 300,
    kErrWriteFailed = 303,
    kErrRegistry = 305,
};

Text ErrorText(int number);                                // "" for numbers not in the table
Text ErrorMessage(int number, const Text& detail);         // table text followed by the detail

extern const char* const kNoLineNumber;                    // "Zeilennummer nicht verfügbar."
extern const char* const kProgramAborted;                  // "Programm abgebrochen!"

// Message-box flags used by the error boxes.
enum : int { kBoxOk = 0x0, kBoxOkCancel = 0x1, kBoxIconError = 0x10, kBoxIconWarning = 0x30 };
// Buttons the box reports back.
enum : int { kBoxIdOk = 1, kBoxIdCancel = 2 };

// Until the Win32 side installs its sink, boxes go to stderr (as if OK were pressed) and
// ending calls std::exit(1). When endProgram returns (a test sink), the raise returns too.
struct ErrorSink {
    std::function<int(const Text& text, const Text& caption, int flags)> showBox;  // the button id
    std::function<void()> endProgram;     // does not return in the program
};
void SetErrorSink(ErrorSink sink);        // replaces the previous sink; empty members get the default
ErrorSink GetErrorSink();

// Both record the number and kind first, even when nothing is shown. Error levels: below 0
// everything is silent and the program goes on; 0 silences warnings; 1 lets the user cancel
// after a warning; 2 and above treat warnings as fatal. A shown fatal error ends the program.
void RaiseFatalError(int number, const Text& detail = Text());
void RaiseWarning(int number, const Text& detail = Text());
int LastErrorNumber();
ErrorKind LastErrorKind();

// -2 switches fast mode on and keeps the level; while fast mode is on, every level is stored
// except the one already in force, which switches fast mode off instead.
void SetErrorLevel(int level);
int ErrorLevel();
bool FastMode();

// Runs its scope at level -1 (nothing reported) and puts back the level that was in force, so a
// lookup whose failure the caller handles itself never changes what later commands report.
class SilencedErrors {
public:
    SilencedErrors() : level_(ErrorLevel()) { SetErrorLevel(-1); }
    ~SilencedErrors() { SetErrorLevel(level_); }
    SilencedErrors(const SilencedErrors&) = delete;
    SilencedErrors& operator=(const SilencedErrors&) = delete;

private:
    int level_;
};                          // the "fastmode" option

// Named runtime options, matched without regard to case; returns the previous value (0 if unknown).
// "errorlevel" goes through SetErrorLevel, "randseed" seeds the random generator.
int SetOption(const Text& name, int value);
int GetOption(const Text& name);
void SetTrueColour(int flag);
