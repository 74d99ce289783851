// Folders made level by level, and text files that cannot be written leaving
// the old file untouched. Saves that succeed, in Shift-JIS and over a
// read-only file, are checked through the program's list-file scenarios.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "support/VbError.h"
#include "support/win32/Make.h"

namespace tolvane {
namespace {

using testing::WriteBytes;

std::string Bytes(const std::wstring& path) { return testing::ReadBytes(path).value_or("<unreadable>"); }

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Entries in the folder: a temporary file left behind shows here.
int EntryCount(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
    int count = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    do count += std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..";
    while (FindNextFileW(h, &data));
    FindClose(h);
    return count;
}

template <class F>
VbError Raised(F f) {
    try {
        f();
    } catch (const VbError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return VbError(0, L"", L"");
}

class Make : public ::testing::Test {
protected:
    testing::TempFolder folder;
};

TEST_F(Make, FoldersCreatesEveryMissingLevelKeepsExistingOnesAndReportsWhatCannotBeMade) {
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"a").c_str(), nullptr));
    MakeFolders(folder.File(L"a\\b\\c\\"));
    EXPECT_TRUE(IsFolder(folder.File(L"a\\b\\c")));
    ASSERT_TRUE(WriteBytes(folder.File(L"a\\b\\c\\keep.txt"), "x"));
    EXPECT_NO_THROW(MakeFolders(folder.File(L"a\\b\\c\\")));
    EXPECT_EQ(Bytes(folder.File(L"a\\b\\c\\keep.txt")), "x");
    MakeFolders(folder.File(L"新しい\\フォルダ"));  // the last piece is a folder too
    EXPECT_TRUE(IsFolder(folder.File(L"新しい\\フォルダ")));

    EXPECT_EQ(Raised([] { MakeFolders(L""); }).Number(), kErrSubscriptOutOfRange);
    ASSERT_TRUE(WriteBytes(folder.File(L"file"), "x"));  // a file stands where a folder should
    const VbError e = Raised([&] { MakeFolders(folder.File(L"file\\sub\\")); });
    EXPECT_NE(e.Number(), 0);
    EXPECT_EQ(e.Description().find(folder.File(L"file\\sub")), 0u) << e.Description().size();
}

TEST_F(Make, TextFileThatCannotBeWrittenLeavesTheOldFileAsItWas) {
    const std::wstring path = folder.File(L"old.clt");
    ASSERT_TRUE(WriteBytes(path, "old\r\n"));

    // Text the code page cannot hold: refused, the character named.
    const VbError unencodable = Raised([&] { MakeTextFile(path, L"C:\\caf\u00E9.vbp"); });
    EXPECT_EQ(unencodable.Description().find(path), 0u);
    EXPECT_NE(unencodable.Description().find(L"\u00E9"), std::wstring::npos);
    EXPECT_EQ(Bytes(path), "old\r\n");

    // A read-only hidden target that another program holds open.
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const VbError locked = Raised([&] { MakeTextFile(path, L"new"); });
    CloseHandle(lock);
    EXPECT_NE(locked.Number(), 0);
    EXPECT_EQ(locked.Description().find(path + L"に書き込めませんでした: "), 0u);
    EXPECT_EQ(Bytes(path), "old\r\n");
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributes);
    EXPECT_EQ(EntryCount(folder.Path()), 1);  // no temporary file left

    EXPECT_THROW(MakeTextFile(folder.File(L"bad<name>.clt"), L"x"), VbError);
    EXPECT_THROW(MakeTextFile(L"Q:\\tolvane\\x.clt", L"x"), VbError);
    EXPECT_EQ(Raised([] { MakeTextFile(L"x.clt", L"x"); }).Number(), kErrInvalidArgument);
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

}  // namespace
}  // namespace tolvane
