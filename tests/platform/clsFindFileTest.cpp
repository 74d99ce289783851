// Folder listing one name at a time, as the folder tree and the chooser use it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "support/Locale.h"
#include "support/win32/clsFindFile.h"

namespace tolvane {
namespace {

using testing::WriteBytes;

std::vector<std::wstring> SortedNames(clsFindFile& find, const std::wstring& mask) {
    find.SetFileMask(mask);
    std::vector<std::wstring> names;
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

class FindFile : public ::testing::Test {
protected:
    testing::TempFolder folder;
    clsFindFile find;
};

TEST_F(FindFile, DotEntriesMissingFoldersAndNoMatchYieldNothing) {
    EXPECT_FALSE(find.IsDir());  // nothing handed out yet
    EXPECT_TRUE(SortedNames(find, folder.File(L"*.*")).empty());  // only "." and ".."
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_TRUE(find.Complete());
    // A folder that cannot be listed ends the same way, but not complete.
    EXPECT_TRUE(SortedNames(find, folder.File(L"missing\\*.vbp")).empty());
    EXPECT_FALSE(find.Complete());
    ASSERT_TRUE(WriteBytes(folder.File(L"a.txt"), "x"));
    EXPECT_TRUE(SortedNames(find, folder.File(L"*.vbp")).empty());
    EXPECT_TRUE(find.Complete());
}

TEST_F(FindFile, ListsMatchesHiddenOnesTooAndTellsFoldersApart) {
    // A name outside the code page comes back whole, not with '?'.
    for (const wchar_t* name : {L"App.vbp", L"読込.vbp", L"한국.vbp", L"note.txt", L"secret.vbp"})
        ASSERT_TRUE(WriteBytes(folder.File(name), "x"));
    ASSERT_TRUE(SetFileAttributesW(folder.File(L"secret.vbp").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Sub").c_str(), nullptr));

    find.SetFileMask(folder.File(L"*.*"));
    std::vector<std::wstring> dirs;
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) {
        if (find.IsDir()) dirs.push_back(name);
        EXPECT_EQ((find.Attributes() & FILE_ATTRIBUTE_DIRECTORY) != 0, find.IsDir());
        EXPECT_EQ((find.Attributes() & FILE_ATTRIBUTE_HIDDEN) != 0, name == L"secret.vbp");
    }
    EXPECT_EQ(dirs, std::vector<std::wstring>{L"Sub"});

    // A new mask restarts the listing, even in the middle of one.
    find.SetFileMask(folder.File(L"*.vbp"));
    find.NextFile();
    EXPECT_EQ(SortedNames(find, folder.File(L"*.txt")), std::vector<std::wstring>{L"note.txt"});
    EXPECT_EQ(SortedNames(find, folder.File(L"*.vbp")), (std::vector<std::wstring>{L"App.vbp", L"secret.vbp", L"読込.vbp", L"한국.vbp"}));

    // After the end the last entry stays current.
    EXPECT_EQ(SortedNames(find, folder.File(L"Su*")), std::vector<std::wstring>{L"Sub"});
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_TRUE(find.IsDir());
}

TEST_F(FindFile, LongestNameComesBackWholeAndShortNamesCarryNothingOfIt) {
    // 259 characters fill the record's field; a Unix file system under Wine
    // stops at 255 bytes, so take the longest name the disk here can hold.
    std::wstring name = std::wstring(255, L'n') + L".vbp";
    if (!WriteBytes(L"\\\\?\\" + folder.File(name), "x")) name = std::wstring(251, L'n') + L".vbp";
    ASSERT_TRUE(WriteBytes(L"\\\\?\\" + folder.File(name), "x")) << GetLastError();
    ASSERT_TRUE(WriteBytes(folder.File(L"b.vbp"), "x"));
    ASSERT_TRUE(WriteBytes(folder.File(L"c.vbp"), "x"));
    EXPECT_EQ(SortedNames(find, folder.File(L"*.vbp")), (std::vector<std::wstring>{L"b.vbp", L"c.vbp", name}));
    DeleteFileW((L"\\\\?\\" + folder.File(name)).c_str());
}

TEST_F(FindFile, LastWriteTimeIsShownInUtcAndIsTheZeroDateBeforeAnyEntry) {
    DateTime zero;
    zero.year = 1601;
    zero.month = zero.day = 1;
    EXPECT_EQ(find.LastWriteTime(), GeneralDateText(zero));

    const std::wstring path = folder.File(L"dated.vbp");
    ASSERT_TRUE(WriteBytes(path, "x"));
    SYSTEMTIME st{2005, 3, 0, 1, 13, 5, 9, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);

    find.SetFileMask(path);
    ASSERT_EQ(find.NextFile(), L"dated.vbp");
    const DateTime written{2005, 3, 1, 13, 5, 9};
    EXPECT_EQ(find.LastWriteTime(), GeneralDateText(written));  // 13:05 whatever the time zone
}

}  // namespace
}  // namespace tolvane
