#include "ui/chooser/rules/FolderModel.h"

#include <algorithm>

#include "support/Paths.h"
#include "ui/chooser/rules/ChooserRules.h"

namespace tolvane::chooser {

std::wstring FolderRoot(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'))) {
        return path.substr(0, 2) + L'\\';
    }
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        const auto server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return std::wstring();
        const auto share = path.find(L'\\', server + 1);
        if (share == server + 1) return std::wstring();
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L'\\';
    }
    return std::wstring();
}

std::vector<std::wstring> FolderLevels(const std::wstring& path) {
    std::vector<std::wstring> levels;
    const std::wstring root = FolderRoot(path);
    std::size_t start = root.size();
    while (start < path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

std::wstring ListPath(const std::wstring& path) {
    const std::wstring root = FolderRoot(path);
    if (root.empty()) {
        std::wstring p = path;
        while (p.size() > 1 && p.back() == L'\\') p.pop_back();
        return p;
    }
    std::wstring p = root;
    bool first = true;
    for (const std::wstring& level : FolderLevels(path)) {
        if (!first) p += L'\\';
        p += level;
        first = false;
    }
    return p;
}

void SortNames(std::vector<std::wstring>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const std::wstring ua = UpperForCompare(a), ub = UpperForCompare(b);
        return ua != ub ? ua < ub : a < b;
    });
}

std::vector<FolderEntry> BuildFolderEntries(const std::wstring& currentFolder,
                                            std::vector<std::wstring> subfolders) {
    std::vector<FolderEntry> entries;
    const std::wstring root = FolderRoot(currentFolder);
    std::wstring path = root.empty() ? ListPath(currentFolder) : root;
    entries.push_back({path, path, 0, true});
    if (!root.empty()) {
        int indent = 0;
        for (const std::wstring& level : FolderLevels(currentFolder)) {
            path = JoinFolderAndName(path, level);
            entries.push_back({level, path, ++indent, true});
        }
    }
    const int childIndent = entries.back().indent + 1;
    SortNames(subfolders);
    for (const std::wstring& name : subfolders) entries.push_back({name, JoinFolderAndName(path, name), childIndent, false});
    return entries;
}

int CurrentEntryIndex(const std::wstring& currentFolder) {
    if (FolderRoot(currentFolder).empty()) return 0;
    return static_cast<int>(FolderLevels(currentFolder).size());
}

}  // namespace tolvane::chooser
