// Placement, message-box and version-text arithmetic, apart from any window.
#include <gtest/gtest.h>

#include <utility>

#include "ui/dialogs/rules/MessageBoxRules.h"
#include "ui/dialogs/rules/VersionText.h"
#include "ui/core/rules/PlacementRules.h"

using namespace tolvane;

TEST(CenterPosition, CentresOnTheWholeScreenAndGoesNegativeRatherThanClamp) {
    // A message box (5970 x 1680) on a 1024 x 768 screen, then a window larger than the screen.
    const auto p = placement::CenterPosition(15360, 11520, 5970, 1680);
    EXPECT_EQ(p.x, 4695);
    EXPECT_EQ(p.y, 4920);
    const auto big = placement::CenterPosition(15360, 11520, 16360, 12520);
    EXPECT_EQ(big.x, -500);
    EXPECT_EQ(big.y, -500);
}

TEST(ClosingCorner, EachQuarterOfTheDrawsGivesOneCorner) {
    const std::pair<double, int> cases[] = {{0.0, 1}, {0.2499, 1}, {0.25, 2}, {0.5, 3}, {0.75, 4}, {0.99999, 4}};
    for (const auto& [draw, corner] : cases) EXPECT_EQ(placement::CornerFromDraw(draw), corner) << draw;
}

TEST(Widening, OnlyALineWiderThanTheBoxWidensItAndEverythingIsCentred) {
    EXPECT_FALSE(msgbox::Widen(5970, 5970, {5970, 4680}, 1215)) << "equal is not wider";
    EXPECT_FALSE(msgbox::Widen(5970, 100, {100, 4680}, 1215));

    const auto w = msgbox::Widen(5970, 7000, {4680, 7000}, 2655);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->boxWidth, 7200);
    EXPECT_EQ(w->lineLeft[0], 1260);
    EXPECT_EQ(w->lineLeft[1], 100);
    EXPECT_EQ(w->holderLeft, 2272);
}

TEST(VersionText, MajorMinorAndTheThirdFieldNotTheBuildNumber) {
    EXPECT_EQ(VersionTextFromFileVersion(2u << 16 | 0, 2u << 16 | 9), L"2.0.2");
    EXPECT_EQ(VersionTextFromFileVersion(0xFFFFFFFFu, 0xFFFFFFFFu), L"65535.65535.65535");
    // ﾊﾞｰｼﾞｮﾝ in half-width katakana, then an ASCII blank.
    EXPECT_EQ(SplashVersionLabel(L"2.0.2"), L"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D 2.0.2");
}
