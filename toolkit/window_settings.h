// Settings that shape the toolkit's windows: main-window style flags and title, painting and
// font modes, the close confirmation. Written by the program thread, read by the window
// procedures on the interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "toolkit/text.h"

struct WindowSettings {
    std::atomic<std::uint32_t> style{0x14CF2000};
    std::atomic<std::uint32_t> extendedStyle{0x100};  // WS_EX_WINDOWEDGE
    std::atomic<bool> noMenu{false};
    std::atomic<bool> closeAsEvent{false};
    std::atomic<bool> canvasFromScreen{false};
    std::atomic<std::intptr_t> creationFontMode{0};   // 0 none, 1 current font, >= 2 a font handle
    std::atomic<std::intptr_t> currentFont{0};

    Text Title() const;
    void SetTitle(const Text& title);
    Text CloseConfirmation() const;            // empty: closing asks nothing
    void SetCloseConfirmation(const Text& text);

private:
    mutable std::mutex textLock;
    Text title = "Kelvara-Fenster";
    Text closeConfirmation;
};

extern WindowSettings windowSettings;
