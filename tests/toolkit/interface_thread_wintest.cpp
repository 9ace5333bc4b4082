// The two threads, the request channel, registered messages, the waits and calls by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/error_capture.h"
#include "tests/support/test_windows.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/interface_thread.h"

namespace {

// A main-class window with one button, made on the interface thread and destroyed by hiding
// (destroying a main window would end the program thread).
struct TestWindow {
    HWND window = nullptr;
    HWND button = nullptr;

    TestWindow() {
        window = RunOnInterfaceThread([] {
            return CreateWindowExA(0, "DIALOG", "toolkit test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   10, 10, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        });
        button = RunOnInterfaceThread([this] {
            return CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE, 5, 5, 80, 24, window,
                                   reinterpret_cast<HMENU>(1234), GetModuleHandleA(nullptr), nullptr);
        });
    }
    ~TestWindow() {
        HWND w = window;
        RunOnInterfaceThread([w] {
            DestroyWindow(w);
            return HWND{};
        });
        RegisterUserMessages({0});
    }
};

std::intptr_t AsInt(HWND h) { return reinterpret_cast<std::intptr_t>(h); }

// A top-level window of the class that belongs to this process.
HWND WindowOfThisProcess(const char* className, bool visibleOnly) {
    for (HWND w = FindWindowA(className, nullptr); w; w = FindWindowExA(nullptr, w, className, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId() && (!visibleOnly || IsWindowVisible(w))) return w;
    }
    return nullptr;
}

// A modal loop that the interface thread enters from a timer callback, so that the program
// thread is free meanwhile, and that the test ends from outside.
struct ModalLoop {
    const char* name;
    void (*run)(HWND owner);
    const char* loopClass;  // the class of the loop's window while it runs
    void (*end)(HWND loopWindow);
};

const ModalLoop kModalLoops[] = {
    {"message box", [](HWND owner) { MessageBoxA(owner, "busy", "modal loop", MB_OK); }, "#32770",
     [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }},
    {"popup menu",
     [](HWND owner) {
         HMENU menu = CreatePopupMenu();
         AppendMenuA(menu, MF_STRING, 1, "item");
         SetForegroundWindow(owner);
         TrackPopupMenu(menu, TPM_RETURNCMD, 30, 30, 0, owner, nullptr);
         DestroyMenu(menu);
     },
     "#32768", [](HWND menu) { PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0); }},
};

struct ModalRun {
    const ModalLoop* loop = nullptr;
    HWND owner = nullptr;
    std::atomic<bool> inLoop{false};
};
ModalRun modalRun;

void CALLBACK EnterModalLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    modalRun.inLoop = true;
    modalRun.loop->run(modalRun.owner);
    modalRun.inLoop = false;
}

}  // namespace

TEST(RequestChannel, SentAndPostedRequestsRunOnTheInterfaceThreadWhileTheCallerBlocks) {
    ASSERT_FALSE(OnInterfaceThread()) << "tests must run on the program thread";
    const DWORD caller = GetCurrentThreadId();
    for (bool posted : {false, true}) {
        DWORD ranOn = 0;
        bool finished = false;
        auto action = [&] {
            ranOn = GetCurrentThreadId();
            Sleep(50);  // the caller must still be waiting when this ends
            finished = true;
        };
        if (posted) {
            PostRequest(action);
        } else {
            SendRequest(action);
        }
        EXPECT_TRUE(finished) << (posted ? "posted" : "sent") << " request returned before its action ended";
        EXPECT_NE(ranOn, caller) << (posted ? "posted" : "sent") << " request ran on the program thread";
    }
}

// Modal loops take every message out of the queue and drop the ones that belong to no window;
// a request lost that way would leave its requester waiting for good.
TEST(RequestChannel, PostedRequestsAreServedInsideModalLoopsOfTheInterfaceThread) {
    TestWindow w;
    for (const ModalLoop& loop : kModalLoops) {
        SCOPED_TRACE(loop.name);
        modalRun.loop = &loop;
        modalRun.owner = w.window;
        RunOnInterfaceThread([] {
            SetTimer(nullptr, 0, 1, EnterModalLoop);
            return HWND{};
        });
        HWND loopWindow = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (loopWindow = WindowOfThisProcess(loop.loopClass, true)); }))
            << "the modal loop did not start";

        // Requested from a thread of its own, so that a lost request fails the test instead of
        // hanging it; the thread's state outlives the test in that case.
        struct Progress {
            std::atomic<int> servedInLoop{0};
            std::atomic<bool> allReturned{false};
        };
        auto progress = std::make_shared<Progress>();
        std::thread([progress] {
            for (int request = 0; request < 3; ++request) {
                PostRequest([&] {
                    if (modalRun.inLoop) ++progress->servedInLoop;
                });
            }
            progress->allReturned = true;
        }).detach();
        const bool returned =
            WaitUntil([&] { return progress->allReturned.load(); }, std::chrono::milliseconds(10000));
        loop.end(loopWindow);
        ASSERT_TRUE(WaitUntil([] { return !modalRun.inLoop; })) << "the modal loop did not end";
        ASSERT_TRUE(returned) << "a posted request was lost in the modal loop";
        EXPECT_EQ(progress->servedInLoop.load(), 3);
    }
}

// Another program may send message 32769 to the request window with any parameters, the
// address of a made-up block or of the live one among them; only the request in flight is
// served, only for its own serial number, and only once.
TEST(RequestChannel, TheRequestWindowServesOnlyTheRequestInFlightAndOnlyOnce) {
    HWND requestWindow = WindowOfThisProcess("CW", false);
    ASSERT_NE(requestWindow, nullptr);
    const DWORD interfaceThread = GetWindowThreadProcessId(requestWindow, nullptr);
    std::atomic<int> intruderRuns{0};
    const std::function<void()> intruder = [&] { ++intruderRuns; };
    struct {
        const std::function<void()>* action;
        bool posted;
        WPARAM serial;
    } forged{&intruder, false, 1};
    const LPARAM lParams[] = {0, 1, 0x1000, 0x7FFE0000, reinterpret_cast<LPARAM>(&forged)};
    std::thread([&] {
        for (WPARAM serial : {0, 1, 2, 40971}) {
            for (LPARAM lParam : lParams) {
                SendMessageA(requestWindow, kRequestMessage, serial, lParam);
                PostMessageA(requestWindow, kRequestMessage, serial, lParam);
                PostThreadMessageA(interfaceThread, kRequestMessage, serial, lParam);
            }
        }
        SendMessageA(requestWindow, WM_CLOSE, 0, 0);
    }).join();

    // Every posted request is delivered twice more, with its own parameters, while it is in
    // flight; a later request, which may use the same block address, comes after the copies.
    // Before the request itself is served, the live block's address comes with a wrong serial
    // number, as a program that guessed the address would send it.
    static std::atomic<bool> copyNext;
    static std::atomic<bool> forging;
    static HHOOK hook;
    copyNext = false;
    forging = false;
    hook = SetWindowsHookExA(
        WH_GETMESSAGE,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kRequestMessage &&
                copyNext.exchange(false)) {
                forging = true;
                SendMessageA(msg->hwnd, msg->message, msg->wParam + 1, msg->lParam);
                forging = false;
                for (int i = 0; i < 2; ++i) PostMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
            }
            return CallNextHookEx(hook, code, wParam, lParam);
        },
        nullptr, interfaceThread);
    ASSERT_NE(hook, nullptr);
    int replayedRuns = 0;
    int forgedRuns = 0;
    int laterRuns = 0;
    copyNext = true;
    PostRequest([&] {
        ++replayedRuns;
        if (forging) ++forgedRuns;
    });
    PostRequest([&] { ++laterRuns; });
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(intruderRuns.load(), 0) << "a made-up request block was run";
    EXPECT_EQ(forgedRuns, 0) << "the request in flight was run for a message with a wrong serial number";
    EXPECT_EQ(replayedRuns, 1) << "copies of a request must not run it again";
    EXPECT_EQ(laterRuns, 1);
    EXPECT_TRUE(IsWindow(requestWindow)) << "WM_CLOSE from elsewhere destroyed the request window";
    int sentRuns = 0;
    SendRequest([&] { ++sentRuns; });
    EXPECT_EQ(sentRuns, 1) << "requests must still be served";
}

TEST(RegisteredMessages, AButtonClickLandsInTheUserMessageTriple) {
    TestWindow w;
    RegisterUserMessages({16, 273});
    eventState.menuItem.store(77);
    PostMessageA(w.button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return eventState.userMessage.load() == 273; }))
        << "registered WM_COMMAND never reached userMessage";
    EXPECT_EQ(eventState.userLParam.load(), AsInt(w.button));
    EXPECT_EQ(HIWORD(eventState.userWParam.load()), 0) << "a click has notification code 0";
    EXPECT_EQ(LOWORD(eventState.userWParam.load()), 1234);
    EXPECT_EQ(eventState.menuItem.load(), 77) << "a registered message must bypass the window's handling";
}

TEST(RegisteredMessages, ClosingWithWmCloseRegisteredKeepsTheWindowAndReports16) {
    TestWindow w;
    RegisterUserMessages({16, 273});
    PostMessageA(w.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return eventState.userMessage.load() == 16; }));
    EXPECT_TRUE(IsWindow(w.window));
}

// The focus moves while a button is clicked, and the control that lost it may tell of it after
// the click (a rich edit redraws itself): that notification must not replace the click before the
// program has read it.
TEST(RegisteredMessages, ANotificationReplacesAClickOnlyOnceTheClickWasRead) {
    TestWindow w;
    RegisterUserMessages({273});
    const auto update = static_cast<WPARAM>(MAKEWPARAM(1234, EN_UPDATE));
    PostMessageA(w.button, BM_CLICK, 0, 0);
    PostMessageA(w.window, WM_COMMAND, update, AsInt(w.button));
    PostRequest([] {});  // served after the two messages before it
    EXPECT_EQ(eventState.userWParam.load(), 1234) << "a notification replaced the unread click";
    EXPECT_EQ(eventState.userLParam.load(), AsInt(w.button));

    eventState.userMessagesRead.store(eventState.userMessageCount.load());
    PostMessageA(w.window, WM_COMMAND, update, AsInt(w.button));
    PostRequest([] {});
    EXPECT_EQ(static_cast<WPARAM>(eventState.userWParam.load()), update);
}

// Any program may post WM_QUIT to the interface thread or to one of its windows.
TEST(RequestChannel, AQuitMessageFromElsewhereLeavesTheMessageLoopRunning) {
    TestWindow w;
    PostThreadMessageA(GetWindowThreadProcessId(w.window, nullptr), WM_QUIT, 3, 0);
    PostMessageA(w.window, WM_QUIT, 4, 0);
    int served = 0;
    PostRequest([&] { ++served; });
    if (served != 1) {
        // Nothing serves requests any more: the tests that follow would wait for good.
        ADD_FAILURE() << "the message loop ended on a quit message that was not the program's own";
        std::fflush(stdout);
        ExitProcess(1);
    }
}

// Registers WM_COMMAND, clicks the window's button and lets every message the click causes be
// handled, so that a wait that follows starts from a settled event state.
namespace {
void ClickRegisteredAndSettle(const TestWindow& w) {
    RegisterUserMessages({273});
    PostMessageA(w.button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return eventState.userMessage.load() == 273; }));
    Sleep(100);
}
}  // namespace

TEST(Waits, AwaitInputEventClearsTheWholeTripleAwaitNextMessageKeepsTheParameters) {
    TestWindow w;
    ASSERT_NO_FATAL_FAILURE(ClickRegisteredAndSettle(w));

    // An unregistered message wakes AwaitNextMessage; the parameters of the click stay.
    PostLater(w.window, WM_NULL, 0, 0);
    AwaitNextMessage();
    EXPECT_EQ(eventState.userMessage.load(), 0);
    EXPECT_EQ(eventState.userLParam.load(), AsInt(w.button));

    // An unregistered click is input: AwaitInputEvent returns and has cleared all three.
    RegisterUserMessages({0});
    PostLater(w.button, BM_CLICK, 0, 0);
    AwaitInputEvent();
    EXPECT_EQ(eventState.userMessage.load(), 0);
    EXPECT_EQ(eventState.userWParam.load(), 0);
    EXPECT_EQ(eventState.userLParam.load(), 0);
    EXPECT_EQ(eventState.eventCode.load(), 255) << "a click without registration sets eventCode 255";
}

// The main loop sleeps in AwaitWake between passes: a message that came while it was busy must
// still end its next wait (a pulsed event would have lost it), and the wait leaves the event
// state alone, since the loop reads it afterwards.
TEST(Waits, AwaitWakeKeepsAWakeThatCameWhileNobodyWaitedAndClearsNothing) {
    TestWindow w;
    ASSERT_NO_FATAL_FAILURE(ClickRegisteredAndSettle(w));
    EXPECT_TRUE(AwaitWake(10000)) << "a wake that came while nobody waited was lost";
    EXPECT_EQ(eventState.userMessage.load(), 273) << "AwaitWake must not clear the registered message";
    EXPECT_EQ(eventState.userLParam.load(), AsInt(w.button));

    while (AwaitWake(0)) {
    }
    PostLater(w.window, WM_NULL, 0, 0);
    EXPECT_TRUE(AwaitWake(10000)) << "a message dispatched during the wait must end it";
    RegisterUserMessages({0});
}

// The main loop reads a click as userWParam (zero high word) and then userLParam (the button),
// while the interface thread stores the next message: a wParam must never be seen beside the
// lParam of an older message. The messages here carry a rising number in both parameters.
TEST(RegisteredMessages, AWParamIsNeverSeenBesideTheLParamOfAnOlderMessage) {
    TestWindow w;
    RegisterUserMessages({273});
    constexpr int kMessages = 8000;  // the queue holds 10000
    int mixed = 0;
    for (int round = 0; round < 3; ++round) {
        eventState.userLParam.store(0);
        eventState.userWParam.store(0);
        // Posted in one go, so that the interface thread stores them back to back while this
        // thread reads.
        for (int i = 1; i <= kMessages; ++i) ASSERT_TRUE(PostMessageA(w.window, WM_COMMAND, i, i));
        const auto giveUp = GetTickCount64() + 20000;
        std::intptr_t wParam = 0;
        while (wParam != kMessages && GetTickCount64() < giveUp) {
            wParam = eventState.userWParam.load();
            if (eventState.userLParam.load() < wParam) ++mixed;
        }
        ASSERT_EQ(wParam, kMessages) << "the messages were not all stored";
    }
    EXPECT_EQ(mixed, 0) << "reads that paired a new wParam with an older lParam";
}

TEST(CallLibraryFunction, CallsAFunctionOfALoadedModuleByName) {
    EXPECT_EQ(CallLibraryFunction("user32", "GetSystemMetrics", {SM_CXSCREEN}), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(CallLibraryFunction("C:\\somewhere\\KERNEL32.DLL", "GetCurrentProcessId"),
              static_cast<std::intptr_t>(GetCurrentProcessId()))
        << "a directory part must be stripped before looking for the loaded module";
}

TEST(CallLibraryFunction, LoadsAMissingLibraryWithDllAppendedAndFreesItAgain) {
    ASSERT_EQ(GetModuleHandleA("SENSAPI.DLL"), nullptr) << "test needs a library that is not loaded";
    ErrorCapture errors(1);
    DWORD flags = 0;
    CallLibraryFunction("sensapi", "IsNetworkAlive", {reinterpret_cast<std::intptr_t>(&flags)});
    EXPECT_TRUE(errors.boxes.empty()) << "sensapi should load as SENSAPI.DLL";
    EXPECT_EQ(GetModuleHandleA("SENSAPI.DLL"), nullptr) << "a library loaded for the call must be freed";
}

TEST(CallLibraryFunction, MissingLibraryAndFunctionRaiseFatal247And248) {
    ErrorCapture errors(1);
    EXPECT_EQ(CallLibraryFunction("NOSUCHLIB", "Anything"), -1);
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].caption, "Fehler beim Laden der DLL: NOSUCHLIB");
    EXPECT_EQ(LastErrorNumber(), 247);

    EXPECT_EQ(CallLibraryFunction("USER32", "NoSuchFunctionA"), -1);
    ASSERT_EQ(errors.boxes.size(), 2u);
    EXPECT_EQ(errors.boxes[1].caption, "Funktion in DLL nicht vohanden: NoSuchFunctionA");
    EXPECT_EQ(LastErrorKind(), ErrorKind::Fatal);
    EXPECT_EQ(errors.ends, 2);
}

// The interface thread runs other requests between two calls by name; here one of them leaves a
// different last error behind, as the thread's own message handling may.
TEST(CallLibraryFunction, GetLastErrorByNameReadsTheErrorOfTheCallBeforeIt) {
    const Text name = "quorrel-toolkit-test-" + std::to_string(GetCurrentProcessId());
    auto spoilLastError = [](DWORD error) {
        RunOnInterfaceThread([error] {
            SetLastError(error);
            return HWND{};
        });
    };
    const std::intptr_t first = CallLibraryFunction("KERNEL32", "CreateMutexA", {0, 1, Arg(name)});
    ASSERT_NE(first, 0);
    spoilLastError(ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(CallLibraryFunction("KERNEL32", "GetLastError"), 0) << "a new mutex was taken for an existing one";

    const std::intptr_t second = CallLibraryFunction("KERNEL32", "CreateMutexA", {0, 1, Arg(name)});
    ASSERT_NE(second, 0);
    spoilLastError(ERROR_SUCCESS);
    EXPECT_EQ(CallLibraryFunction("KERNEL32", "GetLastError"), ERROR_ALREADY_EXISTS);
    CloseHandle(reinterpret_cast<HANDLE>(second));
    CloseHandle(reinterpret_cast<HANDLE>(first));
}

TEST(CallLibraryFunction, PassesEightArgumentsInOrder) {
    char volume[MAX_PATH] = {};
    char fileSystem[MAX_PATH] = {};
    DWORD serial = 0;
    std::intptr_t ok = CallLibraryFunction(
        "KERNEL32", "GetVolumeInformationA",
        {Arg("C:\\"), reinterpret_cast<std::intptr_t>(volume), MAX_PATH,
         reinterpret_cast<std::intptr_t>(&serial), 0, 0, reinterpret_cast<std::intptr_t>(fileSystem), MAX_PATH});
    EXPECT_NE(ok, 0);
    EXPECT_STRNE(fileSystem, "") << "the file-system name buffer (7th argument) was not filled";
}
