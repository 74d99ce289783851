// The run log's pieces and counters where the whole-program runs do not reach:
// the reason line under a failure line, and the zero and empty cases.
#include <gtest/gtest.h>

#include <string>

#include "engine/RunLog.h"

using namespace tolvane;

TEST(RunLog, FailureReasonBecomesOneIndentedLineOrNone) {
    const struct {
        const wchar_t* reason;
        const wchar_t* line;
    } cases[] = {
        {L"a\r\nb", L"\ta b"},
        {L"  a \r\n\r\n\tb\r\n", L"\ta b"},  // runs of breaks, tabs and blanks: one space
        {L"a\rb\nc", L"\ta b c"},
        {L"ｴﾗｰ", L"\tｴﾗｰ"},
        {L"", L""},
        {L" \r\n\t ", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureDetailLine(c.reason), c.line) << c.reason;
}

TEST(RunLog, EndedBuildShowsAReasonOnlyForAFailureThatHasOne) {
    EXPECT_EQ(BuildEndedPiece(L"M", true, L"x\r\ny"), L"M\r\n\tx y\r\n\r\n");
    EXPECT_EQ(BuildEndedPiece(L"M", true, L" \r\n"), L"M\r\n\r\n");
    // A reason left from an earlier run does not show under a good build.
    EXPECT_EQ(BuildEndedPiece(L"M", false, L"old"), L"M\r\n\r\n");
}

TEST(RunLog, NoFailuresLeaveTheCounterEmptyAndTheClosingNoticeNavy) {
    EXPECT_EQ(RunningFailureText(0), L"");
    EXPECT_EQ(RunningFailureText(12), L"12");
    for (int failures : {0, -1}) {
        const ClosingNotice clean = ClosingNoticeFor(failures);
        EXPECT_EQ(clean.message1, L"") << failures;
        EXPECT_EQ(clean.color, 0x800000u) << failures;
    }
    EXPECT_EQ(ClosingNoticeFor(2).color, 0u);  // the box's own red
}
