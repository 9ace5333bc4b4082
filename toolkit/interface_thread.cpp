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
    HANDLE loopEnded = nullptr;  // manual-reset: set once the message loop has returned
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
    bool posted;  // the requester waits on the request-done event
};

// The one request the program has handed to the interface thread and not yet seen done. Any
// program on the desktop can send message 32769 to the request window, so the window serves a
// message only when its wParam and lParam name this block, and claims the block before running
// it: a copy of the message, a made-up address or a block that was already served is ignored.
// Requests are made one at a time; the lock keeps a second requesting thread out.
struct RequestChannel {
    std::mutex lock;
    std::atomic<RequestBlock*> inFlight{nullptr};
    std::atomic<int> codeInFlight{0};
};
RequestChannel requestChannel;

void PublishRequest(RequestBlock& block) {
    requestChannel.codeInFlight.store(block.code);
    requestChannel.inFlight.store(&block);
}

// Takes the block back after the request ended, whether or not it was served.
void WithdrawRequest(RequestBlock& block) {
    RequestBlock* expected = &block;
    requestChannel.inFlight.compare_exchange_strong(expected, nullptr);
}

RequestBlock* ClaimRequest(WPARAM wParam, LPARAM lParam) {
    RequestBlock* block = requestChannel.inFlight.load();
    if (block == nullptr || reinterpret_cast<LPARAM>(block) != lParam ||
        static_cast<WPARAM>(requestChannel.codeInFlight.load()) != wParam) {
        return nullptr;
    }
    return requestChannel.inFlight.compare_exchange_strong(block, nullptr) ? block : nullptr;
}

void ServeRequest(WPARAM wParam, LPARAM lParam) {
    RequestBlock* block = ClaimRequest(wParam, lParam);
    if (!block) return;
    // A posted request that had to be sent releases the sender at once: the action may run a
    // modal loop or COM calls, which must not happen inside an inter-thread send.
    if (block->posted && InSendMessage()) ReplyMessage(0);
    (*block->action)();
    if (block->posted) SetEvent(toolkit.requestDone);
}

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRequestMessage:
            ServeRequest(wParam, lParam);
            return 0;
        case WM_CLOSE:
            // Only the toolkit ends the request channel; a close from elsewhere is ignored.
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
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
    toolkit.loopEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    toolkit.messageDispatched = NewAutoResetEvent();
    toolkit.inputEvent = NewAutoResetEvent();
    toolkit.keyEvent = NewAutoResetEvent();
    toolkit.commandMouseEvent = NewAutoResetEvent();
    toolkit.charEvent = NewAutoResetEvent();
}

void CloseEvents() {
    for (HANDLE h : {toolkit.requestDone, toolkit.loopEnded, toolkit.messageDispatched,
                     toolkit.inputEvent, toolkit.keyEvent, toolkit.commandMouseEvent,
                     toolkit.charEvent}) {
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

void RecordLastMessage(const MSG& msg) {
    events.lastWindow.store(reinterpret_cast<std::intptr_t>(msg.hwnd));
    events.lastMessage.store(static_cast<std::int32_t>(msg.message));
    events.lastWParam.store(static_cast<std::intptr_t>(msg.wParam));
    events.lastLParam.store(static_cast<std::intptr_t>(msg.lParam));
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Requests go to the request window and nowhere else; the same id sent to the
        // thread or to another window is nobody's request.
        if (msg.message == kRequestMessage) {
            if (msg.hwnd == toolkit.requestWindow) DispatchMessageA(&msg);
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
    SetEvent(toolkit.loopEnded);
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
    std::lock_guard<std::mutex> guard(requestChannel.lock);
    RequestBlock block{code, &action, false};
    PublishRequest(block);
    SendMessageA(toolkit.requestWindow, kRequestMessage, static_cast<WPARAM>(code),
                 reinterpret_cast<LPARAM>(&block));
    WithdrawRequest(block);
}

// Posted to the request window, not to the thread: the modal loops of menus, message boxes and
// window moves dispatch window messages but drop thread messages. The wait also ends when the
// message loop has ended, since nothing would serve the request any more.
void PostRequest(int code, const std::function<void()>& action) {
    if (OnInterfaceThread()) {
        action();
        return;
    }
    std::lock_guard<std::mutex> guard(requestChannel.lock);
    RequestBlock block{code, &action, true};
    PublishRequest(block);
    const auto wParam = static_cast<WPARAM>(code);
    const auto lParam = reinterpret_cast<LPARAM>(&block);
    // A full queue refuses the post; a sent message needs no room in it.
    if (!PostMessageA(toolkit.requestWindow, kRequestMessage, wParam, lParam)) {
        SendMessageA(toolkit.requestWindow, kRequestMessage, wParam, lParam);
    }
    if (IsWindow(toolkit.requestWindow)) {
        const HANDLE ends[] = {toolkit.requestDone, toolkit.loopEnded};
        WaitForMultipleObjects(2, ends, FALSE, INFINITE);
    }
    WithdrawRequest(block);
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
    // Parameters before the message, as the window procedures store them.
    events.userLParam.store(0);
    events.userWParam.store(0);
    ClearWaitState();
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
