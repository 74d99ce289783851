#include <gtest/gtest.h>

#include "platform/ScratchFolder.h"
#include "support/win32/Files.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

class FileExistsTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(FileExistsTest, FindsOrdinaryFilesInAnyCase) {
    ASSERT_TRUE(WriteBytes(folder / L"App.vbp", "x"));
    EXPECT_TRUE(FileExists(folder / L"App.vbp"));
    EXPECT_TRUE(FileExists(folder / L"APP.VBP"));
    EXPECT_TRUE(FileExists(folder / L"app.vbp"));
    EXPECT_FALSE(FileExists(folder / L"Other.vbp"));
}

TEST_F(FileExistsTest, ReadOnlyAndArchiveCountHiddenAndSystemDoNot) {
    const std::wstring path = folder / L"f.txt";
    ASSERT_TRUE(WriteBytes(path, "x"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(FileExists(path));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(FileExists(path));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_SYSTEM));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(FileExistsTest, FoldersAndNamelessPathsAreNoFiles) {
    ASSERT_TRUE(CreateDirectoryW((folder / L"Sub").c_str(), nullptr));
    EXPECT_FALSE(FileExists(folder / L"Sub"));
    EXPECT_FALSE(FileExists(folder / L"Sub\\"));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(L""));
}

TEST_F(FileExistsTest, PatternsNeverCount) {
    ASSERT_TRUE(WriteBytes(folder / L"a.vbp", "x"));
    EXPECT_FALSE(FileExists(folder / L"*.vbp"));
    EXPECT_FALSE(FileExists(folder / L"?.vbp"));
}

TEST_F(FileExistsTest, FirstVisibleMatchDecides) {
    // A hidden entry ahead of the named file must not hide it.
    ASSERT_TRUE(WriteBytes(folder / L"x.vbp", "x"));
    EXPECT_TRUE(FileExists(folder / L"x.vbp"));
    ASSERT_TRUE(SetFileAttributesW((folder / L"x.vbp").c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(FileExists(folder / L"X.VBP"));
}

TEST(ProgramFolder, HoldsTheRunningProgram) {
    const std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring name = std::wstring(module).substr(folder.size() + 1);
    EXPECT_EQ(FileBesideProgram(name), module);
    EXPECT_TRUE(FileExists(FileBesideProgram(name)));
}

TEST(LastErrorText, IsTheUsersLanguageWithoutLineBreak) {
    const std::wstring text = LastErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L' ');
    // Under the Japanese locale the platform's text is Japanese.
    EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x3000; })) << text.size();
    EXPECT_NE(LastErrorText(ERROR_ACCESS_DENIED), text);
}

}  // namespace
}  // namespace tolvane
