#include "ui/main/Win32DirectoryLister.h"

#include <windows.h>

#include "support/Paths.h"

namespace tolvane {

bool Win32DirectoryLister::List(const std::wstring& folder, std::vector<DirEntry>& entries) {
    const std::wstring pattern = JoinFolderAndName(folder, L"*");
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." to report.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    bool complete = true;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({name, data.dwFileAttributes});
    } while (FindNextFileW(search, &data));
    if (GetLastError() != ERROR_NO_MORE_FILES) complete = false;
    FindClose(search);
    return complete;
}

}  // namespace tolvane
