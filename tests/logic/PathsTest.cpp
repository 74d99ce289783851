// Path pieces as the program cuts them: backslashes and plain spaces only.
#include <gtest/gtest.h>

#include <string>

#include "support/Paths.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using Cases = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

template <class F>
void ExpectAll(F f, Cases cases) {
    for (const auto& [input, expected] : cases) EXPECT_EQ(f(input), expected) << ::testing::PrintToString(std::wstring(input));
}

TEST(Paths, NameRootAndFolderAreCutAtBackslashes) {
    ExpectAll(GetFileName, {{L"C:\\a\\b\\c.txt", L"c.txt"}, {L"c.txt", L"c.txt"}, {L"C:\\a\\", L""},
                            {L"\\\\server\\share\\x y.vbp", L"x y.vbp"}});
    ExpectAll(GetDriveRoot, {{L"C:\\a\\b", L"C:\\"}, {L"\\\\server\\share", L"\\"}, {L"abc", L""}, {L"", L""}});
    ExpectAll(GetFolderPath, {{L"", L""}, {L"   ", L""}, {L"C:\\", L"C:\\"}, {L"C:\\a\\b\\c.txt", L"C:\\a\\b\\"},
                              {L"C:\\Src\\", L"C:\\Src\\"}, {L"\\\\server\\share\\x.vbp", L"\\\\server\\share\\"},
                              {L"\\App.vbp", L"\\"}});
    for (const wchar_t* path : {L"App.vbp", L" x ", L"C:"}) {
        try {
            GetFolderPath(path);
            ADD_FAILURE() << "no error for a path without backslash";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), kErrInvalidArgument);
        }
    }
    ExpectAll([](const std::wstring& name) { return JoinFolderAndName(L"C:\\Tools", name); },
              {{L"Tolvane.ini", L"C:\\Tools\\Tolvane.ini"}});
    EXPECT_EQ(JoinFolderAndName(L"C:\\", L"Tolvane.ini"), L"C:\\Tolvane.ini");
}

TEST(Paths, OnlyThePlainSpaceIsTrimmedOrQuoted) {
    ExpectAll(TrimSpaces, {{L"  C:\\Src\\App.vbp  ", L"C:\\Src\\App.vbp"}, {L"   ", L""}, {L"a  b", L"a  b"},
                           {L"\tx\t", L"\tx\t"}, {L" \u3000x ", L"\u3000x"}});
    ExpectAll(QuoteIfSpaced, {{L"C:\\Program Files\\x.vbp", L"\"C:\\Program Files\\x.vbp\""},
                              {L"C:\\Src\\x.vbp", L"C:\\Src\\x.vbp"}, {L"", L""}, {L"a\tb", L"a\tb"},
                              {L"\"a b\"", L"\"\"a b\"\""}});  // quotes already there are not looked at
    EXPECT_TRUE(IsBlank(L"") && IsBlank(L"   "));
    EXPECT_FALSE(IsBlank(L"\t") || IsBlank(L" x "));
}

}  // namespace
}  // namespace tolvane
