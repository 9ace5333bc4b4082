#include "tests/support/box_answerer.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kStaticTextId = 0xFFFF;
constexpr DWORD kPollMs = 10;
constexpr DWORD kClickAgainMs = 500;
constexpr DWORD kCloseLimitMs = 3000;

Text WindowText(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// The icon of a message box, by comparing its icon control with the shared system icons.
int IconOf(HWND box) {
    for (int id : {0x14, 0x440}) {  // the icon control's id differs between implementations
        HWND control = GetDlgItem(box, id);
        if (!control) continue;
        const auto icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
        const std::pair<LPCSTR, int> known[] = {{IDI_HAND, MB_ICONHAND},
                                                {IDI_QUESTION, MB_ICONQUESTION},
                                                {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                                {IDI_ASTERISK, MB_ICONASTERISK}};
        for (const auto& [resource, flag] : known) {
            if (icon && icon == LoadIconA(nullptr, resource)) return flag;
        }
    }
    return 0;
}

struct Search {
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM parameter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        lstrcmpA(className, "#32770") == 0) {
        reinterpret_cast<Search*>(parameter)->boxes.push_back(window);
    }
    return TRUE;
}

}  // namespace

BoxAnswerer::BoxAnswerer(int button) : button_(button), thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<BoxAnswerer::SeenBox> BoxAnswerer::Boxes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_;
}

bool BoxAnswerer::WaitForBoxes(std::size_t count, std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Boxes().size() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(kPollMs);
    }
    return true;
}

void BoxAnswerer::Run() {
    while (!stop_) {
        Search search;
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes) Answer(box);
        Sleep(kPollMs);
    }
}

void BoxAnswerer::Answer(HWND box) {
    HWND text = GetDlgItem(box, kStaticTextId);
    HWND chosen = GetDlgItem(box, button_);
    HWND press = chosen;
    // A box without the chosen button must still close, or the code under test would hang.
    for (int fallback : {IDOK, IDNO, IDCANCEL}) {
        if (!press) press = GetDlgItem(box, fallback);
    }
    if (!press) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        boxes_.push_back({WindowText(box), text ? WindowText(text) : Text(), IconOf(box), chosen != nullptr});
    }
    // Stay with this box until it is gone, so that it is neither recorded twice nor confused
    // with a later box that gets the same handle.
    for (DWORD waited = 0; IsWindow(box) && waited < kCloseLimitMs; waited += kPollMs) {
        if (waited % kClickAgainMs == 0) PostMessageA(press, BM_CLICK, 0, 0);
        Sleep(kPollMs);
    }
}
