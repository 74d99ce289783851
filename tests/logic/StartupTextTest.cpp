// The texts the start-up windows build: the version from the resource's
// numbers, the version labels, and the credits roll's lines.
#include <gtest/gtest.h>

#include "ui/dialogs/rules/StaffRoll.h"
#include "ui/dialogs/rules/VersionText.h"

using namespace tolvane;

TEST(VersionText, MajorMinorAndTheThirdFieldNotTheBuildNumber) {
    EXPECT_EQ(VersionTextFromFileVersion(2u << 16 | 0, 2u << 16 | 9), L"2.0.2");
    EXPECT_EQ(VersionTextFromFileVersion(0xFFFFFFFFu, 0xFFFFFFFFu), L"65535.65535.65535");
    // ﾊﾞｰｼﾞｮﾝ in half-width katakana, then an ASCII blank.
    EXPECT_EQ(SplashVersionLabel(L"2.0.2"), L"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D 2.0.2");
}

TEST(StaffRoll, UnnamedRolesTakeTheDefaultNameAndNamedOnesStay) {
    StaffNames names{L"", L"設計者", L"", L"", L"検査係"};
    FillDefaultStaff(names);
    EXPECT_EQ(names, (StaffNames{kDefaultStaffName, L"設計者", kDefaultStaffName, kDefaultStaffName, L"検査係"}));
}

TEST(StaffRoll, TitleThenEachHeadingWithABlankLineAndItsNameFiveBlankLinesApart) {
    const auto lines = StaffRollLines({L"発案者", L"デザイナー", L"プログラマー", L"テスター", L"デバッガー"}, L"BUILDPC", L"2.0.2");
    ASSERT_EQ(lines.size(), 57u);
    EXPECT_EQ(lines[0], L"■■ Tolvane Ver2.0.2■■");
    const wchar_t* roles[][2] = {{L"★★ 発案 ★★", L"発案者"},           {L"★★ デザイン ★★", L"デザイナー"},
                                 {L"★★ コーディング ★★", L"プログラマー"}, {L"★★ 効果音 ★★", L"BUILDPC"},
                                 {L"★★ テスト ★★", L"テスター"},         {L"★★ デバッグ ★★", L"デバッガー"},
                                 {L"★★ 製作・著作権 ★★", L"Ostrevia"}};
    for (size_t i = 0; i < 7; ++i) {
        const size_t at = 6 + 8 * i;  // after the title and five blanks; a role and its five blanks take 8
        EXPECT_EQ(lines[at], roles[i][0]);
        EXPECT_EQ(lines[at + 1], L"");
        EXPECT_EQ(lines[at + 2], roles[i][1]);
        if (at + 3 < lines.size()) {
            EXPECT_EQ(lines[at + 3] + lines[at + 7], L"") << roles[i][0];
        }
    }
}
