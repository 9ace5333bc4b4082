// The keys a message box must not take: an Enter, Escape or Space that was already down when the
// box opened chose whatever opened it (a menu item, a button, a shortcut) and must not answer the
// box unread. The box ignores such a key, its repeats included, until the key has been released;
// a press that starts after the release counts.
#pragma once

#include <bitset>
#include <cstdint>

// Keyboard messages as the rule reads them (the Win32 values).
constexpr unsigned kKeyDownMessage = 0x100;
constexpr unsigned kKeyUpMessage = 0x101;
constexpr unsigned kCharMessage = 0x102;

class HeldKeys {
public:
    // The keys a box answers to; their character codes are the same numbers.
    static constexpr int kAnswerKeys[] = {13, 27, 32};

    // Notes, as the box opens, whether the key is down.
    void Note(int virtualKey, bool down);
    // Whether the box must not see the keyboard message; notes the release of a held key.
    bool Swallows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    std::bitset<256> held_;
};
