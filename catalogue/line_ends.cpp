#include "catalogue/line_ends.h"

namespace {

bool IsBareLineFeed(const Text& text, std::size_t at) {
    return text[at] == '\n' && (at == 0 || text[at - 1] != '\r');
}

}  // namespace

bool NeedsDosLineEnds(const Text& fileText) {
    for (std::size_t i = 0; i < fileText.size(); ++i) {
        if (IsBareLineFeed(fileText, i)) return true;
    }
    return false;
}

Text ToDosLineEnds(const Text& fileText) {
    Text converted;
    converted.reserve(fileText.size() + fileText.size() / 16);
    for (std::size_t i = 0; i < fileText.size(); ++i) {
        if (IsBareLineFeed(fileText, i)) converted += '\r';
        converted += fileText[i];
    }
    return converted;
}
