// Answers the message boxes that the code under test shows: a background thread finds the
// boxes of this process, records caption and text and presses a chosen button.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "toolkit/text.h"

class BoxAnswerer {
public:
    struct SeenBox {
        Text caption;
        Text text;
        int icon;        // 0x10 error, 0x20 question, 0x30 exclamation, 0x40 information, 0 none
        bool hadButton;  // the chosen button existed; otherwise another one closed the box
    };

    // button: IDOK 1, IDYES 6, IDNO 7 ... pressed on every box.
    explicit BoxAnswerer(int button = IDOK);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<SeenBox> Boxes() const;
    // Waits until count boxes have been answered; false when the time is up.
    bool WaitForBoxes(std::size_t count,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) const;

private:
    void Run();
    void Answer(HWND box);

    int button_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};
