#include <gtest/gtest.h>

#include "platform/ScratchFolder.h"
#include "support/VbError.h"
#include "support/win32/Make.h"

namespace tolvane {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Names in the folder other than the ones a test made: a temporary file left behind.
int EntryCount(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &data);
    int count = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") ++count;
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return count;
}

class MakeFoldersTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(MakeFoldersTest, CreatesEveryMissingLevelOnce) {
    ASSERT_TRUE(CreateDirectoryW((folder / L"a").c_str(), nullptr));
    MakeFolders(folder / L"a\\b\\c\\");
    EXPECT_TRUE(IsFolder(folder / L"a\\b"));
    EXPECT_TRUE(IsFolder(folder / L"a\\b\\c"));
    ASSERT_TRUE(WriteBytes(folder / L"a\\b\\c\\keep.txt", "x"));
    EXPECT_NO_THROW(MakeFolders(folder / L"a\\b\\c\\"));
    EXPECT_EQ(ReadBytes(folder / L"a\\b\\c\\keep.txt"), "x");
}

TEST_F(MakeFoldersTest, LastPieceWithoutBackslashIsAFolderToo) {
    MakeFolders(folder / L"新しい\\フォルダ");
    EXPECT_TRUE(IsFolder(folder / L"新しい\\フォルダ"));
}

TEST_F(MakeFoldersTest, EmptyTextIsOutOfRange) {
    try {
        MakeFolders(L"");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kErrSubscriptOutOfRange);
    }
}

TEST_F(MakeFoldersTest, UncreatableLevelReportsThePlatformError) {
    // A file stands where a folder level should be.
    ASSERT_TRUE(WriteBytes(folder / L"file", "x"));
    try {
        MakeFolders(folder / L"file\\sub\\");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_NE(e.Number(), 0);
        EXPECT_EQ(e.Description().find(folder / L"file\\sub"), 0u) << e.Description().size();
    }
    try {
        MakeFolders(L"\\\\tolvane-no-server\\share\\dir");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_NE(e.Number(), 0);
    }
}

class MakeTextFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(MakeTextFileTest, WritesShiftJisWithFinalLineBreak) {
    const std::wstring path = folder / L"list\\保存.clt";
    MakeTextFile(path, L"C:\\ｶﾅ\\漢字.vbp,1\r\nC:\\b.vbp,0");
    EXPECT_EQ(ReadBytes(path), std::string("C:\\\xB6\xC5\\\x8A\xBF\x8E\x9A.vbp,1\r\nC:\\b.vbp,0\r\n"));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), DWORD{FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_EQ(EntryCount(folder / L"list\\"), 1);
}

TEST_F(MakeTextFileTest, EmptyTextLeavesOneLineBreak) {
    const std::wstring path = folder / L"empty.clt";
    MakeTextFile(path, L"");
    EXPECT_EQ(ReadBytes(path), "\r\n");
}

TEST_F(MakeTextFileTest, ReplacesReadOnlyHiddenFile) {
    const std::wstring path = folder / L"old.clt";
    ASSERT_TRUE(WriteBytes(path, "a much longer old content\r\n"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    MakeTextFile(path, L"new");
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(GetFileAttributesW(path.c_str()), DWORD{FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST_F(MakeTextFileTest, UnencodableTextIsRefusedAndOldFileKept) {
    const std::wstring path = folder / L"old.clt";
    ASSERT_TRUE(WriteBytes(path, "old\r\n"));
    try {
        MakeTextFile(path, L"C:\\caf\u00E9.vbp");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Description().find(path), 0u);
        EXPECT_NE(e.Description().find(L"\u00E9"), std::wstring::npos);  // names the character
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST_F(MakeTextFileTest, LockedTargetFailsAndKeepsOldContent) {
    const std::wstring path = folder / L"locked.clt";
    ASSERT_TRUE(WriteBytes(path, "old\r\n"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD before = GetFileAttributesW(path.c_str());
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    bool raised = false;
    try {
        MakeTextFile(path, L"new");
    } catch (const VbError& e) {
        raised = true;
        EXPECT_EQ(e.Description().find(path + L"に書き込めませんでした: "), 0u);
        EXPECT_NE(e.Number(), 0);
    }
    CloseHandle(lock);
    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    // Its attributes are back as they were, and no temporary file is left.
    EXPECT_EQ(GetFileAttributesW(path.c_str()), before);
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST_F(MakeTextFileTest, InvalidNameFailsWithoutLeftovers) {
    EXPECT_THROW(MakeTextFile(folder / L"bad<name>.clt", L"x"), VbError);
    EXPECT_EQ(EntryCount(folder.Path()), 0);
}

TEST_F(MakeTextFileTest, MissingDriveFails) {
    EXPECT_THROW(MakeTextFile(L"Q:\\tolvane\\x.clt", L"x"), VbError);
}

TEST_F(MakeTextFileTest, PathWithoutBackslashIsAnInvalidArgument) {
    try {
        MakeTextFile(L"x.clt", L"x");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kErrInvalidArgument);
    }
}

}  // namespace
}  // namespace tolvane
