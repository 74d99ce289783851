#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "engine/CompileListFile.h"
#include "engine/clsTolvane.h"

namespace tolvane {
namespace {

std::vector<std::wstring> PathsOf(const std::vector<ListLine>& lines) {
    std::vector<std::wstring> out;
    for (const auto& l : lines) out.push_back(l.path);
    return out;
}

std::vector<bool> MarksOf(const std::vector<ListLine>& lines) {
    std::vector<bool> out;
    for (const auto& l : lines) out.push_back(l.mark);
    return out;
}

class CompileListText : public ::testing::Test {
protected:
    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};
};

TEST_F(CompileListText, FormatsOneLinePerEntry) {
    EXPECT_EQ(FormatCompileList(engine), L"");
    engine.addVbp(L"C:\\Src\\App\\App.vbp", true);
    engine.addVbp(L"C:\\Src\\Lib\\Lib.vbp", false);
    engine.Vbp()[1]->SetFailure(true);  // not saved
    EXPECT_EQ(FormatCompileList(engine),
              L"True\tC:\\Src\\App\\App.vbp\r\nFalse\tC:\\Src\\Lib\\Lib.vbp\r\n");
}

TEST_F(CompileListText, RoundTripRestoresPathsAndMarksButNotFailures) {
    engine.addVbp(L"C:\\a\\One.vbp", true);
    engine.addVbp(L"C:\\b b\\Two.vbp", false);
    engine.addVbp(L"C:\\a\\One.vbp", true);
    engine.Vbp()[0]->SetFailure(true);
    // What the file holds: the formatted text and the writer's closing CR LF.
    const std::wstring file = FormatCompileList(engine) + L"\r\n";

    clsTolvane reread{platform};
    for (const auto& line : ParseCompileList(file)) reread.addVbp(line.path, line.mark);
    ASSERT_EQ(reread.Count(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(reread.Entry(i).Vbp(), engine.Entry(i).Vbp());
        EXPECT_EQ(reread.Entry(i).Action(), engine.Entry(i).Action());
        EXPECT_FALSE(reread.Entry(i).Failure());
    }
}

TEST(ParseCompileList, EmptyListFileYieldsNothing) {
    EXPECT_TRUE(ParseCompileList(L"\r\n").empty());
    EXPECT_TRUE(ParseCompileList(L"").empty());
    EXPECT_TRUE(ParseCompileList(L"\r\n\r\n\r").empty());
}

TEST(ParseCompileList, LineEndsAtCrLfOrLoneCrButNotLoneLf) {
    const auto lines = ParseCompileList(L"True\ta.vbp\rFalse\tb.vbp\r\nTrue\tc\n.vbp\r\nTrue\td.vbp");
    EXPECT_EQ(PathsOf(lines), (std::vector<std::wstring>{L"a.vbp", L"b.vbp", L"c\n.vbp", L"d.vbp"}));
    EXPECT_EQ(MarksOf(lines), (std::vector<bool>{true, false, true, true}));
}

TEST(ParseCompileList, SkipsLinesWithoutAPath) {
    const auto lines = ParseCompileList(
        L"C:\\no-tab.vbp\r\n"
        L"True\t   \r\n"
        L"True\t\r\n"
        L"True\t\tC:\\third-field.vbp\r\n"
        L"\r\n"
        L"True\t  C:\\padded.vbp  \r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].path, L"  C:\\padded.vbp  ");

    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};
    engine.addVbp(lines[0].path, lines[0].mark);
    EXPECT_EQ(engine.Entry(1).Vbp(), L"C:\\padded.vbp");
}

TEST(ParseCompileList, IgnoresFieldsAfterTheSecond) {
    const auto lines = ParseCompileList(L"1\tC:\\a.vbp\tFalse\textra\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].path, L"C:\\a.vbp");
    EXPECT_TRUE(lines[0].mark);
}

TEST(ParseCompileList, UnreadableMarkAddsUnchecked) {
    const auto lines = ParseCompileList(L"yes\tC:\\a.vbp\r\n\tC:\\b.vbp\r\n");
    EXPECT_EQ(MarksOf(lines), (std::vector<bool>{false, false}));
    EXPECT_EQ(PathsOf(lines), (std::vector<std::wstring>{L"C:\\a.vbp", L"C:\\b.vbp"}));
}

struct MarkCase {
    const wchar_t* field;
    bool mark;
};
void PrintTo(const MarkCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::wstring(c.field)); }

class CheckMarkTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(CheckMarkTest, ReadsWordsAndNumbers) {
    EXPECT_EQ(ParseCheckMark(GetParam().field), GetParam().mark)
        << ::testing::PrintToString(std::wstring(GetParam().field));
}

INSTANTIATE_TEST_SUITE_P(
    CompileListFile, CheckMarkTest,
    ::testing::Values(MarkCase{L"True", true}, MarkCase{L"TRUE", true}, MarkCase{L"tRuE", true},
                      MarkCase{L"False", false}, MarkCase{L"FALSE", false},
                      MarkCase{L" True ", true}, MarkCase{L"1", true}, MarkCase{L"0", false},
                      MarkCase{L"-1", true}, MarkCase{L"+0", false}, MarkCase{L"0.0", false},
                      MarkCase{L"0.5", true}, MarkCase{L".5", true}, MarkCase{L"5.", true},
                      MarkCase{L"1e3", true}, MarkCase{L"0E5", false}, MarkCase{L" 2 ", true},
                      MarkCase{L"", false}, MarkCase{L"   ", false}, MarkCase{L".", false},
                      MarkCase{L"-", false}, MarkCase{L"1e", false}, MarkCase{L"1x", false},
                      MarkCase{L"Truee", false}, MarkCase{L"Tru", false}, MarkCase{L"yes", false},
                      MarkCase{L"1 2", false}, MarkCase{L"\t1", false}));

}  // namespace
}  // namespace tolvane
