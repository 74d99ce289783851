// Placement and message-box arithmetic, apart from any window.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "ui/dialogs/rules/MessageBoxRules.h"
#include "ui/dialogs/rules/PlacementRules.h"

using namespace tolvane;

TEST(CenterPosition, CentresOnTheWholeScreenWithoutClamping) {
    // A message box (5970 x 1680) on a 1024 x 768 screen.
    const auto p = placement::CenterPosition(15360, 11520, 5970, 1680);
    EXPECT_EQ(p.x, 4695);
    EXPECT_EQ(p.y, 4920);
    // Wider and taller than the screen: negative, not pulled back.
    const auto big = placement::CenterPosition(15360, 11520, 16360, 12520);
    EXPECT_EQ(big.x, -500);
    EXPECT_EQ(big.y, -500);
}

TEST(ClosingCorner, EveryDrawFallsInOneOfFourEqualQuarters) {
    EXPECT_EQ(placement::CornerFromDraw(0.0), 1);
    EXPECT_EQ(placement::CornerFromDraw(0.2499), 1);
    EXPECT_EQ(placement::CornerFromDraw(0.25), 2);
    EXPECT_EQ(placement::CornerFromDraw(0.5), 3);
    EXPECT_EQ(placement::CornerFromDraw(0.75), 4);
    EXPECT_EQ(placement::CornerFromDraw(0.99999), 4);

    std::mt19937 engine(12345);
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    std::array<int, 5> count{};
    const int n = 40000;
    for (int i = 0; i < n; ++i) ++count[placement::CornerFromDraw(draw(engine))];
    EXPECT_EQ(count[0], 0);
    for (int corner = 1; corner <= 4; ++corner) EXPECT_NEAR(count[corner], n / 4, n / 40) << corner;
}

TEST(TimerMilliseconds, RefusesWhatDoesNotFitIn32Bits) {
    EXPECT_EQ(msgbox::TimerMilliseconds(0), 0);
    EXPECT_EQ(msgbox::TimerMilliseconds(3), 3000);
    EXPECT_EQ(msgbox::TimerMilliseconds(2147483), 2147483000);
    EXPECT_EQ(msgbox::TimerMilliseconds(-2147483), -2147483000);
    EXPECT_FALSE(msgbox::TimerMilliseconds(2147484));
    EXPECT_FALSE(msgbox::TimerMilliseconds(-2147484));
    EXPECT_FALSE(msgbox::TimerMilliseconds(INT32_MAX));
    EXPECT_FALSE(msgbox::TimerMilliseconds(INT32_MIN));
}

TEST(Widening, OnlyALineWiderThanTheBoxWidensIt) {
    // Equal is not wider.
    EXPECT_FALSE(msgbox::Widen(5970, 5970, {5970, 4680}, 1215));
    EXPECT_FALSE(msgbox::Widen(5970, 100, {100, 4680}, 1215));

    const auto w = msgbox::Widen(5970, 7000, {4680, 7000}, 2655);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->boxWidth, 7200);
    EXPECT_EQ(w->lineLeft[0], (7200 - 4680) / 2);
    EXPECT_EQ(w->lineLeft[1], 100);
    EXPECT_EQ(w->holderLeft, (7200 - 2655) / 2);
}
