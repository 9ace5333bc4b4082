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

// Runs the toolkit: the calling thread becomes the interface thread, programMain runs on the
// program thread. When programMain returns, the program ends with the code it returned.
// Returns the process exit code (0 after EndProgram, 1 when start-up fails).
int RunToolkit(Handle instance, const char* rawCommandLine, std::function<int()> programMain);

// Runs action on the interface thread while the caller blocks. Both go to the hidden request
// window, which serves only the request in flight: a sent request inside the send, a posted one
// from the queue (modal loops dispatch it too) while the caller waits on the request-done event
// or for the message loop to end. One request at a time; on the interface thread itself both
// simply run the action.
void SendRequest(const std::function<void()>& action);
void PostRequest(const std::function<void()>& action);

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

// Registered messages bypass the windows' own handling and land in userMessage.
void RegisterUserMessages(std::initializer_list<int> ids);  // an id of 0 empties the set

void AwaitNextMessage();
// Clears the registered-message triple and waits for the next recorded input, at most timeoutMs
// when it is not negative.
void AwaitInputEvent(int timeoutMs = -1);
void PauseInterface(int milliseconds);

// Sleeps until the interface thread has seen something that may have changed what the main
// loop reads (input, a command, a message to a toolkit window, a change of the followed list),
// or until timeoutMs have passed (a negative timeoutMs sets no limit); true when woken. Leaves
// the event state as it is. A wake that came while the caller was busy is kept, so the next call
// returns at once.
bool AwaitWake(int timeoutMs);

int HasFocus(Handle control);
void SetControlFocus(Handle control);
void EnableControl(Handle control, int enable);
