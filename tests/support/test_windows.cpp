#include "tests/support/test_windows.h"

#include <thread>

#include "toolkit/interface_thread.h"

HWND RunOnInterfaceThread(const std::function<HWND()>& fn) {
    HWND result = nullptr;
    SendRequest([&] { result = fn(); });
    return result;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(10);
    }
    return true;
}

void PostLater(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int delayMs) {
    std::thread([=] {
        Sleep(static_cast<DWORD>(delayMs));
        PostMessageA(window, message, wParam, lParam);
    }).detach();
}
