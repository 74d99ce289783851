// The file layer's edges that the whole-program scenarios do not reach: which
// files exist, settings values read whole, writes that are refused or fail
// leaving the old file as it was, and folder listings.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "engine/win32/TolvaneIni.h"
#include "logic/Raised.h"
#include "support/TimeLimit.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/Handle.h"
#include "support/win32/IniControl.h"
#include "support/win32/Make.h"
#include "support/win32/RelateExecute.h"
#include "support/win32/clsFindFile.h"

namespace tolvane {
namespace {

using testing::Raised;
using testing::ReadBytes;
using testing::WriteBytes;

class Files : public ::testing::Test {
protected:
    testing::TempFolder folder;
};

TEST_F(Files, ExistOnlyAsOrdinaryVisibleFilesInAnyCase) {
    const std::wstring path = folder.File(L"App.vbp");
    ASSERT_TRUE(WriteBytes(path, "x"));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub").c_str(), nullptr));
    EXPECT_TRUE(FileExists(folder.File(L"APP.VBP")));
    for (const std::wstring& no : {folder.File(L"Other.vbp"), folder.File(L"*.vbp"), folder.File(L"?pp.vbp"),
                                   folder.File(L"Sub"), folder.File(L"Sub\\"), folder.Path(), std::wstring()})
        EXPECT_FALSE(FileExists(no)) << ::testing::PrintToString(no);
    const std::pair<DWORD, bool> attributes[] = {{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, true},
                                                 {FILE_ATTRIBUTE_HIDDEN, false},
                                                 {FILE_ATTRIBUTE_SYSTEM, false}};
    for (const auto& [attribute, exists] : attributes) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attribute));
        EXPECT_EQ(FileExists(path), exists) << attribute;
    }
    // A hidden document counts as missing; a command that cannot run is named.
    EXPECT_EQ(Raised([&] { RelateExecute(path); }).Description(), L"App.vbpが見つかりません");
    const std::wstring command = L"C:\\tolvane-missing\\no such tool.exe";
    EXPECT_EQ(Raised([&] { StringExecute(command); }).Description(), command + L"が実行出来ませんでした");
}

TEST_F(Files, SettingsAreReadWholeUnreadableIsNotMissingAndEveryKeyReadsAsTheProgramsRelyOn) {
    const std::wstring ini = folder.File(L"Tolvane.ini");
    EXPECT_FALSE(CheckIniReadable(ini).Failed());
    // Past every buffer size on the way: a list path of 342 bytes was once cut at 254.
    std::string kanji = "a";
    for (int i = 0; i < 700; ++i) kanji += "\x8A\xBF";
    ASSERT_TRUE(WriteBytes(ini, "[COMMON]\r\nLONG=" + std::string(342, 'x') + "\r\nKANJI=" + kanji + "\r\n"));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"LONG"), std::wstring(342, L'x'));
    EXPECT_EQ(GetIniString(ini, L"COMMON", L"KANJI"), L"a" + std::wstring(700, L'漢'));
    EXPECT_EQ(GetIniString(ini, L"OTHER", L"LONG"), L"");
    const PlatformResult folderIni = CheckIniReadable(folder.Folder(L"Folder.ini"));
    EXPECT_TRUE(folderIni.Failed());
    EXPECT_NE(folderIni.Code(), 0u);
    EXPECT_STREQ(folderIni.Source(), L"CheckIniReadable");
    EXPECT_FALSE(CheckIniReadable(folder.File(L"missing\\Tolvane.ini")).Failed());

    // Read-only and hidden: written all the same, hidden dropped.
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(PutIniString(ini, L"COMMON", L"PREV_Vbp", L"C:\\ｶﾅ\\").Failed());
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_NE(ReadBytes(ini)->find("PREV_Vbp=C:\\\xB6\xC5\\\r\n"), std::string::npos);
    const PlatformResult refused = PutIniString(folder.File(L"missing\\Tolvane.ini"), L"COMMON", L"EXE", L"x");
    EXPECT_TRUE(refused.Failed());
    EXPECT_NE(refused.Code(), 0u);  // the reason the caller reports
    EXPECT_STREQ(refused.Source(), L"PutIniString");
    EXPECT_FALSE(FileExists(folder.File(L"missing\\Tolvane.ini")));

    // Tolvane.ini itself is beside the running program: this one's, restored afterwards.
    const std::wstring programIni = TolvaneIniPath();
    const auto before = ReadBytes(programIni);
    SetFileAttributesW(programIni.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteBytes(programIni, "[COMMON]\r\nOrder= 1 \r\nSkip=yes\r\nCompilerLog=1\r\nParallel=3\r\nVersion= 2.5 \r\n"));
    EXPECT_TRUE(ReadSetting(settings::kOrder) && ReadSetting(settings::kCompilerLog) && !ReadSetting(settings::kSkip));
    EXPECT_EQ(ReadSetting(settings::kParallel), 3);
    EXPECT_EQ(ReadSetting(settings::kVersion), L"2.5");
    // The dialog shows the default without writing it; a program's read stores it.
    EXPECT_EQ(EditedIniText(settings::kTimeLimit.key), L"30");
    EXPECT_EQ(ReadBytes(programIni)->find("TimeLimit"), std::string::npos);
    EXPECT_EQ(ReadSetting(settings::kTimeLimit), kDefaultTimeLimit);
    EXPECT_FALSE(WriteSetting(settings::kParallel, 4).Failed() || WriteSetting(settings::kSkip, true).Failed() ||
                 WriteSetting(settings::kPreviousList, std::wstring(L"C:\\ｶﾅ.txt")).Failed());
    EXPECT_TRUE(ReadPlanOptions().parallel == 4 && ReadPlanOptions().skip);
    for (const char* stored : {"TimeLimit=30\r\n", "Skip=1\r\n", "PREV_List=C:\\\xB6\xC5.txt\r\n"})
        EXPECT_NE(ReadBytes(programIni)->find(stored), std::string::npos) << stored;
    SetFileAttributesW(programIni.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!before) DeleteFileW(programIni.c_str());
    if (before) WriteBytes(programIni, *before);
}

TEST_F(Files, AHandleIsClosedByItsLastOwnerAndAFailedReadSaysWhoMetIt) {
    const std::wstring path = folder.File(L"held.txt");
    ASSERT_TRUE(WriteBytes(path, "x"));
    Handle first(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(first.Valid());
    Handle second(std::move(first));
    EXPECT_FALSE(first.Valid());
    first.Reset();  // the moved-from owner closes nothing
    first = std::move(second);
    EXPECT_FALSE(testing::LockedFile(path).Held());
    EXPECT_TRUE(first.Close());
    EXPECT_TRUE(first.Close());  // once only
    EXPECT_TRUE(testing::LockedFile(path).Held());

    std::string bytes;
    const PlatformResult missing = ReadWholeFile(folder.File(L"missing.txt"), bytes);
    ASSERT_TRUE(missing.Failed());
    EXPECT_EQ(missing.Code(), DWORD{ERROR_FILE_NOT_FOUND});
    const VbError raised = missing.Error(L"missing.txtが開けませんでした");
    EXPECT_EQ(raised.Number(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(raised.Source(), L"ReadWholeFile");
    EXPECT_EQ(raised.Description(), L"missing.txtが開けませんでした: " + LastErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(ReadWholeFile(path, bytes).Failed());
    EXPECT_EQ(bytes, "x");
}

TEST_F(Files, ATextFileThatCannotBeWrittenLeavesTheOldOne) {
    const std::wstring path = folder.File(L"old.clt");
    ASSERT_TRUE(WriteBytes(path, "old\r\n"));
    // Text the code page cannot hold: refused, the character named.
    const VbError unencodable = Raised([&] { MakeTextFile(path, L"C:\\caf\u00E9.vbp"); });
    EXPECT_EQ(unencodable.Description().find(path), 0u);
    EXPECT_NE(unencodable.Description().find(L"\u00E9"), std::wstring::npos);
    // A read-only hidden target that another program holds open.
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    {
        testing::LockedFile lock(path);
        ASSERT_TRUE(lock.Held());
        EXPECT_EQ(Raised([&] { MakeTextFile(path, L"new"); }).Description().find(path + L"に書き込めませんでした: "), 0u);
    }
    EXPECT_EQ(ReadBytes(path), std::optional<std::string>("old\r\n"));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributes);
    EXPECT_THROW(MakeTextFile(folder.File(L"bad<name>.clt"), L"x"), VbError);
    clsFindFile find;  // no temporary file left beside it
    find.SetFileMask(folder.File(L"*"));
    EXPECT_EQ(find.NextFile(), L"old.clt");
    EXPECT_EQ(find.NextFile(), L"");
}

TEST_F(Files, ListingsGiveEveryNameWholeHiddenOnesTooAndTellFoldersApart) {
    clsFindFile find;
    find.SetFileMask(folder.File(L"*.*"));
    EXPECT_EQ(find.NextFile(), L"");  // only "." and ".."
    EXPECT_TRUE(find.Complete());
    // A folder that cannot be listed ends the same way, but not complete.
    find.SetFileMask(folder.File(L"missing\\*.vbp"));
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_FALSE(find.Complete());

    // A name outside the code page comes back whole, not with '?'.
    for (const wchar_t* name : {L"App.vbp", L"読込.vbp", L"한국.vbp", L"note.txt", L"secret.vbp"})
        ASSERT_TRUE(WriteBytes(folder.File(name), "x"));
    ASSERT_TRUE(SetFileAttributesW(folder.File(L"secret.vbp").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub.vbp").c_str(), nullptr));
    find.SetFileMask(folder.File(L"*.vbp"));
    std::vector<std::wstring> names, folders;
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) {
        names.push_back(name);
        if (find.IsDir()) folders.push_back(name);
        EXPECT_EQ((find.Attributes() & FILE_ATTRIBUTE_HIDDEN) != 0, name == L"secret.vbp");
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"App.vbp", L"Sub.vbp", L"secret.vbp", L"読込.vbp", L"한국.vbp"}));
    EXPECT_EQ(folders, std::vector<std::wstring>{L"Sub.vbp"});
    EXPECT_TRUE(find.Complete());
}

}  // namespace
}  // namespace tolvane
