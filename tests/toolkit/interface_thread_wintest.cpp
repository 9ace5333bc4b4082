// The two threads, the request channel, registered messages, the waits and calls by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
            PostRequest(kReqDispatchPending, action);
        } else {
            SendRequest(kReqSleep, action);
        }
        EXPECT_TRUE(finished) << (posted ? "posted" : "sent") << " request returned before its action ended";
        EXPECT_NE(ranOn, caller) << (posted ? "posted" : "sent") << " request ran on the program thread";
    }
}

TEST(RegisteredMessages, AButtonClickLandsInTheUserMessageTriple) {
    TestWindow w;
    RegisterUserMessages({16, 273});
    events.menuItem.store(77);
    PostMessageA(w.button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return events.userMessage.load() == 273; }))
        << "registered WM_COMMAND never reached userMessage";
    EXPECT_EQ(events.userLParam.load(), AsInt(w.button));
    EXPECT_EQ(HIWORD(events.userWParam.load()), 0) << "a click has notification code 0";
    EXPECT_EQ(LOWORD(events.userWParam.load()), 1234);
    EXPECT_EQ(events.menuItem.load(), 77) << "a registered message must bypass the window's handling";
}

TEST(RegisteredMessages, ClosingWithWmCloseRegisteredKeepsTheWindowAndReports16) {
    TestWindow w;
    RegisterUserMessages({16, 273});
    PostMessageA(w.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return events.userMessage.load() == 16; }));
    EXPECT_TRUE(IsWindow(w.window));
}

TEST(Waits, AwaitInputEventClearsTheWholeTripleAwaitNextMessageKeepsTheParameters) {
    TestWindow w;
    RegisterUserMessages({273});
    PostMessageA(w.button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return events.userMessage.load() == 273; }));
    Sleep(100);  // let every message that the click causes be handled before the waits

    // An unregistered message wakes AwaitNextMessage; the parameters of the click stay.
    PostLater(w.window, WM_NULL, 0, 0);
    AwaitNextMessage();
    EXPECT_EQ(events.userMessage.load(), 0);
    EXPECT_EQ(events.userLParam.load(), AsInt(w.button));

    // An unregistered click is input: AwaitInputEvent returns and has cleared all three.
    RegisterUserMessages({0});
    PostLater(w.button, BM_CLICK, 0, 0);
    AwaitInputEvent();
    EXPECT_EQ(events.userMessage.load(), 0);
    EXPECT_EQ(events.userWParam.load(), 0);
    EXPECT_EQ(events.userLParam.load(), 0);
    EXPECT_EQ(events.eventCode.load(), 255) << "a click without registration sets eventCode 255";
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
