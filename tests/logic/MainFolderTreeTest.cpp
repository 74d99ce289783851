// The project search under a folder, over a fake folder tree.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/main/rules/FolderTree.h"

using namespace tolvane;

namespace {

constexpr std::uint32_t kFile = 0x20;
constexpr std::uint32_t kDir = kAttributeDirectory;

// Folders by path (ending in a backslash); a folder absent from the map, or
// named in unreadable, cannot be listed.
class FakeLister : public DirectoryLister {
public:
    std::map<std::wstring, std::vector<DirEntry>> tree;
    std::set<std::wstring> unreadable;
    std::vector<std::wstring> listed;

    bool List(const std::wstring& folder, std::vector<DirEntry>& entries) override {
        listed.push_back(folder);
        if (unreadable.count(folder)) return false;
        auto it = tree.find(folder);
        if (it == tree.end()) return false;
        entries = it->second;
        return true;
    }
};

}  // namespace

TEST(MainFolderTree, FoldersBreadthFirstAndProjectsInFolderOrder) {
    FakeLister fs;
    fs.tree[L"C:\\Src\\"] = {{L"A", kDir}, {L"Main.vbp", kFile}, {L"B", kDir}, {L"readme.txt", kFile}};
    fs.tree[L"C:\\Src\\A\\"] = {{L"A1", kDir}};
    fs.tree[L"C:\\Src\\B\\"] = {{L"B.vbp", kFile}};
    fs.tree[L"C:\\Src\\A\\A1\\"] = {{L"A1.vbp", kFile}, {L"Second.vbp", kFile}};

    const ProjectSearch found = SearchFiles(fs, L"C:\\Src\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (std::vector<std::wstring>{L"C:\\Src\\", L"C:\\Src\\A\\", L"C:\\Src\\B\\",
                                                        L"C:\\Src\\A\\A1\\"}));
    EXPECT_EQ(found.projects,
              (std::vector<std::wstring>{L"C:\\Src\\Main.vbp", L"C:\\Src\\B\\B.vbp", L"C:\\Src\\A\\A1\\A1.vbp",
                                         L"C:\\Src\\A\\A1\\Second.vbp"}));
    EXPECT_EQ(found.skippedFolders, 0);
    EXPECT_FALSE(found.overLimit);
    // One pass: every folder is listed exactly once.
    EXPECT_EQ(fs.listed, found.folders);
}

TEST(MainFolderTree, EachLevelIsGroupedByParentInTheParentsOrder) {
    FakeLister fs;
    fs.tree[L"R\\"] = {{L"Y", kDir}, {L"X", kDir}};
    fs.tree[L"R\\Y\\"] = {{L"Y2", kDir}, {L"Y1", kDir}};
    fs.tree[L"R\\X\\"] = {{L"X1", kDir}};
    fs.tree[L"R\\Y\\Y2\\"] = {{L"Deep", kDir}};
    fs.tree[L"R\\Y\\Y1\\"] = {};
    fs.tree[L"R\\X\\X1\\"] = {{L"Deeper", kDir}};
    fs.tree[L"R\\Y\\Y2\\Deep\\"] = {};
    fs.tree[L"R\\X\\X1\\Deeper\\"] = {};

    const ProjectSearch found = SearchFiles(fs, L"R\\", L"vbp", 100);

    EXPECT_EQ(found.folders,
              (std::vector<std::wstring>{L"R\\", L"R\\Y\\", L"R\\X\\", L"R\\Y\\Y2\\", L"R\\Y\\Y1\\", L"R\\X\\X1\\",
                                         L"R\\Y\\Y2\\Deep\\", L"R\\X\\X1\\Deeper\\"}));
    EXPECT_TRUE(found.projects.empty());
}

TEST(MainFolderTree, HiddenSystemAndLinkedFoldersAreNotEntered) {
    FakeLister fs;
    fs.tree[L"C:\\P\\"] = {
        {L"Hidden", kDir | kAttributeHidden},
        {L"System", kDir | kAttributeSystem},
        {L"Loop", kDir | kAttributeReparsePoint},  // a junction back to C:\P
        {L"Plain", kDir},
        {L"Secret.vbp", kFile | kAttributeHidden},
    };
    fs.tree[L"C:\\P\\Plain\\"] = {{L"In.vbp", kFile}};
    fs.tree[L"C:\\P\\Hidden\\"] = {{L"No.vbp", kFile}};
    fs.tree[L"C:\\P\\System\\"] = {{L"No.vbp", kFile}};
    fs.tree[L"C:\\P\\Loop\\"] = fs.tree[L"C:\\P\\"];

    const ProjectSearch found = SearchFiles(fs, L"C:\\P\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (std::vector<std::wstring>{L"C:\\P\\", L"C:\\P\\Plain\\"}));
    // A hidden project file in a searched folder is still a project.
    EXPECT_EQ(found.projects, (std::vector<std::wstring>{L"C:\\P\\Secret.vbp", L"C:\\P\\Plain\\In.vbp"}));
}

TEST(MainFolderTree, AFolderNamedLikeAProjectIsSearchedButNotAdded) {
    FakeLister fs;
    fs.tree[L"C:\\W\\"] = {{L"Odd.vbp", kDir}, {L"Real.VBP", kFile}};
    fs.tree[L"C:\\W\\Odd.vbp\\"] = {{L"Inner.vbp", kFile}};

    const ProjectSearch found = SearchFiles(fs, L"C:\\W\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (std::vector<std::wstring>{L"C:\\W\\", L"C:\\W\\Odd.vbp\\"}));
    EXPECT_EQ(found.projects, (std::vector<std::wstring>{L"C:\\W\\Real.VBP", L"C:\\W\\Odd.vbp\\Inner.vbp"}));
}

TEST(MainFolderTree, AFolderThatCannotBeListedIsCountedAndTheSearchGoesOn) {
    FakeLister fs;
    fs.tree[L"C:\\S\\"] = {{L"Locked", kDir}, {L"Open", kDir}};
    fs.tree[L"C:\\S\\Locked\\"] = {{L"Hidden.vbp", kFile}, {L"Below", kDir}};
    fs.unreadable.insert(L"C:\\S\\Locked\\");
    fs.tree[L"C:\\S\\Open\\"] = {{L"Ok.vbp", kFile}};

    const ProjectSearch found = SearchFiles(fs, L"C:\\S\\", L"vbp", 100);

    EXPECT_EQ(found.skippedFolders, 1);
    EXPECT_EQ(found.projects, (std::vector<std::wstring>{L"C:\\S\\Open\\Ok.vbp"}));

    FakeLister none;
    const ProjectSearch rootGone = SearchFiles(none, L"C:\\Gone\\", L"vbp", 100);
    EXPECT_EQ(rootGone.skippedFolders, 1);
    EXPECT_TRUE(rootGone.projects.empty());
}

TEST(MainFolderTree, MoreProjectsThanTheLimitStopTheSearch) {
    FakeLister fs;
    fs.tree[L"C:\\L\\"] = {{L"a.vbp", kFile}, {L"b.vbp", kFile}, {L"Sub", kDir}};
    fs.tree[L"C:\\L\\Sub\\"] = {{L"c.vbp", kFile}};

    EXPECT_FALSE(SearchFiles(fs, L"C:\\L\\", L"vbp", 3).overLimit);
    EXPECT_EQ(SearchFiles(fs, L"C:\\L\\", L"vbp", 3).projects.size(), 3u);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 2).overLimit);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 0).overLimit);
}

TEST(MainFolderTree, ExtensionMatchesTheWholeEndingInAnyCase) {
    EXPECT_TRUE(HasExtension(L"App.vbp", L"vbp"));
    EXPECT_TRUE(HasExtension(L"APP.VBP", L"vbp"));
    EXPECT_TRUE(HasExtension(L".vbp", L"vbp"));
    EXPECT_TRUE(HasExtension(L"a.b.vbp", L"vbp"));
    EXPECT_FALSE(HasExtension(L"App.vbpx", L"vbp"));
    EXPECT_FALSE(HasExtension(L"App.vbp.bak", L"vbp"));
    EXPECT_FALSE(HasExtension(L"Appvbp", L"vbp"));
    EXPECT_FALSE(HasExtension(L"vbp", L"vbp"));
    EXPECT_FALSE(HasExtension(L"", L"vbp"));
}
