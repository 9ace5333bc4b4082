// The global event state: written by the interface thread's window procedures and message
// loop with atomic stores, read by the program thread without locks.
#pragma once

#include <atomic>
#include <cstdint>

#include "toolkit/handle.h"

struct EventState {
    std::atomic<std::intptr_t> lastWindow{0};
    std::atomic<std::int32_t> lastMessage{0};
    std::atomic<std::intptr_t> lastWParam{0};
    std::atomic<std::intptr_t> lastLParam{0};
    std::atomic<std::int32_t> lastMessageSnapshot{0};  // lastMessage as of the last wake-up

    std::atomic<std::int32_t> userMessage{0};
    std::atomic<std::intptr_t> userWParam{0};
    std::atomic<std::intptr_t> userLParam{0};
    // How many registered messages the triple has taken, and how many of them the program has read
    // (MarkUserMessagesRead): a control's notification does not replace an unread command.
    std::atomic<std::uint32_t> userMessageCount{0};
    std::atomic<std::uint32_t> userMessagesRead{0};

    std::atomic<std::intptr_t> focusControl{0};
    std::atomic<std::int32_t> eventCode{0};
    std::atomic<std::int32_t> keyDownCode{0};
    std::atomic<std::int32_t> notificationFlag{0};
    std::atomic<std::int32_t> notificationCode{0};
    std::atomic<std::intptr_t> notificationControl{0};
    std::atomic<std::intptr_t> menuItem{0};
    std::atomic<std::intptr_t> lastControlId{0};
    std::atomic<std::int32_t> mouseButton{0};
    std::atomic<std::int32_t> mouseX{0};
    std::atomic<std::int32_t> mouseY{0};
    std::atomic<std::int32_t> timerTick{0};
    std::atomic<std::intptr_t> lastResult{0};
    std::atomic<std::intptr_t> currentWindow{0};
    std::atomic<std::intptr_t> activeDialog{0};
    std::atomic<std::int32_t> repaintNeeded{0};

    std::atomic<std::int32_t> listDragging{0};   // 1 while a row of the drag list is dragged
    std::atomic<std::int64_t> listDrop{-1};      // a dropped row waiting (PackListDrop), else -1
};

extern EventState eventState;
