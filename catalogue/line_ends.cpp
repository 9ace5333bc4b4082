#include "catalogue/line_ends.h"

bool NeedsDosLineEnds(const Text& fileText) {
    const std::int64_t firstLf = FindText("\n", fileText);
    // Without an LF, or with one at the start, there is no character before it: code 0.
    return CharCode(MidOf(fileText, firstLf - 1, 1)) != 13;
}

Text ToDosLineEnds(const Text& fileText) {
    return ReplaceAll(fileText, "\n", "\r\n");
}
