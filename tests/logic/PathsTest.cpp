#include <gtest/gtest.h>

#include <string>

#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

struct PathCase {
    std::wstring input;
    std::wstring expected;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.input); }

class GetFileNameTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetFileNameTest, TakesTextAfterLastBackslash) {
    EXPECT_EQ(GetFileName(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Paths, GetFileNameTest,
                         ::testing::Values(PathCase{L"C:\\a\\b\\c.txt", L"c.txt"},
                                           PathCase{L"c.txt", L"c.txt"},
                                           PathCase{L"C:\\a\\", L""},
                                           PathCase{L"", L""},
                                           PathCase{L"\\\\server\\share\\x y.vbp", L"x y.vbp"}));

class GetDriveRootTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetDriveRootTest, TakesTextThroughFirstBackslash) {
    EXPECT_EQ(GetDriveRoot(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Paths, GetDriveRootTest,
                         ::testing::Values(PathCase{L"C:\\Src\\App.vbp", L"C:\\"},
                                           PathCase{L"C:\\a\\b", L"C:\\"},
                                           PathCase{L"\\\\server\\share", L"\\"},
                                           PathCase{L"abc", L""},
                                           PathCase{L"", L""}));

class GetFolderPathTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetFolderPathTest, EndsInOneBackslash) {
    EXPECT_EQ(GetFolderPath(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Paths, GetFolderPathTest,
                         ::testing::Values(PathCase{L"", L""},
                                           PathCase{L"   ", L""},
                                           PathCase{L"C:\\", L"C:\\"},
                                           PathCase{L"C:\\a\\b\\c.txt", L"C:\\a\\b\\"},
                                           PathCase{L"C:\\Src\\App.vbp", L"C:\\Src\\"},
                                           PathCase{L"C:\\App.vbp", L"C:\\"},
                                           PathCase{L"C:\\Src\\", L"C:\\Src\\"},
                                           PathCase{L"\\\\server\\share\\x.vbp", L"\\\\server\\share\\"},
                                           PathCase{L"\\App.vbp", L"\\"}));

TEST(GetFolderPath, PathWithoutBackslashIsInvalidArgument) {
    for (const wchar_t* path : {L"App.vbp", L" x ", L"C:"}) {
        try {
            GetFolderPath(path);
            ADD_FAILURE() << "no error for a path without backslash";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), kErrInvalidArgument);
            EXPECT_FALSE(e.Description().empty());
        }
    }
}

class QuoteIfSpacedTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(QuoteIfSpacedTest, QuotesOnlyForSpaceCharacter) {
    EXPECT_EQ(QuoteIfSpaced(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Paths, QuoteIfSpacedTest,
    ::testing::Values(PathCase{L"C:\\Program Files\\x.vbp", L"\"C:\\Program Files\\x.vbp\""},
                      PathCase{L"C:\\Src\\x.vbp", L"C:\\Src\\x.vbp"},
                      PathCase{L"", L""},
                      PathCase{L"a\tb", L"a\tb"},
                      // quotes already there are not looked at
                      PathCase{L"\"a b\"", L"\"\"a b\"\""}));

class TrimSpacesTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(TrimSpacesTest, RemovesOnlyOuterSpaces) {
    EXPECT_EQ(TrimSpaces(GetParam().input), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Paths, TrimSpacesTest,
                         ::testing::Values(PathCase{L"  C:\\Src\\App.vbp  ", L"C:\\Src\\App.vbp"},
                                           PathCase{L"   ", L""},
                                           PathCase{L"", L""},
                                           PathCase{L"a  b", L"a  b"},
                                           PathCase{L"\tx\t", L"\tx\t"},
                                           PathCase{L" \u3000x ", L"\u3000x"}));

TEST(IsBlank, OnlySpacesCount) {
    EXPECT_TRUE(IsBlank(L""));
    EXPECT_TRUE(IsBlank(L"   "));
    EXPECT_FALSE(IsBlank(L"\t"));
    EXPECT_FALSE(IsBlank(L" x "));
}

TEST(JoinFolderAndName, AddsBackslashOnlyWhenMissing) {
    EXPECT_EQ(JoinFolderAndName(L"C:\\Tools", L"Tolvane.ini"), L"C:\\Tools\\Tolvane.ini");
    EXPECT_EQ(JoinFolderAndName(L"C:\\", L"Tolvane.ini"), L"C:\\Tolvane.ini");
    EXPECT_EQ(JoinFolderAndName(L"", L"a.ini"), L"\\a.ini");
}

}  // namespace
}  // namespace tolvane
