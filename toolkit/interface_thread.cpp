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
#include "toolkit/held_keys.h"
#include "toolkit/interface_thread_internal.h"
#include "toolkit/owned_handle.h"
#include "toolkit/text.h"
#include "toolkit/trace.h"
#include "toolkit/window_classes.h"

EventState eventState;

namespace {

// Thrown by EndProgram on the program thread and caught where the thread started, so that
// every destructor on the way runs (files get closed) before the thread ends.
struct ProgramEnd {};

// The events by which the two threads wait for each other: auto-reset, but for loopEnded.
struct ThreadSignals {
    KernelHandle requestDone;
    KernelHandle loopEnded;  // manual-reset: set once the message loop has returned
    KernelHandle messageDispatched;
    KernelHandle inputEvent;
    KernelHandle keyEvent;
    KernelHandle commandMouseEvent;
    KernelHandle charEvent;
    // Set (never pulsed) whenever something the program thread's main loop looks at may have
    // changed.
    KernelHandle wakeEvent;
};

// The two threads and what connects them, with the start-up values both read. Written by the
// interface thread during start and at the end; read by both.
struct ToolkitThreads {
    HINSTANCE instance = nullptr;
    DWORD interfaceThreadId = 0;
    DWORD programThreadId = 0;
    KernelHandle programThread;
    HWND requestWindow = nullptr;
    ThreadSignals signals;
    // Spares a second SetEvent of the wake event until the program thread has woken.
    std::atomic<bool> wakePending{false};
    // The program thread waits for the next dispatched message: only then is there anybody for
    // the pulse to release, and a pulse costs a call to the server on every message.
    std::atomic<bool> awaitingDispatch{false};
    // Set by the program's own end before its quit message is posted. Any program may post
    // WM_QUIT to the interface thread or to one of its windows; only the program's own end stops
    // the message loop, and the code it ends with is the program's.
    std::atomic<bool> ending{false};
    std::atomic<int> exitCode{0};
    int screenWidth = 0;
    int screenHeight = 0;
    std::function<int()> programMain;
    // The error the last call by name left; only the interface thread touches it.
    DWORD libraryLastError = 0;
};
ToolkitThreads toolkitThreads;

// The registered-message set: changed by the program thread, read by the window procedures.
struct UserMessageSet {
    std::mutex lock;
    std::set<unsigned> ids;
    std::atomic<bool> any{false};
};
UserMessageSet userMessages;

// What runs after the message loop ended, registered by any thread (AtToolkitEnd).
struct ToolkitEndCleanups {
    std::mutex lock;
    std::vector<std::function<void()>> pending;
};
ToolkitEndCleanups toolkitEndCleanups;

void RunCleanups() {
    std::vector<std::function<void()>> pending;
    {
        std::lock_guard<std::mutex> guard(toolkitEndCleanups.lock);
        pending.swap(toolkitEndCleanups.pending);
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) (*it)();
}

struct RequestBlock {
    const std::function<void()>* action;
    bool posted;  // the requester waits on the request-done event
    WPARAM serial;
};

// The one request the program has handed to the interface thread and not yet seen done. Any
// program on the desktop can send message 32769 to the request window, so the window serves a
// message only when its lParam is this block's address and its wParam the block's serial
// number, and claims the block before running it: a copy of the message, a made-up address or
// a block that was already served is ignored. Requests are made one at a time; the lock keeps a
// second requesting thread out and guards lastSerial.
struct RequestChannel {
    std::mutex lock;
    WPARAM lastSerial = 0;
    std::atomic<RequestBlock*> inFlight{nullptr};
    std::atomic<WPARAM> serialInFlight{0};
};
RequestChannel requestChannel;

// A block for the action with the next serial number; the caller holds the channel's lock.
RequestBlock NewRequest(const std::function<void()>& action, bool posted) {
    return RequestBlock{&action, posted, ++requestChannel.lastSerial};
}

void PublishRequest(RequestBlock& block) {
    requestChannel.serialInFlight.store(block.serial);
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
        requestChannel.serialInFlight.load() != wParam) {
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
    if (block->posted) SetEvent(toolkitThreads.signals.requestDone.get());
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
    cls.hInstance = toolkitThreads.instance;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    cls.lpszClassName = "CW";
    if (!RegisterClassA(&cls)) return false;
    toolkitThreads.requestWindow = CreateWindowExA(0, "CW", "CW", 0, 0, 0, 0, 0, nullptr, nullptr,
                                                   toolkitThreads.instance, nullptr);
    return toolkitThreads.requestWindow != nullptr;
}

KernelHandle NewAutoResetEvent() { return KernelHandle(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }

void CreateEvents() {
    ThreadSignals& signals = toolkitThreads.signals;
    signals.requestDone = NewAutoResetEvent();
    signals.loopEnded = KernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    signals.messageDispatched = NewAutoResetEvent();
    signals.inputEvent = NewAutoResetEvent();
    signals.keyEvent = NewAutoResetEvent();
    signals.commandMouseEvent = NewAutoResetEvent();
    signals.charEvent = NewAutoResetEvent();
    signals.wakeEvent = NewAutoResetEvent();
}

DWORD WINAPI ProgramThreadEntry(void*) {
    // Wait until the interface thread has a message queue, then share its input state so
    // that focus and key queries see the interface thread's windows.
    while (!PostThreadMessageA(toolkitThreads.interfaceThreadId, WM_NULL, 0, 0)) Sleep(0);
    AttachThreadInput(GetCurrentThreadId(), toolkitThreads.interfaceThreadId, TRUE);
    int exitCode = 0;
    try {
        exitCode = toolkitThreads.programMain();
    } catch (const ProgramEnd&) {
        return 0;
    }
    EndMessageLoop(exitCode);
    return 0;
}

// GetMessage gives 0 for a quit message. A foreign one is dropped, and so is one that a modal
// loop (a message box, a menu) took, ended itself on and posted again.
bool NextMessage(MSG& msg) {
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) return false;
        if (got != 0) return true;
        if (toolkitThreads.ending.load()) return false;
    }
}

int RunMessageLoop() {
    MSG msg;
    while (NextMessage(msg)) {
        // Requests go to the request window and nowhere else; the same id sent to the
        // thread or to another window is nobody's request.
        if (msg.message == kRequestMessage) {
            if (msg.hwnd == toolkitThreads.requestWindow) DispatchMessageA(&msg);
            continue;
        }
        HWND dialog = reinterpret_cast<HWND>(eventState.activeDialog.load());
        if (!(dialog && IsDialogMessageA(dialog, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        RecordMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        if (toolkitThreads.awaitingDispatch.load()) PulseEvent(toolkitThreads.signals.messageDispatched.get());
    }
    SetEvent(toolkitThreads.signals.loopEnded.get());
    return toolkitThreads.exitCode.load();
}

void ClearWaitState() {
    eventState.menuItem.store(0);
    eventState.notificationFlag.store(0);
    eventState.eventCode.store(0);
    eventState.keyDownCode.store(0);
    eventState.userMessage.store(0);
    eventState.mouseX.store(0);
    eventState.mouseY.store(0);
}

void AfterWake() {
    if (eventState.eventCode.load() != 5) {
        eventState.focusControl.store(reinterpret_cast<std::intptr_t>(GetFocus()));
    }
    eventState.lastMessageSnapshot.store(eventState.lastMessage.load());
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

// What a message box on the interface thread must not take out of the queue: a key held since it
// opened (HeldKeys), and a quit message that is not the program's own end, on which the box's
// modal loop would end the box unanswered. The hook turns either into WM_NULL. Boxes may nest (a
// runtime error while a box is open); the innermost one decides.
class MessageBoxFilter {
public:
    MessageBoxFilter() : outer_(innermost_) {
        for (int key : HeldKeys::kAnswerKeys) keys_.Note(key, GetKeyState(key) < 0 || GetAsyncKeyState(key) < 0);
        hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, Filter, nullptr, GetCurrentThreadId()));
        innermost_ = this;
    }
    ~MessageBoxFilter() { innermost_ = outer_; }
    MessageBoxFilter(const MessageBoxFilter&) = delete;
    MessageBoxFilter& operator=(const MessageBoxFilter&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM removed, LPARAM lParam) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (code == HC_ACTION && removed == PM_REMOVE && innermost_ &&
            (innermost_->keys_.Swallows(msg->message, msg->wParam, msg->lParam) ||
             (msg->message == WM_QUIT && !toolkitThreads.ending.load()))) {
            msg->message = WM_NULL;
        }
        return CallNextHookEx(nullptr, code, removed, lParam);
    }

    static inline MessageBoxFilter* innermost_ = nullptr;  // interface thread only
    MessageBoxFilter* outer_;
    HeldKeys keys_;
    WindowsHook hook_;
};

// Runtime errors show their boxes with ShowMessageBox and end with EndProgram.
void InstallToolkitErrorSink() {
    ErrorSink sink;
    sink.showBox = [](const Text& text, const Text& caption, int flags) {
        return ShowMessageBox(text, caption, flags);
    };
    sink.endProgram = [] { EndProgram(); };
    SetErrorSink(std::move(sink));
}

}  // namespace

int RunToolkit(Handle instance, const char* rawCommandLine, std::function<int()> programMain) {
    toolkitThreads.instance = reinterpret_cast<HINSTANCE>(instance);
    toolkitThreads.interfaceThreadId = GetCurrentThreadId();
    toolkitThreads.programMain = std::move(programMain);
    toolkitThreads.ending.store(false);
    toolkitThreads.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    toolkitThreads.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CreateEvents();
    SetErrorLevel(1);
    CoInitialize(nullptr);

    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    SetCommandLine(rawCommandLine ? rawCommandLine : "", path);

    if (!CreateRequestWindow()) ExitProcess(1);
    if (!RegisterToolkitWindowClasses(toolkitThreads.instance)) ExitProcess(1);
    InstallToolkitErrorSink();
    {
        std::lock_guard<std::mutex> guard(userMessages.lock);
        userMessages.ids.clear();
        userMessages.any.store(false);
    }

    toolkitThreads.programThread = KernelHandle(
        CreateThread(nullptr, 0, ProgramThreadEntry, nullptr, 0, &toolkitThreads.programThreadId));
    if (!toolkitThreads.programThread) ExitProcess(1);

    int exitCode = RunMessageLoop();

    WaitForSingleObject(toolkitThreads.programThread.get(), INFINITE);
    toolkitThreads.programThread.reset();
    RunCleanups();
    UnregisterToolkitWindowClasses(toolkitThreads.instance);
    toolkitThreads.signals = ThreadSignals{};
    CoUninitialize();
    return exitCode;
}

void AtToolkitEnd(std::function<void()> cleanup) {
    std::lock_guard<std::mutex> guard(toolkitEndCleanups.lock);
    toolkitEndCleanups.pending.push_back(std::move(cleanup));
}

void TerminateProgramThread() {
    if (toolkitThreads.programThread && GetCurrentThreadId() != toolkitThreads.programThreadId) {
        TerminateThread(toolkitThreads.programThread.get(), 0);
    }
}

bool OnInterfaceThread() { return GetCurrentThreadId() == toolkitThreads.interfaceThreadId; }

Handle ProgramInstance() { return reinterpret_cast<Handle>(toolkitThreads.instance); }
int ScreenWidth() { return toolkitThreads.screenWidth; }
int ScreenHeight() { return toolkitThreads.screenHeight; }

void SendRequest(const std::function<void()>& action) {
    if (OnInterfaceThread()) {
        action();
        return;
    }
    std::lock_guard<std::mutex> guard(requestChannel.lock);
    RequestBlock block = NewRequest(action, false);
    PublishRequest(block);
    SendMessageA(toolkitThreads.requestWindow, kRequestMessage, block.serial,
                 reinterpret_cast<LPARAM>(&block));
    WithdrawRequest(block);
}

// Posted to the request window, not to the thread: the modal loops of menus, message boxes and
// window moves dispatch window messages but drop thread messages. The wait also ends when the
// message loop has ended, since nothing would serve the request any more.
void PostRequest(const std::function<void()>& action) {
    if (OnInterfaceThread()) {
        action();
        return;
    }
    std::lock_guard<std::mutex> guard(requestChannel.lock);
    RequestBlock block = NewRequest(action, true);
    PublishRequest(block);
    const WPARAM wParam = block.serial;
    const auto lParam = reinterpret_cast<LPARAM>(&block);
    // A full queue refuses the post; a sent message needs no room in it.
    if (!PostMessageA(toolkitThreads.requestWindow, kRequestMessage, wParam, lParam)) {
        SendMessageA(toolkitThreads.requestWindow, kRequestMessage, wParam, lParam);
    }
    if (IsWindow(toolkitThreads.requestWindow)) {
        const HANDLE ends[] = {toolkitThreads.signals.requestDone.get(), toolkitThreads.signals.loopEnded.get()};
        WaitForMultipleObjects(2, ends, FALSE, INFINITE);
    }
    WithdrawRequest(block);
}

void EndMessageLoop(int exitCode) {
    toolkitThreads.exitCode.store(exitCode);
    toolkitThreads.ending.store(true);
    PostThreadMessageA(toolkitThreads.interfaceThreadId, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

void EndProgram(int exitCode) {
    EndMessageLoop(exitCode);
    if (GetCurrentThreadId() == toolkitThreads.programThreadId) throw ProgramEnd{};
    // On the interface thread: the program thread may be blocked in a request that will never
    // be served, so the process ends here.
    ExitProcess(static_cast<UINT>(exitCode));
}

std::intptr_t CallLibraryFunction(const Text& library, const Text& function,
                                  std::initializer_list<std::intptr_t> args) {
    std::vector<Word> words(args);
    if (words.size() > kMaxLibraryArgs) words.resize(kMaxLibraryArgs);
    Text moduleName = StripDirectory(library);

    // A library that is not loaded yet is loaded for this one call.
    LoadedLibrary loadedHere;
    HMODULE module = GetModuleHandleA(moduleName.c_str());
    if (!module) {
        Text name = library;
        bool hasExtension = library.size() >= 4 && library[library.size() - 4] == '.';
        if (!hasExtension) name += ".DLL";
        loadedHere.reset(LoadLibraryA(name.c_str()));
        if (!loadedHere) {
            RaiseFatalError(kErrDllLoad, library);
            return -1;
        }
        module = loadedHere.get();
    }
    FARPROC fn = GetProcAddress(module, function.c_str());
    if (!fn) {
        loadedHere.reset();
        RaiseFatalError(kErrDllFunction, function);
        return -1;
    }

    // The interface thread does other work between two requests, and much of it changes the
    // thread's last error. Each call by name therefore starts with the error the previous one
    // left, so that GetLastError called by name reads the error of the call before it (a
    // CreateMutexA that found its mutex) and not that of whatever ran in between.
    Word result = 0;
    auto call = [&] {
        SetLastError(toolkitThreads.libraryLastError);
        result = CallWithCount(fn, words.data(), words.size(),
                               std::make_index_sequence<kMaxLibraryArgs + 1>{});
        toolkitThreads.libraryLastError = GetLastError();
    };
    if (OnInterfaceThread()) {
        call();
    } else {
        SendRequest(call);
        Sleep(0);
    }
    return result;
}

int ShowMessageBox(const Text& text, const Text& caption, int flags) {
    int result = 0;
    QUORREL_TRACE_MARK("box asked");
    SendRequest([&] {
        MessageBoxFilter filter;
        QUORREL_TRACE_MARK("box opening on the interface thread");
        result = static_cast<int>(CallLibraryFunction(
            "USER32", "MessageBoxA", {eventState.currentWindow.load(), Arg(text), Arg(caption), flags}));
    });
    eventState.lastResult.store(result);
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

namespace {

// A negative time-out sets no limit.
DWORD WaitLimit(int timeoutMs) { return timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs); }

}  // namespace

void AwaitNextMessage() {
    ClearWaitState();
    toolkitThreads.awaitingDispatch.store(true);
    WaitForSingleObject(toolkitThreads.signals.messageDispatched.get(), INFINITE);
    toolkitThreads.awaitingDispatch.store(false);
    AfterWake();
}

void AwaitInputEvent(int timeoutMs) {
    // Parameters before the message, as the window procedures store them.
    eventState.userLParam.store(0);
    eventState.userWParam.store(0);
    ClearWaitState();
    WaitForSingleObject(toolkitThreads.signals.inputEvent.get(), WaitLimit(timeoutMs));
    AfterWake();
}

void PauseInterface(int milliseconds) {
    SendRequest([milliseconds] { Sleep(static_cast<DWORD>(milliseconds)); });
    Sleep(0);
}

// The flag is cleared after the wait, before the caller reads any state: whatever happens from
// then on sets the event again, and whatever happened before is seen by the caller's next pass.
bool AwaitWake(int timeoutMs) {
    const DWORD result = WaitForSingleObject(toolkitThreads.signals.wakeEvent.get(), WaitLimit(timeoutMs));
    QUORREL_TRACE_MARK("program thread woken");
    toolkitThreads.wakePending.store(false);
    return result == WAIT_OBJECT_0;
}

void WakeProgramThread() {
    if (!toolkitThreads.wakePending.exchange(true)) SetEvent(toolkitThreads.signals.wakeEvent.get());
}

void SetInputEvent() { SetEvent(toolkitThreads.signals.inputEvent.get()); }

void PulseInputEvent() { PulseEvent(toolkitThreads.signals.inputEvent.get()); }

void PulseInputEvents() {
    const ThreadSignals& signals = toolkitThreads.signals;
    for (const KernelHandle* event :
         {&signals.inputEvent, &signals.keyEvent, &signals.commandMouseEvent, &signals.charEvent}) {
        PulseEvent(event->get());
    }
}

void RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) QUORREL_TRACE_MARK("key seen by the interface thread");
    eventState.lastWindow.store(reinterpret_cast<std::intptr_t>(window));
    eventState.lastMessage.store(static_cast<std::int32_t>(message));
    eventState.lastWParam.store(static_cast<std::intptr_t>(wParam));
    eventState.lastLParam.store(static_cast<std::intptr_t>(lParam));
    // Every message the loop dispatches and every message a toolkit window procedure sees (the
    // sent ones too: activation, focus, modal loops) may change what the main loop reads. Timers
    // and hit tests do not: a shown tooltip checks ten times a second which window is under the
    // pointer. The toolkit's own timer wakes the program thread where it is handled.
    if (message != WM_TIMER && message != WM_NCHITTEST) WakeProgramThread();
}

int HasFocus(Handle control) {
    if (control == 0) return 0;
    return (control == eventState.focusControl.load() ||
            reinterpret_cast<HWND>(control) == GetFocus()) ? 1 : 0;
}

void SetControlFocus(Handle control) {
    eventState.focusControl.store(control);
    // The program thread shares the interface thread's input state, so GetFocus answers here;
    // a control that has the focus already needs no request (commands over every row ask for
    // the same focus once per row).
    if (control != 0 && reinterpret_cast<HWND>(control) == GetFocus()) return;
    SendRequest([control] { SetFocus(reinterpret_cast<HWND>(control)); });
}

void EnableControl(Handle control, int enable) {
    SendRequest([control, enable] {
        EnableWindow(reinterpret_cast<HWND>(control), enable ? TRUE : FALSE);
    });
    if (!enable && eventState.focusControl.load() == control) eventState.focusControl.store(0);
}
