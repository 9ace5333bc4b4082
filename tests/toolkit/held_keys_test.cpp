// Which keyboard messages a message box must not take: those of an answer key held since it opened.
#include "toolkit/held_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kDelete = 46;

struct Step {
    unsigned message;
    int key;
    bool repeat;
    bool swallowed;
};

const Step kDown{kKeyDownMessage, kEnter, false, false};
const Step kRepeat{kKeyDownMessage, kEnter, true, false};
const Step kRepeatSwallowed{kKeyDownMessage, kEnter, true, true};
const Step kCharSwallowed{kCharMessage, kEnter, false, true};
const Step kUpSwallowed{kKeyUpMessage, kEnter, false, true};
const Step kUp{kKeyUpMessage, kEnter, false, false};

TEST(HeldKeys, AKeyDownAsTheBoxOpensIsIgnoredUntilReleasedAndCountsWhenPressedAgain) {
    const struct {
        std::string what;
        bool enterDownAtOpening;
        std::vector<Step> steps;
    } cases[] = {
        {"held, repeating, released, pressed again", true,
         {kRepeatSwallowed, kCharSwallowed, kRepeatSwallowed, kUpSwallowed, kDown, {kCharMessage, kEnter, false, false},
          kUp}},
        {"released where the box did not see it, then pressed", true, {kDown, kRepeat, kUp}},
        {"up when the box opened", false, {kDown, kRepeat, kUp}},
        {"other keys pass while Enter is held", true,
         {{kKeyDownMessage, kEscape, true, false}, {kKeyDownMessage, kDelete, true, false},
          {0x200, kEnter, false, false}, kRepeatSwallowed}},
    };
    for (const auto& c : cases) {
        HeldKeys held;
        for (int key : HeldKeys::kAnswerKeys) held.Note(key, key == kEnter && c.enterDownAtOpening);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            const std::intptr_t lParam = s.repeat ? std::intptr_t{1} << 30 : 0;
            EXPECT_EQ(held.Swallows(s.message, static_cast<std::uintptr_t>(s.key), lParam), s.swallowed)
                << c.what << ", step " << i;
        }
    }
}

}  // namespace
