// The toolkit's spine: the interface thread that owns every window, the program thread
// that runs the application, the request channel between them, the waits on the event
// state, focus helpers, message boxes and calls of library functions by name.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "toolkit/handle.h"
#include "toolkit/text.h"

// Private message that carries requests from the program thread to the interface thread.
constexpr unsigned kRequestMessage = 32769;

enum RequestCode : int {
    kReqCreateMainWindow = 40961,  // sent
    kReqCreateControl = 40962,     // sent
    kReqPopupMenu = 40966,         // posted
    kReqDestroyWindow = 40967,     // sent
    kReqDispatchPending = 40970,   // posted
    kReqCallLibrary = 40971,       // sent
    kReqCreateDialog = 40972,      // sent
    kReqBrowseFolder = 40973,      // posted
    kReqSleep = 40977,             // sent
};

// Runs the toolkit: the calling thread becomes the interface thread, programMain runs on the
// program thread. When programMain returns, the program ends with the code it returned.
// Returns the process exit code (0 after EndProgram, 1 when start-up fails).
int RunToolkit(Handle instance, const char* rawCommandLine, std::function<int()> programMain);

// Runs action on the interface thread while the caller blocks. Both go to the hidden request
// window, which serves only the request in flight: a sent request inside the send, a posted one
// from the queue (modal loops dispatch it too) while the caller waits on the request-done event
// or for the message loop to end. One request at a time; on the interface thread itself both
// simply run the action.
void SendRequest(int code, const std::function<void()>& action);
void PostRequest(int code, const std::function<void()>& action);

bool OnInterfaceThread();
Handle ProgramInstance();
int ScreenWidth();
int ScreenHeight();

// Ends the program: posts the quit message and ends the program thread. Does not return
// on the program thread; on the interface thread it ends the message loop.
[[noreturn]] void EndProgram(int exitCode = 0);

// Calls a function of a library by name with pointer-sized integer arguments (texts are
// passed as pointers to their characters). Errors 247 / 248 give -1.
std::intptr_t CallLibraryFunction(const Text& library, const Text& function,
                                  std::initializer_list<std::intptr_t> args = {});
inline std::intptr_t Arg(const Text& t) { return reinterpret_cast<std::intptr_t>(t.c_str()); }

int ShowMessageBox(const Text& text, const Text& caption, int flags);

// Runtime errors show their boxes with ShowMessageBox and end with EndProgram (done at start).
void InstallToolkitErrorSink();

// Registered messages bypass the windows' own handling and land in userMessage.
void RegisterUserMessages(std::initializer_list<int> ids);  // an id of 0 empties the set
bool IsUserMessage(unsigned id);

void AwaitNextMessage();
void AwaitInputEvent();
void PauseInterface(int milliseconds);

int HasFocus(Handle control);
void SetControlFocus(Handle control);
void EnableControl(Handle control, int enable);

// Releases something of the toolkit's (fonts, a search handle) after the message loop ended.
void AtToolkitEnd(std::function<void()> cleanup);

// Used by the window procedures on the interface thread.
void PulseInputEvents();   // the input event and the key, command/mouse and character events
void PulseInputEvent();    // the input event alone
void SetInputEvent();      // stays set until the program thread waits
void TerminateProgramThread();
