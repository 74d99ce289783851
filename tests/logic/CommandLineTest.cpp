#include <gtest/gtest.h>

#include <string>

#include "engine/CommandLine.h"

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

}  // namespace
}  // namespace tolvane
