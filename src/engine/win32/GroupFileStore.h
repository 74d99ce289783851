#pragma once
// Group files (.vbg) on disk, read the same way by the window's "vbgを追加"
// and the console runner's group input.
#include <string>
#include <vector>

#include "support/win32/PlatformResult.h"

namespace tolvane {

struct GroupFileRead {
    PlatformResult failure;  // why, when the file could not be read
    // The group's projects in the group's order, as they stand: a project
    // that is not there is listed all the same.
    std::vector<std::wstring> projects;
};

GroupFileRead ReadGroupFile(const std::wstring& path);

}  // namespace tolvane
