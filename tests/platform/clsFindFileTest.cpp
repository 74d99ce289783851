#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/ScratchFolder.h"
#include "support/Locale.h"
#include "support/win32/clsFindFile.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

std::vector<std::wstring> AllNames(clsFindFile& find) {
    std::vector<std::wstring> names;
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) names.push_back(name);
    return names;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class FindFile : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(FindFile, FolderWithOnlyDotEntriesYieldsNothing) {
    clsFindFile find;
    find.SetFileMask(folder / L"*.*");
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_EQ(find.NextFile(), L"");
}

TEST_F(FindFile, MissingFolderOrNoMatchYieldsNothing) {
    clsFindFile find;
    find.SetFileMask(folder / L"missing\\*.vbp");
    EXPECT_EQ(find.NextFile(), L"");
    ASSERT_TRUE(WriteBytes(folder / L"a.txt", "x"));
    find.SetFileMask(folder / L"*.vbp");
    EXPECT_EQ(find.NextFile(), L"");
}

TEST_F(FindFile, ListsMatchesAndTellsFoldersApart) {
    ASSERT_TRUE(WriteBytes(folder / L"App.vbp", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"読込.vbp", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"note.txt", "x"));
    ASSERT_TRUE(CreateDirectoryW((folder / L"Sub").c_str(), nullptr));
    clsFindFile find;
    find.SetFileMask(folder / L"*.*");
    std::vector<std::wstring> names;
    std::vector<std::wstring> dirs;
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) {
        names.push_back(name);
        if (find.IsDir()) dirs.push_back(name);
        EXPECT_EQ((find.Attributes() & FILE_ATTRIBUTE_DIRECTORY) != 0, find.IsDir());
    }
    EXPECT_EQ(Sorted(names), (std::vector<std::wstring>{L"App.vbp", L"Sub", L"note.txt", L"読込.vbp"}));
    EXPECT_EQ(dirs, std::vector<std::wstring>{L"Sub"});

    find.SetFileMask(folder / L"*.vbp");
    EXPECT_EQ(Sorted(AllNames(find)), (std::vector<std::wstring>{L"App.vbp", L"読込.vbp"}));
}

TEST_F(FindFile, HiddenEntriesAreListed) {
    // Filtering hidden entries is the caller's business.
    ASSERT_TRUE(WriteBytes(folder / L"secret.vbp", "x"));
    ASSERT_TRUE(SetFileAttributesW((folder / L"secret.vbp").c_str(), FILE_ATTRIBUTE_HIDDEN));
    clsFindFile find;
    find.SetFileMask(folder / L"*.vbp");
    EXPECT_EQ(find.NextFile(), L"secret.vbp");
    EXPECT_TRUE(find.Attributes() & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FindFile, SecondMaskRestartsTheListing) {
    ASSERT_TRUE(WriteBytes(folder / L"a.vbp", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"b.vbp", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"c.txt", "x"));
    clsFindFile find;
    find.SetFileMask(folder / L"*.vbp");
    const std::wstring first = find.NextFile();
    EXPECT_TRUE(first == L"a.vbp" || first == L"b.vbp") << first;
    find.SetFileMask(folder / L"*.txt");
    EXPECT_EQ(AllNames(find), std::vector<std::wstring>{L"c.txt"});
    find.SetFileMask(folder / L"*.vbp");
    EXPECT_EQ(Sorted(AllNames(find)), (std::vector<std::wstring>{L"a.vbp", L"b.vbp"}));
}

TEST_F(FindFile, AfterTheEndTheLastEntryStaysCurrent) {
    ASSERT_TRUE(CreateDirectoryW((folder / L"OnlyDir").c_str(), nullptr));
    clsFindFile find;
    EXPECT_FALSE(find.IsDir());  // nothing handed out yet
    find.SetFileMask(folder / L"*.*");
    EXPECT_EQ(find.NextFile(), L"OnlyDir");
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_TRUE(find.IsDir());
}

TEST_F(FindFile, LongestNameComesBackWhole) {
    // 259 characters fill the record's field; a Unix file system under Wine
    // stops at 255 bytes, so take the longest name the disk here can hold.
    std::wstring name = std::wstring(255, L'n') + L".vbp";
    if (!WriteBytes(L"\\\\?\\" + (folder / name), "x")) name = std::wstring(251, L'n') + L".vbp";
    const std::wstring full = L"\\\\?\\" + (folder / name);
    ASSERT_TRUE(WriteBytes(full, "x")) << GetLastError();
    // Short names share the field with the long one: nothing after their NUL may show.
    ASSERT_TRUE(WriteBytes(folder / L"b.vbp", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"c.vbp", "x"));
    clsFindFile find;
    find.SetFileMask(folder / L"*.vbp");
    EXPECT_EQ(Sorted(AllNames(find)), (std::vector<std::wstring>{L"b.vbp", L"c.vbp", name}));
    DeleteFileW(full.c_str());
}

TEST_F(FindFile, LastWriteTimeIsShownInUtc) {
    const std::wstring path = folder / L"dated.vbp";
    ASSERT_TRUE(WriteBytes(path, "x"));
    SYSTEMTIME st{};
    st.wYear = 2005;
    st.wMonth = 3;
    st.wDay = 1;
    st.wHour = 13;
    st.wMinute = 5;
    st.wSecond = 9;
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);

    clsFindFile find;
    find.SetFileMask(path);
    ASSERT_EQ(find.NextFile(), L"dated.vbp");
    DateTime expected;
    expected.year = 2005;
    expected.month = 3;
    expected.day = 1;
    expected.hour = 13;
    expected.minute = 5;
    expected.second = 9;
    EXPECT_EQ(find.LastWriteTime(), GeneralDateText(expected));
    // 13:05 whatever the machine's time zone: no shift to local time.
    EXPECT_NE(find.LastWriteTime().find(L" 13:05:09"), std::wstring::npos);
}

TEST_F(FindFile, BeforeAnyEntryTheTimeIsTheZeroDate) {
    clsFindFile find;
    DateTime zero;
    zero.year = 1601;
    zero.month = 1;
    zero.day = 1;
    EXPECT_EQ(find.LastWriteTime(), GeneralDateText(zero));
    EXPECT_EQ(find.LastWriteTime().find(L':'), std::wstring::npos);  // midnight: no time part
}

}  // namespace
}  // namespace tolvane
