// The project search under a folder, over a fake folder tree.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/FolderTree.h"
#include "support/PathNames.h"

using namespace tolvane;

namespace {

using Paths = std::vector<std::wstring>;
constexpr std::uint32_t kFile = 0x20;
constexpr std::uint32_t kDir = kAttributeDirectory;

// Folders by path (ending in a backslash); a folder absent from the map, or
// named in unreadable, cannot be listed.
struct FakeLister : DirectoryLister {
    std::map<std::wstring, std::vector<DirEntry>> tree;
    std::set<std::wstring> unreadable;
    Paths listed;

    bool List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t& error) override {
        listed.push_back(folder);
        auto it = tree.find(folder);
        error = 5;  // access denied
        if (it == tree.end() || unreadable.count(folder)) return false;
        entries = it->second;
        return true;
    }
};

}  // namespace

TEST(FolderTree, LevelByLevelGroupedByParentAndProjectsInFolderOrder) {
    FakeLister fs;
    fs.tree[L"R\\"] = {{L"Y", kDir}, {L"Main.vbp", kFile}, {L"X", kDir}, {L"readme.txt", kFile}};
    fs.tree[L"R\\Y\\"] = {{L"Y2", kDir}, {L"Y1", kDir}};
    fs.tree[L"R\\X\\"] = {{L"X1", kDir}, {L"X.vbp", kFile}};
    fs.tree[L"R\\Y\\Y2\\"] = {{L"Deep.vbp", kFile}, {L"Second.vbp", kFile}};
    fs.tree[L"R\\Y\\Y1\\"] = {};
    fs.tree[L"R\\X\\X1\\"] = {};

    const ProjectSearch found = SearchFiles(fs, L"R\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (Paths{L"R\\", L"R\\Y\\", L"R\\X\\", L"R\\Y\\Y2\\", L"R\\Y\\Y1\\", L"R\\X\\X1\\"}));
    EXPECT_EQ(found.projects, (Paths{L"R\\Main.vbp", L"R\\X\\X.vbp", L"R\\Y\\Y2\\Deep.vbp", L"R\\Y\\Y2\\Second.vbp"}));
    EXPECT_EQ(fs.listed, found.folders);  // one pass: each folder listed once
    EXPECT_EQ(found.skippedFolders, 0);
    EXPECT_FALSE(found.overLimit);
    EXPECT_FALSE(found.cancelled);

    // Told the counts before each folder; a false answer stops at once.
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const ProjectSearch stopped = SearchFiles(fs, L"R\\", L"vbp", 100, [&](std::size_t folders, std::size_t projects) {
        told.emplace_back(folders, projects);
        return folders < 3;
    });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(told, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
}

TEST(FolderTree, HiddenSystemAndLinkedFoldersAreNotEnteredAndNoFolderIsAProject) {
    FakeLister fs;
    fs.tree[L"C:\\P\\"] = {
        {L"Hidden", kDir | kAttributeHidden},
        {L"System", kDir | kAttributeSystem},
        {L"Loop", kDir | kAttributeReparsePoint},  // a junction back to C:\P
        {L"Odd.vbp", kDir},
        {L"Secret.vbp", kFile | kAttributeHidden},  // a hidden file is still a project
        {L"Real.VBP", kFile},
    };
    fs.tree[L"C:\\P\\Odd.vbp\\"] = {{L"In.vbp", kFile}};
    for (const wchar_t* skipped : {L"C:\\P\\Hidden\\", L"C:\\P\\System\\"}) fs.tree[skipped] = {{L"No.vbp", kFile}};
    fs.tree[L"C:\\P\\Loop\\"] = fs.tree[L"C:\\P\\"];

    const ProjectSearch found = SearchFiles(fs, L"C:\\P\\", L"vbp", 100);

    EXPECT_EQ(found.folders, (Paths{L"C:\\P\\", L"C:\\P\\Odd.vbp\\"}));
    EXPECT_EQ(found.projects, (Paths{L"C:\\P\\Secret.vbp", L"C:\\P\\Real.VBP", L"C:\\P\\Odd.vbp\\In.vbp"}));
}

TEST(FolderTree, AFolderThatCannotBeListedIsCountedAndTheSearchGoesOn) {
    FakeLister fs;
    fs.tree[L"C:\\S\\"] = {{L"Locked", kDir}, {L"Open", kDir}};
    fs.tree[L"C:\\S\\Locked\\"] = {{L"Hidden.vbp", kFile}, {L"Below", kDir}};
    fs.unreadable.insert(L"C:\\S\\Locked\\");
    fs.tree[L"C:\\S\\Open\\"] = {{L"Ok.vbp", kFile}};

    const ProjectSearch found = SearchFiles(fs, L"C:\\S\\", L"vbp", 100);
    EXPECT_EQ(found.skippedFolders, 1);
    EXPECT_EQ(found.firstSkipped, L"C:\\S\\Locked\\");
    EXPECT_EQ(found.firstSkippedError, 5u);
    EXPECT_EQ(found.projects, Paths{L"C:\\S\\Open\\Ok.vbp"});

    FakeLister none;
    const ProjectSearch rootGone = SearchFiles(none, L"C:\\Gone\\", L"vbp", 100);
    EXPECT_EQ(rootGone.skippedFolders, 1);
    EXPECT_TRUE(rootGone.projects.empty());
}

TEST(FolderTree, MoreProjectsThanTheLimitStopTheSearch) {
    FakeLister fs;
    fs.tree[L"C:\\L\\"] = {{L"a.vbp", kFile}, {L"b.vbp", kFile}, {L"Sub", kDir}};
    fs.tree[L"C:\\L\\Sub\\"] = {{L"c.vbp", kFile}};

    const ProjectSearch exact = SearchFiles(fs, L"C:\\L\\", L"vbp", 3);
    EXPECT_FALSE(exact.overLimit);
    EXPECT_EQ(exact.projects.size(), 3u);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 2).overLimit);
    EXPECT_TRUE(SearchFiles(fs, L"C:\\L\\", L"vbp", 0).overLimit);
}

TEST(FolderTree, ExtensionMatchesTheWholeEndingInAnyCase) {
    for (const wchar_t* name : {L"App.vbp", L"APP.VBP", L".vbp", L"a.b.vbp"})
        EXPECT_TRUE(HasExtension(name, L"vbp")) << name;
    for (const wchar_t* name : {L"App.vbpx", L"App.vbp.bak", L"Appvbp", L"vbp", L""})
        EXPECT_FALSE(HasExtension(name, L"vbp")) << name;
}
