#pragma once
// The two program-wide texts.
#include <string>

namespace tolvane {

// Full path of the Visual Basic executable: read at start-up, set by the options dialog.
extern std::wstring gstrVBExe;
// The program's version, major.minor.revision, built at start-up from the version resource.
extern std::wstring gstrVersion;

}  // namespace tolvane
