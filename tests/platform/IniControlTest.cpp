// Settings file reads and writes: Shift-JIS bytes, values read whole, a file
// that cannot be read told from one that is missing, and a file that ends read-only.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "support/win32/IniControl.h"

namespace tolvane {
namespace {

using testing::WriteBytes;

class IniControl : public ::testing::Test {
protected:
    std::string Bytes() { return testing::ReadBytes(ini).value_or(""); }
    std::wstring Get(const wchar_t* key) { return GetIniString(ini, L"COMMON", key); }
    DWORD Attributes() { return GetFileAttributesW(ini.c_str()); }

    testing::TempFolder folder;
    std::wstring ini = folder.File(L"Tolvane.ini");
};

TEST_F(IniControl, ReadsLongValuesWholeAndTellsAnUnreadableFileFromAMissingOne) {
    EXPECT_EQ(Get(L"EXE"), L"");
    EXPECT_EQ(IniReadError(ini), 0u);
    // Past every buffer size on the way: a list path of 342 bytes was once cut at 254.
    std::string kanji = "a";
    for (int i = 0; i < 700; ++i) kanji += "\x8A\xBF";
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=C:\\VB98\\VB6.EXE\r\nLONG=" + std::string(342, 'x') +
                                    "\r\nKANJI=" + kanji + "\r\n"));
    EXPECT_EQ(Get(L"EXE"), L"C:\\VB98\\VB6.EXE");
    EXPECT_EQ(Get(L"PREV_List"), L"");
    EXPECT_EQ(GetIniString(ini, L"OTHER", L"EXE"), L"");
    EXPECT_EQ(Get(L"LONG"), std::wstring(342, L'x'));
    EXPECT_EQ(Get(L"KANJI"), L"a" + std::wstring(700, L'漢'));
    EXPECT_EQ(IniReadError(ini), 0u);

    const std::wstring folderOfThatName = folder.Folder(L"Folder.ini");
    EXPECT_NE(IniReadError(folderOfThatName), 0u);
    EXPECT_EQ(IniReadError(folder.File(L"missing\\Tolvane.ini")), 0u);
}

TEST_F(IniControl, WritesShiftJisLeavesTheFileReadOnlyAndRefusedWritesChangeNothing) {
    // Read-only and hidden: written all the same, hidden dropped.
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=kept\r\n"));
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(PutIniString(ini, L"COMMON", L"PREV_Vbp", L"C:\\プロジェクト\\ｶﾅ\\"));
    EXPECT_EQ(Attributes(), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
    // プロジェクト in Shift-JIS, ｶﾅ single bytes; an empty value keeps the key.
    EXPECT_NE(Bytes().find("PREV_Vbp=C:\\\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67\\\xB6\xC5\\"),
              std::string::npos);
    EXPECT_TRUE(PutIniString(ini, L"COMMON", L"PREV_List", L""));
    EXPECT_NE(Bytes().find("PREV_List=\r\n"), std::string::npos) << Bytes();

    EXPECT_FALSE(PutIniString(ini, L"COMMON", L"EXE", L"C:\\caf\u00E9\\VB6.EXE"));
    EXPECT_FALSE(PutIniString(ini, L"COMMON", L"NEW", L"\U0001F600"));
    EXPECT_EQ(Get(L"EXE"), L"kept");
    EXPECT_EQ(Bytes().find("NEW"), std::string::npos);

    SetLastError(0);
    EXPECT_FALSE(PutIniString(folder.File(L"missing\\Tolvane.ini"), L"COMMON", L"EXE", L"x"));
    EXPECT_NE(GetLastError(), 0u);  // the reason the caller reports
    EXPECT_EQ(GetFileAttributesW(folder.File(L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tolvane
