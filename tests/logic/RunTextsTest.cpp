// The texts of a run: the compiler's command line, and the run log's pieces
// and counters where the whole-program runs do not reach (the reason line
// under a failure line, the zero and empty cases).
#include <gtest/gtest.h>

#include <string>

#include "engine/CommandLine.h"
#include "engine/RunLog.h"

namespace tolvane {
namespace {

TEST(CommandLine, JoinsPiecesInOrderQuotingSpacedPathsAndDroppingSpacesFromConstants) {
    const struct {
        const wchar_t *vb, *project, *outFolder, *dimension, *expected;
    } cases[] = {
        {L"C:\\VB98\\VB6.EXE", L"C:\\Src\\App.vbp", L"D:\\Bin", L"DEBUG = 1 : TRACE = 0",
         L"C:\\VB98\\VB6.EXE /make C:\\Src\\App.vbp /outdir D:\\Bin /d DEBUG=1:TRACE=0"},
        {L"C:\\VB98\\VB6.EXE", L"C:\\Src\\App.vbp", L"", L"", L"C:\\VB98\\VB6.EXE /make C:\\Src\\App.vbp"},
        {L"C:\\Program Files\\VB6.EXE", L"C:\\My Src\\App.vbp", L"D:\\My Bin", L"",
         L"C:\\Program Files\\VB6.EXE /make \"C:\\My Src\\App.vbp\" /outdir \"D:\\My Bin\""},
        {L"VB6.EXE", L"a.vbp", L"", L"DEBUG = 1", L"VB6.EXE /make a.vbp /d DEBUG=1"},
        // A quoted folder's final backslashes are doubled, or the compiler's C
        // runtime would read \" as a quote inside the folder; unquoted, they stay.
        {L"VB6.EXE", L"a.vbp", L"D:\\出力 先\\", L"A=1", L"VB6.EXE /make a.vbp /outdir \"D:\\出力 先\\\\\" /d A=1"},
        {L"VB6.EXE", L"a.vbp", L"D:\\a b\\\\", L"", L"VB6.EXE /make a.vbp /outdir \"D:\\a b\\\\\\\\\""},
        {L"VB6.EXE", L"a.vbp", L"D:\\Bin\\", L"", L"VB6.EXE /make a.vbp /outdir D:\\Bin\\"},
        // Tabs are no spaces: neither quoted nor removed.
        {L"VB6.EXE", L"a\tb.vbp", L"", L"X\t=1", L"VB6.EXE /make a\tb.vbp /d X\t=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildCommandLine(c.vb, c.project, c.outFolder, c.dimension), c.expected);
}

TEST(CommandLine, QuotesAndControlCharactersAreUnsafe) {
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\My Src\\アプリ.vbp"));
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\a\x80.vbp"));
    for (const std::wstring bad : {L"C:\\a\".vbp", L"C:\\a\x1F.vbp", L"C:\\a\x7F.vbp"})
        EXPECT_TRUE(HasUnsafeCommandLineChar(bad)) << ::testing::PrintToString(bad);
    EXPECT_TRUE(HasUnsafeCommandLineChar(std::wstring(L"C:\\a\0b", 6)));
}

TEST(RunLog, FailureReasonBecomesOneIndentedLineOrNone) {
    const struct {
        const wchar_t* reason;
        const wchar_t* line;
    } cases[] = {
        {L"a\r\nb", L"\ta b"},
        {L"  a \r\n\r\n\tb\r\n", L"\ta b"},  // runs of breaks, tabs and blanks: one space
        {L"a\rb\nc", L"\ta b c"},
        {L"a\x01" L"b\x1F" L"c\x7F", L"\ta b c"},
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
    EXPECT_EQ(RunningFailureText(1), L"1");
    for (int failures : {0, -1}) {
        const ClosingNotice clean = ClosingNoticeFor(failures);
        EXPECT_EQ(clean.message1, L"") << failures;
        EXPECT_EQ(clean.color, 0x800000u) << failures;
    }
    EXPECT_EQ(ClosingNoticeFor(1).color, 0u);  // the box's own red
    const std::wstring rule(42, L'=');
    EXPECT_EQ(SummaryBlock(L"a", L"b", L"c"), rule + L"\r\n開始時間：a\r\n終了時間：b\r\n経過時間：c\r\n" + rule);
}

}  // namespace
}  // namespace tolvane
