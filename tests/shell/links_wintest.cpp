// The link areas of the main window: their rectangles, and the hover and click state machine
// that opens a page only for a press and release on the same link once the links are armed.
#include <gtest/gtest.h>

#include "shell/links.h"

namespace {

constexpr int kLogoX = 300, kLogoY = 270;
constexpr int kCreditX = 350, kCreditY = 336;
constexpr int kAwayX = 100, kAwayY = 100;

LinkInput At(int x, int y, bool leftDown, bool armed = true) {
    LinkInput in;
    in.cursorX = x;
    in.cursorY = y;
    in.leftDown = leftDown;
    in.armed = armed;
    return in;
}

}  // namespace

TEST(LinkAreas, RectanglesExcludeTheirEdges) {
    EXPECT_TRUE(OverLogo(248, 238));
    EXPECT_TRUE(OverLogo(434, 307));
    EXPECT_FALSE(OverLogo(247, 270));
    EXPECT_FALSE(OverLogo(435, 270));
    EXPECT_FALSE(OverLogo(300, 237));
    EXPECT_FALSE(OverLogo(300, 308));
    EXPECT_TRUE(OverCredit(293, 332));
    EXPECT_TRUE(OverCredit(437, 341));
    EXPECT_FALSE(OverCredit(292, 336));
    EXPECT_FALSE(OverCredit(438, 336));
    EXPECT_FALSE(OverCredit(350, 331));
    EXPECT_FALSE(OverCredit(350, 342));
}

TEST(LinkClicks, HoveringShowsTheHandOnceAndLeavingShowsTheArrow) {
    LinkState s;
    EXPECT_TRUE(StepLinks(s, At(kLogoX, kLogoY, false)).showHand);
    EXPECT_FALSE(StepLinks(s, At(kLogoX, kLogoY, false)).showHand) << "the hand is set only on entering";
    EXPECT_EQ(s.hover, 1);
    const LinkActions leaving = StepLinks(s, At(kAwayX, kAwayY, false));
    EXPECT_TRUE(leaving.showArrow);
    EXPECT_EQ(s.hover, 0);
    EXPECT_FALSE(StepLinks(s, At(kAwayX, kAwayY, false)).showArrow) << "the arrow is set only on leaving";
}

TEST(LinkClicks, PressAndReleaseOnALinkOpensItsPage) {
    LinkState s;
    StepLinks(s, At(kLogoX, kLogoY, true));
    EXPECT_EQ(s.logoPressed, 1);
    LinkActions release = StepLinks(s, At(kLogoX, kLogoY, false));
    EXPECT_TRUE(release.openProductPage);
    EXPECT_FALSE(release.openHomePage);
    EXPECT_TRUE(release.endClick);
    EXPECT_EQ(s.logoPressed, 0);
    EXPECT_EQ(s.hover, 0) << "the arrow comes back after the page was opened";

    StepLinks(s, At(kCreditX, kCreditY, true));
    release = StepLinks(s, At(kCreditX, kCreditY, false));
    EXPECT_TRUE(release.openHomePage);
    EXPECT_FALSE(release.openProductPage);
}

TEST(LinkClicks, HoldingTheButtonOpensNothingUntilItIsReleased) {
    LinkState s;
    StepLinks(s, At(kLogoX, kLogoY, true));
    const LinkActions held = StepLinks(s, At(kLogoX, kLogoY, true));
    EXPECT_FALSE(held.openProductPage || held.endClick);
    EXPECT_EQ(s.logoPressed, 1);
}

TEST(LinkClicks, AReleaseAwayFromTheLinkOpensNothingAndRestoresTheArrow) {
    LinkState s;
    StepLinks(s, At(kLogoX, kLogoY, true));
    LinkActions away = StepLinks(s, At(kAwayX, kAwayY, true));
    EXPECT_FALSE(away.showArrow) << "while the link is pressed the hand stays";
    away = StepLinks(s, At(kAwayX, kAwayY, false));
    EXPECT_FALSE(away.openProductPage || away.endClick);
    EXPECT_EQ(s.logoPressed, 0);
    EXPECT_TRUE(StepLinks(s, At(kAwayX, kAwayY, false)).showArrow);
    EXPECT_EQ(s.hover, 0);
    const LinkActions back = StepLinks(s, At(kLogoX, kLogoY, false));
    EXPECT_FALSE(back.openProductPage) << "coming back without a press opens nothing";
}

TEST(LinkClicks, APressThatStartedOffTheLinksIsNoClick) {
    LinkState s;
    StepLinks(s, At(kAwayX, kAwayY, true));
    EXPECT_EQ(s.heldOutside, 1);
    const LinkActions dragged = StepLinks(s, At(kLogoX, kLogoY, true));
    EXPECT_FALSE(dragged.showHand) << "a drag onto the link is not hovering";
    StepLinks(s, At(kLogoX, kLogoY, false));
    EXPECT_EQ(s.heldOutside, 0);
    const LinkActions next = StepLinks(s, At(kLogoX, kLogoY, false));
    EXPECT_FALSE(next.openProductPage);
    EXPECT_TRUE(next.showHand);
}

TEST(LinkClicks, BeforeTheLinksAreArmedAClickOpensNothing) {
    LinkState s;
    StepLinks(s, At(kLogoX, kLogoY, true, false));
    const LinkActions release = StepLinks(s, At(kLogoX, kLogoY, false, false));
    EXPECT_FALSE(release.openProductPage || release.endClick);
    EXPECT_EQ(s.logoPressed, 0) << "the press is forgotten all the same";
}
