#pragma once
// The folder listing of the project search, through clsFindFile.
#include "support/FolderTree.h"

namespace tolvane {

class Win32DirectoryLister : public DirectoryLister {
public:
    bool List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t& error) override;
};

}  // namespace tolvane
