#pragma once
// The program's own version numbers, as its version resource records them.
#include <string>

namespace tolvane {

// "major.minor.revision" from the file version of the module at the path;
// "" when the module has no readable version resource.
std::wstring ReadVersionText(const std::wstring& modulePath);

}  // namespace tolvane
