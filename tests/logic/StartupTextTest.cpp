// The texts the start-up windows build: the version from the resource's
// numbers, the version labels, and the credits roll's lines.
#include <gtest/gtest.h>

#include "ui/startup/StaffRoll.h"
#include "ui/startup/VersionText.h"

using namespace tolvane;

namespace {

std::uint32_t Word(std::uint32_t high, std::uint32_t low) { return high << 16 | low; }

}  // namespace

TEST(VersionText, MajorMinorAndTheThirdFieldAsRevisionInPlainDecimal) {
    EXPECT_EQ(VersionTextFromFileVersion(Word(2, 0), Word(2, 0)), L"2.0.2");
    // The fourth field is the build number, not the revision.
    EXPECT_EQ(VersionTextFromFileVersion(Word(2, 0), Word(2, 9)), L"2.0.2");
    EXPECT_EQ(VersionTextFromFileVersion(Word(10, 5), Word(7, 0)), L"10.5.7");
    EXPECT_EQ(VersionTextFromFileVersion(Word(65535, 65535), Word(65535, 65535)), L"65535.65535.65535");
}

TEST(VersionText, LabelsUseHalfWidthKatakanaAndAnAsciiBlank) {
    // ﾊﾞｰｼﾞｮﾝ in half-width katakana, then U+0020.
    EXPECT_EQ(SplashVersionLabel(L"2.0.2"), L"\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D 2.0.2");
    EXPECT_EQ(AboutVersionLabel(L"2.0.2"), L"Ver 2.0.2");
}

TEST(StaffRoll, UnnamedRolesTakeTheDefaultNameAndNamedOnesStay) {
    StaffNames names{L"", L"設計者", L"", L"", L"検査係"};
    FillDefaultStaff(names);
    EXPECT_EQ(names[0], kDefaultStaffName);
    EXPECT_EQ(names[1], L"設計者");
    EXPECT_EQ(names[2], kDefaultStaffName);
    EXPECT_EQ(names[3], kDefaultStaffName);
    EXPECT_EQ(names[4], L"検査係");
    EXPECT_FALSE(std::wstring(kDefaultStaffName).empty());
}

TEST(StaffRoll, LinesInOrderWithTheirBlankLines) {
    const StaffNames names{L"発案者", L"デザイナー", L"プログラマー", L"テスター", L"デバッガー"};
    const auto lines = StaffRollLines(names, L"BUILDPC", L"2.0.2");

    const std::vector<std::wstring> b5(5, L"");
    std::vector<std::wstring> expected{L"■■ Tolvane Ver2.0.2■■"};
    expected.insert(expected.end(), b5.begin(), b5.end());
    const std::pair<const wchar_t*, const wchar_t*> roles[] = {
        {L"★★ 発案 ★★", L"発案者"},         {L"★★ デザイン ★★", L"デザイナー"},
        {L"★★ コーディング ★★", L"プログラマー"}, {L"★★ 効果音 ★★", L"BUILDPC"},
        {L"★★ テスト ★★", L"テスター"},       {L"★★ デバッグ ★★", L"デバッガー"},
    };
    for (const auto& [heading, name] : roles) {
        expected.insert(expected.end(), {heading, L"", name});
        expected.insert(expected.end(), b5.begin(), b5.end());
    }
    expected.insert(expected.end(), {L"★★ 製作・著作権 ★★", L"", L"Ostrevia"});
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.size(), 57u);
}
