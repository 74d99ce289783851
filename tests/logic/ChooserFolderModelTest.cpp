// The chooser's folder list: root, ancestors indented one step each, the
// current folder, then its subfolders sorted without regard to case.
#include <gtest/gtest.h>

#include "ui/dialogs/rules/FolderModel.h"

namespace tolvane::chooser {
namespace {

TEST(ChooserFolderModel, FindsTheRootOfDriveAndNetworkPaths) {
    EXPECT_EQ(FolderRoot(L"C:\\a\\b"), L"C:\\");
    EXPECT_EQ(FolderRoot(L"z:"), L"z:\\");
    EXPECT_EQ(FolderRoot(L"\\\\srv\\share\\x"), L"\\\\srv\\share\\");
    EXPECT_EQ(FolderRoot(L"\\\\srv\\share"), L"\\\\srv\\share\\");
    EXPECT_EQ(FolderRoot(L"\\\\srv"), L"");
    EXPECT_EQ(FolderRoot(L"a\\b"), L"");
    EXPECT_EQ(FolderRoot(L"1:\\"), L"");
}

TEST(ChooserFolderModel, KeepsFoldersWithoutAFinalBackslashExceptRoots) {
    EXPECT_EQ(ListPath(L"C:\\a\\b\\"), L"C:\\a\\b");
    EXPECT_EQ(ListPath(L"C:\\a\\\\b"), L"C:\\a\\b");
    EXPECT_EQ(ListPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(ListPath(L"C:"), L"C:\\");
    EXPECT_EQ(ListPath(L"\\\\srv\\share\\d\\"), L"\\\\srv\\share\\d");
    EXPECT_EQ(FolderLevels(L"C:\\作業\\b\\"), (std::vector<std::wstring>{L"作業", L"b"}));
}

TEST(ChooserFolderModel, ListsAncestorsThenSortedSubfolders) {
    const auto e = BuildFolderEntries(L"C:\\work\\src", {L"zeta", L"Alpha", L"beta", L"alpha"});
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0].text, L"C:\\");
    EXPECT_EQ(e[0].path, L"C:\\");
    EXPECT_EQ(e[1].text, L"work");
    EXPECT_EQ(e[1].path, L"C:\\work");
    EXPECT_EQ(e[2].text, L"src");
    EXPECT_EQ(e[2].path, L"C:\\work\\src");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(e[i].indent, i);
        EXPECT_TRUE(e[i].open);
    }
    EXPECT_EQ(e[3].text, L"Alpha");
    EXPECT_EQ(e[4].text, L"alpha");
    EXPECT_EQ(e[5].text, L"beta");
    EXPECT_EQ(e[6].text, L"zeta");
    EXPECT_EQ(e[6].path, L"C:\\work\\src\\zeta");
    for (int i = 3; i < 7; ++i) {
        EXPECT_EQ(e[i].indent, 3);
        EXPECT_FALSE(e[i].open);
    }
    EXPECT_EQ(CurrentEntryIndex(L"C:\\work\\src"), 2);
}

TEST(ChooserFolderModel, RootAloneHasItsChildrenOneStepIn) {
    const auto e = BuildFolderEntries(L"D:\\", {L"x"});
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].path, L"D:\\");
    EXPECT_EQ(e[1].path, L"D:\\x");
    EXPECT_EQ(e[1].indent, 1);
    EXPECT_EQ(CurrentEntryIndex(L"D:\\"), 0);
}

TEST(ChooserFolderModel, NetworkFoldersStartAtTheShare) {
    const auto e = BuildFolderEntries(L"\\\\srv\\share\\d", {L"sub"});
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].text, L"\\\\srv\\share\\");
    EXPECT_EQ(e[1].path, L"\\\\srv\\share\\d");
    EXPECT_EQ(e[2].path, L"\\\\srv\\share\\d\\sub");
    EXPECT_EQ(e[2].indent, 2);
}

}  // namespace
}  // namespace tolvane::chooser
