#include "catalogue/update_lines.h"

#include <array>

namespace {

struct Replacement {
    const char* search;
    const char* by;
};

// Applied one after the other; each replaces every occurrence, left to right, without
// looking again at what it put in. The longer blank runs go first, so each side of an "="
// loses up to twelve blanks.
constexpr std::array<Replacement, 24> kCommonSteps{{
    {"    =", "="}, {"   =", "="}, {"  =", "="}, {" =", "="}, {" =", "="}, {" =", "="},
    {"=    ", "="}, {"=   ", "="}, {"=  ", "="}, {"= ", "="}, {"= ", "="}, {"= ", "="},
    {"Update=", "update="}, {"UPDATE=", "update="},
    {"UpdateIcon", "updateicon"}, {"updateIcon", "updateicon"}, {"UPDATEICON", "updateicon"},
    {"updateCheckDays", "updatecheckdays"}, {"updatecheckDays", "updatecheckdays"},
    {"UpdateCheckDays", "updatecheckdays"}, {"UpdatecheckDays", "updatecheckdays"},
    {"Updatecheckdays", "updatecheckdays"}, {"UpdateCheckdays", "updatecheckdays"},
    {"UPDATECHECKDAYS", "updatecheckdays"},
}};

// The last three undo the doubling of keys that were disabled already.
constexpr std::array<Replacement, 6> kDisableSteps{{
    {"update=", "#update="}, {"updateicon=", "#updateicon="},
    {"updatecheckdays=", "#updatecheckdays="},
    {"##update=", "#update="}, {"##updateicon=", "#updateicon="},
    {"##updatecheckdays=", "#updatecheckdays="},
}};

constexpr std::array<Replacement, 6> kEnableSteps{{
    {"#update=", "update="}, {"#updateicon=", "updateicon="},
    {"#updatecheckdays=", "updatecheckdays="},
    {"##update=", "update="}, {"##updateicon=", "updateicon="},
    {"##updatecheckdays=", "updatecheckdays="},
}};

template <std::size_t N>
Text Apply(Text text, const std::array<Replacement, N>& steps) {
    for (const Replacement& step : steps) text = ReplaceAll(text, step.search, step.by);
    return text;
}

}  // namespace

Text TextWithUpdatesDisabled(const Text& pluginText) {
    return Apply(Apply(pluginText, kCommonSteps), kDisableSteps);
}

Text TextWithUpdatesEnabled(const Text& pluginText) {
    return Apply(Apply(pluginText, kCommonSteps), kEnableSteps);
}
