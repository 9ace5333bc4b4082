// What the fuzz targets share: the fuzzer's bytes split into a few texts and small numbers for
// the rule under test, a check that stops the fuzzer, and error reports that never end it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/errors.h"
#include "toolkit/text.h"

// A broken property aborts, which the fuzzer reports as a fault with the input that caused it.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

// Some inputs raise errors (a position out of range, 204 and 205); they must neither show a
// box nor end the fuzzer.
inline void SilenceErrors() {
    static bool done = false;
    if (done) return;
    ErrorSink sink;
    sink.showBox = [](const Text&, const Text&, int) { return 1; };
    sink.endProgram = [] {};
    SetErrorSink(sink);
    SetErrorLevel(-1);
    done = true;
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // A text up to the next 0xFF byte (or the end), so texts may hold NUL bytes.
    Text NextText() {
        std::size_t start = pos_;
        while (pos_ < size_ && data_[pos_] != 0xFF) ++pos_;
        Text t(reinterpret_cast<const char*>(data_ + start), pos_ - start);
        if (pos_ < size_) ++pos_;
        return t;
    }

    // A small signed number, so positions around and beyond the texts' ends come up.
    std::int64_t NextNumber() {
        if (pos_ >= size_) return 0;
        return static_cast<std::int8_t>(data_[pos_++]);
    }

    Text Rest() {
        Text t(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return t;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};
