// The interface thread, the program thread and the request channel between them.
#include "toolkit/interface_thread.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "toolkit/command_line.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/text.h"
#include "toolkit/window_classes.h"

EventState events;

namespace {

// Thrown by EndProgram on the program thread and caught where the thread started, so that
// every destructor on the way runs (files get closed) before the thread ends.
struct ProgramEnd {};

// Process-wide toolkit state. Written by the interface thread during start; read by both.
struct Toolkit {
    HINSTANCE instance = nullptr;
    DWORD interfaceThreadId = 0;
    DWORD programThreadId = 0;
    HANDLE programThread = nullptr;
    HWND requestWindow = nullptr;
    HANDLE requestDone = nullptr;
    HANDLE messageDispatched = nullptr;
    HANDLE inputEvent = nullptr;
    HANDLE keyEvent = nullptr;
    HANDLE commandMouseEvent = nullptr;
    HANDLE charEvent = nullptr;
    int screenWidth = 0;
    int screenHeight = 0;
    std::function<int()> programMain;
    // The error the last call by name left; only the interface thread touches it.
    DWORD libraryLastError = 0;
};
Toolkit toolkit;

// The registered-message set: changed by the program thread, read by the window procedures.
struct UserMessageSet {
    std::mutex lock;
    std::set<unsigned> ids;
    std::atomic<bool> any{false};
};
UserMessageSet userMessages;

std::mutex cleanupLock;
std::vector<std::function<void()>> cleanups;

void RunCleanups() {
    std::vector<std::function<void()>> pending;
    {
        std::lock_guard<std::mutex> guard(cleanupLock);
        pending.swap(cleanups);
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) (*it)();
}

struct RequestBlock {
    int code;
    const std::function<void()>* action;
};

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRequestMessage) {
        auto* block = reinterpret_cast<RequestBlock*>(lParam);
        (*block->action)();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateRequestWindow() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = RequestWindowProc;
    cls.hInstance = toolkit.instance;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    cls.lpszClassName = "CW";
    if (!RegisterClassA(&cls)) return false;
    toolkit.requestWindow = CreateWindowExA(0, "CW", "CW", 0, 0, 0, 0, 0, nullptr, nullptr,
                                            toolkit.instance, nullptr);
    return toolkit.requestWindow != nullptr;
}

HANDLE NewAutoResetEvent() { return CreateEventA(nullptr, FALSE, FALSE, nullptr); }

void CreateEvents() {
    toolkit.requestDone = NewAutoResetEvent();
    toolkit.messageDispatched = NewAutoResetEvent();
    toolkit.inputEvent = NewAutoResetEvent();
    toolkit.keyEvent = NewAutoResetEvent();
    toolkit.commandMouseEvent = NewAutoResetEvent();
    toolkit.charEvent = NewAutoResetEvent();
}

void CloseEvents() {
    for (HANDLE h : {toolkit.requestDone, toolkit.messageDispatched, toolkit.inputEvent,
                     toolkit.keyEvent, toolkit.commandMouseEvent, toolkit.charEvent}) {
        if (h) CloseHandle(h);
    }
}

DWORD WINAPI ProgramThreadEntry(void*) {
    // Wait until the interface thread has a message queue, then share its input state so
    // that focus and key queries see the interface thread's windows.
    while (!PostThreadMessageA(toolkit.interfaceThreadId, WM_NULL, 0, 0)) Sleep(0);
    AttachThreadInput(GetCurrentThreadId(), toolkit.interfaceThreadId, TRUE);
    int exitCode = 0;
    try {
        exitCode = toolkit.programMain();
    } catch (const ProgramEnd&) {
        return 0;
    }
    PostThreadMessageA(toolkit.interfaceThreadId, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
    return 0;
}

void DispatchRequest(const MSG& msg) {
    auto* block = reinterpret_cast<RequestBlock*>(msg.lParam);
    (*block->action)();
    SetEvent(toolkit.requestDone);
}

void RecordLastMessage(const MSG& msg) {
    events.lastWindow.store(reinterpret_cast<std::intptr_t>(msg.hwnd));
    events.lastMessage.store(static_cast<std::int32_t>(msg.message));
    events.lastWParam.store(static_cast<std::intptr_t>(msg.wParam));
    events.lastLParam.store(static_cast<std::intptr_t>(msg.lParam));
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kRequestMessage && msg.hwnd == nullptr) {
            DispatchRequest(msg);
            continue;
        }
        HWND dialog = reinterpret_cast<HWND>(events.activeDialog.load());
        if (!(dialog && IsDialogMessageA(dialog, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        RecordLastMessage(msg);
        PulseEvent(toolkit.messageDispatched);
    }
    return static_cast<int>(msg.wParam);
}

void ClearWaitState() {
    events.menuItem.store(0);
    events.notificationFlag.store(0);
    events.eventCode.store(0);
    events.keyDownCode.store(0);
    events.userMessage.store(0);
    events.mouseX.store(0);
    events.mouseY.store(0);
}

void AfterWake() {
    if (events.eventCode.load() != 5) {
        events.focusControl.store(reinterpret_cast<std::intptr_t>(GetFocus()));
    }
    events.lastMessageSnapshot.store(events.lastMessage.load());
}

// Calls fn with exactly `count` pointer-sized arguments, so that the call is right for any
// calling convention that pops its own arguments.
using Word = std::intptr_t;
template <std::size_t... I>
Word CallWith(FARPROC fn, const Word* args, std::index_sequence<I...>) {
    using Fn = Word(WINAPI*)(decltype((void)I, Word())...);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(fn))(args[I]...);
}

constexpr std::size_t kMaxLibraryArgs = 12;

template <std::size_t... N>
Word CallWithCount(FARPROC fn, const Word* args, std::size_t count, std::index_sequence<N...>) {
    Word result = 0;
    ((count == N ? (result = CallWith(fn, args, std::make_index_sequence<N>{}), true) : false) || ...);
    return result;
}

Text StripDirectory(const Text& library) {
    std::size_t cut = library.find_last_of("\\/");
    return cut == Text::npos ? library : library.substr(cut + 1);
}

}  // namespace

int RunToolkit(Handle instance, const char* rawCommandLine, std::function<int()> programMain) {
    toolkit.instance = reinterpret_cast<HINSTANCE>(instance);
    toolkit.interfaceThreadId = GetCurrentThreadId();
    toolkit.programMain = std::move(programMain);
    toolkit.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    toolkit.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CreateEvents();
    SetErrorLevel(1);
    CoInitialize(nullptr);

    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    SetCommandLine(rawCommandLine ? rawCommandLine : "", path);

    if (!CreateRequestWindow()) ExitProcess(1);
    if (!RegisterToolkitWindowClasses(toolkit.instance)) ExitProcess(1);
    InstallToolkitErrorSink();
    {
        std::lock_guard<std::mutex> guard(userMessages.lock);
        userMessages.ids.clear();
        userMessages.any.store(false);
    }

    toolkit.programThread = CreateThread(nullptr, 0, ProgramThreadEntry, nullptr, 0,
                                         &toolkit.programThreadId);
    if (!toolkit.programThread) ExitProcess(1);

    int exitCode = RunMessageLoop();

    WaitForSingleObject(toolkit.programThread, INFINITE);
    CloseHandle(toolkit.programThread);
    toolkit.programThread = nullptr;
    RunCleanups();
    UnregisterToolkitWindowClasses(toolkit.instance);
    CloseEvents();
    CoUninitialize();
    return exitCode;
}

void InstallToolkitErrorSink() {
    ErrorSink sink;
    sink.showBox = [](const Text& text, const Text& caption, int flags) {
        return ShowMessageBox(text, caption, flags);
    };
    sink.endProgram = [] { EndProgram(); };
    SetErrorSink(std::move(sink));
}

void AtToolkitEnd(std::function<void()> cleanup) {
    std::lock_guard<std::mutex> guard(cleanupLock);
    cleanups.push_back(std::move(cleanup));
}

void TerminateProgramThread() {
    if (toolkit.programThread && GetCurrentThreadId() != toolkit.programThreadId) {
        TerminateThread(toolkit.programThread, 0);
    }
}

bool OnInterfaceThread() { return GetCurrentThreadId() == toolkit.interfaceThreadId; }

Handle ProgramInstance() { return reinterpret_cast<Handle>(toolkit.instance); }
int ScreenWidth() { return toolkit.screenWidth; }
int ScreenHeight() { return toolkit.screenHeight; }

void SendRequest(int code, const std::function<void()>& action) {
    if (OnInterfaceThread()) {
        action();
        return;
    }
    RequestBlock block{code, &action};
    SendMessageA(toolkit.requestWindow, kRequestMessage, static_cast<WPARAM>(code),
                 reinterpret_cast<LPARAM>(&block));
}

void PostRequest(int code, const std::function<void()>& action) {
    if (OnInterfaceThread()) {
        action();
        return;
    }
    RequestBlock block{code, &action};
    while (!PostThreadMessageA(toolkit.interfaceThreadId, kRequestMessage,
                               static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(&block))) {
        Sleep(1);
    }
    WaitForSingleObject(toolkit.requestDone, INFINITE);
}

void EndProgram(int exitCode) {
    PostThreadMessageA(toolkit.interfaceThreadId, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
    if (GetCurrentThreadId() == toolkit.programThreadId) throw ProgramEnd{};
    // On the interface thread: the program thread may be blocked in a request that will never
    // be served, so the process ends here.
    ExitProcess(static_cast<UINT>(exitCode));
}

std::intptr_t CallLibraryFunction(const Text& library, const Text& function,
                                  std::initializer_list<std::intptr_t> args) {
    std::vector<Word> words(args);
    if (words.size() > kMaxLibraryArgs) words.resize(kMaxLibraryArgs);
    Text moduleName = StripDirectory(library);

    HMODULE module = GetModuleHandleA(moduleName.c_str());
    bool loadedHere = false;
    if (!module) {
        Text name = library;
        bool hasExtension = library.size() >= 4 && library[library.size() - 4] == '.';
        if (!hasExtension) name += ".DLL";
        module = LoadLibraryA(name.c_str());
        if (!module) {
            RaiseFatalError(kErrDllLoad, library);
            return -1;
        }
        loadedHere = true;
    }
    FARPROC fn = GetProcAddress(module, function.c_str());
    if (!fn) {
        if (loadedHere) FreeLibrary(module);
        RaiseFatalError(kErrDllFunction, function);
        return -1;
    }

    // The interface thread does other work between two requests, and much of it changes the
    // thread's last error. Each call by name therefore starts with the error the previous one
    // left, so that GetLastError called by name reads the error of the call before it (a
    // CreateMutexA that found its mutex) and not that of whatever ran in between.
    Word result = 0;
    auto call = [&] {
        SetLastError(toolkit.libraryLastError);
        result = CallWithCount(fn, words.data(), words.size(),
                               std::make_index_sequence<kMaxLibraryArgs + 1>{});
        toolkit.libraryLastError = GetLastError();
    };
    if (OnInterfaceThread()) {
        call();
    } else {
        SendRequest(kReqCallLibrary, call);
        Sleep(0);
    }
    if (loadedHere) FreeLibrary(module);
    return result;
}

int ShowMessageBox(const Text& text, const Text& caption, int flags) {
    int result = static_cast<int>(CallLibraryFunction(
        "USER32", "MessageBoxA", {events.currentWindow.load(), Arg(text), Arg(caption), flags}));
    events.lastResult.store(result);
    return result;
}

void RegisterUserMessages(std::initializer_list<int> ids) {
    std::lock_guard<std::mutex> guard(userMessages.lock);
    for (int id : ids) {
        if (id == 0) {
            userMessages.ids.clear();
        } else {
            userMessages.ids.insert(static_cast<unsigned>(id));
        }
    }
    userMessages.any.store(!userMessages.ids.empty());
}

bool IsUserMessage(unsigned id) {
    if (!userMessages.any.load()) return false;
    std::lock_guard<std::mutex> guard(userMessages.lock);
    return userMessages.ids.count(id) != 0;
}

void AwaitNextMessage() {
    ClearWaitState();
    WaitForSingleObject(toolkit.messageDispatched, INFINITE);
    AfterWake();
}

void AwaitInputEvent() {
    ClearWaitState();
    events.userWParam.store(0);
    events.userLParam.store(0);
    WaitForSingleObject(toolkit.inputEvent, INFINITE);
    AfterWake();
}

void PauseInterface(int milliseconds) {
    SendRequest(kReqSleep, [milliseconds] { Sleep(static_cast<DWORD>(milliseconds)); });
    Sleep(0);
}

void SetInputEvent() { SetEvent(toolkit.inputEvent); }

void PulseInputEvent() { PulseEvent(toolkit.inputEvent); }

void PulseInputEvents() {
    PulseEvent(toolkit.inputEvent);
    PulseEvent(toolkit.keyEvent);
    PulseEvent(toolkit.commandMouseEvent);
    PulseEvent(toolkit.charEvent);
}

int HasFocus(Handle control) {
    if (control == 0) return 0;
    return (control == events.focusControl.load() ||
            reinterpret_cast<HWND>(control) == GetFocus()) ? 1 : 0;
}

void SetControlFocus(Handle control) {
    events.focusControl.store(control);
    // The program thread shares the interface thread's input state, so GetFocus answers here;
    // a control that has the focus already needs no request (commands over every row ask for
    // the same focus once per row).
    if (control != 0 && reinterpret_cast<HWND>(control) == GetFocus()) return;
    SendRequest(kReqCallLibrary, [control] { SetFocus(reinterpret_cast<HWND>(control)); });
}

void EnableControl(Handle control, int enable) {
    SendRequest(kReqCallLibrary, [control, enable] {
        EnableWindow(reinterpret_cast<HWND>(control), enable ? TRUE : FALSE);
    });
    if (!enable && events.focusControl.load() == control) events.focusControl.store(0);
}
