#pragma once
#include <windows.h>

namespace tolvane {

// Sizes a label to its text in its font, keeping its left and top edges
// (a label that grows to the right as its text gets longer).
void AutoSizeLabel(HWND label);

}  // namespace tolvane
