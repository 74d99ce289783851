#include <gtest/gtest.h>

#include <string>

#include "engine/CommandLine.h"

namespace tolvane {
namespace {

struct LineCase {
    const wchar_t* vb;
    const wchar_t* project;
    const wchar_t* outFolder;
    const wchar_t* dimension;
    const wchar_t* expected;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::wstring(c.expected)); }

class BuildCommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(BuildCommandLineTest, JoinsPiecesInOrder) {
    const auto& c = GetParam();
    EXPECT_EQ(BuildCommandLine(c.vb, c.project, c.outFolder, c.dimension), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BuildCommandLineTest,
    ::testing::Values(
        LineCase{L"C:\\VB98\\VB6.EXE", L"C:\\Src\\App.vbp", L"D:\\Bin", L"DEBUG = 1 : TRACE = 0",
                 L"C:\\VB98\\VB6.EXE /make C:\\Src\\App.vbp /outdir D:\\Bin /d DEBUG=1:TRACE=0"},
        LineCase{L"C:\\VB98\\VB6.EXE", L"C:\\Src\\App.vbp", L"", L"",
                 L"C:\\VB98\\VB6.EXE /make C:\\Src\\App.vbp"},
        LineCase{L"C:\\Program Files\\VB6.EXE", L"C:\\My Src\\App.vbp", L"D:\\My Bin", L"",
                 L"C:\\Program Files\\VB6.EXE /make \"C:\\My Src\\App.vbp\" /outdir \"D:\\My Bin\""},
        LineCase{L"VB6.EXE", L"a.vbp", L"", L"DEBUG = 1",
                 L"VB6.EXE /make a.vbp /d DEBUG=1"},
        // Tabs are no spaces: neither quoted nor removed.
        LineCase{L"VB6.EXE", L"a\tb.vbp", L"", L"X\t=1", L"VB6.EXE /make a\tb.vbp /d X\t=1"}));

TEST(UnsafeCommandLineChar, QuotesAndControlCharacters) {
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\My Src\\アプリ.vbp"));
    EXPECT_FALSE(HasUnsafeCommandLineChar(L""));
    EXPECT_TRUE(HasUnsafeCommandLineChar(L"C:\\a\".vbp"));
    EXPECT_TRUE(HasUnsafeCommandLineChar(L"C:\\a\x1F.vbp"));
    EXPECT_TRUE(HasUnsafeCommandLineChar(L"C:\\a\x7F.vbp"));
    EXPECT_TRUE(HasUnsafeCommandLineChar(std::wstring(L"C:\\a\0b", 6)));
    EXPECT_FALSE(HasUnsafeCommandLineChar(L"C:\\a\x80.vbp"));
}

}  // namespace
}  // namespace tolvane
