#pragma once
// What the chooser's folder list shows for one current folder: the root, each
// ancestor one step further in, the current folder, then its subfolders.
#include <string>
#include <vector>

namespace tolvane::chooser {

// "C:\" for a path on a drive, "\\server\share\" for a network path, "" for
// anything else.
std::wstring FolderRoot(const std::wstring& path);

// A folder as the lists keep it: no final backslash, except a root's.
std::wstring ListPath(const std::wstring& path);

// The names below the root ("C:\a\b" gives a, b); empty pieces are skipped.
std::vector<std::wstring> FolderLevels(const std::wstring& path);

struct FolderEntry {
    std::wstring text;  // what the line shows
    std::wstring path;  // the folder it opens, as ListPath gives it
    int indent = 0;     // steps in from the left
    bool open = false;  // the root, an ancestor or the current folder
};

// The entries for the current folder and its subfolders (any order in;
// shown sorted without regard to letter case).
std::vector<FolderEntry> BuildFolderEntries(const std::wstring& currentFolder,
                                            std::vector<std::wstring> subfolders);

// The line that stands for the current folder itself.
int CurrentEntryIndex(const std::wstring& currentFolder);

// Sorts names as the lists show them: letter case aside, then as written.
void SortNames(std::vector<std::wstring>& names);

}  // namespace tolvane::chooser
