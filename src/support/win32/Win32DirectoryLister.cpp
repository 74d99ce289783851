#include "support/win32/Win32DirectoryLister.h"

#include "support/Paths.h"
#include "support/win32/clsFindFile.h"

namespace tolvane {

bool Win32DirectoryLister::List(const std::wstring& folder, std::vector<DirEntry>& entries, std::uint32_t& error) {
    clsFindFile find;
    find.SetFileMask(JoinFolderAndName(folder, L"*"));
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile())
        if (name != L"." && name != L"..") entries.push_back({name, find.Attributes()});
    error = find.Error();
    return find.Complete();
}

}  // namespace tolvane
