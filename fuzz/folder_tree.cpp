// The add-all search over any folder tree: every folder it enters is under
// the chosen one and may be entered, each once, level by level; it finds every
// project there (up to its limit) and nothing else.
#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "support/FolderTree.h"
#include "support/PathNames.h"

using namespace tolvane;

namespace {

const std::wstring kRoot = L"C:\\根\\";

// A tree from lines "attributes name\name\...": each line adds its path, the
// last level with the attributes (a hex number), the levels above as folders.
class FuzzTree : public DirectoryLister {
public:
    explicit FuzzTree(const std::vector<std::wstring>& lines) {
        for (const std::wstring& line : lines) {
            const std::size_t blank = line.find(L' ');
            if (blank == std::wstring::npos) continue;
            const std::uint32_t attributes = static_cast<std::uint32_t>(std::wcstoul(line.substr(0, blank).c_str(), nullptr, 16));
            std::wstring folder = kRoot;
            std::size_t start = blank + 1;
            for (;;) {
                const std::size_t end = line.find(L'\\', start);
                const std::wstring name = line.substr(start, end == std::wstring::npos ? end : end - start);
                if (name.empty() || name == L"." || name == L"..") break;
                const bool last = end == std::wstring::npos;
                Add(folder, {name, last ? attributes : kAttributeDirectory});
                if (last) break;
                folder += name + L"\\";
                start = end + 1;
            }
        }
    }

    bool List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t&) override {
        fuzz::Require(listed_.insert(folder).second, "no folder is listed twice");
        const auto found = tree_.find(folder);
        if (found == tree_.end()) return folder == kRoot || known_.count(folder) > 0;
        entries = found->second;
        return true;
    }

    const std::map<std::wstring, std::vector<DirEntry>>& Tree() const { return tree_; }

private:
    void Add(const std::wstring& folder, const DirEntry& entry) {
        auto& entries = tree_[folder];
        for (const DirEntry& e : entries)
            if (e.name == entry.name) return;  // the first line that names it decides
        entries.push_back(entry);
        if (entry.attributes & kAttributeDirectory) known_.insert(folder + entry.name + L"\\");
    }

    std::map<std::wstring, std::vector<DirEntry>> tree_;
    std::set<std::wstring> known_;
    std::set<std::wstring> listed_;
};

bool Enterable(std::uint32_t attributes) {
    return (attributes & kAttributeDirectory) &&
           !(attributes & (kAttributeHidden | kAttributeSystem | kAttributeReparsePoint));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The length picks the limit, so the seeds read as plain trees.
    const std::size_t limit = size % 64;
    FuzzTree tree(fuzz::Lines(data, size));
    const ProjectSearch found = SearchFiles(tree, kRoot, L"vbp", limit);

    // What may be entered and found, from the tree itself.
    std::set<std::wstring> folders{kRoot};
    std::multiset<std::wstring> projects;
    std::vector<std::wstring> queue{kRoot};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const auto entries = tree.Tree().find(queue[i]);
        if (entries == tree.Tree().end()) continue;
        for (const DirEntry& e : entries->second) {
            if (Enterable(e.attributes) && folders.insert(queue[i] + e.name + L"\\").second)
                queue.push_back(queue[i] + e.name + L"\\");
            if (!(e.attributes & kAttributeDirectory) && HasExtension(e.name, L"vbp")) projects.insert(queue[i] + e.name);
        }
    }

    fuzz::Require(!found.folders.empty() && found.folders.front() == kRoot, "the chosen folder comes first");
    std::size_t depth = 0;
    for (const std::wstring& folder : found.folders) {
        fuzz::Require(folders.count(folder) == 1, "only folders that may be entered are");
        const std::size_t level = static_cast<std::size_t>(std::count(folder.begin(), folder.end(), L'\\'));
        fuzz::Require(level >= depth, "level by level");
        depth = level;
    }
    fuzz::Require(std::set<std::wstring>(found.folders.begin(), found.folders.end()).size() == found.folders.size(),
                  "each folder once");
    const std::multiset<std::wstring> got(found.projects.begin(), found.projects.end());
    fuzz::Require(std::includes(projects.begin(), projects.end(), got.begin(), got.end()), "only projects are found");
    fuzz::Require(found.projects.size() <= limit, "no more than the limit");
    fuzz::Require(found.overLimit == (projects.size() > limit), "the limit is reported when passed");
    if (!found.overLimit) {
        fuzz::Require(got == projects, "every project is found");
        fuzz::Require(found.folders.size() == folders.size(), "every folder is entered");
    }
    fuzz::Require(found.skippedFolders == 0, "nothing the tree lists is skipped");
    return 0;
}
