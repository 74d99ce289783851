// The texts of a run: the compiler's command line, and the run log's pieces
// and counters where the whole-program runs do not reach (the reason line
// under a failure line, the zero and empty cases), the compiler's own log and
// the elapsed time.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Raised.h"
#include "engine/CommandLine.h"
#include "engine/CompilerLog.h"
#include "engine/RunLog.h"
#include "engine/SourceHeader.h"
#include "engine/clsTime.h"
#include "support/DateTime.h"
#include "support/VbError.h"

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
        // A quoted folder's final backslashes are doubled, or the compiler's C
        // runtime would read \" as a quote inside the folder; unquoted, they stay.
        {L"VB6.EXE", L"a.vbp", L"D:\\出力 先\\", L"A=1", L"VB6.EXE /make a.vbp /outdir \"D:\\出力 先\\\\\" /d A=1"},
        {L"VB6.EXE", L"a.vbp", L"D:\\a b\\\\", L"", L"VB6.EXE /make a.vbp /outdir \"D:\\a b\\\\\\\\\""},
        {L"VB6.EXE", L"a.vbp", L"D:\\Bin\\", L"", L"VB6.EXE /make a.vbp /outdir D:\\Bin\\"},
        // Tabs are no spaces: neither quoted nor removed.
        {L"VB6.EXE", L"a\tb.vbp", L"", L"X\t=1", L"VB6.EXE /make a\tb.vbp /d X\t=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildCommandLine(c.vb, c.project, c.outFolder, c.dimension), c.expected);
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\My Src\\アプリ.vbp"));
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\a\x80.vbp"));
    EXPECT_TRUE(HasUnsafeCommandLineChar(std::wstring(L"C:\\a\0b", 6)));
}

TEST(RunLog, OneReasonLineOnlyUnderAFailureAndNoFailuresLeaveTheCounterEmptyAndTheNoticeNavy) {
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
    EXPECT_EQ(BuildEndedPiece(L"M", true, L"x\r\ny"), L"M\r\n\tx y\r\n\r\n");
    EXPECT_EQ(BuildEndedPiece(L"M", true, L" \r\n"), L"M\r\n\r\n");
    // A reason left from an earlier run does not show under a good build.
    EXPECT_EQ(BuildEndedPiece(L"M", false, L"old"), L"M\r\n\r\n");
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

// The compiler's own log, and the source header it counts lines after.
std::string Ansi(const std::wstring& text) { return *SystemAnsiCodec().Encode(text); }

TEST(CompilerLog, KeepsEveryLineButBlankOnesAndTheVerdictAndTheFilesLineCountsItsHeader) {
    const struct {
        std::wstring bytes;
        std::size_t shown;       // lines kept
        std::wstring errorPath;  // empty: no compile error
        std::int64_t errorLine;
        std::vector<std::wstring> loadLogs;
    } cases[] = {
        {L"\r\nCompile Error in File 'C:\\S\\Module1.bas', Line 4 : Syntax error\r\nBuild of 'App.exe' failed.\r\n", 1,
         L"C:\\S\\Module1.bas", 4, {}},
        // Localized messages, LF or CR alone, a missing file, a control: shown as they stand.
        {L"ファイル 'x.cls' が見つかりません\nFile not found: 'cCommonDialog.cls'\r\r\n  \r\n'C:\\NOPE.OCX' could not be loaded", 3,
         L"", 0, {}},
        // The verdict goes only as the last line; a form log named in any language.
        {L"Errors during load. Refer to 'C:\\S\\Form1.log' for details\r\nBuild of 'X.exe' succeeded.\r\n"
         L"Errores durante la carga. Consulte 'Form2.LOG'\r\n",
         3, L"", 0, {L"C:\\S\\Form1.log", L"Form2.LOG"}},
        // Near misses of the one form name no place; the first real one counts.
        {L"Compile Error in File '', Line 4 : x\r\nCompile Error in File 'a.bas', Line : x\r\n"
         L"Compile Error in File 'a.bas', Line 4: x\r\ncompile error in file 'a.bas', Line 4 : x\r\n"
         L"Compile Error in File 'b.frm', Line 12 : Variable not defined\r\nCompile Error in File 'c.frm', Line 1 : 2\r\n",
         6, L"b.frm", 12, {}},
        {L"", 0, L"", 0, {}},
    };
    for (const auto& c : cases) {
        const CompilerLog log = ReadCompilerLog(Ansi(c.bytes), SystemAnsiCodec());
        EXPECT_EQ(log.lines.size(), c.shown) << c.bytes;
        EXPECT_EQ(log.loadLogs, c.loadLogs) << c.bytes;
        ASSERT_EQ(log.error.has_value(), !c.errorPath.empty()) << c.bytes;
        if (!log.error) continue;
        EXPECT_EQ(log.error->path, c.errorPath);
        EXPECT_EQ(log.error->line, c.errorLine);
    }
    EXPECT_EQ(ReadCompilerLog(Ansi(cases[1].bytes), SystemAnsiCodec()).lines,
              (std::vector<std::wstring>{L"ファイル 'x.cls' が見つかりません", L"File not found: 'cCommonDialog.cls'",
                                         L"'C:\\NOPE.OCX' could not be loaded"}));
    const auto error = ParseCompileError(L"Compile Error in File 'C:\\a b\\M.bas', Line 0 : 型が一致しません。 : 2");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, L"型が一致しません。 : 2");
    EXPECT_FALSE(ParseCompileError(L"Compile Error in File 'M.bas', Line 1234567890 : too long"));
    const struct {
        const char* name;
        std::string text;
        std::int64_t header;
    } headers[] = {
        {"bas", "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\nSub Main()\r\n", 1},
        {"cls",
         "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 0\r\nEND\r\n"
         "Attribute VB_Name = \"Class1\"\r\nAttribute VB_Exposed = False\r\nOption Explicit\r\nEnd Sub\r\n",
         7},
        {"frm with designer block",
         "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
         "Begin VB.Form Form1 \r\n   Caption = \"Form1\"\r\n   Begin VB.CommandButton Command1 \r\n"
         "      BeginProperty Font \r\n         Name = \"MS UI Gothic\"\r\n      EndProperty\r\n   End\r\nEnd\r\n"
         "Attribute VB_Name = \"Form1\"\r\nAttribute VB_Creatable = False\r\nPrivate Sub Form_Load()\r\nEnd\r\n",
         12},
        {"no header", "Option Explicit\r\n", 0},
        {"a block never closed", "VERSION 5.00\r\nBegin VB.Form F\r\nSub X()\r\n", 3},
    };
    for (const auto& c : headers) {
        EXPECT_EQ(HeaderLineCount(c.text), c.header) << c.name;
        EXPECT_EQ(FileLineOf(3, c.text), c.header + 4) << c.name;
    }
}

// Elapsed time: seconds between two local times as hours:minutes:seconds, each part signed.
using testing::Raised;

DateTime At(int y, int mo, int d, int h, int mi, int s) { return DateTime{y, mo, d, h, mi, s}; }

TEST(TimeRecord, SecondsFromYearOneEveryPartSignedAndOnlyASuccessfulStopRecomputes) {
    EXPECT_EQ(ToSeconds(At(1, 1, 2, 1, 2, 3)), 86400 + 3723);
    EXPECT_EQ(ToSeconds(At(2000, 3, 1, 0, 0, 0)) - ToSeconds(At(2000, 2, 28, 0, 0, 0)), 2 * 86400);
    EXPECT_EQ(ToSeconds(At(1900, 3, 1, 0, 0, 0)) - ToSeconds(At(1900, 2, 28, 0, 0, 0)), 86400);
    EXPECT_EQ(ToSeconds(At(1970, 1, 1, 0, 0, 0)), 62135596800LL);
    const struct {
        DateTime start, stop;
        const wchar_t* text;
    } cases[] = {
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 10, 0, 0), L"00:00:00"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 11, 2, 3), L"01:02:03"},
        {At(2005, 4, 1, 23, 59, 30), At(2005, 4, 2, 0, 0, 10), L"00:00:40"},
        {At(2005, 1, 1, 0, 0, 0), At(2005, 1, 6, 0, 0, 9), L"120:00:09"},
        {At(2004, 2, 28, 12, 0, 0), At(2004, 3, 1, 12, 0, 0), L"48:00:00"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 9, 59, 59), L"00:00:-01"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 8, 58, 59), L"-01:-01:-01"},
        {At(2005, 4, 1, 9, 0, 0), At(2073, 4, 19, 12, 14, 7), L"596523:14:07"},  // the most 32 bits hold
    };
    for (const auto& c : cases) {
        clsTime record;
        record.SetStartTime(c.start);
        record.SetStopTime(c.stop);
        EXPECT_EQ(record.DiffTime(), c.text);
    }
    EXPECT_EQ(FormatElapsed(std::numeric_limits<std::int32_t>::min()), L"-596523:-14:-08");
    EXPECT_EQ(FormatElapsed(-60), L"00:-01:00");
    clsTime record;
    EXPECT_EQ(record.DiffTime(), L"");
    const VbError noStart = Raised([&] { record.SetStopTime(At(2005, 4, 1, 10, 0, 0)); });
    EXPECT_TRUE(noStart.Number() == kErrTypeMismatch && noStart.Source() == L"clsTime");
    EXPECT_EQ(record.StopTime()->hour, 10);  // kept all the same
    EXPECT_EQ(record.DiffTime(), L"");

    record.SetStartTime(At(2005, 4, 1, 10, 0, 0));
    record.SetStopTime(At(2005, 4, 1, 10, 1, 0));
    record.SetStartTime(At(2005, 4, 1, 9, 0, 0));  // a new start alone changes nothing
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    EXPECT_NE(Raised([&] { record.SetStopTime(std::nullopt); }).Number(), 0);
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    // One second beyond 32 bits the difference overflows.
    EXPECT_EQ(Raised([&] { record.SetStopTime(At(2073, 4, 19, 12, 14, 8)); }).Number(), kErrOverflow);
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    EXPECT_EQ(record.StopTime()->year, 2073);
}

}  // namespace
}  // namespace tolvane
