#include "ui/core/Globals.h"

namespace tolvane {

std::wstring gstrVBExe;
std::wstring gstrVersion;

}  // namespace tolvane
