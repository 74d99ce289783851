// Folder listing one name at a time, as the folder tree and the chooser use it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/TempFolder.h"
#include "common/TextFiles.h"
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

TEST_F(FindFile, ListsMatchesHiddenOnesTooAndTellsFoldersApart) {
    EXPECT_FALSE(find.IsDir());  // nothing handed out yet
    EXPECT_TRUE(SortedNames(find, folder.File(L"*.*")).empty());  // only "." and ".."
    EXPECT_EQ(find.NextFile(), L"");
    EXPECT_TRUE(find.Complete());
    // A folder that cannot be listed ends the same way, but not complete.
    EXPECT_TRUE(SortedNames(find, folder.File(L"missing\\*.vbp")).empty());
    EXPECT_FALSE(find.Complete());
    ASSERT_TRUE(WriteBytes(folder.File(L"note.txt"), "x"));
    EXPECT_TRUE(SortedNames(find, folder.File(L"*.vbp")).empty());
    EXPECT_TRUE(find.Complete());

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

}  // namespace
}  // namespace tolvane
