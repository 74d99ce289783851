#include <gtest/gtest.h>

#include "platform/ScratchFolder.h"
#include "support/win32/IniControl.h"

namespace tolvane {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class IniControl : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::wstring ini = folder / L"Tolvane.ini";
};

TEST_F(IniControl, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"");
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=C:\\VB98\\VB6.EXE\r\n"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"C:\\VB98\\VB6.EXE");
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"PREV_List"), L"");
    EXPECT_EQ(GetIniString(ini, L"OTHER", L"EXE"), L"");
}

TEST_F(IniControl, LongValueIsCutAt254Bytes) {
    const std::string value(300, 'x');
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=" + value + "\r\n"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), std::wstring(254, L'x'));
}

TEST_F(IniControl, CutNeverLeavesHalfACharacter) {
    // "a" and 150 kanji: byte 254 is the first half of the 127th kanji.
    std::string value = "a";
    for (int i = 0; i < 150; ++i) value += "\x8A\xBF";
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=" + value + "\r\n"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"a" + std::wstring(126, L'漢'));
}

TEST_F(IniControl, WriteCreatesFileThatEndsReadOnly) {
    EXPECT_TRUE(PutIniString(ini, L"COMMON", L"EXE", L"C:\\VB98\\VB6.EXE"));
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"C:\\VB98\\VB6.EXE");
    // Written out at once, not only into the platform's cache.
    EXPECT_NE(ReadBytes(ini).find("EXE=C:\\VB98\\VB6.EXE"), std::string::npos);
}

TEST_F(IniControl, ReadOnlyFileIsWrittenAndStaysReadOnly) {
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nEXE=old\r\n"));
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(PutIniString(ini, L"COMMON", L"EXE", L"new"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"new");
    // Hidden goes too: the file ends with exactly read-only and archive.
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
}

TEST_F(IniControl, EmptyValueKeepsTheKey) {
    ASSERT_TRUE(PutIniString(ini, L"COMMON", L"PREV_List", L"C:\\a.clt"));
    EXPECT_TRUE(PutIniString(ini, L"COMMON", L"PREV_List", L""));
    EXPECT_NE(ReadBytes(ini).find("PREV_List=\r\n"), std::string::npos) << ReadBytes(ini);
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"PREV_List"), L"");
}

TEST_F(IniControl, JapaneseValueIsStoredAsShiftJis) {
    ASSERT_TRUE(PutIniString(ini, L"COMMON", L"PREV_Vbp", L"C:\\プロジェクト\\ｶﾅ\\"));
    // プロジェクト in Shift-JIS, half-width ｶﾅ as single bytes.
    EXPECT_NE(ReadBytes(ini).find("PREV_Vbp=C:\\\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67\\\xB6\xC5\\"),
              std::string::npos);
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"PREV_Vbp"), L"C:\\プロジェクト\\ｶﾅ\\");
}

TEST_F(IniControl, ValueOutsideTheCodePageIsRefusedAndNothingWritten) {
    ASSERT_TRUE(PutIniString(ini, L"COMMON", L"EXE", L"kept"));
    EXPECT_FALSE(PutIniString(ini, L"COMMON", L"EXE", L"C:\\caf\u00E9\\VB6.EXE"));
    EXPECT_FALSE(PutIniString(ini, L"COMMON", L"NEW", L"\U0001F600"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"EXE"), L"kept");
    EXPECT_EQ(ReadBytes(ini).find("NEW"), std::string::npos);
}

TEST_F(IniControl, WriteIntoMissingFolderFails) {
    EXPECT_FALSE(PutIniString(folder / L"missing\\Tolvane.ini", L"COMMON", L"EXE", L"x"));
    EXPECT_EQ(GetFileAttributesW((folder / L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tolvane
