#pragma once
// Group files (.vbg) on disk, read the same way by the window's "vbgを追加"
// and the console runner's group input.
#include <windows.h>

#include <string>
#include <vector>

namespace tolvane {

struct GroupFileRead {
    bool read = false;
    DWORD error = 0;  // the platform's error code when not read
    // The group's projects in the group's order, as they stand: a project
    // that is not there is listed all the same.
    std::vector<std::wstring> projects;
};

GroupFileRead ReadGroupFile(const std::wstring& path);

}  // namespace tolvane
