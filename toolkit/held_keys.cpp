#include "toolkit/held_keys.h"

namespace {

// Set in a key-down message when the key was down before it: a repeat.
constexpr std::intptr_t kRepeatBit = std::intptr_t{1} << 30;

}  // namespace

void HeldKeys::Note(int virtualKey, bool down) {
    if (virtualKey >= 0 && static_cast<std::size_t>(virtualKey) < held_.size()) held_.set(virtualKey, down);
}

bool HeldKeys::Swallows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (wParam >= held_.size() || !held_.test(wParam)) return false;
    switch (message) {
        case kKeyUpMessage:
            held_.reset(wParam);
            return true;
        case kKeyDownMessage:
            if ((lParam & kRepeatBit) != 0) return true;
            // A new press: the release went to another thread's window.
            held_.reset(wParam);
            return false;
        case kCharMessage:
            return true;
        default:
            return false;
    }
}
