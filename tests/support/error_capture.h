// Test helper: records error boxes and program ends instead of showing them, at a chosen error
// level, and puts the previous sink, level and fast mode back when it goes out of scope.
// Portable, for the native unit tests and the Win32 tests alike.
#pragma once

#include <vector>

#include "toolkit/errors.h"

struct RecordedBox {
    Text text;
    Text caption;
    int flags;
};

class ErrorCapture {
public:
    explicit ErrorCapture(int level, int answer = kBoxIdOk)
        : previousSink_(GetErrorSink()), previousLevel_(ErrorLevel()), previousFastMode_(FastMode()) {
        SetErrorSink({[this, answer](const Text& text, const Text& caption, int flags) {
                          boxes.push_back({text, caption, flags});
                          return answer;
                      },
                      [this] { ++ends; }});
        SetOption("fastmode", 0);
        SetErrorLevel(level);
    }
    ~ErrorCapture() {
        SetOption("fastmode", 0);
        SetErrorLevel(previousLevel_);
        SetOption("fastmode", previousFastMode_ ? 1 : 0);
        SetErrorSink(previousSink_);
    }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    std::vector<RecordedBox> boxes;
    int ends = 0;

private:
    ErrorSink previousSink_;
    int previousLevel_;
    bool previousFastMode_;
};
