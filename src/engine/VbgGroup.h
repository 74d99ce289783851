#pragma once
// The projects of a VB6 group file (.vbg), in the group's order.
#include <string>
#include <vector>

namespace tolvane {

// Every Project= and StartupProject= line in the order they stand, each path
// made absolute against the group file's folder (vbgPath is the group file's
// full path). Never fails: other lines, and entries with a blank path, are
// left out.
std::vector<std::wstring> ParseVbg(const std::wstring& text, const std::wstring& vbgPath);

}  // namespace tolvane
