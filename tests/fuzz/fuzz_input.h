// Splits a fuzzer's bytes into a few texts and small numbers for the rule under test.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit/text.h"

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
