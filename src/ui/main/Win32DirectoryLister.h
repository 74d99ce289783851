#pragma once
// The folder listing of the project search, through clsFindFile.
#include "ui/main/rules/FolderTree.h"

namespace tolvane {

class Win32DirectoryLister : public DirectoryLister {
public:
    bool List(const std::wstring& folder, std::vector<DirEntry>& entries) override;
};

}  // namespace tolvane
