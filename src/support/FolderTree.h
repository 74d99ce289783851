#pragma once
// The project search under a folder, as the window's add-all command and the
// console runner's folder input both make it: a folder and every folder below
// it, breadth first, and the project files of each, over any directory lister.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tolvane {

// File attribute bits as the platform reports them.
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

struct DirEntry {
    std::wstring name;
    std::uint32_t attributes = 0;
};

class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // Every entry of the folder (a path ending in a backslash) but "." and
    // "..", in the platform's order. False when the folder cannot be listed,
    // with the platform's error code in error.
    virtual bool List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t& error) = 0;
};

struct ProjectSearch {
    // Every folder reached, the chosen one first, each ending in a backslash.
    std::vector<std::wstring> folders;
    // The project files, grouped by folder in the order of folders.
    std::vector<std::wstring> projects;
    // Folders that could not be listed; their projects and subfolders are missing.
    int skippedFolders = 0;
    // The first of them and the platform's reason.
    std::wstring firstSkipped;
    std::uint32_t firstSkippedError = 0;
    // The search stopped early because more than the limit of projects turned up.
    bool overLimit = false;
    // The search was stopped by the progress callback.
    bool cancelled = false;
};

// Told before each folder is listed how many folders have been searched and how
// many projects found so far; false stops the search.
using SearchProgress = std::function<bool(std::size_t foldersSearched, std::size_t projectsFound)>;

// Breadth first in one pass: the chosen folder, its subfolders, their
// subfolders..., each level grouped by parent in the parents' order. Hidden
// and system folders are not entered, nor junctions and symbolic links (which
// could lead back up the tree). Only files count as projects: a folder whose
// name ends in the extension is searched like any other folder.
ProjectSearch SearchFiles(DirectoryLister& lister, const std::wstring& root, const std::wstring& extension,
                          std::size_t limit, const SearchProgress& progress = {});

}  // namespace tolvane
