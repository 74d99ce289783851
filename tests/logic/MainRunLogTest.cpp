// The pieces of the main window's run log and its counters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/main/rules/RunLog.h"

using namespace tolvane;

namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return lines;
        start = end + 2;
    }
}

const std::wstring kRule(42, L'=');

}  // namespace

TEST(MainRunLog, SummaryBlockIsFiveLinesBetweenTwoRulesWithoutFinalLineEnd) {
    const std::wstring block = SummaryBlock(L"2005/04/01 9:05:07", L"2005/04/01 9:06:17", L"00:01:10");
    EXPECT_EQ(block, kRule + L"\r\n開始時間：2005/04/01 9:05:07\r\n終了時間：2005/04/01 9:06:17\r\n"
                             L"経過時間：00:01:10\r\n" + kRule);
    EXPECT_NE(block.substr(block.size() - 2), L"\r\n");
}

TEST(MainRunLog, TwoBuildsTheSecondFailedReadAsTheExampleLog) {
    // An empty log, a run of App.vbp (built) and Lib.vbp (failed, its box said why).
    std::wstring log;
    log += RunStartPiece();
    log += BuildStartedPiece(L"T\tApp.vbp   ｺﾝﾊﾟｲﾙ開始");
    log += BuildEndedPiece(L"T\tApp.vbp   ｺﾝﾊﾟｲﾙ終了", false, L"");
    log += BuildStartedPiece(L"T\tLib.vbp   ｺﾝﾊﾟｲﾙ開始");
    log += BuildEndedPiece(L"T\tLib.vbp   ｺﾝﾊﾟｲﾙ失敗", true, L"'Form1.frm' が見つかりません。\r\nLib.vbp");
    log += SummaryBlock(L"S", L"E", L"00:01:10");

    const std::vector<std::wstring> expected = {
        L"",
        L"T\tApp.vbp   ｺﾝﾊﾟｲﾙ開始",
        L"T\tApp.vbp   ｺﾝﾊﾟｲﾙ終了",
        L"",
        L"T\tLib.vbp   ｺﾝﾊﾟｲﾙ開始",
        L"T\tLib.vbp   ｺﾝﾊﾟｲﾙ失敗",
        L"\t'Form1.frm' が見つかりません。 Lib.vbp",
        L"",
        kRule,
        L"開始時間：S",
        L"終了時間：E",
        L"経過時間：00:01:10",
        kRule,
    };
    EXPECT_EQ(Lines(log), expected);
}

TEST(MainRunLog, FailureReasonBecomesOneIndentedLine) {
    EXPECT_EQ(FailureDetailLine(L"a\r\nb"), L"\ta b");
    EXPECT_EQ(FailureDetailLine(L"  a \r\n\r\n\tb\r\n"), L"\ta b");
    EXPECT_EQ(FailureDetailLine(L"a\rb\nc"), L"\ta b c");
    EXPECT_EQ(FailureDetailLine(L"ｴﾗｰ"), L"\tｴﾗｰ");
    EXPECT_EQ(FailureDetailLine(L""), L"");
    EXPECT_EQ(FailureDetailLine(L" \r\n\t "), L"");
}

TEST(MainRunLog, EndedBuildAddsAReasonLineOnlyForAFailureWithAReason) {
    EXPECT_EQ(BuildEndedPiece(L"M", false, L""), L"M\r\n\r\n");
    // A reason left from an earlier run does not show under a good build.
    EXPECT_EQ(BuildEndedPiece(L"M", false, L"old"), L"M\r\n\r\n");
    EXPECT_EQ(BuildEndedPiece(L"M", true, L""), L"M\r\n\r\n");
    EXPECT_EQ(BuildEndedPiece(L"M", true, L"x\r\ny"), L"M\r\n\tx y\r\n\r\n");
    EXPECT_EQ(BuildStartedPiece(L"M"), L"M\r\n");
}

TEST(MainRunLog, StopLines) {
    EXPECT_EQ(StoppingPiece(), L"ｺﾝﾊﾟｲﾙを中止しています・・・\r\n");
    EXPECT_EQ(StoppedPiece(), L"ｺﾝﾊﾟｲﾙを中止しました\r\n\r\n");
    EXPECT_EQ(AbortingPiece(), L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・\r\n");
}

TEST(MainRunLog, CountersShowBareNumbersDuringTheRunAndTheWordAfter) {
    EXPECT_EQ(ProgressText(3, 10), L"3/10");
    EXPECT_EQ(ProgressText(0, 0), L"0/0");
    EXPECT_EQ(RunningFailureText(0), L"");
    EXPECT_EQ(RunningFailureText(12), L"12");
    EXPECT_EQ(FinalFailureText(2), L"失敗 2");
}

TEST(MainRunLog, ClosingNoticeIsRedWithTheCountOrNavyWithAnEmptyFirstLine) {
    const ClosingNotice failed = ClosingNoticeFor(2);
    EXPECT_EQ(failed.message1, L"2件のｺﾝﾊﾟｲﾙに失敗しています");
    EXPECT_EQ(failed.message2, L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_EQ(failed.color, 0u);  // the box's own red

    for (int n : {0, -1}) {
        const ClosingNotice clean = ClosingNoticeFor(n);
        EXPECT_EQ(clean.message1, L"");
        EXPECT_EQ(clean.message2, L"ｺﾝﾊﾟｲﾙが終了しました");
        EXPECT_EQ(clean.color, 0x800000u);
    }
}
