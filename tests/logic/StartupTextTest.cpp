// The version text the start-up windows build from the resource's numbers.
#include <gtest/gtest.h>

#include "ui/dialogs/rules/VersionText.h"

using namespace tolvane;

TEST(VersionText, MajorMinorAndTheThirdFieldNotTheBuildNumber) {
    EXPECT_EQ(VersionTextFromFileVersion(2u << 16 | 0, 2u << 16 | 9), L"2.0.2");
    EXPECT_EQ(VersionTextFromFileVersion(0xFFFFFFFFu, 0xFFFFFFFFu), L"65535.65535.65535");
    // ﾊﾞｰｼﾞｮﾝ in half-width katakana, then an ASCII blank.
    EXPECT_EQ(SplashVersionLabel(L"2.0.2"), L"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D 2.0.2");
}
