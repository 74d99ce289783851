#include "support/FolderTree.h"

#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {
namespace {

bool IsSearchedFolder(const DirEntry& entry) {
    if ((entry.attributes & kAttributeDirectory) == 0) return false;
    if (entry.attributes & (kAttributeHidden | kAttributeSystem)) return false;
    return (entry.attributes & kAttributeReparsePoint) == 0;
}

}  // namespace

ProjectSearch SearchFiles(DirectoryLister& lister, const std::wstring& root, const std::wstring& extension,
                          std::size_t limit, const SearchProgress& progress) {
    ProjectSearch result;
    result.folders.push_back(root);
    std::vector<DirEntry> entries;
    // The folder list grows while it is walked: that is the breadth-first queue.
    for (std::size_t i = 0; i < result.folders.size(); ++i) {
        if (progress && !progress(i, result.projects.size())) {
            result.cancelled = true;
            return result;
        }
        const std::wstring folder = result.folders[i];
        entries.clear();
        std::uint32_t error = 0;
        if (!lister.List(folder, entries, error)) {
            if (result.skippedFolders++ == 0) {
                result.firstSkipped = folder;
                result.firstSkippedError = error;
            }
            continue;
        }
        for (const DirEntry& entry : entries) {
            if (entry.name.empty() || entry.name == L"." || entry.name == L"..") continue;
            const std::wstring path = JoinFolderAndName(folder, entry.name);
            if (entry.attributes & kAttributeDirectory) {
                if (IsSearchedFolder(entry)) result.folders.push_back(path + L"\\");
            } else if (HasExtension(entry.name, extension)) {
                if (result.projects.size() >= limit) {
                    result.overLimit = true;
                    return result;
                }
                result.projects.push_back(path);
            }
        }
    }
    return result;
}

}  // namespace tolvane
